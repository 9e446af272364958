// What a seat knows: the view hides the other hands, and the robot that decides from it cannot
// tell two deals apart that differ only in cards it has not seen.
#include <gtest/gtest.h>

#include "deal/LayoutSampler.h"
#include "deal/SeatView.h"
#include "deal/StrongRobot.h"

namespace zn::deal {
namespace {

// Deal 1's hands: seat 1: 1 5 9 11 13 25 27 29 35 39; the other seats below.
std::array<TCards, kSeats + 1> DealOneHands() {
  return {TCards{},
          {1, 5, 9, 11, 13, 25, 27, 29, 35, 39},
          {4, 6, 7, 10, 19, 20, 24, 26, 38, 42},
          {3, 16, 17, 22, 23, 28, 31, 33, 34, 41},
          {2, 8, 12, 14, 15, 18, 21, 30, 36, 40}};
}

// The same cards played from both layouts: a Treff trick, then a Káró trick seat 3 trumps, then
// seat 3 leads a tarokk and seat 4 follows; seat 1 is on turn.
struct Table {
  CardPlay play;
  std::vector<BidBlock> bids{{1, {}}, {2, {}}, {3, {}}, {4, {}}};
  explicit Table(const std::array<TCards, kSeats + 1>& hands) : play(hands, 1) {
    const std::pair<int, TCard> moves[] = {{1, 1},  {2, 4}, {3, 3}, {4, 2}, {0, 0},  {2, 6},
                                           {3, 22}, {4, 8}, {1, 9}, {0, 0}, {3, 23}, {4, 21}};
    for (const auto& [seat, card] : moves) {
      if (seat == 0) {
        play.Continue();
        continue;
      }
      EXPECT_TRUE(play.MayPlayCard(seat, card)) << seat << " " << card;
      play.Play(seat, card);
    }
  }
  RobotView View(int seat) const {
    RobotView v;
    v.seat = seat;
    v.dealer = 1;
    v.hand = play.Hand(seat).Cards;
    v.bids = bids;
    v.table = play.Table();
    v.leader = play.Leader();
    v.played = &play.Record();
    return v;
  }
};

TEST(SeatView, HiddenCardsChangeNeitherTheViewNorTheChoice) {
  auto other = DealOneHands();
  // Seats 2 and 3 swap two tarokks none of them has played yet.
  std::erase(other[2], 26);
  std::erase(other[3], 28);
  other[2].push_back(28);
  other[3].push_back(26);
  std::sort(other[2].begin(), other[2].end());
  std::sort(other[3].begin(), other[3].end());
  const Table a(DealOneHands());
  const Table b(other);
  ASSERT_EQ(a.play.OnTurn(), 1);
  const SeatView va = MakeSeatView(a.View(1));
  EXPECT_TRUE(va == MakeSeatView(b.View(1)));
  EXPECT_EQ(ViewSeed(va), ViewSeed(MakeSeatView(b.View(1))));
  StrongSettings quick;
  quick.layouts = 3;
  quick.budget = std::chrono::milliseconds(0);
  StrongRobot ra(quick);
  StrongRobot rb(quick);
  EXPECT_EQ(ra.Play(a.View(1)), rb.Play(b.View(1)));
  // Seat 2's view does differ: its own hand is not the same.
  EXPECT_FALSE(MakeSeatView(a.View(2)) == MakeSeatView(b.View(2)));
}

TEST(SeatView, KnowsWhatWasPlayedAndTheShownVoids) {
  const Table t(DealOneHands());
  const SeatView v = MakeSeatView(t.View(1));
  EXPECT_EQ(v.hand, MaskOf({5, 11, 13, 25, 27, 29, 35, 39}));
  EXPECT_EQ(v.seen, MaskOf({1, 4, 3, 2, 6, 22, 8, 9, 23, 21}) & ~v.hand);
  // Seat 3 trumped the Káró lead: it lacks Káró, not the tarokks.
  EXPECT_TRUE(v.Lacks(3, 1));
  EXPECT_FALSE(v.Lacks(3, 4));
  EXPECT_EQ(v.voids[2], 0);
  EXPECT_EQ(v.voids[4], 0);
  EXPECT_EQ((std::array<int, 5>{0, 8, 8, 7, 7}), v.held);
  // No card of the view is one the seat cannot see.
  const LayoutSampler sampler(v);
  EXPECT_EQ(CountOf(sampler.Unseen()), 42 - 8 - 10);
}

TEST(SeatView, AnOffSuitCardOnASuitLeadShowsNoTarokksEither) {
  CardPlay play({TCards{}, {1, 30}, {6, 7}, {2, 31}, {3, 32}}, 1);
  play.Play(1, 1);
  play.Play(2, 6);  // no Treff and no tarokk
  RobotView rv;
  rv.seat = 3;
  rv.hand = play.Hand(3).Cards;
  rv.table = play.Table();
  rv.leader = 1;
  rv.played = &play.Record();
  const SeatView v = MakeSeatView(rv);
  EXPECT_TRUE(v.Lacks(2, 0));
  EXPECT_TRUE(v.Lacks(2, 4));
  EXPECT_FALSE(v.Lacks(2, 1));
}

}  // namespace
}  // namespace zn::deal
