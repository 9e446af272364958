// TZnLink: the client's one connection to the club server.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "link/LineJoiner.h"
#include "link/NextLine.h"
#include "link/Socket.h"

namespace zn {

// Unread received data the client holds at most; beyond it the link is closed as broken.
inline constexpr std::size_t kMaxQueueBytes = std::size_t{64} << 20;

class TZnLink {
 public:
  // Takes the socket (inactive) and connects its notifications; queue is not owned.
  TZnLink(TReceiveQueue& queue, std::unique_ptr<TSocketPort> socket);
  ~TZnLink();  // closes the socket; a line held back goes to the queue
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
  TLineJoiner joiner_;  // the line the last read left open

  void Receive(std::string_view chunk);
};

}  // namespace zn
