// Seats 1 to 4 and the two pairs: seats 1 and 4 form pair 1, seats 2 and 3 pair 2.
#pragma once

namespace zn::deal {

inline constexpr int kSeats = 4;
inline constexpr int kTricks = 10;

constexpr bool ValidSeat(int seat) { return seat >= 1 && seat <= kSeats; }
constexpr int PairOf(int seat) { return seat == 2 || seat == 3 ? 2 : 1; }
constexpr int OtherPair(int pair) { return pair == 1 ? 2 : 1; }
// The seat after seat round the table (4 is followed by 1).
constexpr int NextSeat(int seat) { return seat % kSeats + 1; }

}  // namespace zn::deal
