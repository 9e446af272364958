// The club's state: members and rooms with their seats.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "game/Seats.h"
#include "server/base/Outbox.h"
#include "server/base/RateLimit.h"

namespace zn::server {

// A member's fields by concern. The lobby line's pacing, claims and takeovers are kept by the
// club's own objects (server/club/), by member id.
struct Member {
  MemberId id = 0;

  struct Identity {
    std::string nickname;    // empty until logged in
    std::string folded;      // NameKey(nickname): the key of the online list
    std::string address;     // the peer's address, as the log shows it
    std::string addressKey;  // AddressKey(address): what the per-address limits count
    std::string prefixKey;   // PrefixKey(address): its wider network (empty: none)
  } who;

  struct Connection {
    bool admitted = false;    // counts against the club's places and its address's connections
    bool closing = false;     // refused or disconnected: its commands are ignored
    bool records = false;     // asked for the record of every deal it sees end ("Z1")
    std::uint32_t reads = 0;  // the newer lines it announced it reads ("V", proto::kReads*)
    RateLimit rate;
    RateLimit chatBytes{0, 0};  // set from the club's limits at Connect
    // Chat to it is dropped: its queue was over the limit and it got the one notice saying so.
    bool chatDropped = false;
    // The last room picture ("R") and lobby line queued for it, and where each ends in its stream:
    // while the stream has not been written that far, the same picture is not queued again and a
    // newer lobby line waits.
    SharedLine roomPicture;
    std::uint64_t roomPictureEnd = 0;
    std::uint64_t lobbyLineEnd = 0;
    // Refusals logged in the current minute, and those left out of the log since.
    SteadyTime refusalMinute{};
    std::uint32_t refusalsLogged = 0;
    std::uint64_t refusalsDropped = 0;
  } link;

  struct Place {
    std::size_t room = 0;  // index into the club's rooms; 0 is the lobby
    int seat = 0;          // 1..4 seated, 0 without a seat
    bool watching = false;
  } place;

  struct Presence {
    SteadyTime lastOwn{};    // the last command of its own (answers are automatic)
    SteadyTime lastHeard{};  // the last bytes that made a command, answers and refusals included
    SteadyTime lastInquiry{};
    bool inquired = false;
    // Folded nicknames whose "Q" this member received and has not answered yet (newest last).
    std::vector<std::string> inquirers;
  } presence;

  bool LoggedIn() const { return !who.nickname.empty(); }
};

struct Seat {
  MemberId member = 0;  // 0: nobody (or a robot)
  bool robot = false;
  std::string heldFor;     // NameKey of the member whose seat this stays during the grace
  SteadyTime heldUntil{};  // when the hold ends
  bool Free() const { return member == 0 && !robot; }
};

struct Room {
  std::int64_t storeId = 0;  // 0 for the lobby, which is not stored
  std::string name;
  bool option = false;
  std::int32_t played = 0;               // deals written down in the current match
  std::array<Seat, kSeats + 1> seats{};  // index 1..4
  std::vector<MemberId> present;         // in the order they came in
  // Nobody has been present since emptySince; after a while the room is freed (gone). Its slot
  // keeps its index and is reused only once every member in the lobby was sent a line without it.
  SteadyTime emptySince{};
  bool gone = false;
  std::uint64_t goneAt = 0;  // the lobby line generation when it went
  // When the store last heard that a human was here (it keeps only hours, so writes are rare).
  std::optional<SteadyTime> touchedAt;
};

}  // namespace zn::server
