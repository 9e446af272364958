// Who may give a room's table commands, and whose a held seat stays: read by the club and the deal
// engine alike.
#pragma once

#include <string_view>

#include "server/base/ClubTypes.h"

namespace zn::server {

// The member who may order deals, write results down and set the room option: the seated human
// with the lowest seat (seat 1's while a human sits there), so a deal goes on when seat 1 leaves.
// 0 when no human is seated.
inline MemberId OpenerOf(const Room& room) {
  for (int s = 1; s <= kSeats; ++s)
    if (const MemberId id = room.seats[static_cast<std::size_t>(s)].member) return id;
  return 0;
}

// The seat waits for the member whose key is heldFor, and folded is somebody else.
inline bool HeldForAnother(const Seat& seat, std::string_view folded, SteadyTime now) {
  return !seat.heldFor.empty() && now < seat.heldUntil && seat.heldFor != folded;
}

}  // namespace zn::server
