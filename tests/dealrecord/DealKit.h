// Whole deals for the tests of the record format: played out by the simple robots.
#pragma once

#include "deal/Game.h"
#include "deal/Robot.h"
#include "dealrecord/GameRecord.h"
#include "game/Cp1250.h"

namespace zn::dealrecord::test {

using namespace zn::literals;

// Deal n played to the end by robots, with names, room, time and a result filled in.
inline DealRecord PlayedDeal(std::int32_t number, bool written = true) {
  deal::Game game(number);
  deal::SimpleRobot robot;
  while (game.CurrentPhase() != deal::Game::Phase::Over)
    if (game.OnTurn() == 0)
      game.Continue();
    else
      game.RobotMove(robot);
  DealRecord r = RecordOfGame(game);
  r.room = std::string("Kékterem"_cp);
  r.time = 1'765'000'000 + number;
  r.seats[1] = {std::string("Árvíztűrő"_cp), false};
  r.seats[2] = {"-Robot2", true};
  r.seats[3] = {std::string("béla"_cp), false};
  r.seats[4] = {"-Robot4", true};
  r.written = written;
  r.points14 = written ? 12 : 0;
  r.points23 = written ? -12 : 0;
  return r;
}

}  // namespace zn::dealrecord::test
