// Who may give a room's table commands, and whose a held seat stays: read by the club and the deal
// engine alike.
#pragma once

#include <string_view>

#include "server/base/ClubTypes.h"

namespace zn::server {

// The member who may order deals, write results down and set the room option: the seated human
// with the lowest seat (seat 1's while a human sits there), so a deal goes on when seat 1 leaves.
// A seat before it that waits for its dropped member keeps the commands until he is back or the
// grace ends: nobody gives them meanwhile. 0 when nobody may.
inline MemberId OpenerOf(const Room& room, SteadyTime now) {
  for (int s = 1; s <= kSeats; ++s) {
    const Seat& seat = room.seats[static_cast<std::size_t>(s)];
    if (seat.member != 0) return seat.member;
    if (!seat.heldFor.empty() && now < seat.heldUntil) return 0;
  }
  return 0;
}

// The seat waits for the member whose key is heldFor, and folded is somebody else.
inline bool HeldForAnother(const Seat& seat, std::string_view folded, SteadyTime now) {
  return !seat.heldFor.empty() && now < seat.heldUntil && seat.heldFor != folded;
}

}  // namespace zn::server
