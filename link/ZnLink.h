// TZnLink: the client's one connection to the club server.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "link/LineJoiner.h"
#include "link/NextLine.h"
#include "link/Socket.h"

namespace zn {

// How a connection that was made ended, as the link's owner hears it.
enum class TLinkEnd {
  Reopened,  // the link closed it itself to connect again (Open)
  ByServer,  // the server meant it: it closed before the lobby came (a refused login), or after
             // its closing line
  Dropped,   // neither: the connection was lost
};

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

  // ---- Events for the link's one owner, each after the link has done its own part ----
  // The link is the socket's only reader: the owner hears of the stream through these. OnConnected,
  // OnClosed and OnLines may replace (destroy) the link: nothing of it is touched after them.
  std::function<void()> OnConnected;
  std::function<void(TLinkEnd)> OnClosed;  // a connection that was made has ended
  std::function<void()> OnReceived;        // bytes came, before they are read: the server lives
  // After every notification of the socket but an error: lines may wait in the queue, or the
  // connection changed.
  std::function<void()> OnLines;
  // A socket error; true when the owner has handled it, so no error box is shown. Neither this nor
  // OnReceived may destroy the link.
  std::function<bool(TSocketErrorKind)> OnError;

  // Closes, then starts a connect to Host:Port when Host is not empty.
  void Open();
  // Sends one command as it stands (hourglass cursor, pending events run once); while not
  // connected shows the text in a message box and sends nothing.
  void Send(std::string_view text);

  // The error text: kind text, detail (connect only), " hibakód:", code, " cím:", host.
  static std::string ErrorText(TSocketErrorKind kind, int code, std::string_view host);

  TSocketPort& Socket() { return *socket_; }

  // The desktop's steady time (ms) of the last command Send wrote; -1 before the first.
  std::int64_t LastSendMs() const { return lastSend_; }
  // The server let the member in on this connection: its first lobby line has come whole.
  bool LoggedIn() const { return loggedIn_; }
  // The server said on this connection that it ends it (a closing line came whole).
  bool ServerClosing() const { return closing_; }
  // When the bytes of the oldest "G" line not yet taken arrived (desktop steady ms), so a ping is
  // timed by its arrival, not by the quiet time a held last line waits; none when not known.
  std::optional<std::int64_t> TakePingArrival();

 private:
  TReceiveQueue& queue_;
  std::unique_ptr<TSocketPort> socket_;
  TLineJoiner joiner_;  // the line the last read left open
  std::int64_t lastSend_ = -1;
  bool loggedIn_ = false;
  bool closing_ = false;
  bool reopening_ = false;                 // Open is closing the old connection: its close is no drop
  std::int64_t chunkAt_ = 0;               // when the last read came
  std::deque<std::int64_t> pingArrivals_;  // of the "G" lines seen and not yet taken

  void Seen(std::string_view line);
  void Receive(std::string_view chunk);
  void Disconnected();
  void Error(TSocketErrorKind kind, int code);
};

}  // namespace zn
