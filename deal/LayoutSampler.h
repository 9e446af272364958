// Layouts of the cards a seat cannot see that agree with what it saw: every seat holds as many
// cards as it has left, none of a suit it has shown it lacks, no card already played; the two cards
// out of the deal are unknown too. Any agreeing layout can be drawn.
#pragma once

#include <array>
#include <vector>

#include "deal/CardMask.h"
#include "deal/SeatView.h"
#include "deal/Shuffle.h"

namespace zn::deal {

struct Layout {
  std::array<CardMask, kSeats + 1> hands{};  // by seat; the viewer's own hand included
  CardMask out = 0;                          // the two cards out of the deal (or fewer, see below)
  bool operator==(const Layout&) const = default;
};

class LayoutSampler {
 public:
  explicit LayoutSampler(const SeatView& view);

  // A random agreeing layout. False when no layout agrees (a view no real deal gives), or when the
  // search for one took more than kMaxSteps placements (a view whose voids leave few layouts):
  // a robot's decision must stay within its time.
  bool Draw(DealRandom& random, Layout& layout) const;
  static constexpr int kMaxSteps = 1 << 16;
  CardMask Unseen() const { return unseen_; }

 private:
  bool Place(DealRandom& random, std::size_t i, std::array<int, kSeats + 1>& room, Layout& layout,
             int& steps) const;

  int viewer_;
  CardMask unseen_;
  CardMask own_;
  // Index 0 stands for the cards out of the deal.
  std::array<int, kSeats + 1> capacity_{};
  std::array<std::uint8_t, kSeats + 1> voids_{};
  std::vector<TCard> order_;  // the unseen cards, the most constrained first
};

}  // namespace zn::deal
