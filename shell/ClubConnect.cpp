// The club window's link: connecting, "&Távkapcsolat" with a new link, the "L" line that logs in,
// and "&Kilépés".
#include "game/Cp1250.h"
#include "game/Desktop.h"
#include "game/ErrorHandler.h"
#include "game/Tokenizer.h"
#include "shell/Settings.h"
#include "shell/ZnCliTop.h"

namespace zn {

using namespace zn::literals;

void TZnForm::NewLink() {
  Link.reset();      // the old link is gone before the new one is made
  loginDueMs_ = -1;  // a nickname still waiting belonged to the old connection
  Link = std::make_unique<TZnLink>(ReceiveQueue, socketFactory_());
  // The dispatcher runs when something arrives or the connection changes, not in a busy loop.
  TSocketPort& socket = Link->Socket();
  auto wrap = [this](std::function<void()> inner) {
    return [this, inner] {
      if (inner) inner();
      if (WakeIdle) WakeIdle();
    };
  };
  socket.OnConnected = wrap([this, inner = socket.OnConnected] {
    if (inner) inner();
    BidForm->LinkChanged(true);
    LinkConnected();
  });
  // A close the member did not ask for is a drop: the way back starts.
  socket.OnDisconnected = wrap([this, inner = socket.OnDisconnected] {
    const bool wasConnected = Link && Link->Connected;
    if (inner) inner();  // the line held back is seen now
    if (!wasConnected) return;
    BidForm->LinkChanged(false);
    if (opening_) return;
    // Closed before the lobby came: the server refused the login (the nickname, the club full...),
    // and would only refuse it again. After it, the server's closing line says it meant to close.
    if (!Link->LoggedIn() || Link->ServerClosing()) serverEnded_ = true;
    LinkDropped();
  });
  socket.OnQuiet = wrap(socket.OnQuiet);  // a held line has gone to the queue
  auto data = socket.OnData;
  socket.OnData = [this, data](std::string chunk) {
    Keeper.DataArrived();
    if (data) data(std::move(chunk));
    if (WakeIdle) WakeIdle();
  };
  socket.OnError = [this, inner = socket.OnError](TSocketErrorKind kind, int code) {
    if (!LinkErrorHandled(kind) && inner) inner(kind, code);
  };
  SyncLinkTimer();
}

void TZnForm::cmConnectExecute() {
  Guarded([&] {
    const double now = Now();
    if ((now - ConnectTime) * 86400.0 < 1.0) return;  // a second click within a second
    ConnectTime = now;
    StopReturning();  // the member's own connect stands for any way back
    if (AddressList.empty() || Address != AddressList.front()) {
      AddressList.insert(AddressList.begin(), Address);
      AddressIndex = 0;
      Notify(Aspect::Address);
    }
    Link->Port = StrToInt(PortText);
    Link->Host = Address;
    opening_ = true;
    Link->Open();
    opening_ = false;
    WriteConnectSettings(SettingsPath, Nickname, AddressList, PortText);
    MakeClaimSecret();  // the first start's secret goes with the first settings written
  });
}

void TZnForm::cmDisconnectExecute() {
  Guarded([&] {
    Address = AddressList.empty() ? std::string() : AddressList.front();
    Notify(Aspect::Address);
    StopReturning();  // a disconnect the member chose: no way back
    NewLink();
    BidForm->LinkChanged(false);
    // A pause left from the old connection would hold back every line of the new one.
    BidForm->LiftPause();
    ResetToConnectPage();
  });
}

void TZnForm::cmExitExecute() {
  if (CloseWindow) CloseWindow();
}

void TZnForm::LLine(const std::string& line) {
  // One "N" a connection: an "L" line of an older connection (left in the queue while a box was
  // open) or a second one must not glue a second nickname to the first.
  if (!Link->Connected || loginSent_ == connection_) return;
  loginSent_ = connection_;
  ClaimNewConnection();
  const std::string_view version = std::string_view(line).substr(line.empty() ? 0 : 1);
  if (version != proto::kVersion)
    Desktop().ShowMessage(std::string("Szerver verzió ("_cp) + std::string(version) +
                          std::string(") eltérő.\rAjánlatos frissíteni a Kliens programot!"_cp));
  RecordsAsked = false;  // a new connection: "Z1" again once logged in
  RecordGate.Reset();
  serverReads_ = 0;
  AnnounceBeforeLogin();
}

}  // namespace zn
