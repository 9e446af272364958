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
  Link->OnLines = [this] {
    if (WakeIdle) WakeIdle();
  };
  Link->OnReceived = [this] { Keeper.DataArrived(); };
  Link->OnConnected = [this] {
    BidForm->LinkChanged(true);
    LinkConnected();
  };
  // A close the member did not ask for is a drop: the way back starts.
  Link->OnClosed = [this](TLinkEnd end) {
    BidForm->LinkChanged(false);
    if (end == TLinkEnd::Reopened) return;
    if (end == TLinkEnd::ByServer) serverEnded_ = true;
    LinkDropped();
  };
  Link->OnError = [this](TSocketErrorKind kind) { return LinkErrorHandled(kind); };
  SyncLinkTimer();
}

void TZnForm::cmConnectExecute() {
  Guarded([&] {
    const double now = Now();
    if ((now - State.Connect.ConnectTime) * 86400.0 < 1.0) return;  // a second click within a second
    State.Connect.ConnectTime = now;
    StopReturning();  // the member's own connect stands for any way back
    if (State.Connect.AddressList.empty() || State.Connect.Address != State.Connect.AddressList.front()) {
      State.Connect.AddressList.insert(State.Connect.AddressList.begin(), State.Connect.Address);
      State.Connect.AddressIndex = 0;
      Notify(Aspect::Address);
    }
    Link->Port = StrToInt(State.Connect.PortText);
    Link->Host = State.Connect.Address;
    Link->Open();
    WriteConnectSettings(State.SettingsPath, State.Nickname, State.Connect.AddressList,
                         State.Connect.PortText);
    MakeClaimSecret();  // the first start's secret goes with the first settings written
  });
}

void TZnForm::cmDisconnectExecute() {
  Guarded([&] {
    State.Connect.Address =
        State.Connect.AddressList.empty() ? std::string() : State.Connect.AddressList.front();
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
