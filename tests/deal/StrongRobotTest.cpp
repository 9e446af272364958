// The strong robot's time budget on a fake clock: the search notices the deadline within a few
// hundred nodes, a deadline in the first layout still gives a legal card, the layouts searched
// before a later deadline decide, and splitting the layouts over threads changes no choice.
#include <gtest/gtest.h>

#include <thread>

#include "deal/Game.h"
#include "deal/StrongRobot.h"
#include "game/PlayRules.h"

namespace zn::deal {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// Deal n after bidding: every seat passes, the dealer is on turn to lead trick 1.
Game OpeningLead(std::int32_t number) {
  Game game(number);
  while (game.CurrentPhase() == Game::Phase::Bidding) game.Bid(game.OnTurn(), {});
  return game;
}

bool Legal(const Game& g, TCard card) {
  const int seat = g.OnTurn();
  const THand hand(g.HandOf(seat));
  return hand.IndexOf(card) >= 0 && MayPlay(hand, g.Play()->Lead(), card);
}

// A clock that stands still for `still` readings and then jumps a minute ahead.
StrongSettings JumpAfter(int still, std::chrono::milliseconds budget, int* readings) {
  StrongSettings s;
  s.budget = budget;
  s.now = [still, readings] {
    const int n = (*readings)++;
    return Clock::time_point{} + (n < still ? 0s : 60s);
  };
  return s;
}

TEST(StrongRobot, StopsWithinAFewHundredNodesOfTheDeadline) {
  // The first reading sets the deadline, the second is the search's first look at the clock.
  for (std::int32_t number : {1, 2, 3}) {
    const Game g = OpeningLead(number);
    int readings = 0;
    StrongRobot robot(JumpAfter(1, 150ms, &readings));
    const TCard card = robot.Play(g.ViewFor(g.OnTurn()));
    EXPECT_TRUE(Legal(g, card)) << number;
    EXPECT_EQ(robot.LastLayouts(), 0) << number;  // stopped inside the first layout
    EXPECT_LE(robot.LastNodes(), 1024) << number;
    // A card thought of with no layout searched is the simple robot's.
    SimpleRobot simple;
    EXPECT_EQ(card, simple.Play(g.ViewFor(g.OnTurn()))) << number;
  }
}

TEST(StrongRobot, KeepsTheLayoutsSearchedBeforeTheDeadline) {
  // A clock that runs out late: some layouts are complete, the one in progress is dropped.
  const Game g = OpeningLead(4);
  int readings = 0;
  StrongSettings unlimited;
  unlimited.budget = 0ms;
  unlimited.early.enabled = false;
  unlimited.layouts = 6;
  StrongRobot probe(unlimited);
  probe.Play(g.ViewFor(g.OnTurn()));
  ASSERT_EQ(probe.LastLayouts(), 6);
  // Stand still for about two layouts' worth of clock readings (one every 256 nodes).
  const int perLayout = static_cast<int>(probe.LastNodes() / 6 / 256);
  StrongSettings timed = JumpAfter(2 * perLayout + 2, 150ms, &readings);
  timed.layouts = 6;
  timed.early.enabled = false;
  StrongRobot robot(timed);
  const TCard card = robot.Play(g.ViewFor(g.OnTurn()));
  EXPECT_TRUE(Legal(g, card));
  EXPECT_GE(robot.LastLayouts(), 1);
  EXPECT_LT(robot.LastLayouts(), 6);
}

TEST(StrongRobot, ChoosesTheSameCardHoweverItsLayoutsAreSplit) {
  // Without a budget the layouts searched decide, on one thread or on three at once, with the early
  // stop (it looks only at the layouts searched from the first without a gap) and without it.
  for (const bool early : {false, true}) {
    StrongSettings alone;
    alone.budget = 0ms;
    alone.layouts = early ? 24 : 6;
    alone.early.enabled = early;
    StrongSettings split = alone;
    split.parts = 3;
    split.split = [](int parts, const StrongSettings::Part& part) {
      std::vector<std::thread> threads;
      for (int i = 0; i < parts; ++i) threads.emplace_back(part, i);
      for (std::thread& t : threads) t.join();
    };
    for (const std::int32_t number : {5, 6, 7, 8, 9}) {
      const Game g = OpeningLead(number);
      StrongRobot one(alone), three(split);
      EXPECT_EQ(one.Play(g.ViewFor(g.OnTurn())), three.Play(g.ViewFor(g.OnTurn()))) << number;
      EXPECT_EQ(one.LastLayouts(), three.LastLayouts()) << number;
      // Parts still searching when the decision settles drop their layouts part way.
      if (!early) {
        EXPECT_EQ(one.LastNodes(), three.LastNodes()) << number;
      }
    }
  }
}

// The early stop on value tables: n layouts (rows) of the cards' values, at most `total` layouts.
TEST(StrongRobot, DecidesEarlyOnlyWhenTheLeadCannotBeMadeUp) {
  EarlyStop rule;  // at least 4 layouts, 2 standard deviations of what is left, at least one trick's
  rule.minLayouts = 4;
  rule.margin = 2;
  rule.leastSpread = 1;
  struct Case {
    const char* what;
    std::vector<std::vector<int>> rows;
    int total;
    bool decided;
  };
  const Case cases[] = {
      {"a card three tricks better in every layout", {{4, 1}, {5, 2}, {6, 3}, {3, 0}}, 24, true},
      {"too few layouts to tell", {{4, 1}, {5, 2}, {6, 3}}, 24, false},
      {"one trick better in every layout: not yet", {{2, 1}, {3, 2}, {4, 3}, {1, 0}}, 24, false},
      {"the same, two layouts left", {{2, 1}, {3, 2}, {4, 3}, {1, 0}}, 6, true},
      {"cards worth the same so far", {{2, 2, -4}, {1, 1, -3}, {4, 4, -1}, {0, 0, -5}}, 24, false},
      {"a close race", {{3, 1}, {0, 2}, {5, 3}, {1, 2}}, 24, false},
      {"a lead, a wide spread, many layouts left", {{10, 0}, {2, 0}, {12, 0}, {4, 0}}, 24, false},
      {"the same lead with one layout left", {{10, 0}, {2, 0}, {12, 0}, {4, 0}}, 5, true},
      {"every layout searched: nothing to stop", {{4, 1}, {5, 2}, {6, 3}, {3, 0}}, 4, false},
      {"one card", {{3}, {4}, {5}, {2}}, 24, false},
      {"the third card is the close one", {{9, 0, 8}, {9, 0, 10}, {9, 0, 8}, {9, 0, 9}}, 24, false},
  };
  for (const Case& c : cases) EXPECT_EQ(Decided(c.rows, c.total, rule), c.decided) << c.what;
  EarlyStop off = rule;
  off.enabled = false;
  EXPECT_FALSE(Decided(cases[0].rows, cases[0].total, off));
}

}  // namespace
}  // namespace zn::deal
