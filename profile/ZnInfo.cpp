#include "profile/ZnInfo.h"

#include <algorithm>
#include <array>
#include <string_view>

#include "game/Cp1250.h"
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

void TInfo::ShowProfile(const std::string& nickname) {
  fdName = nickname;
  if (nickname == club_.Nickname()) {
    OwnProfile = true;
    FillFields(Real, Work, Bid, Info);
    Show();
    return;
  }
  OwnProfile = false;
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

void TInfo::AnswerInquiry(const std::string& line) {
  std::string_view rest(line);
  club_.Link().Send(proto::CmdAnswer(rest.substr(rest.empty() ? 0 : 1), {Real, Work, Info, Bid}));
  std::string asker(CutWord(rest));
  if (!asker.empty()) asker[0] = ' ';
  club_.AddMemoLine(std::string(" >>>>>") + asker + std::string(" érdeklődött irántad"_cp));
}

void TInfo::ReceiveProfile(const std::string& line) {
  std::string_view rest(line);
  CutWord(rest);
  fdName = std::string(CutWord(rest));
  std::array<std::int32_t, 4> lengths{};
  for (auto& n : lengths) n = CutInt(rest);
  // Each part is cut short at the end of the data; a negative length counts as none.
  std::array<std::string, 4> parts;
  for (std::size_t i = 0; i < parts.size(); ++i) {
    const std::size_t n = static_cast<std::size_t>(std::max<std::int32_t>(lengths[i], 0));
    const std::size_t take = std::min(n, rest.size());
    parts[i] = std::string(rest.substr(0, take));
    rest.remove_prefix(take);
  }
  FillFields(parts[0], parts[1], parts[3], parts[2]);
  Show();
}

void TInfo::Hide() {
  Visible = false;
  Notify(Aspect::Visible);
  club_.ResetInfoThrottle();
}

}  // namespace zn
