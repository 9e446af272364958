// The post-mortem of a played deal: for every card, the best the seat's pair could still reach
// with every hand open (the robots' search on the true layout) before the card and after it. A
// card whose value after is below the value before cost its pair points; the best card is the one
// that would have kept them. Values are the pair's score minus the other pair's, tricks and every
// bid by the bid table, as the robots count them.
#pragma once

#include <functional>
#include <vector>

#include "deal/PlaySearch.h"
#include "dealrecord/DealRecord.h"

namespace zn::dealrecord {

struct CardVerdict {
  int trick = 0;  // 1..10
  int seat = 0;
  TCard card = kNoCard;
  int before = 0;        // the best value the pair could reach before the card
  int after = 0;         // the value with this card played (and best play after it)
  TCard best = kNoCard;  // a card that keeps `before` (the card itself when it cost nothing)
  int Cost() const { return before - after; }
  bool operator==(const CardVerdict&) const = default;
};

// The search's depth: exact to the end with this many tricks left, else a few tricks ahead and a
// quick playout (deal/PlaySearch.h). The default analyses a deal well inside two seconds.
inline constexpr deal::SearchLimits kPostMortemLimits{6, 3};

// One verdict per card played, in order; empty when stop() said so (it is asked during the
// search, so the interface can drop an analysis it no longer needs).
std::vector<CardVerdict> Analyse(const DealRecord& deal, const deal::SearchLimits& limits = kPostMortemLimits,
                                 const std::function<bool()>& stop = {});

}  // namespace zn::dealrecord
