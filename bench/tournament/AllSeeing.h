// The all-seeing robot of the tournament: it bids as the strong robot does, and for a card it
// searches the true layout of the deal (every hand as dealt, less the cards played) with the
// strong robot's search, so the strong robots' sampling is the only thing it does better.
#pragma once

#include <cstdint>

#include "deal/StrongRobot.h"

namespace zn::bench {

class AllSeeingRobot : public deal::Robot {
 public:
  explicit AllSeeingRobot(deal::StrongSettings settings) : settings_(settings), bidder_(settings) {}

  // The deal the next decisions are for (the tournament's deal number).
  void SetDeal(std::int32_t number) { number_ = number; }
  std::vector<std::string> Bid(const deal::RobotView& view) override { return bidder_.Bid(view); }
  TCard Play(const deal::RobotView& view) override;

 private:
  deal::StrongSettings settings_;
  deal::StrongRobot bidder_;
  std::int32_t number_ = 1;
};

}  // namespace zn::bench
