// Bidding by estimate: layouts of the unseen cards drawn as for the card play, each played out
// quickly, tell how often each bid would be made. The robot's pair bids the catalogue bids made
// more often than not (a positive expected value: +value when made, -value when failed), kontras
// the other pair's bids that fail more often than not, and rekontras a kontra'd bid of its own
// that is made more often than not; in each case only when the estimate is clear (BidOdds::Clear).
// Every set passes the server's checks of a member's bids.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "deal/Robot.h"

namespace zn::deal {

struct EstimateLimits {
  int layouts = 64;               // at most this many layouts
  int minLayouts = 16;            // with fewer (the time ran out) no bid is made on the estimate
  std::function<bool()> expired;  // asked between layouts; empty: never
};

// How often one bid was made over the layouts of an estimate.
struct BidOdds {
  std::string bid;  // the plain bid name (no "*")
  int pair = 0;     // the pair whose bid it is
  int made = 0;
  int layouts = 0;
  // Made minus failed: the expected points per layout are edge * value / layouts.
  int Edge() const { return 2 * made - layouts; }
  // Whether the estimate is clear: the edge exceeds one standard error of a coin flip's (the
  // square root of the layouts), so a bid that is made about half the time is not announced.
  bool Clear() const { return static_cast<std::int64_t>(Edge()) * Edge() > layouts; }
};

// The odds of every catalogue bid for the robot's own pair and of every plain bid the other pair
// made, from layouts seeded by the view. Empty when fewer than minLayouts were played out.
std::vector<BidOdds> EstimateBids(const RobotView& view, const EstimateLimits& limits);

// The robot's set of bids: its hand signals in its first turn, then the bids, kontras and
// rekontras the odds favour, each kept only when the set still passes the server's checks.
std::vector<std::string> BidsByEstimate(const RobotView& view, const std::vector<BidOdds>& odds);

}  // namespace zn::deal
