// Where the deal engine plugs into the club, both ways. The club checks who may order a deal and
// keeps the members, rooms and seats; the engine (server/deals/Deals.h) deals, runs bidding and play, and
// answers "H". DealSeam is what the club calls in the engine; DealClub is all the engine may ask of
// the club: it reads rooms and members, and every change to them goes through the club. NoDeals, a
// club without an engine, answers an ordered deal with a notice and everything else with nothing.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "server/base/ClubTypes.h"

namespace zn::server {

class DealSeam {
 public:
  virtual ~DealSeam() = default;
  // "D" + number from the room's opener (server/base/SeatRules.h), all four seats taken.
  virtual void Order(Room& room, const Member& from, std::int32_t number) = 0;
  // "H", "B", "P", "T" or "F" from a member of room (not the lobby).
  virtual void Command(Room& room, const Member& from, std::string_view command) = 0;
  // The holder of seat changed (a member sat, stood, left, or a robot came or went). The room's
  // "R" line follows (RoomSent).
  virtual void SeatChanged(Room& room, int seat) = 0;
  // Every member of room has just got a fresh "R" line.
  virtual void RoomSent(Room&) {}
  // The member started watching room (its "R" line is out).
  virtual void Watching(const Room&, const Member&) {}
  // The club's clock at the end of a turn of the loop: what was waiting for it is due.
  virtual void Tick(SteadyTime) {}
  // When Tick has something to do next, if anything waits.
  virtual std::optional<SteadyTime> NextDue() const { return std::nullopt; }
  // The room is freed: whatever the engine keeps for it goes (its slot may take a new room).
  virtual void RoomFreed(const Room&) {}
  // A deal is under way in room (the club does not time out its seated members then).
  virtual bool DealRunning(const Room&) const { return false; }
  // Fair play (server/deals/SeatLedger.h): the notice that refuses the member seat 1..4 of room now, or
  // empty when the member may take it; the same for watching.
  virtual std::string_view SitRefusal(const Room&, const Member&, int) const { return {}; }
  virtual std::string_view WatchRefusal(const Room&, const Member&) const { return {}; }
};

class DealClub {
 public:
  virtual ~DealClub() = default;
  // The member with this id; nullptr when it is gone.
  virtual const Member* Find(MemberId id) const = 0;
  // The room with this store id (the engine keeps its tables by it); nullptr when none.
  virtual Room* FindRoom(std::int64_t storeId) = 0;
  // The room's counter of written-down deals is now played (a new match: 0; a result stored: the
  // store's count): every member of the room gets a fresh "R" line.
  virtual void SetPlayed(Room& room, std::int32_t played) = 0;
  // A robot plays the seat a member left during a deal (the club's "R" line follows).
  virtual void RobotTakesSeat(Room& room, int seat) = 0;
  // The seat waits for the nickname's member for the grace period (a robot plays it meanwhile).
  virtual void HoldSeat(Room& room, int seat, std::string_view nickname) = 0;
  // The member on seat stands up as with "S0" (the turn clock ran out on him twice): a robot takes
  // the seat and the room gets a fresh "R" line.
  virtual void StandUp(Room& room, int seat) = 0;
};

class NoDeals : public DealSeam {
 public:
  explicit NoDeals(Outbox& out) : out_(out) {}
  void Order(Room& room, const Member& from, std::int32_t number) override;
  void Command(Room&, const Member&, std::string_view) override {}
  void SeatChanged(Room&, int) override {}

 private:
  Outbox& out_;
};

}  // namespace zn::server
