// Duplicate play: one numbered deal played out by a robot on every seat, and the two tables of a
// duplicate match where the pairs swap robot kinds, so the cards' luck cancels.
#pragma once

#include <array>
#include <cstdint>

#include "deal/Robot.h"

namespace zn::deal {

// Plays deal `number` to the end with robots[seat] on each seat; the points of pair 1 minus those
// of pair 2. A robot that offers an illegal move is replaced for that move by `fallback`.
int PlayTable(std::int32_t number, const std::array<Robot*, kSeats + 1>& robots, Robot& fallback);

// The deal on two tables: `a` holds pair 1 on the first and pair 2 on the second, `b` the other
// pair. The points of a's pair minus b's, over both tables.
int PlayDuplicate(std::int32_t number, Robot& a, Robot& b, Robot& fallback);

}  // namespace zn::deal
