// The strong robot: decides from its seat's view only. It bids by estimate (deal/BidEstimate.h). For a card
// it draws layouts of the cards it cannot see that agree with the view, searches each with every hand open,
// and plays the card with the best average value. The sampling is seeded from the view, so the same deal and
// seat give the same choices. A time budget bounds a decision: the search stops at 80% of it (the rest covers
// the last nodes, the answer's way back to the server's loop and a busy core), and the layouts searched so
// far decide. The layouts of a decision may be searched by several threads at once (`split`); without
// a budget the choice is the same however they are split.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <vector>

#include "deal/PlaySearch.h"
#include "deal/Robot.h"
#include "deal/SeatView.h"

namespace zn::deal {

// When a card decision may stop before its last layout: once the card with the best sum leads every
// other card by more than the layouts left are likely to make up. Per other card, d is the leader's
// value less that card's in one layout; after n layouts with sum S and spread s of d, r layouts left
// overturn S only if their own sum falls below -S, which even when d averages 0 from now on has a
// standard deviation of s * sqrt(r): the decision stops when S >= margin * max(s, leastSpread) *
// sqrt(r). The floor keeps a few layouts that happen to agree (s = 0) from deciding at once: a card
// must lead by about a trick a layout for that.
struct EarlyStop {
  bool enabled = true;
  int minLayouts = 8;      // never decide on fewer layouts
  double margin = 2.5;     // standard deviations of what is left
  double leastSpread = 1;  // points: one trick
};

// Whether the layouts so far decide: rows[i][j] is card j's value in layout i (the same cards in
// every row), `total` the layouts the decision would search at most.
bool Decided(const std::vector<std::vector<int>>& rows, int total, const EarlyStop& rule);

struct StrongSettings {
  int layouts = 24;                       // at most this many layouts per card decision
  int bidLayouts = 64;                    // at most this many layouts per bidding estimate
  std::chrono::milliseconds budget{150};  // 0: no limit, the layouts alone bound a decision
  SearchLimits search;
  EarlyStop early;
  std::function<std::chrono::steady_clock::time_point()> now = [] {
    return std::chrono::steady_clock::now();
  };
  // Runs part(0) .. part(parts - 1), some perhaps on other threads at once, and returns when every
  // part is done. Empty: the layouts are searched here, one after the other.
  using Part = std::function<void(int)>;
  std::function<void(int parts, const Part& part)> split;
  int parts = 1;  // the parts a card decision's layouts are split into when `split` is given
};

class StrongRobot : public Robot {
 public:
  explicit StrongRobot(StrongSettings settings = {}) : settings_(std::move(settings)) {}

  std::vector<std::string> Bid(const RobotView& view) override;
  TCard Play(const RobotView& view) override;

  // For the tournament: layouts searched by the last decision and its search nodes.
  int LastLayouts() const { return lastLayouts_; }
  std::int64_t LastNodes() const { return lastNodes_; }

 private:
  StrongSettings settings_;
  SimpleRobot fallback_;
  int lastLayouts_ = 0;
  std::int64_t lastNodes_ = 0;
};

// The scoring terms of both pairs from the bidding so far ([1] and [2]).
std::array<std::vector<ScoreTerm>, 3> BiddingTerms(std::span<const BidBlock> bids);

}  // namespace zn::deal
