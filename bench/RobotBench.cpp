// The strong robot: one card decision early in a deal and late in it and one bidding estimate (a
// fixed number of layouts, no time budget), and one duplicate deal of strong against simple robots.
#include <benchmark/benchmark.h>

#include "deal/Duplicate.h"
#include "deal/Game.h"
#include "deal/StrongRobot.h"

namespace {

using zn::deal::Game;

// Deal n played by simple robots until `cards` cards lie in finished tricks or on the table.
Game PlayedUntil(std::int32_t number, int cards) {
  Game game(number);
  zn::deal::SimpleRobot simple;
  int played = 0;
  while (game.CurrentPhase() != Game::Phase::Over) {
    if (game.OnTurn() == 0) {
      game.Continue();
      continue;
    }
    if (game.Play() && played++ == cards) break;
    game.RobotMove(simple);
  }
  return game;
}

void BM_StrongDecision(benchmark::State& state) {
  zn::deal::StrongSettings settings;
  settings.budget = std::chrono::milliseconds(0);
  zn::deal::StrongRobot robot(settings);
  std::vector<Game> games;
  for (std::int32_t n = 1; n <= 16; ++n) games.push_back(PlayedUntil(n, static_cast<int>(state.range(0))));
  std::size_t i = 0;
  for (auto _ : state) {
    const Game& g = games[i++ % games.size()];
    benchmark::DoNotOptimize(robot.Play(g.ViewFor(g.OnTurn())));
  }
}
BENCHMARK(BM_StrongDecision)->Arg(0)->Arg(13)->Arg(26)->Unit(benchmark::kMillisecond);

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
