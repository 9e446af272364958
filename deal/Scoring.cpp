#include "deal/Scoring.h"

#include "deal/BidRules.h"
#include "game/BidCatalogData.h"
#include "game/BidList.h"
#include "game/Cp1250.h"

namespace zn::deal {

using namespace zn::literals;

namespace {

constexpr int kTricksPar = 5;

}  // namespace

std::string_view TricksItemLabel() { return "Ütések"_cp; }

std::vector<ScoreItem> ScorePair(std::span<const std::string> pairBids, const PlayRecord& record, int pair) {
  int tricks = 0;
  for (int k = 1; k <= record.count; ++k) tricks += PairOf(record.Trick(k)->winner) == pair;

  TBidList list;
  for (const std::string& bid : pairBids) list.Add(bid);
  list.Cleaning();
  // Cleaning drops the counts and "Matador"; the other signals score nothing either.
  std::vector<ScoreItem> items{{std::string(TricksItemLabel()), tricks - kTricksPar}};
  for (const std::string& bid : list.Entries()) {
    if (bid == kFlushSignal || bid == kVannakSignal || bid == kMatadorSignal) continue;
    std::string_view plain = bid;
    int sign = 1;
    int scoredPair = pair;
    if (plain.starts_with("**")) {  // the own bid the other pair kontra'd
      plain.remove_prefix(2);
    } else if (plain.starts_with('*')) {  // the other pair's bid: we win when it fails
      plain.remove_prefix(1);
      sign = -1;
      scoredPair = OtherPair(pair);
    }
    const int value = BidValue(plain);
    if (value == 0) continue;  // not a catalogue bid: worth nothing
    const bool made = BidMade(plain, record, scoredPair);
    items.push_back({bid, (made ? value : -value) * sign});
  }
  return items;
}

}  // namespace zn::deal
