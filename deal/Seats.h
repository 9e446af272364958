// Seats and pairs for the deal engine: the arithmetic lives in game/Seats.h.
#pragma once

#include "game/Seats.h"

namespace zn::deal {

using zn::kSeats;
using zn::kTricks;
using zn::NextSeat;
using zn::OtherPair;
using zn::PairOf;
using zn::ValidSeat;

}  // namespace zn::deal
