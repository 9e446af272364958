// The club port over the club window's state and actions, its alert, its message area and its
// settings file.
#include "shell/ClubPortImpl.h"

#include "record/ZnResult.h"
#include "shell/ClubActions.h"
#include "shell/ClubState.h"
#include "shell/IniFile.h"

namespace zn {

TZnLink& TClubPortImpl::Link() { return host_.CurrentLink(); }
const std::string& TClubPortImpl::Nickname() const { return state_.Nickname; }
std::int32_t TClubPortImpl::MySeat() const { return state_.Room.MySeat; }
std::int32_t TClubPortImpl::DealNumber() const { return state_.Room.DealNumber; }
std::string TClubPortImpl::SeatLabel(int seat) const {
  return seat >= 1 && seat <= 4 ? state_.Room.SeatLabels[static_cast<std::size_t>(seat)] : std::string();
}
std::string TClubPortImpl::MatchText() const { return state_.Room.MatchText; }
bool TClubPortImpl::AlignChecked() const { return actions_.cmAlign.Checked; }
void TClubPortImpl::Alert() { host_.Alert(); }
void TClubPortImpl::EnableDealCommands(bool enable) { host_.EnableDealCommands(enable); }

void TClubPortImpl::ShowDealerMark(int seat) {
  state_.Room.Dealer3Visible = seat == 3;
  state_.Room.Dealer1Visible = !state_.Room.Dealer3Visible;
  state_.Notify(TClubState::Aspect::Room);
}

void TClubPortImpl::AddMemoLine(const std::string& line) { state_.AddMemo(line); }
void TClubPortImpl::ResetInfoThrottle() { state_.InfoThrottle = 0; }

void TClubPortImpl::WakeDispatcher() { host_.WakeDispatcher(); }

void TClubPortImpl::RecordBids(const std::vector<std::string>& lines) { host_.PlayedGames().SetBids(lines); }
void TClubPortImpl::RecordTrickCard(int trick, int seat, std::int32_t card) {
  host_.PlayedGames().SetTrickCard(trick, seat, card);
}
void TClubPortImpl::RecordTricks(const std::string& text) { host_.PlayedGames().SetTricks(text); }

std::string TClubPortImpl::ReadSetting(std::string_view section, std::string_view key) const {
  return IniRead(state_.SettingsPath, section, key, "");
}
void TClubPortImpl::WriteSetting(std::string_view section, std::string_view key, std::string_view value) {
  IniWrite(state_.SettingsPath, section, key, value);
}

}  // namespace zn
