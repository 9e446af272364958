// Seats 1 to 4 round the table and the two pairs: seats 1 and 4 form pair 1, seats 2 and 3 pair 2.
// The one home of this arithmetic for the windows, the deal engine and the server.
#pragma once

namespace zn {

inline constexpr int kSeats = 4;
inline constexpr int kTricks = 10;  // tricks in a deal, and so cards in a dealt hand

constexpr bool ValidSeat(int seat) { return seat >= 1 && seat <= kSeats; }
constexpr int PairOf(int seat) { return seat == 2 || seat == 3 ? 2 : 1; }
constexpr int OtherPair(int pair) { return pair == 1 ? 2 : 1; }
// The seat after seat round the table (4 is followed by 1), and the one before it.
constexpr int NextSeat(int seat) { return seat % kSeats + 1; }
constexpr int PreviousSeat(int seat) { return (seat + kSeats - 2) % kSeats + 1; }
// The seat across the table (1 and 3, 2 and 4).
constexpr int SeatAcross(int seat) { return (seat + 1) % kSeats + 1; }

}  // namespace zn
