// The bidding of one deal: turns round the table from the dealer, the server's checks of a set of
// bids, and the end of bidding (four passes in a row, or eight rounds).
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "deal/Seats.h"
#include "game/Hands.h"

namespace zn::deal {

inline constexpr int kMaxRounds = 8;

struct BidBlock {
  int seat = 0;
  std::vector<std::string> bids;  // empty: a pass
};

class Bidding {
 public:
  explicit Bidding(int dealer) : dealer_(dealer), onTurn_(dealer) {}

  int Dealer() const { return dealer_; }
  // The seat to bid; 0 once bidding is over.
  int OnTurn() const { return Over() ? 0 : onTurn_; }
  bool Over() const { return passes_ >= kSeats || blocks_.size() >= kMaxRounds * kSeats; }
  const std::vector<BidBlock>& Blocks() const { return blocks_; }

  // The first bid of the set that the seat on turn may not make with hand, or nothing when the set
  // is acceptable: every bid a catalogue bid (a kontra of a bid of the other pair, a rekontra of a
  // bid of the own pair that the other pair kontra'd) or a signal the hand gives; no bid the own
  // pair made before, no signal the seat gave before, no bid twice, at most one of Honőr, Köpf,
  // Trull and no lowering of that chain.
  std::optional<std::string> Refusal(std::span<const std::string> bids, std::span<const TCard> hand) const;
  // Appends the set of the seat on turn as a block and moves the turn on. The caller checked it.
  void Accept(std::vector<std::string> bids);

  // Every bid of a pair (1 or 2) or of a seat, in the order made.
  std::vector<std::string> BidsOfPair(int pair) const;
  std::vector<std::string> BidsOfSeat(int seat) const;

 private:
  int dealer_;
  int onTurn_;
  int passes_ = 0;
  std::vector<BidBlock> blocks_;
};

}  // namespace zn::deal
