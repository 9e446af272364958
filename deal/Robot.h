// Robots: what a robot sees (its own hand and the public table, nothing else, so it cannot peek)
// and the interface a robot implements, so a stronger one can be plugged in later.
#pragma once

#include <array>
#include <span>
#include <string>
#include <vector>

#include "deal/Bidding.h"
#include "deal/CardPlay.h"

namespace zn::deal {

struct RobotView {
  int seat = 0;
  int dealer = 0;
  std::span<const TCard> hand;            // the robot's own cards, ascending
  std::span<const BidBlock> bids;         // the bidding so far
  std::array<TCard, kSeats + 1> table{};  // the trick in progress by seat (0: none yet)
  int leader = 0;                         // the seat that opened the trick in progress
  const PlayRecord* played = nullptr;     // the finished tricks (nullptr during bidding)
};

class Robot {
 public:
  virtual ~Robot() = default;
  // The robot's set of bids on its turn (empty: a pass). It must pass the server's checks.
  virtual std::vector<std::string> Bid(const RobotView& view) = 0;
  // The card the robot plays on its turn; it must be legal.
  virtual TCard Play(const RobotView& view) = 0;
};

// Bids its hand signals in the first round and "Gém" once with 8 or more tarokks, then passes.
// Plays the lowest card that wins the trick so far when it has one, else its lowest legal card.
// Deterministic: the same view gives the same choice.
class SimpleRobot : public Robot {
 public:
  std::vector<std::string> Bid(const RobotView& view) override;
  TCard Play(const RobotView& view) override;
};

}  // namespace zn::deal
