// Numbered deals: the same cards everywhere (pinned), every card dealt once, dealer by parity.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>

#include "deal/Shuffle.h"
#include "tests/support/TestDealKey.h"

namespace zn::deal {
namespace {

using ::testing::ElementsAre;

TEST(DealRandom, StaysBelowItsBound) {
  DealRandom bounded(99);
  for (std::uint64_t bound : {1ull, 2ull, 3ull, 42ull, 1ull << 63, ~0ull})
    for (int i = 0; i < 200; ++i) EXPECT_LT(bounded.Below(bound), bound);
}

// Pinned: a change of generator, seeding or shuffle changes the robots' numbered deals.
TEST(DealCards, GoldenDeals) {
  const DealtCards d1 = DealCards(1);
  EXPECT_THAT(d1.hands[1], ElementsAre(1, 5, 9, 11, 13, 25, 27, 29, 35, 39));
  EXPECT_THAT(d1.hands[2], ElementsAre(4, 6, 7, 10, 19, 20, 24, 26, 38, 42));
  EXPECT_THAT(d1.hands[3], ElementsAre(3, 16, 17, 22, 23, 28, 31, 33, 34, 41));
  EXPECT_THAT(d1.hands[4], ElementsAre(2, 8, 12, 14, 15, 18, 21, 30, 36, 40));
  EXPECT_THAT(d1.out, ElementsAre(32, 37));
  EXPECT_THAT(DealCards(2).hands[1], ElementsAre(1, 8, 11, 13, 16, 28, 33, 34, 35, 36));
  EXPECT_THAT(DealCards(1000).hands[3], ElementsAre(2, 5, 9, 10, 11, 12, 28, 31, 33, 35));
}

TEST(DealCards, EveryCardOnceAndTheSameCardsForTheSameNumber) {
  for (std::int32_t n : {1, 2, 3, 17, 1000, 123456, 2147483647, -1, 0}) {
    SCOPED_TRACE(n);
    const DealtCards d = DealCards(n);
    std::set<TCard> seen(d.out.begin(), d.out.end());
    for (int s = 1; s <= 4; ++s) {
      EXPECT_EQ(d.hands[static_cast<std::size_t>(s)].size(), 10u);
      EXPECT_TRUE(std::is_sorted(d.hands[static_cast<std::size_t>(s)].begin(),
                                 d.hands[static_cast<std::size_t>(s)].end()));
      seen.insert(d.hands[static_cast<std::size_t>(s)].begin(), d.hands[static_cast<std::size_t>(s)].end());
    }
    EXPECT_EQ(seen.size(), 42u);
    EXPECT_EQ(*seen.begin(), 1);
    EXPECT_EQ(*seen.rbegin(), 42);
    EXPECT_EQ(DealCards(n).hands, d.hands);
  }
  EXPECT_NE(DealCards(5).hands, DealCards(6).hands);
}

// Pinned under the tests' key (checked against a separate BLAKE2b and generator written apart from
// this code): a change of the keyed hash or of how it fills the generator changes every deal a
// server has dealt.
TEST(KeyedDealCards, GoldenDeals) {
  const DealtCards d1 = DealCards(1, test::kTestDealKey);
  EXPECT_THAT(d1.hands[1], ElementsAre(6, 14, 15, 18, 20, 24, 30, 31, 32, 42));
  EXPECT_THAT(d1.hands[2], ElementsAre(1, 7, 11, 12, 21, 22, 35, 38, 39, 41));
  EXPECT_THAT(d1.hands[3], ElementsAre(2, 8, 9, 10, 17, 19, 23, 26, 29, 33));
  EXPECT_THAT(d1.hands[4], ElementsAre(3, 4, 5, 13, 16, 27, 28, 34, 36, 37));
  EXPECT_THAT(d1.out, ElementsAre(25, 40));
  EXPECT_THAT(DealCards(2, test::kTestDealKey).hands[1], ElementsAre(2, 12, 18, 20, 23, 25, 29, 32, 33, 39));
  EXPECT_THAT(DealCards(1000, test::kTestDealKey).hands[3], ElementsAre(3, 6, 8, 23, 25, 28, 29, 31, 36, 42));
}

// A copy of the unkeyed shuffle, the one anybody can read, predicts no hand a keyed server deals:
// not one of the four hands of any seat for any of these numbers (a match by chance is about one
// in 10^10 per pair of hands). Every card is still dealt once, the same for the same key.
TEST(KeyedDealCards, TheUnkeyedShufflePredictsNoHand) {
  DealKey other = test::kTestDealKey;
  other[31] ^= 1;
  int compared = 0;
  const auto check = [&](std::int32_t n) {
    const DealtCards keyed = DealCards(n, test::kTestDealKey);
    const DealtCards open = DealCards(n);
    std::set<TCard> seen(keyed.out.begin(), keyed.out.end());
    for (int s = 1; s <= 4; ++s) {
      const TCards& hand = keyed.hands[static_cast<std::size_t>(s)];
      seen.insert(hand.begin(), hand.end());
      for (int t = 1; t <= 4; ++t, ++compared)
        ASSERT_NE(hand, open.hands[static_cast<std::size_t>(t)]) << "deal " << n << " seat " << s;
    }
    ASSERT_EQ(seen.size(), 42u) << n;
    ASSERT_EQ(DealCards(n, test::kTestDealKey).hands, keyed.hands) << n;
    ASSERT_NE(DealCards(n, other).hands, keyed.hands) << n;
  };
  for (std::int32_t n = 1; n <= 3000; ++n) check(n);
  for (std::int32_t n : {2147483647, -1, 0, 1000, 99'999'999}) check(n);
  EXPECT_EQ(compared, 3005 * 16);
}

// A room's match deals under the key and the match's secret; pinned the same way (a separate
// BLAKE2b over 'M', the secret and n, and a generator written apart).
TEST(MatchDealCards, GoldenDeals) {
  const DealtCards d1 = DealCards(1, test::kTestDealKey, test::kTestMatch);
  EXPECT_THAT(d1.hands[1], ElementsAre(1, 3, 5, 6, 9, 13, 16, 29, 31, 32));
  EXPECT_THAT(d1.hands[2], ElementsAre(7, 11, 17, 19, 23, 24, 28, 35, 40, 42));
  EXPECT_THAT(d1.hands[3], ElementsAre(14, 18, 20, 21, 22, 25, 27, 33, 34, 37));
  EXPECT_THAT(d1.hands[4], ElementsAre(2, 4, 8, 10, 15, 26, 36, 38, 39, 41));
  EXPECT_THAT(d1.out, ElementsAre(12, 30));
  EXPECT_THAT(DealCards(2, test::kTestDealKey, test::kTestMatch).hands[1],
              ElementsAre(1, 5, 7, 14, 18, 20, 22, 26, 29, 39));
  EXPECT_THAT(DealCards(1000, test::kTestDealKey, test::kTestMatch).hands[3],
              ElementsAre(4, 9, 11, 14, 18, 25, 27, 33, 39, 42));
  MatchSecret other = test::kTestMatch;
  other[0] = 0xff;
  EXPECT_THAT(DealCards(1, test::kTestDealKey, other).hands[1],
              ElementsAre(4, 7, 11, 14, 15, 17, 19, 27, 34, 41));
}

TEST(DealCards, DealerByParity) {
  EXPECT_EQ(DealerOf(1), 1);
  EXPECT_EQ(DealerOf(2), 3);
  EXPECT_EQ(DealerOf(1001), 1);
  EXPECT_EQ(DealerOf(2147483646), 3);
}

}  // namespace
}  // namespace zn::deal
