// The strong robot: one card decision early in a deal and late in it and one bidding estimate (a
// fixed number of layouts, no time budget), the opening lead against the search as it was, and one
// duplicate deal of strong against simple robots.
#include <benchmark/benchmark.h>

#include <chrono>

#include "bench/OldSearch.h"
#include "deal/Duplicate.h"
#include "deal/Game.h"
#include "deal/StrongRobot.h"

namespace {

using zn::deal::Game;

// Deal n bid by `bidder` and played by simple robots until `cards` cards lie in finished tricks or
// on the table.
Game PlayedUntil(std::int32_t number, int cards, zn::deal::Robot& bidder) {
  Game game(number);
  zn::deal::SimpleRobot simple;
  int played = 0;
  while (game.CurrentPhase() != Game::Phase::Over) {
    if (game.OnTurn() == 0) {
      game.Continue();
      continue;
    }
    if (game.Play() && played++ == cards) break;
    game.RobotMove(game.Play() ? simple : bidder);
  }
  return game;
}
Game PlayedUntil(std::int32_t number, int cards) {
  zn::deal::SimpleRobot simple;
  return PlayedUntil(number, cards, simple);
}

// Arguments: the cards played before the decision; 1 when strong robots bid the deals (many
// scoring bids for the search to judge), 0 when simple ones did (few).
void BM_StrongDecision(benchmark::State& state) {
  zn::deal::StrongSettings settings;
  settings.budget = std::chrono::milliseconds(0);
  zn::deal::StrongRobot robot(settings);
  zn::deal::SimpleRobot simple;
  zn::deal::Robot& bidder = state.range(1) ? static_cast<zn::deal::Robot&>(robot) : simple;
  std::vector<Game> games;
  for (std::int32_t n = 1; n <= 16; ++n)
    games.push_back(PlayedUntil(n, static_cast<int>(state.range(0)), bidder));
  std::size_t i = 0;
  for (auto _ : state) {
    const Game& g = games[i++ % games.size()];
    benchmark::DoNotOptimize(robot.Play(g.ViewFor(g.OnTurn())));
  }
}
BENCHMARK(BM_StrongDecision)->ArgsProduct({{0, 13, 26}, {0, 1}})->Unit(benchmark::kMillisecond);

// The opening lead (24 layouts, no budget) with today's search and with the old one, alternating
// on the same deals so that both see the same load: old_ms and new_ms per decision, their ratio,
// and the share of decisions where both chose the same card (the search's values are exact, so 1).
void BM_OpeningLeadAgainstOldSearch(benchmark::State& state) {
  using Clock = std::chrono::steady_clock;
  zn::deal::StrongSettings settings;
  settings.budget = std::chrono::milliseconds(0);
  settings.early.enabled = false;  // the old search always searched every layout
  zn::deal::StrongRobot robot(settings);
  std::vector<Game> games;
  for (std::int32_t n = 1; n <= 24; ++n) games.push_back(PlayedUntil(n, 0));
  Clock::duration fresh{}, old{};
  std::int64_t same = 0, decisions = 0;
  std::size_t i = 0;
  for (auto _ : state) {
    const Game& g = games[i++ % games.size()];
    const zn::deal::RobotView view = g.ViewFor(g.OnTurn());
    const auto t0 = Clock::now();
    const zn::TCard a = robot.Play(view);
    const auto t1 = Clock::now();
    const zn::TCard b = zn::bench::OldStrongPlay(view, settings.layouts);
    const auto t2 = Clock::now();
    fresh += t1 - t0;
    old += t2 - t1;
    same += a == b;
    ++decisions;
  }
  const auto ms = [&](Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count() / static_cast<double>(decisions);
  };
  state.counters["new_ms"] = ms(fresh);
  state.counters["old_ms"] = ms(old);
  state.counters["new/old"] = ms(fresh) / ms(old);
  state.counters["same_card"] = static_cast<double>(same) / static_cast<double>(decisions);
}
BENCHMARK(BM_OpeningLeadAgainstOldSearch)->Unit(benchmark::kMillisecond)->Iterations(48);

// Card decisions through a deal (24 layouts, no budget) with the early stop and without it,
// alternating on the same positions: early_ms and full_ms per decision, their ratio, the layouts the
// early stop searched on average, and the share of decisions where both chose the same card.
void BM_EarlyStopAgainstFull(benchmark::State& state) {
  using Clock = std::chrono::steady_clock;
  zn::deal::StrongSettings full;
  full.budget = std::chrono::milliseconds(0);
  full.early.enabled = false;
  zn::deal::StrongSettings early = full;
  early.early.enabled = true;
  zn::deal::StrongRobot a(early), b(full);
  std::vector<Game> games;
  for (std::int32_t n = 1; n <= 20; ++n)
    for (const int cards : {0, 1, 2, 5, 9, 14, 21})
      if (Game g = PlayedUntil(n, cards); g.Play() && g.OnTurn() != 0) games.push_back(std::move(g));
  Clock::duration withStop{}, without{};
  std::int64_t same = 0, decisions = 0, layouts = 0;
  std::size_t i = 0;
  for (auto _ : state) {
    const Game& g = games[i++ % games.size()];
    const zn::deal::RobotView view = g.ViewFor(g.OnTurn());
    const auto t0 = Clock::now();
    const zn::TCard x = a.Play(view);
    const auto t1 = Clock::now();
    const zn::TCard y = b.Play(view);
    const auto t2 = Clock::now();
    withStop += t1 - t0;
    without += t2 - t1;
    same += x == y;
    layouts += a.LastLayouts();
    ++decisions;
  }
  const auto ms = [&](Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count() / static_cast<double>(decisions);
  };
  state.counters["early_ms"] = ms(withStop);
  state.counters["full_ms"] = ms(without);
  state.counters["early/full"] = ms(withStop) / ms(without);
  state.counters["layouts"] = static_cast<double>(layouts) / static_cast<double>(decisions);
  state.counters["same_card"] = static_cast<double>(same) / static_cast<double>(decisions);
}
BENCHMARK(BM_EarlyStopAgainstFull)->Unit(benchmark::kMillisecond)->Iterations(140);

// The bidding estimate of the dealer's first turn (its layouts, no time budget).
void BM_StrongBid(benchmark::State& state) {
  zn::deal::StrongSettings settings;
  settings.budget = std::chrono::milliseconds(0);
  zn::deal::StrongRobot robot(settings);
  std::vector<Game> games;
  for (std::int32_t n = 1; n <= 16; ++n) games.emplace_back(n);
  std::size_t i = 0;
  for (auto _ : state) {
    const Game& g = games[i++ % games.size()];
    benchmark::DoNotOptimize(robot.Bid(g.ViewFor(g.OnTurn())));
  }
}
BENCHMARK(BM_StrongBid)->Unit(benchmark::kMillisecond);

void BM_DuplicateDeal(benchmark::State& state) {
  zn::deal::StrongRobot strong;
  zn::deal::SimpleRobot simple;
  std::int32_t number = 1;
  for (auto _ : state) benchmark::DoNotOptimize(zn::deal::PlayDuplicate(number++, strong, simple, simple));
}
BENCHMARK(BM_DuplicateDeal)->Unit(benchmark::kMillisecond)->Iterations(4);

}  // namespace
