#include "link/ZnLink.h"

#include <utility>

#include "game/Cp1250.h"
#include "game/Desktop.h"

namespace zn {

using namespace zn::literals;

namespace {

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
  socket_->OnConnected = [this] { Connected = true; };
  socket_->OnDisconnected = [this] { Connected = false; };
  socket_->OnData = [this](std::string chunk) { queue_.Append(std::move(chunk)); };
  socket_->OnError = [this](TSocketErrorKind kind, int code) {
    const std::string text = ErrorText(kind, code, Host);
    Desktop().ShowMessage(text);
    // The error counts as handled here: nothing is raised to the caller.
  };
}

TZnLink::~TZnLink() {
  // No notification may reach a link that is going away, not even one fired by Close itself.
  socket_->OnConnected = nullptr;
  socket_->OnDisconnected = nullptr;
  socket_->OnData = nullptr;
  socket_->OnError = nullptr;
  socket_->Close();
}

void TZnLink::Open() {
  socket_->Close();
  Connected = false;
  if (Host.empty()) return;
  // May report an error before it returns; nothing of the link is used after it.
  socket_->Connect(Host, Port);
}

void TZnLink::Send(std::string_view text) {
  if (!socket_->Active()) {
    Desktop().ShowMessage(std::string(text));
    return;
  }
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
