// The score page of the table window: the score items of both pairs, adding them up and writing
// the result down.
#include <algorithm>
#include <string_view>

#include "game/Cp1250.h"
#include "game/Tokenizer.h"
#include "link/ClubPort.h"
#include "link/Protocol.h"
#include "link/ZnLink.h"
#include "table/ZnBid.h"

namespace zn {

using namespace zn::literals;

namespace {

constexpr std::size_t kTrickSplitChars = 99;

// Without "&Igazítás" the server's points are held within the limits of their kind.
std::int32_t LimitPoints(std::string_view label, std::int32_t points) {
  if (label.size() >= 2 && label[1] == '*') return std::clamp(points, -10, 10);
  if (!label.empty() && label[0] == '*') return std::clamp(points, -5, 5);
  return std::max(points, -5);
}

}  // namespace

void TBidForm::ScoreLine(const std::string& line) {
  Show();
  Page = tabScore;
  DealOver = true;
  Notify(Aspect::Page);
  club_.EnableDealCommands(true);
  FixEnabled = false;
  Notify(Aspect::Buttons);

  // The tricks of seats 2 and 3 stand after the "/" of fdTrick; without one the whole caption is read.
  const std::size_t slash = TrickText.find('/');
  const std::string_view after = slash == std::string::npos
                                     ? std::string_view(TrickText)
                                     : std::string_view(TrickText).substr(slash + 1, kTrickSplitChars);
  const std::int64_t theirs = StrToInt(after);
  OverText = std::to_string(10 - theirs) + std::string("\u00A0:\u00A0"_cp) + std::to_string(theirs);
  club_.RecordTricks(OverText);
  OverVisible = true;
  NextVisible = false;
  Notify(Aspect::Page);
  Say(std::string("A játék befejeződött, ütésszám: "_cp) + OverText);

  const proto::TRead<proto::TScore> read = proto::ReadScore(line);
  TScoreGrid& grid = Grids[read.value.pair == 1 ? 0 : 1];
  grid.Rows.resize(1);
  grid.Rows.push_back({"", ""});
  struct TTell {
    TBidForm& form;
    ~TTell() { form.Notify(Aspect::Score); }
  } tell{*this};
  const bool align = club_.AlignChecked();
  std::size_t row = 1;
  // A label is written only with its points: a malformed item leaves no row behind.
  for (const proto::TScoreItem& item : read.value.items) {
    grid.Rows[row][0] = item.label;
    grid.Rows[row][1] = std::to_string(align ? item.points : LimitPoints(item.label, item.points));
    ++row;
    grid.Rows.push_back({"", ""});
  }
  read.stop.Raise();
  grid.Rows.back() = {std::string("***** Összesen"_cp), ""};
}

std::int64_t TBidForm::SumGrid(int grid) {
  TScoreGrid& g = Grids[grid == 0 ? 0 : 1];
  if (g.Rows.size() < 2) return 0;
  // In 64 bits: edited cells of two billion must not wrap the total round.
  std::int64_t sum = 0;
  std::int64_t largest = 0;
  for (std::size_t r = 1; r + 1 < g.Rows.size(); ++r) {
    const std::int64_t v = StrToInt(g.Rows[r][1]);
    sum += v;
    largest = std::max(largest, v);
  }
  g.Rows.back()[1] = std::to_string(sum);
  Notify(Aspect::Score);
  if (club_.AlignChecked()) return std::clamp<std::int64_t>(sum, 0, std::max<std::int64_t>(100, largest));
  return sum;
}

void TBidForm::cmAddUpClick() {
  const std::int64_t ours = SumGrid(0);
  const std::int64_t theirs = SumGrid(1);
  SumText = std::to_string(ours) + ":" + std::to_string(theirs);
  Notify(Aspect::Score);
  Say(std::string("Eredmény: "_cp) + SumText);
  club_.EnableDealCommands(false);
  Notify(Aspect::Buttons);
}

void TBidForm::cmFixClick() {
  RequireLink("az eredmény"_cp);
  club_.Link().Send(proto::CmdResult(SumText));
}

void TBidForm::GridMoveRow(int grid, int from, int to) {
  TScoreGrid& g = Grids[grid == 0 ? 0 : 1];
  const int rows = static_cast<int>(g.Rows.size());
  if (from < 1 || from >= rows || to < 1 || to >= rows || from == to) return;
  auto moved = g.Rows[static_cast<std::size_t>(from)];
  g.Rows.erase(g.Rows.begin() + from);
  g.Rows.insert(g.Rows.begin() + to, std::move(moved));
  Notify(Aspect::Score);
}

void TBidForm::ResetDeal() {
  SetTrickPause(false);
  DealOver = false;
  OverVisible = false;
  NextVisible = false;
  SumText.clear();
  Notify(Aspect::Page);
  Notify(Aspect::Score);
}

}  // namespace zn
