// What one seat knows of a deal: its own hand and the public events (the bids, every card played,
// and the suits each seat has shown it lacks). Built from the robot's view only, so a robot that
// decides from it cannot use a card it could not see at a real table.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "deal/CardMask.h"
#include "deal/Robot.h"
#include "deal/Shuffle.h"

namespace zn::deal {

struct SeatView {
  int seat = 0;
  int dealer = 0;
  int leader = 0;  // the seat that opened the trick in progress (0 during bidding)
  CardMask hand = 0;
  std::array<TCard, kSeats + 1> table{};
  PlayRecord played;  // the finished tricks
  std::vector<BidBlock> bids;
  CardMask seen = 0;                             // every card played, the own hand excluded
  std::array<std::uint8_t, kSeats + 1> voids{};  // by seat: bit s for a suit class it lacks
  std::array<int, kSeats + 1> held{};            // by seat: the cards it still holds

  bool Playing() const { return leader != 0; }
  bool Lacks(int s, int suit) const { return (voids[static_cast<std::size_t>(s)] >> suit) & 1; }
  bool operator==(const SeatView& other) const;
};

SeatView MakeSeatView(const RobotView& view);

// A 64-bit digest of the view, to seed a robot's sampling: the same deal and seat give the same
// choices, and so do two deals that look the same from the seat.
std::uint64_t ViewSeed(const SeatView& view);

}  // namespace zn::deal
