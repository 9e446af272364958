// What the club keeps across restarts: rooms with their option and written-down deal counter, and
// the results of deals. Every write is committed when the call returns; a failed write throws
// StoreError and changes nothing, so the club can refuse the change instead of announcing it.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "deal/Shuffle.h"
#include "dealrecord/DealRecord.h"

namespace zn::server {

class StoreError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct StoredRoom {
  std::int64_t id = 0;
  std::string name;
  bool option = false;
  std::int32_t played = 0;  // deals written down in the current match
};

struct StoredResult {
  std::int64_t room = 0;
  std::int32_t deal = 0;
  std::int32_t points14 = 0;  // pair of seats 1 and 4
  std::int32_t points23 = 0;  // pair of seats 2 and 3
  std::array<std::string, 4> seats;
  std::int64_t record = 0;  // the deal's record (AddRecord), marked with this result; 0: none
};

class RoomStore {
 public:
  virtual ~RoomStore() = default;
  // Rooms in creation order.
  virtual std::vector<StoredRoom> LoadRooms() = 0;
  // Returns the new room's id.
  virtual std::int64_t CreateRoom(std::string_view name) = 0;
  virtual void SetOption(std::int64_t room, bool on) = 0;
  virtual void SetPlayed(std::int64_t room, std::int32_t played) = 0;
  // The secret of the room's current match (never sent): the cards of its numbered deals come from
  // it. Nothing before the room's first match.
  virtual std::optional<deal::MatchSecret> MatchSecretOf(std::int64_t room) = 0;
  // The room plays a match under secret from now on; with newMatch its counter of written-down
  // deals returns to 0 in the same transaction.
  virtual void StartMatch(std::int64_t room, const deal::MatchSecret& secret, bool newMatch) = 0;
  // Stores the result and raises the room's counter by one in one transaction; returns the counter.
  virtual std::int32_t AddResult(const StoredResult& result) = 0;
  // Keeps a deal that ended, whole, as not written down yet (AddResult marks it); returns its id.
  // The store stamps the time.
  virtual std::int64_t AddRecord(std::int64_t room, const dealrecord::DealRecord& record) = 0;
  // A human was in the room now (rooms nobody visits for a day are dropped at start).
  virtual void TouchRoom(std::int64_t room) = 0;
  // Forgets a room the club freed (its results stay).
  virtual void DropRoom(std::int64_t room) = 0;
};

}  // namespace zn::server
