// The club port over the club window's fields, its alert, its message area and its settings file.
#include "shell/ClubPortImpl.h"

#include "shell/IniFile.h"
#include "shell/ZnCliTop.h"

namespace zn {

TZnLink& TClubPortImpl::Link() { return *f_.Link; }
const std::string& TClubPortImpl::Nickname() const { return f_.State.Nickname; }
std::int32_t TClubPortImpl::MySeat() const { return f_.State.Room.MySeat; }
std::int32_t TClubPortImpl::DealNumber() const { return f_.State.Room.DealNumber; }
std::string TClubPortImpl::SeatLabel(int seat) const {
  return seat >= 1 && seat <= 4 ? f_.State.Room.SeatLabels[static_cast<std::size_t>(seat)] : std::string();
}
std::string TClubPortImpl::MatchText() const { return f_.State.Room.MatchText; }
bool TClubPortImpl::AlignChecked() const { return f_.Actions.cmAlign.Checked; }
void TClubPortImpl::Alert() { f_.Alert(); }
void TClubPortImpl::EnableDealCommands(bool enable) { f_.EnableDealCommands(enable); }

void TClubPortImpl::ShowDealerMark(int seat) {
  f_.State.Room.Dealer3Visible = seat == 3;
  f_.State.Room.Dealer1Visible = !f_.State.Room.Dealer3Visible;
  f_.State.Notify(TClubState::Aspect::Room);
}

void TClubPortImpl::AddMemoLine(const std::string& line) { f_.State.AddMemo(line); }
void TClubPortImpl::ResetInfoThrottle() { f_.State.InfoThrottle = 0; }

void TClubPortImpl::WakeDispatcher() {
  if (f_.WakeIdle) f_.WakeIdle();
}

void TClubPortImpl::RecordBids(const std::vector<std::string>& lines) { f_.ResForm->SetBids(lines); }
void TClubPortImpl::RecordTrickCard(int trick, int seat, std::int32_t card) {
  f_.ResForm->SetTrickCard(trick, seat, card);
}
void TClubPortImpl::RecordTricks(const std::string& text) { f_.ResForm->SetTricks(text); }

std::string TClubPortImpl::ReadSetting(std::string_view section, std::string_view key) const {
  return IniRead(f_.State.SettingsPath, section, key, "");
}
void TClubPortImpl::WriteSetting(std::string_view section, std::string_view key, std::string_view value) {
  IniWrite(f_.State.SettingsPath, section, key, value);
}

}  // namespace zn
