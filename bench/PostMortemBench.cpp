// The post-mortem of one whole deal (every card searched on the true layout), the figure the
// archive window's analysis is held to: under two seconds a deal.
#include <benchmark/benchmark.h>

#include "deal/Game.h"
#include "deal/Robot.h"
#include "dealrecord/GameRecord.h"
#include "dealrecord/PostMortem.h"

namespace {

zn::dealrecord::DealRecord RobotDeal(std::int32_t number) {
  zn::deal::Game game(number);
  zn::deal::SimpleRobot robot;
  while (game.CurrentPhase() != zn::deal::Game::Phase::Over)
    if (game.OnTurn() == 0)
      game.Continue();
    else
      game.RobotMove(robot);
  return zn::dealrecord::RecordOfGame(game);
}

void BM_PostMortemDeal(benchmark::State& state) {
  std::vector<zn::dealrecord::DealRecord> deals;
  for (std::int32_t n = 1; n <= 8; ++n) deals.push_back(RobotDeal(n * 101));
  std::size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(zn::dealrecord::Analyse(deals[i++ % deals.size()]));
}
BENCHMARK(BM_PostMortemDeal)->Unit(benchmark::kMillisecond)->Iterations(8);

}  // namespace
