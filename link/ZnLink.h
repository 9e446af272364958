// TZnLink: the client's one connection to the club server.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "link/NextLine.h"
#include "link/Socket.h"

namespace zn {

class TZnLink {
 public:
  // Takes the socket (inactive) and connects its notifications; queue is not owned.
  TZnLink(TReceiveQueue& queue, std::unique_ptr<TSocketPort> socket);
  ~TZnLink();  // closes the socket; the queue is left as it is
  TZnLink(const TZnLink&) = delete;
  TZnLink& operator=(const TZnLink&) = delete;

  std::string Host;
  std::int32_t Port = 0;
  bool Connected = false;

  // Closes, then starts a connect to Host:Port when Host is not empty.
  void Open();
  // Sends one command as it stands (hourglass cursor, pending events run once); while not
  // connected shows the text in a message box and sends nothing.
  void Send(std::string_view text);

  // The error text: kind text, detail (connect only), " hibakód:", code, " cím:", host.
  static std::string ErrorText(TSocketErrorKind kind, int code, std::string_view host);

  TSocketPort& Socket() { return *socket_; }

 private:
  TReceiveQueue& queue_;
  std::unique_ptr<TSocketPort> socket_;
};

}  // namespace zn
