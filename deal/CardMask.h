// Sets of cards as 64-bit masks (bit c for card code c), for the robots' sampling and search.
#pragma once

#include <bit>
#include <cstdint>

#include "game/Hands.h"

namespace zn::deal {

using CardMask = std::uint64_t;

constexpr CardMask Bit(TCard card) { return CardMask{1} << card; }
// Every card of the deal: codes 1..42.
inline constexpr CardMask kAllCards = ((CardMask{1} << (kMaxCard + 1)) - 1) & ~CardMask{1};
inline constexpr int kSuitClasses = 5;  // Treff, Káró, Kőr, Pikk, tarokk (SuitOf)

// The cards of one suit class (0..3 a suit, 4 the tarokks).
constexpr CardMask SuitMask(int suit) {
  return suit < 4 ? (((CardMask{1} << 5) - 1) << (suit * 5 + 1)) : kAllCards & ~((CardMask{1} << 21) - 1);
}
inline int CountOf(CardMask m) { return std::popcount(m); }

inline CardMask MaskOf(const TCards& cards) {
  CardMask m = 0;
  for (const TCard c : cards)
    if (c >= 1 && c <= kMaxCard) m |= Bit(c);
  return m;
}

inline TCards CardsOf(CardMask m) {
  TCards cards;
  for (; m != 0; m &= m - 1) cards.push_back(static_cast<TCard>(std::countr_zero(m)));
  return cards;
}

}  // namespace zn::deal
