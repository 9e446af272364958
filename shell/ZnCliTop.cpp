// TZnForm: creation with the settings read, and the return to the connect page.
#include "shell/ZnCliTop.h"

#include "game/Cp1250.h"
#include "game/Desktop.h"
#include "game/ErrorHandler.h"
#include "shell/Settings.h"

namespace zn {

using namespace zn::literals;

TZnForm::TZnForm(const std::string& programDir, TSocketFactory socketFactory, const TLocateSettings& locate)
    : socketFactory_(std::move(socketFactory)) {
  InitActions();
  State.Caption = std::string("Zenit Tarokk Klub");
  State.Memo.push_back(std::string("Üzenetek"_cp));
  // A failed move of an old settings file is shown; the settings are then read from where the
  // file belongs, and the old file stays in place.
  State.SettingsPath = programDir + "/Zn.INI";
  Guarded([&] { State.SettingsPath = locate(programDir); });
  const TProgramSettings settings = ReadProgramSettings(State.SettingsPath);
  State.Nickname = settings.User;
  State.Connect.AddressList.assign(settings.Addresses.begin(), settings.Addresses.end());
  State.Connect.PortText = settings.Port;
  State.Connect.AddressIndex = 0;
  State.StatusNick = State.Nickname;
  LoadClaimSecret();
  NewLink();  // replaced by the first "&Távkapcsolat"; until then sends are shown, not sent
  BidForm = std::make_unique<TBidForm>(club_);
  InfoForm = std::make_unique<TInfo>(club_);
  ResForm = std::make_unique<TResForm>(club_);
  ArchiveForm = std::make_unique<TArchiveForm>();
}

TZnForm::~TZnForm() {
  Dispatching = false;
  Link.reset();  // closes the connection before the windows go
}

double TZnForm::Now() { return static_cast<double>(Desktop().NowMs()) / 86400000.0; }

void TZnForm::ClearLists(bool keepMemo) {
  State.Lobby.Rooms.clear();
  State.Lobby.RoomMembers.clear();
  State.Lobby.RoomIndex = -1;
  State.Lobby.Users.clear();
  State.Lobby.UserIndex = -1;
  State.Present.clear();
  State.PresentIndex = -1;
  Notify(Aspect::Lobby);
  Notify(Aspect::Present);
  if (!keepMemo) {
    State.ClearMemo();
  }
}

void TZnForm::ResetToConnectPage() {
  State.Page = TClubState::tabConnect;
  State.Caption = "Zenit Tarokk Klub";
  State.Menus = TClubState::TMenus{};
  Notify(Aspect::Page);
  Notify(Aspect::Caption);
  Notify(Aspect::Menus);
  BidForm->Hide();
  ClearLists(false);
}

}  // namespace zn
