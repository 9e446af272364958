// A deal through the engine: the follow rule and trick winners, robots playing whole deals, the
// score items with kontra and rekontra, and a golden deal.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "deal/Game.h"
#include "game/Cp1250.h"
#include "tests/deal/RecordKit.h"

namespace zn::deal {
namespace {

using namespace zn::literals;
using ::testing::ElementsAre;

std::string S(std::string_view cp) { return std::string(cp); }

}  // namespace

void PrintTo(const ScoreItem& item, std::ostream* os) {
  *os << "{" << item.label << ", " << item.points << "}";
}

namespace {

// Deal 1 (dealer 1) after four passes. Hands:
// 1: 1 5 9 11 13 25 27 29 35 39   2: 4 6 7 10 19 20 24 26 38 42
// 3: 3 16 17 22 23 28 31 33 34 41  4: 2 8 12 14 15 18 21 30 36 40
Game PassedDealOne() {
  Game g(1);
  for (int seat = 1; seat <= 4; ++seat) EXPECT_FALSE(g.Bid(seat, {}).has_value());
  return g;
}

TEST(GamePlay, TheDealerLeadsAndTheFollowRuleHolds) {
  Game g = PassedDealOne();
  ASSERT_EQ(g.CurrentPhase(), Game::Phase::Playing);
  EXPECT_EQ(g.OnTurn(), 1);
  struct Move {
    int seat;
    TCard card;
    bool ok;
  };
  const Move moves[] = {
      {2, 4, false},                  // not on turn
      {1, 6, false},                  // not in the hand
      {1, 1, true},   {2, 6, false},  // holds Treff: must follow
      {2, 24, false}, {2, 4, true},  {3, 3, true}, {4, 2, true},
  };
  for (const Move& m : moves) EXPECT_EQ(g.PlayCard(m.seat, m.card), m.ok) << m.seat << " " << m.card;
  // Treff T led; the highest code of the suit, seat 2's 4, takes it.
  EXPECT_EQ(g.OnTurn(), 0);
  EXPECT_TRUE(g.Play()->TrickComplete());
  EXPECT_EQ(g.Play()->Record().tricks[0].winner, 2);
  EXPECT_FALSE(g.PlayCard(2, 6));  // the trick still lies on the table
  g.Continue();
  EXPECT_EQ(g.OnTurn(), 2);
  EXPECT_EQ(g.Play()->TrickNumber(), 2);
  EXPECT_TRUE(g.PlayCard(2, 6));    // Káró led
  EXPECT_FALSE(g.PlayCard(3, 16));  // no Káró, holds tarokks: must play one
  EXPECT_TRUE(g.PlayCard(3, 22));
  EXPECT_FALSE(g.PlayCard(4, 21));  // holds Káró 8
  EXPECT_TRUE(g.PlayCard(4, 8));
  EXPECT_TRUE(g.PlayCard(1, 9));
  EXPECT_EQ(g.Play()->Record().tricks[1].winner, 3);  // tarokk over suit
  EXPECT_EQ(g.Play()->TakenByPair(2), 2);
  EXPECT_THAT(g.HandOf(1), ElementsAre(5, 11, 13, 25, 27, 29, 35, 39));
}

TEST(GamePlay, TrickWinners) {
  struct Case {
    int leader;
    std::array<TCard, 4> bySeat;
    int winner;
  };
  const Case cases[] = {
      {1, {41, 42, 40, 39}, 2},  // the Skíz is the highest tarokk
      {3, {1, 2, 5, 3}, 3},      // the highest code of the led suit
      {2, {20, 7, 21, 10}, 3},   // a tarokk over the suit
      {4, {15, 9, 20, 6}, 2},    // a higher card of another suit does not count
  };
  for (const Case& c : cases) {
    std::array<TCards, 5> hands;
    for (int s = 1; s <= 4; ++s)
      hands[static_cast<std::size_t>(s)] = {c.bySeat[static_cast<std::size_t>(s - 1)]};
    CardPlay play(hands, c.leader);
    for (int i = 0, s = c.leader; i < 4; ++i, s = NextSeat(s))
      play.Play(s, c.bySeat[static_cast<std::size_t>(s - 1)]);
    EXPECT_EQ(play.Record().tricks[0].winner, c.winner) << c.bySeat[0];
  }
}

#ifndef NDEBUG
// Play trusts its caller to have asked MayPlayCard; a debug build stops a caller that did not
// before the hand is cut at a card it does not hold.
TEST(GamePlayDeathTest, PlayStopsACardTheCallerDidNotCheck) {
  const struct {
    const char* why;
    int seat;
    TCard card;
  } cases[] = {{"not on turn", 2, 6}, {"not held", 1, 6}, {"no seat", 0, 1}};
  for (const auto& c : cases) {
    CardPlay play({TCards{}, {1, 30}, {6, 7}, {2, 31}, {3, 32}}, 1);
    EXPECT_DEATH(play.Play(c.seat, c.card), "invariant broken: MayPlayCard") << c.why;
  }
}
#endif

// Robots on every seat play a deal to its end; returns the moves made.
int PlayOut(Game& g) {
  SimpleRobot robot;
  int moves = 0;
  while (g.CurrentPhase() != Game::Phase::Over && moves < 200) {
    if (g.OnTurn() == 0)
      g.Continue();
    else if (!g.RobotMove(robot))
      return -1;
    ++moves;
  }
  return moves;
}

TEST(GameRobots, PlayWholeDealsLegally) {
  for (std::int32_t n = 1; n <= 400; ++n) {
    SCOPED_TRACE(n);
    Game g(n);
    ASSERT_GT(PlayOut(g), 0);
    ASSERT_EQ(g.CurrentPhase(), Game::Phase::Over);
    EXPECT_EQ(g.Play()->Record().count, 10);
    const auto a = g.Score(1), b = g.Score(2);
    ASSERT_FALSE(a.empty());
    ASSERT_FALSE(b.empty());
    EXPECT_EQ(a[0].points + b[0].points, 0);  // ten tricks between them
  }
}

// Deal 36, dealer 3: a robot of seats 1 and 4 holds eight tarokks and bids Gém.
TEST(GameRobots, GoldenDeal) {
  Game g(36);
  ASSERT_GT(PlayOut(g), 0);
  std::string bids;
  for (const BidBlock& b : g.Bids().Blocks())
    bids += std::to_string(b.seat) + ":" + std::to_string(b.bids.size()) + " ";
  EXPECT_EQ(bids, "3:2 4:4 1:3 2:3 3:0 4:0 1:0 2:0 ");
  EXPECT_EQ(g.Play()->TakenByPair(1), 7);
  EXPECT_THAT(g.Score(1), ElementsAre(ScoreItem{S("Ütések"_cp), 2}, ScoreItem{S("Gém"_cp), 5}));
  EXPECT_THAT(g.Score(2), ElementsAre(ScoreItem{S("Ütések"_cp), -2}));
}

TEST(GameRobots, SeeOnlyTheirOwnHand) {
  Game g(7);
  const RobotView v = g.ViewFor(2);
  EXPECT_EQ(std::vector<TCard>(v.hand.begin(), v.hand.end()), g.HandOf(2));
  EXPECT_EQ(v.played, nullptr);  // nothing played during bidding
}

TEST(Scoring, ItemsOfAPairWithCleaningKontraAndRekontra) {
  // Pair 1 took six tricks, the XXI and the Skíz; pair 2 took the XVIII.
  const PlayRecord r = test::Taken(6).Won(1, 1, 41).Won(2, 4, 42).Put(8, 1, 38).r;
  const std::vector<std::string> pair1 = {
      S("8\u00A0Tarokk"_cp), "Matador", "Flush", "Vannak",         S("Gém"_cp),    S("Honőr"_cp),
      S("Köpf"_cp),          "Kassza",  "*Vizi", S("**Bridzs"_cp), S("**Oktáv"_cp)};
  EXPECT_THAT(
      ScorePair(pair1, r, 1),
      ElementsAre(ScoreItem{S("Ütések"_cp), 1}, ScoreItem{S("Köpf"_cp), 10}, ScoreItem{"Kassza", 10},
                  ScoreItem{"*Vizi", -2}, ScoreItem{S("**Bridzs"_cp), -20}, ScoreItem{S("**Oktáv"_cp), -40}));
  // The other side: their Vizi made, their kontra of our Kassza failed.
  const std::vector<std::string> pair2 = {"Vizi", "*Kassza", S("*Pikoló"_cp)};
  EXPECT_THAT(ScorePair(pair2, r, 2), ElementsAre(ScoreItem{S("Ütések"_cp), -1}, ScoreItem{"Vizi", 2},
                                                  ScoreItem{"*Kassza", -10}, ScoreItem{S("*Pikoló"_cp), 20}));
}

}  // namespace
}  // namespace zn::deal
