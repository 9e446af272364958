// The score items of a pair after the last trick: "Ütések" (tricks taken minus 5), then every bid
// the pair made after the bid list's cleaning, every kontra and every rekontra, each with its
// points. The items are raw; the client limits them itself.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "deal/CardPlay.h"

namespace zn::deal {

struct ScoreItem {
  std::string label;
  int points = 0;
  bool operator==(const ScoreItem&) const = default;
};

// The label of the tricks item.
std::string_view TricksItemLabel();

// pairBids: every bid the pair made, in order (signals included: they are cleaned away here).
std::vector<ScoreItem> ScorePair(std::span<const std::string> pairBids, const PlayRecord& record, int pair);

}  // namespace zn::deal
