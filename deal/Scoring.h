// The score items of a pair after the last trick: "Ütések" (tricks taken minus 5), then every bid
// the pair made after the bid list's cleaning, every kontra and every rekontra, each with its
// points. The items are raw; the client limits them itself.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "deal/BidRules.h"
#include "deal/CardPlay.h"

namespace zn::deal {

struct ScoreItem {
  std::string label;
  int points = 0;
  bool operator==(const ScoreItem&) const = default;
};

// The label of the tricks item.
std::string_view TricksItemLabel();

// One scoring bid of a pair after the cleaning: its label, and how it is judged on a played deal.
struct ScoreTerm {
  std::string label;
  BidRuleMatch match;  // the plain bid's rule (the kontra'd bid for "*X" and "**X")
  int value = 0;
  int sign = 1;        // -1 for a kontra: the pair wins when the bid fails
  int scoredPair = 0;  // the pair whose bid is judged
  int Points(const PlayFacts& facts) const {
    return match.rule->test(facts, scoredPair, match.prefix) ? value * sign : -value * sign;
  }
};

// The terms a pair scores besides its tricks; judging them once per played deal is cheap, so a
// search can score many deals from one list.
std::vector<ScoreTerm> ScoreTerms(std::span<const std::string> pairBids, int pair);
int TricksOfPair(const PlayRecord& record, int pair);

// pairBids: every bid the pair made, in order (signals included: they are cleaned away here).
std::vector<ScoreItem> ScorePair(std::span<const std::string> pairBids, const PlayRecord& record, int pair);

}  // namespace zn::deal
