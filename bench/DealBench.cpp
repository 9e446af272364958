// Robot deals in the pure deal library: shuffle, bidding, ten tricks and the score of both pairs,
// on one core. Stronger robots will search many deals per card, so this is their budget.
#include <benchmark/benchmark.h>

#include "deal/Game.h"

namespace {

void BM_RobotDeal(benchmark::State& state) {
  zn::deal::SimpleRobot robot;
  std::int32_t number = 1;
  for (auto _ : state) {
    zn::deal::Game game(number++);
    while (game.CurrentPhase() != zn::deal::Game::Phase::Over) {
      if (game.OnTurn() == 0)
        game.Continue();
      else
        game.RobotMove(robot);
    }
    auto a = game.Score(1);
    auto b = game.Score(2);
    benchmark::DoNotOptimize(a);
    benchmark::DoNotOptimize(b);
  }
  state.counters["deals/s"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_RobotDeal);

void BM_DealCards(benchmark::State& state) {
  std::int32_t number = 1;
  for (auto _ : state) benchmark::DoNotOptimize(zn::deal::DealCards(number++));
}
BENCHMARK(BM_DealCards);

}  // namespace
