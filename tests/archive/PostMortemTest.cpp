#include <gtest/gtest.h>

#include "archive/PostMortem.h"
#include "tests/archive/DealKit.h"

namespace zn::archive {
namespace {

using test::PlayedDeal;

// Where the search is exact (the last tricks), the value after a card is the value before the
// next one, seen from the other side when the other pair plays it; and no card is worth more than
// the best one.
TEST(PostMortem, ValuesChainFromCardToCardWhereTheSearchIsExact) {
  const deal::SearchLimits limits{4, 2};
  for (const std::int32_t n : {11, 222, 3333, 44444}) {
    SCOPED_TRACE(n);
    const DealRecord deal = PlayedDeal(n);
    const std::vector<CardVerdict> v = Analyse(deal, limits);
    ASSERT_EQ(v.size(), 40u);
    for (std::size_t i = 0; i < v.size(); ++i) {
      EXPECT_EQ(v[i].card, deal.tricks[i / 4].cards[i % 4]);
      EXPECT_LE(v[i].after, v[i].before);
      EXPECT_EQ(v[i].best == v[i].card, v[i].after == v[i].before);
      if (v[i].trick == 10) {
        EXPECT_EQ(v[i].Cost(), 0);  // one card left: no choice
      }
      if (v[i].trick > kTricks - limits.exactTricks && i + 1 < v.size()) {
        const int same = PairOf(v[i].seat) == PairOf(v[i + 1].seat) ? 1 : -1;
        EXPECT_EQ(v[i].after, same * v[i + 1].before) << "card " << i;
      }
    }
  }
}

TEST(PostMortem, AStoppedAnalysisGivesNothing) {
  EXPECT_TRUE(Analyse(PlayedDeal(5), kPostMortemLimits, [] { return true; }).empty());
}

}  // namespace
}  // namespace zn::archive
