#include "profile/ZnInfo.h"

#include <algorithm>
#include <string_view>

#include "game/Cp1250.h"
#include "game/Desktop.h"
#include "game/ErrorHandler.h"
#include "game/Tokenizer.h"
#include "link/ClubPort.h"
#include "link/Protocol.h"
#include "link/ZnLink.h"

namespace zn {

using namespace zn::literals;

TInfo::TInfo(TClubPort& club) : club_(club) {
  fdName = club_.Nickname();
  Real = club_.ReadSetting("Personal", "Real");
  Work = club_.ReadSetting("Personal", "Work");
  Info = club_.ReadSetting("Personal", "Info");
  Bid = club_.ReadSetting("Personal", "Bid");
}

std::vector<std::string> TInfo::SplitJoined(const std::string& text) {
  std::vector<std::string> lines;
  std::string_view rest(text);
  while (!rest.empty()) lines.emplace_back(CutToken(rest, '~'));
  return lines;
}

std::string TInfo::JoinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + '~';
  return text;
}

void TInfo::FillFields(const std::string& real, const std::string& work, const std::string& bid,
                       const std::string& info) {
  fdReal = real;
  fdWork = work;
  fdBid = SplitJoined(bid);
  fdInfo = SplitJoined(info);
  Notify(Aspect::Fields);
}

void TInfo::Show() {
  Visible = true;
  Notify(Aspect::Visible);
}

void TInfo::SetLook(bool own) {
  OwnProfile = own;
  Notify(Aspect::Look);
}

void TInfo::ShowProfile(const std::string& nickname) {
  fdName = nickname;
  if (nickname == club_.Nickname()) {
    SetLook(true);
    FillFields(Real, Work, Bid, Info);
    Show();
    return;
  }
  SetLook(false);
  if (!nickname.empty() && nickname[0] == '-') {
    FillFields(std::string("Buta Robot"_cp), "Robot",
               std::string("Honőr (Skíz vagy XXI), Angeló (XVII), L'amour (XVI), Matador"_cp),
               std::string("Csak kisegítek"_cp));
    Show();
    return;
  }
  Notify(Aspect::Fields);
  club_.Link().Send(proto::CmdInquiry(club_.Nickname(), nickname));
}

void TInfo::cmSaveClick() {
  if (!OwnProfile) return;  // another member's profile is never stored as the own
  if (fdName.size() < 4) {
    Desktop().ShowMessage(std::string("A becenév nincs kitöltve"_cp));
    return;
  }
  if (fdReal.size() < 8) {
    Desktop().ShowMessage(std::string("A teljes név nincs kitöltve"_cp));
    return;
  }
  const bool newNickname = fdName != club_.Nickname();
  const std::string info = JoinLines(fdInfo), bid = JoinLines(fdBid);
  // A write that fails is shown and the dialog stays open with what was typed, so nothing is lost;
  // the held profile changes only once everything is stored.
  const bool stored = Guarded([&] {
    club_.WriteSetting("Program", "User", fdName);
    club_.WriteSetting("Personal", "Real", fdReal);
    club_.WriteSetting("Personal", "Work", fdWork);
    club_.WriteSetting("Personal", "Info", info);
    club_.WriteSetting("Personal", "Bid", bid);
  });
  if (!stored) return;
  Real = fdReal;
  Work = fdWork;
  Info = info;
  Bid = bid;
  Hide();
  if (newNickname)
    Desktop().ShowMessage(std::string("Az új becenév csak a következő programindításkor lesz érvényes"_cp));
}

void TInfo::AnswerInquiry(const std::string& line) {
  const proto::TInquiry inquiry = proto::ReadInquiry(line);
  if (inquiry.asker.size() > kMaxNicknameBytes) return;
  club_.Link().Send(proto::CmdAnswer(proto::ReadText(line), {Real, Work, Info, Bid}));
  // The line starts with "Q" (that is how it came here): the asker follows a space in the memo.
  club_.AddMemoLine(std::string(" >>>>> ") + inquiry.asker + std::string(" érdeklődött irántad"_cp));
}

void TInfo::ReceiveProfile(const std::string& line) {
  const proto::TAnswer answer = proto::ParseAnswer(line);  // a length that is no number ends it here
  fdName = answer.nickname;
  // Always read-only, even when the own profile was opened after the request: otherwise "OK"
  // would store this member's data as the own.
  SetLook(false);
  FillFields(answer.texts[0], answer.texts[1], answer.texts[3], answer.texts[2]);
  Show();
}

void TInfo::Hide() {
  Visible = false;
  Notify(Aspect::Visible);
  club_.ResetInfoThrottle();
}

}  // namespace zn
