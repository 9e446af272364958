#include "deal/Duplicate.h"

#include "deal/Game.h"

namespace zn::deal {
namespace {

int Points(const Game& game, int pair) {
  int sum = 0;
  for (const ScoreItem& item : game.Score(pair)) sum += item.points;
  return sum;
}

}  // namespace

int PlayTable(std::int32_t number, const std::array<Robot*, kSeats + 1>& robots, Robot& fallback) {
  Game game(number);
  // Every move ends a turn, so a deal takes at most eight rounds of bids and forty cards; the
  // bound only guards against a robot and its fallback both refusing to move.
  for (int moves = 0; game.CurrentPhase() != Game::Phase::Over && moves < 200; ++moves) {
    const int seat = game.OnTurn();
    if (seat == 0) {
      game.Continue();
      continue;
    }
    if (!game.RobotMove(*robots[static_cast<std::size_t>(seat)])) game.RobotMove(fallback);
  }
  return Points(game, 1) - Points(game, 2);
}

int PlayDuplicate(std::int32_t number, Robot& a, Robot& b, Robot& fallback) {
  const int first = PlayTable(number, {nullptr, &a, &b, &b, &a}, fallback);
  const int second = PlayTable(number, {nullptr, &b, &a, &a, &b}, fallback);
  return first - second;
}

}  // namespace zn::deal
