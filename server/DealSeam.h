// Where the deal engine plugs into the club. The club checks who may order a deal and keeps the
// seats; the engine deals, runs bidding and play, and answers "H". Until it exists, NoDeals answers
// an ordered deal with a notice and everything else with nothing.
#pragma once

#include <cstdint>
#include <string_view>

#include "server/ClubTypes.h"

namespace zn::server {

class DealSeam {
 public:
  virtual ~DealSeam() = default;
  // "D" + number from the member on seat 1 of room, all four seats taken.
  virtual void Order(Room& room, Member& from, std::int32_t number) = 0;
  // "H", "B", "P", "T" or "F" from a member of room (not the lobby).
  virtual void Command(Room& room, Member& from, std::string_view command) = 0;
  // The holder of seat changed (a member sat, stood, left, or a robot came or went).
  virtual void SeatChanged(Room& room, int seat) = 0;
};

class NoDeals : public DealSeam {
 public:
  explicit NoDeals(Outbox& out) : out_(out) {}
  void Order(Room& room, Member& from, std::int32_t number) override;
  void Command(Room&, Member&, std::string_view) override {}
  void SeatChanged(Room&, int) override {}

 private:
  Outbox& out_;
};

}  // namespace zn::server
