// What the server's deal key costs: whole robot deals (the shuffle, four simple robots bidding and
// playing to the score) dealt without a key and under one, side by side. Figures: deals per second.
#include <benchmark/benchmark.h>

#include "deal/Game.h"
#include "deal/Robot.h"

namespace {

const zn::deal::DealKey kKey = {7, 1, 8, 2, 8, 1, 8, 2, 8, 4, 5, 9, 0, 4, 5, 2,
                                3, 5, 3, 6, 0, 2, 8, 7, 4, 7, 1, 3, 5, 2, 6, 6};

int PlayOut(zn::deal::Game& game, zn::deal::Robot& robot) {
  for (int moves = 0; game.CurrentPhase() != zn::deal::Game::Phase::Over && moves < 200; ++moves) {
    if (game.OnTurn() == 0)
      game.Continue();
    else
      game.RobotMove(robot);
  }
  return game.Play() ? game.Play()->TrickNumber() : 0;
}

void BM_RobotDeal(benchmark::State& state) {
  const bool keyed = state.range(0) != 0;
  zn::deal::SimpleRobot robot;
  std::int32_t number = 1;
  for (auto _ : state) {
    zn::deal::Game game =
        keyed ? zn::deal::Game(number, zn::deal::DealCards(number, kKey)) : zn::deal::Game(number);
    benchmark::DoNotOptimize(PlayOut(game, robot));
    ++number;
  }
  state.SetItemsProcessed(state.iterations());
  state.SetLabel(keyed ? "keyed" : "unkeyed");
}
BENCHMARK(BM_RobotDeal)->Arg(0)->Arg(1);

void BM_DealCardsKeyed(benchmark::State& state) {
  std::int32_t number = 1;
  for (auto _ : state) benchmark::DoNotOptimize(zn::deal::DealCards(number++, kKey));
}
BENCHMARK(BM_DealCardsKeyed);

}  // namespace
