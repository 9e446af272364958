#include "link/ZnLink.h"

#include <utility>

#include "game/Cp1250.h"
#include "game/Desktop.h"

namespace zn {

using namespace zn::literals;

namespace {

// "G" lines whose arrival is kept; a server sending more unasked ones gets no more kept.
constexpr std::size_t kMaxPingArrivals = 1024;

std::string_view KindText(TSocketErrorKind kind) {
  switch (kind) {
    case TSocketErrorKind::Send:
      return "Üzenetküldés"_cp;
    case TSocketErrorKind::Receive:
      return "Üzenetfogadás"_cp;
    case TSocketErrorKind::Connect:
      return "Kapcsolatfelvétel"_cp;
    case TSocketErrorKind::Disconnect:
      return "Kapcsolatlebontás"_cp;
    case TSocketErrorKind::Accept:
      return "Accept"_cp;
    case TSocketErrorKind::General:
      break;
  }
  return "Általános"_cp;
}

// Only a failed connect explains its four well-known conditions.
std::string_view ConnectDetail(int code) {
  switch (code) {
    case kErrAddressInUse:
      return " (a cím foglalt)"_cp;
    case kErrAddressNotAvailable:
      return " (a cím nem elérhető)"_cp;
    case kErrNetworkUnreachable:
      return " (a hálózat nem elérhető)"_cp;
    case kErrConnectionRefused:
      return " (visszautasítva, szerver nem üzemel)"_cp;
    default:
      return {};
  }
}

}  // namespace

TZnLink::TZnLink(TReceiveQueue& queue, std::unique_ptr<TSocketPort> socket)
    : queue_(queue), socket_(std::move(socket)) {
  // Every handler is safe to run inside a call of the link (Connect, Write, pending events) and
  // touches nothing of the link once a message box has been shown: the box runs the event loop,
  // and the club window may replace (destroy) the link meanwhile.
  joiner_.Seen = [this](std::string_view line) { Seen(line); };
  // Each notification copies the owner's wake event first: the handlers before it may destroy
  // the link.
  socket_->OnConnected = [this] {
    const auto lines = OnLines;
    const auto connected = OnConnected;
    Connected = true;
    if (connected) connected();
    if (lines) lines();
  };
  socket_->OnDisconnected = [this] {
    const auto lines = OnLines;
    Disconnected();
    if (lines) lines();
  };
  socket_->OnData = [this](std::string chunk) {
    const auto lines = OnLines;
    Receive(chunk);
    if (lines) lines();
  };
  socket_->OnQuiet = [this] {
    const auto lines = OnLines;
    joiner_.Flush(queue_);
    if (lines) lines();
  };
  socket_->OnError = [this](TSocketErrorKind kind, int code) { Error(kind, code); };
}

TZnLink::~TZnLink() {
  // No notification may reach a link that is going away, not even one fired by Close itself.
  socket_->OnConnected = nullptr;
  socket_->OnDisconnected = nullptr;
  socket_->OnData = nullptr;
  socket_->OnError = nullptr;
  socket_->OnQuiet = nullptr;
  socket_->Close();
  joiner_.Flush(queue_);
}

void TZnLink::Open() {
  reopening_ = true;  // a port that reports its own close: no drop
  socket_->Close();
  reopening_ = false;
  joiner_.Flush(queue_);  // what the old connection sent stays; the new stream starts afresh
  Connected = false;
  loggedIn_ = false;
  closing_ = false;
  if (Host.empty()) return;
  // May report an error before it returns; nothing of the link is used after it.
  socket_->Connect(Host, Port);
}

std::optional<std::int64_t> TZnLink::TakePingArrival() {
  if (pingArrivals_.empty()) return std::nullopt;
  const std::int64_t at = pingArrivals_.front();
  pingArrivals_.pop_front();
  return at;
}

void TZnLink::Disconnected() {
  const bool was = Connected;
  Connected = false;
  joiner_.Flush(queue_);  // nothing can continue the held line now; it is seen before the close
  if (!was || !OnClosed) return;
  // Closed before the lobby came: the server refused the login (the nickname, the club full...),
  // and would only refuse it again. After it, the server's closing line says it meant to close.
  const TLinkEnd end = reopening_               ? TLinkEnd::Reopened
                       : !loggedIn_ || closing_ ? TLinkEnd::ByServer
                                                : TLinkEnd::Dropped;
  const auto closed = OnClosed;
  closed(end);
}

void TZnLink::Error(TSocketErrorKind kind, int code) {
  if (const auto handled = OnError; handled && handled(kind)) return;
  const std::string text = ErrorText(kind, code, Host);
  Desktop().ShowMessage(text);
  // The error counts as handled here: nothing is raised to the caller.
}

void TZnLink::Receive(std::string_view chunk) {
  if (const auto received = OnReceived) received();
  chunkAt_ = Desktop().SteadyMs();
  // A server that sends faster than the lines are taken (or while a trick pause holds them)
  // must not fill the memory: past the bound the connection counts as broken.
  const std::size_t unread = queue_.Bytes() + joiner_.Held();
  if (chunk.size() > kMaxQueueBytes || unread > kMaxQueueBytes - chunk.size()) {
    joiner_.Flush(queue_);  // what came before stays, within the bound
    socket_->Close();
    Connected = false;
    Desktop().ShowMessage(TransmissionErrorLine());  // may replace this link: nothing follows
    return;
  }
  if (joiner_.Feed(chunk, queue_) && !socket_->WatchQuiet(kQuietTime)) joiner_.Flush(queue_);
}

void TZnLink::Seen(std::string_view line) {
  // Seen here as each line comes whole, not when it is dispatched: the close that follows it may
  // come first.
  if (line.empty()) return;
  if (line.front() == 'I') loggedIn_ = true;
  if (line.front() == 'C') closing_ = true;
  if (line.front() == 'G' && pingArrivals_.size() < kMaxPingArrivals) pingArrivals_.push_back(chunkAt_);
}

void TZnLink::Send(std::string_view text) {
  if (!socket_->Active()) {
    Desktop().ShowMessage(std::string(text));
    return;
  }
  lastSend_ = Desktop().SteadyMs();
  Desktop().SetCursor(TCursor::Hourglass);
  socket_->Write(text);
  // Any handler may run here, the replacement of this link included: nothing follows.
  Desktop().ProcessPendingEvents();
}

std::string TZnLink::ErrorText(TSocketErrorKind kind, int code, std::string_view host) {
  std::string text(KindText(kind));
  if (kind == TSocketErrorKind::Connect) text += ConnectDetail(code);
  text += " hibakód:"_cp;
  text += std::to_string(code);
  text += " cím:"_cp;
  text += host;
  return text;
}

}  // namespace zn
