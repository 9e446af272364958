// The sampler on a small end position: every drawn layout agrees with the view, and drawing long
// enough brings out every agreeing layout (counted by enumerating them).
#include <gtest/gtest.h>

#include <set>
#include <tuple>

#include "deal/LayoutSampler.h"

namespace zn::deal {
namespace {

// Trick 10 about to start: every seat holds one card; five cards are unseen by seat 1 (the three
// others' cards and the two out). Seat 2 has shown no tarokks, seat 3 no Treff.
SeatView EndView() {
  SeatView v;
  v.seat = 1;
  v.leader = 1;
  v.hand = Bit(30);
  const CardMask unseen = MaskOf({1, 2, 6, 25, 40});
  v.seen = kAllCards & ~unseen & ~v.hand;
  v.held = {0, 1, 1, 1, 1};
  v.voids[2] = 1u << 4;
  v.voids[3] = 1u << 0;
  return v;
}

bool Agrees(const SeatView& v, const Layout& l, CardMask unseen) {
  CardMask all = l.out;
  for (int s = 1; s <= kSeats; ++s) {
    const CardMask h = l.hands[static_cast<std::size_t>(s)];
    if (CountOf(h) != v.held[static_cast<std::size_t>(s)] || (all & h) != 0) return false;
    for (int suit = 0; suit < kSuitClasses; ++suit)
      if (v.Lacks(s, suit) && (h & SuitMask(suit)) != 0) return false;
    all |= h;
  }
  return all == (unseen | v.hand) && CountOf(l.out) == 2;
}

// Every way of putting the unseen cards in the three hands and out that agrees with the view.
std::set<std::tuple<CardMask, CardMask, CardMask, CardMask>> Enumerate(const SeatView& v, CardMask unseen) {
  std::set<std::tuple<CardMask, CardMask, CardMask, CardMask>> all;
  const TCards cards = CardsOf(unseen);
  for (const TCard a : cards)
    for (const TCard b : cards)
      for (const TCard c : cards) {
        if (a == b || b == c || a == c) continue;
        Layout l;
        l.hands = {0, v.hand, Bit(a), Bit(b), Bit(c)};
        l.out = unseen & ~Bit(a) & ~Bit(b) & ~Bit(c);
        if (Agrees(v, l, unseen)) all.emplace(l.hands[2], l.hands[3], l.hands[4], l.out);
      }
  return all;
}

TEST(LayoutSampler, DrawsOnlyAgreeingLayoutsAndEveryOneOfThem) {
  const SeatView v = EndView();
  const LayoutSampler sampler(v);
  ASSERT_EQ(sampler.Unseen(), MaskOf({1, 2, 6, 25, 40}));
  const auto expected = Enumerate(v, sampler.Unseen());
  // Seat 2 takes 1, 2 or 6, seat 3 one of 6, 25, 40 left, seat 4 any of the three left:
  // 2 * 3 + 3 * 3 + 3 * 3 = 24.
  EXPECT_EQ(expected.size(), 24u);
  DealRandom random(7);
  std::set<std::tuple<CardMask, CardMask, CardMask, CardMask>> drawn;
  Layout l;
  for (int i = 0; i < 2000; ++i) {
    ASSERT_TRUE(sampler.Draw(random, l));
    ASSERT_TRUE(Agrees(v, l, sampler.Unseen())) << i;
    drawn.emplace(l.hands[2], l.hands[3], l.hands[4], l.out);
  }
  EXPECT_EQ(drawn, expected);
}

TEST(LayoutSampler, TightVoidsStillGiveALayout) {
  // Seats 2 and 3 lack everything but the tarokks, seat 4 every tarokk: only one way to deal.
  SeatView v = EndView();
  v.voids[2] = 0b01111;
  v.voids[3] = 0b01111;
  v.voids[4] = 0b10000;
  v.held = {0, 1, 1, 1, 1};
  const LayoutSampler sampler(v);
  DealRandom random(1);
  Layout l;
  for (int i = 0; i < 50; ++i) {
    ASSERT_TRUE(sampler.Draw(random, l));
    EXPECT_TRUE(Agrees(v, l, sampler.Unseen()));
    EXPECT_EQ(l.hands[2] | l.hands[3], MaskOf({25, 40}));
  }
  // A view no deal gives (three seats lacking every suit) yields no layout rather than a wrong one.
  v.voids = {0, 0, 0b11111, 0b11111, 0b11111};
  EXPECT_FALSE(LayoutSampler(v).Draw(random, l));
}

}  // namespace
}  // namespace zn::deal
