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

int TricksOfPair(const PlayRecord& record, int pair) {
  int tricks = 0;
  for (int k = 1; k <= record.count; ++k) tricks += PairOf(record.Trick(k)->winner) == pair;
  return tricks;
}

std::vector<ScoreTerm> ScoreTerms(std::span<const std::string> pairBids, int pair) {
  TBidList list;
  for (const std::string& bid : pairBids) list.Add(bid);
  list.Cleaning();
  // Cleaning drops the counts and "Matador"; the other signals score nothing either.
  std::vector<ScoreTerm> terms;
  for (const std::string& bid : list.Entries()) {
    if (bid == kFlushSignal || bid == kVannakSignal || bid == kMatadorSignal) continue;
    std::string_view plain = bid;
    ScoreTerm term{bid, {}, 0, 1, pair};
    if (plain.starts_with("**")) {  // the own bid the other pair kontra'd
      plain.remove_prefix(2);
    } else if (plain.starts_with('*')) {  // the other pair's bid: we win when it fails
      plain.remove_prefix(1);
      term.sign = -1;
      term.scoredPair = OtherPair(pair);
    }
    term.match = FindBidRule(plain);
    if (!term.match.rule || term.match.rule->value == 0) continue;  // not a catalogue bid: worth nothing
    term.value = term.match.rule->value;
    terms.push_back(std::move(term));
  }
  return terms;
}

std::vector<ScoreItem> ScorePair(std::span<const std::string> pairBids, const PlayRecord& record, int pair) {
  std::vector<ScoreItem> items{{std::string(TricksItemLabel()), TricksOfPair(record, pair) - kTricksPar}};
  const PlayFacts facts(record);
  for (const ScoreTerm& term : ScoreTerms(pairBids, pair)) items.push_back({term.label, term.Points(facts)});
  return items;
}

}  // namespace zn::deal
