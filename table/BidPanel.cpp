// The bid page of the table window: the bidding so far, the catalogue choice, composing, checking
// and sending a set of bids.
#include <algorithm>
#include <string_view>

#include "game/Cp1250.h"
#include "game/Seats.h"
#include "game/Tokenizer.h"
#include "game/ZnError.h"
#include "link/ClubPort.h"
#include "link/Protocol.h"
#include "link/ZnLink.h"
#include "table/ZnBid.h"

namespace zn {

using namespace zn::literals;

namespace {

constexpr std::size_t kIndentStep = 15;

// The place of a block in the round of four seats (0 for the fourth).
int Mod4(std::int64_t v) { return static_cast<int>(((v % kSeats) + kSeats) % kSeats); }

// Typed prefix text becomes one token: its words joined by the no-break space the wire uses inside
// a bid name, so two typed words are one bid and not two.
std::string JoinTypedWords(std::string_view text) {
  std::string out;
  std::string_view rest = text;
  while (!rest.empty()) {
    const std::string_view word = CutWord(rest);
    if (word.empty()) continue;
    if (!out.empty()) out += kBidJoiner;
    out += word;
  }
  return out;
}

}  // namespace

void TBidForm::BidLine(const std::string& line) {
  BiddingLine = "#" + line;
  ShowPage(tabBid);
  OverVisible = false;
  Notify(Aspect::Page);
  AllBids.clear();
  AllBidsTop = 0;
  GroupIndex = 0;
  BidGroupsClick();

  const proto::TRead<proto::TBidding> read = proto::ReadBidding(line);
  read.stop.RaiseBefore(0);
  std::int64_t k = read.value.dealer - 1;
  std::string indent(kIndentStep, ' ');
  club_.ShowDealerMark(k == 2 ? 3 : 1);
  if (k == 2) indent.assign(3 * kIndentStep, ' ');
  const int own = Mod4(club_.MySeat());
  if (PairOf(own) == 2) k = 2 - k;

  std::vector<std::string> candidates;
  // The rows and candidates read before a malformed count stay; the record gets what was read.
  struct TFinish {
    TBidForm& form;
    std::vector<std::string>& candidates;
    ~TFinish() {
      form.Catalog.MakeContestCandidates(candidates);
      form.AllBidsTop = std::max(0, static_cast<int>(form.AllBids.size()) - 8);
      form.Notify(Aspect::Bidding);
      form.Notify(Aspect::Catalog);
    }
  } finish{*this, candidates};
  for (const proto::TBidBlock& block : read.value.blocks) {
    ++k;
    const int column = Mod4(k);
    const bool otherPair = PairOf(column) == 2;
    AllBids.push_back(indent + block.nickname + " -----");
    for (const std::string& bid : block.bids) {
      AllBids.push_back(indent + bid);
      if (otherPair) candidates.push_back(bid);
    }
    if (indent.size() > 32)
      indent.clear();
    else
      indent.append(kIndentStep, ' ');
  }
  read.stop.Raise();  // the last block's malformed count
  club_.RecordBids(AllBids);
  if (!read.value.blocks.empty()) SayBlock(read.value.blocks.back().nickname, read.value.blocks.back().bids);
}

void TBidForm::HideHint() {
  HintVisible = false;
  GoVisible = true;
}

void TBidForm::BidGroupsClick() {
  HideHint();
  BidRows = Catalog.GroupEntries(GroupIndex);
  BidIndex = BidRows.empty() ? -1 : 0;
  HigherIndex = TBidCatalog::DefaultPrefix(GroupIndex);
  HigherText = std::string(PrefixWord(HigherIndex));
  Notify(Aspect::Catalog);
}

void TBidForm::fdBidMouseDown(bool rightButton, int row) {
  if (rightButton && row >= 0 && row < static_cast<int>(BidRows.size())) {
    BidIndex = row;
    HintText = std::string(TBidCatalog::ExplainBid(GroupIndex, row, BidRows[static_cast<std::size_t>(row)]));
    HintVisible = true;
    GoVisible = false;
  } else {
    HideHint();
  }
  Notify(Aspect::Catalog);
  Notify(Aspect::Buttons);
}

void TBidForm::pnHintClick() {
  HideHint();
  Notify(Aspect::Catalog);
  Notify(Aspect::Buttons);
}

void TBidForm::CheckBid(const std::string& bid, const TBidList& list) {
  if (list.Van(bid)) throw EZnError(std::string("Ismételt licit. "_cp) + bid + std::string(" már van"_cp));
  const std::string_view honor = "Honőr"_cp, kopf = "Köpf"_cp, trull = "Trull"_cp;
  if (bid == honor && list.Van(kopf)) throw EZnError(std::string("Hibás emelés. Köpf már van."_cp));
  if ((bid == honor || bid == kopf) && list.Van(trull))
    throw EZnError(std::string("Hibás emelés. Trull már van."_cp));
}

void TBidForm::BidAddClick() {
  const bool rowOk = BidIndex >= 0 && BidIndex < static_cast<int>(BidRows.size());
  const std::string_view entry = rowOk ? std::string_view(BidRows[static_cast<std::size_t>(BidIndex)]) : "";
  const std::string prefix = HigherIndex < 0 ? JoinTypedWords(HigherText) : HigherText;
  const std::string name = TBidCatalog::ComposeBid(GroupIndex, static_cast<int>(BidRows.size()),
                                                   rowOk ? BidIndex : -1, entry, prefix, HigherIndex);
  TBidList set;
  for (const TSendRow& row : SendRows) set.Add(row.Bid);
  CheckBid(name, set);
  if (name == "Trull"_cp) {
    CheckBid(std::string("Honőr"_cp), set);
    CheckBid(std::string("Köpf"_cp), set);
  }
  if (name == "Köpf"_cp) CheckBid(std::string("Honőr"_cp), set);
  const std::int32_t seat = club_.MySeat();
  const std::int64_t code = GroupIndex == kSignalGroup ? seat : -static_cast<std::int64_t>(seat);
  TBidList made;
  // A seat outside 1..4 gives a code Filter answers with an empty list.
  made.Filter(BiddingLine, code < -4 || code > 4 ? 5 : static_cast<int>(code));
  CheckBid(name, made);
  SendRows.push_back({name, code >= 0});
  SendIndex = static_cast<int>(SendRows.size()) - 1;
  Notify(Aspect::SendSet);
}

void TBidForm::BidDelClick() {
  HideHint();
  if (SendIndex >= 0 && SendIndex < static_cast<int>(SendRows.size()))
    SendRows.erase(SendRows.begin() + SendIndex);
  SendIndex = static_cast<int>(SendRows.size()) - 1;
  Notify(Aspect::SendSet);
  Notify(Aspect::Catalog);
}

void TBidForm::BidUpClick() {
  HideHint();
  if (SendIndex > 0 && SendIndex < static_cast<int>(SendRows.size())) {
    std::swap(SendRows[static_cast<std::size_t>(SendIndex)],
              SendRows[static_cast<std::size_t>(SendIndex - 1)]);
    --SendIndex;
  }
  Notify(Aspect::SendSet);
  Notify(Aspect::Catalog);
}

void TBidForm::BidDownClick() {
  HideHint();
  if (SendIndex >= 0 && SendIndex + 1 < static_cast<int>(SendRows.size())) {
    std::swap(SendRows[static_cast<std::size_t>(SendIndex)],
              SendRows[static_cast<std::size_t>(SendIndex + 1)]);
    ++SendIndex;
  }
  Notify(Aspect::SendSet);
  Notify(Aspect::Catalog);
}

void TBidForm::BidMouseDown() {
  HideHint();
  MoveFrom = SendIndex;
  Notify(Aspect::Catalog);
}

void TBidForm::BidMoveClick() {
  HideHint();
  Notify(Aspect::Catalog);
  const int count = static_cast<int>(SendRows.size());
  if (SendIndex == MoveFrom || MoveFrom < 0 || MoveFrom >= count || SendIndex < 0 || SendIndex >= count)
    return;
  TSendRow row = std::move(SendRows[static_cast<std::size_t>(MoveFrom)]);
  SendRows.erase(SendRows.begin() + MoveFrom);
  SendRows.insert(SendRows.begin() + SendIndex, std::move(row));
  MoveFrom = SendIndex;
  Notify(Aspect::SendSet);
}

void TBidForm::BidSendClick() {
  RequireLink("a licit"_cp);
  const std::int32_t seat = club_.MySeat();
  TBidList made;
  made.Filter(BiddingLine, seat < 0 || seat > 4 ? 5 : -seat);
  // Every bid not checked when it was added: the partner may have made it since.
  for (const TSendRow& row : SendRows)
    if (!row.PreChecked) CheckBid(row.Bid, made);
  std::vector<std::string> bids;
  for (const TSendRow& row : SendRows) bids.push_back(row.Bid);
  club_.Link().Send(proto::CmdBids(club_.Nickname(), bids));
  SendRows.clear();
  SendIndex = -1;
  Notify(Aspect::SendSet);
  EnableGo(false);
}

void TBidForm::HandSignalsStep() {
  SetTrickPause(false);
  GroupIndex = 1;
  Catalog.MakeHandSignals(ShownHand.Cards);
  GroupIndex = kSignalGroup;
  BidGroupsClick();
}

}  // namespace zn
