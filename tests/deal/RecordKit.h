// Played deals made by hand for the tests of the bids and of the scoring.
#pragma once

#include "deal/CardPlay.h"

namespace zn::deal::test {

// A played deal made by hand: trick k won by a seat with a card, other cards put where a bid
// looks for them. Filler winners are middle tarokks (no matador, no XVIII and up).
struct Tricks {
  PlayRecord r;
  Tricks& Won(int k, int seat, TCard card) {
    TrickRecord& t = r.tricks[static_cast<std::size_t>(k - 1)];
    t.cards = {};
    t.winner = t.leader = seat;
    t.cards[static_cast<std::size_t>(seat)] = card;
    if (k > r.count) r.count = k;
    return *this;
  }
  Tricks& Put(int k, int seat, TCard card) {
    r.tricks[static_cast<std::size_t>(k - 1)].cards[static_cast<std::size_t>(seat)] = card;
    return *this;
  }
};

// Ten tricks; the first n won by seat 1, the rest by seat 2.
inline Tricks Taken(int n) {
  Tricks t;
  for (int k = 1; k <= 10; ++k) t.Won(k, k <= n ? 1 : 2, static_cast<TCard>(25 + k));
  return t;
}
}  // namespace zn::deal::test
