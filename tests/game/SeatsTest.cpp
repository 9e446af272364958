#include <gtest/gtest.h>

#include "game/Seats.h"

namespace zn {
namespace {

// Partners sit side by side (1 and 4, 2 and 3): the seat across is always an opponent.
TEST(Seats, GoRoundTheTableInTwoPairs) {
  const int pairs[] = {0, 1, 2, 2, 1};
  for (int seat = 1; seat <= kSeats; ++seat) {
    EXPECT_EQ(PairOf(seat), pairs[seat]);
    EXPECT_EQ(PreviousSeat(NextSeat(seat)), seat);
    EXPECT_EQ(SeatAcross(SeatAcross(seat)), seat);
    EXPECT_EQ(PairOf(SeatAcross(seat)), OtherPair(PairOf(seat)));
  }
  EXPECT_EQ(NextSeat(4), 1);
  EXPECT_EQ(PreviousSeat(1), 4);
  EXPECT_EQ(SeatAcross(2), 4);
}

}  // namespace
}  // namespace zn
