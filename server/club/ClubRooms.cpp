// Rooms, seats, robots, watching, the room option and the gate to the deal engine.
#include <algorithm>

#include "game/Cp1250.h"
#include "link/Protocol.h"
#include "server/base/ClubTexts.h"
#include "server/base/Log.h"
#include "server/base/Names.h"
#include "server/base/SeatRules.h"
#include "server/club/Club.h"

namespace zn::server {
namespace {

void RemovePresent(Room& room, MemberId id) {
  auto it = std::find(room.present.begin(), room.present.end(), id);
  if (it != room.present.end()) room.present.erase(it);
}

// The number after a command code; false for anything that is not one.
bool Number(std::string_view command, std::int32_t& value) {
  const std::optional<std::int32_t> read = proto::ReadCmdNumber(command);
  if (read) value = *read;
  return read.has_value();
}

}  // namespace

Room* Club::RoomOf(Member& m) { return m.place.room == 0 ? nullptr : &rooms_[m.place.room]; }

SharedLine Club::RoomLine(const Room& room) const {
  proto::TRoom line;
  line.played = std::to_string(room.played);
  for (int s = 1; s <= kSeats; ++s) {
    const Seat& seat = room.seats[static_cast<std::size_t>(s)];
    if (seat.robot) line.members.push_back({s, std::string(text::kRobotPrefix) + std::to_string(s)});
    if (const Member* m = seat.member ? Find(seat.member) : nullptr)
      line.members.push_back({s, m->who.nickname});
  }
  for (MemberId id : room.present) {
    const Member* m = Find(id);
    if (m && m->place.seat == 0) line.members.push_back({0, m->who.nickname});
  }
  return std::make_shared<const std::string>(proto::LineRoom(line));
}

void Club::SendRoom(Room& room) {
  if (room.present.empty()) return;
  const SharedLine line = RoomLine(room);
  for (MemberId id : room.present)
    if (Member* m = Get(id)) SendPicture(*m, line);
  deals_->RoomSent(room);
}

bool Club::Unwritten(const Member& m, std::uint64_t end) const {
  const std::uint64_t streamed = out_.Streamed(m.id);
  const std::uint64_t queued = out_.Queued(m.id);
  return streamed - std::min<std::uint64_t>(queued, streamed) < end;
}

// Every change of a room sends its picture again, so the last one queued is always the room as
// it stands: one still unsent need not be queued a second time (a member who does not read could
// otherwise be made to hold any number of copies).
bool Club::SendPicture(Member& m, const SharedLine& line) {
  if (m.link.roomPicture && *m.link.roomPicture == *line && Unwritten(m, m.link.roomPictureEnd)) return false;
  out_.SendShared(m.id, line);
  m.link.roomPicture = line;
  m.link.roomPictureEnd = out_.Streamed(m.id);
  return true;
}

void Club::SetPlayed(Room& room, std::int32_t played) {
  room.played = played;
  SendRoom(room);
}

void Club::RobotTakesSeat(Room& room, int seat) {
  if (seat >= 1 && seat <= kSeats) room.seats[static_cast<std::size_t>(seat)].robot = true;
}

bool Club::SendRoomTo(Room& room, Member& m) { return SendPicture(m, RoomLine(room)); }

// The store keeps the hour a human was last here; each room change need not write it again.
void Club::Touch(Room& room, bool always) {
  if (room.storeId == 0) return;
  const SteadyTime now = now_();
  if (!always && room.touchedAt && now - *room.touchedAt < kTouchInterval) return;
  try {
    store_.TouchRoom(room.storeId);
    room.touchedAt = now;
  } catch (const StoreError& e) {
    Log(std::string("store: ") + e.what());  // only the idle-room clean-up depends on it
  }
}

void Club::TouchOccupiedRooms() {
  for (Room& room : rooms_)
    if (!room.present.empty()) Touch(room, true);
}

// Frees rooms nobody has been in for roomIdleFree, at most once a second. The slot stays (indexes
// never shift); the lobby lines show it gone.
void Club::FreeIdleRooms(SteadyTime now) {
  if (now < nextRoomSweep_) return;
  nextRoomSweep_ = now + std::chrono::seconds(1);
  bool freed = false;
  for (std::size_t i = 1; i < rooms_.size(); ++i) {
    Room& room = rooms_[i];
    if (room.gone || !room.present.empty() || now - room.emptySince < limits_.roomIdleFree) continue;
    for (int s = 1; s <= kSeats; ++s) {
      Seat& seat = room.seats[static_cast<std::size_t>(s)];
      if (!seat.robot) continue;
      seat = {};
      deals_->SeatChanged(room, s);
    }
    try {
      store_.DropRoom(room.storeId);
    } catch (const StoreError& e) {
      Log(std::string("store: ") + e.what());  // the start-up clean-up drops it later
    }
    deals_->RoomFreed(room);
    Log("room #" + std::to_string(i) + " " + room.name + " freed");
    const std::uint64_t generation = lobby_.Generation();
    room = Room{};
    room.gone = true;
    room.goneAt = generation;
    ++goneRooms_;
    freed = true;
  }
  if (freed) LobbyChanged();
}

// A freed slot may take a new room once everyone in the lobby has had a line showing it gone, so a
// click on a list a moment old never lands in a stranger's room. 0: append a slot.
std::size_t Club::SlotForNewRoom() const {
  for (std::size_t i = 1; i < rooms_.size(); ++i) {
    if (!rooms_[i].gone) continue;
    const bool seen = std::all_of(rooms_[0].present.begin(), rooms_[0].present.end(), [&](MemberId id) {
      return !Find(id) || lobby_.Seen(id) > rooms_[i].goneAt;
    });
    if (seen) return i;
  }
  return 0;
}

void Club::CreateRoom(Member& m, std::string_view name) {
  if (!ValidRoomName(name)) return Refuse(m, "room name", text::kBadRoomName, name);
  const std::string key = NameKey(name);
  for (const Room& r : rooms_)
    if (!r.gone && NameKey(r.name) == key) return Refuse(m, "duplicate room", text::kDuplicateRoom);
  const SteadyTime now = now_();
  if (LiveRooms() >= limits_.maxRooms) return Refuse(m, "too many rooms", text::kTooManyRooms);
  std::size_t slot = SlotForNewRoom();
  // Slots waiting for the lobby lines may exceed the limit only by as many again.
  if (slot == 0 && rooms_.size() > 2 * limits_.maxRooms)
    return Refuse(m, "no free slot", text::kTooManyRooms);
  if (!roomQuota_.May(m.who.folded, m.who.addressKey, now))
    return Refuse(m, "rooms per hour", text::kRoomsPerHour);
  Room room;
  try {
    room.storeId = store_.CreateRoom(name);
  } catch (const StoreError& e) {
    return Refuse(m, std::string("store: ") + e.what(), text::kNotStored);
  }
  roomQuota_.Count(m.who.folded, m.who.addressKey, now);
  room.name.assign(name);
  room.emptySince = now;
  room.touchedAt = now;  // the store wrote the time with the room
  if (slot == 0) {
    slot = rooms_.size();
    rooms_.push_back(std::move(room));
  } else {
    rooms_[slot] = std::move(room);
    --goneRooms_;
  }
  Log("room #" + std::to_string(slot) + " " + std::string(name) + " created by " + m.who.nickname);
  LobbyChanged();
}

void Club::LeaveRoom(Member& m) {
  Room& room = rooms_[m.place.room];
  m.place.watching = false;
  if (m.place.seat > 0) {
    const int seat = m.place.seat;
    room.seats[static_cast<std::size_t>(seat)] = {};
    m.place.seat = 0;
    deals_->SeatChanged(room, seat);
  }
  RemovePresent(room, m.id);
  m.link.roomPicture.reset();  // another room's picture, or the lobby, comes next
  m.link.lobbyLineEnd = 0;
  if (room.present.empty()) room.emptySince = now_();
  if (m.place.room != 0) {
    Touch(room);
    SendRoom(room);
  }
  m.place.room = 0;
}

void Club::Enter(Member& m, std::string_view command) {
  std::int32_t index = -1;
  if (!Number(command, index) || index < 0 || static_cast<std::size_t>(index) >= rooms_.size() ||
      rooms_[static_cast<std::size_t>(index)].gone)
    return Refuse(m, "unknown room", text::kUnknownRoom);
  const auto target = static_cast<std::size_t>(index);
  if (target == m.place.room) {  // nothing moves: the member only gets the picture again
    if (target == 0) return ArriveInLobby(m);
    // While the same picture is on its way, so is the option after it (a change sends it anew).
    if (!SendRoomTo(rooms_[target], m)) return;
    return out_.Send(m.id, proto::LineOption(rooms_[target].option));
  }
  LeaveRoom(m);
  m.place.room = target;
  Room& room = rooms_[target];
  room.present.push_back(m.id);
  Log("enter " + m.who.nickname + " -> #" + std::to_string(target) + " " + room.name);
  LobbyChanged();
  if (target == 0) return ArriveInLobby(m);
  Touch(room);
  SendRoom(room);
  out_.Send(m.id, proto::LineOption(room.option));
}

void Club::Sit(Member& m, std::string_view command) {
  std::int32_t seat = 0;
  if (!Number(command, seat)) return Refuse(m, "bad seat", text::kBadCommand);
  Room* room = RoomOf(m);
  if (!room) return Refuse(m, "seat outside a room", text::kNotInRoom);
  if (seat == 0) {
    if (m.place.seat == 0) return Refuse(m, "stand without a seat", text::kSitFirst);
    return StandUp(*room, m.place.seat);
  }
  if (seat >= 1 && seat <= kSeats) {
    if (m.place.seat > 0) return Refuse(m, "already seated", text::kStandFirst);
    Seat& place = room->seats[static_cast<std::size_t>(seat)];
    if (place.member != 0) return Refuse(m, "seat taken", text::kSeatTaken);
    if (auto why = deals_->SitRefusal(*room, m, seat); !why.empty()) return Refuse(m, "fair play: sit", why);
    if (HeldForAnother(place, m.who.folded, now_())) return Refuse(m, "seat held", text::kSeatHeld);
    place = Seat{};  // a robot there gives way, a hold for this member ends
    place.member = m.id;
    m.place.seat = seat;
    m.place.watching = false;
    deals_->SeatChanged(*room, seat);
    return SendRoom(*room);
  }
  if (seat <= -2 && seat >= -kSeats) {  // robots never take seat 1
    Seat& place = room->seats[static_cast<std::size_t>(-seat)];
    if (!place.Free()) return Refuse(m, "robot on a taken seat", text::kSeatTaken);
    place.robot = true;
    deals_->SeatChanged(*room, -seat);
    return SendRoom(*room);
  }
  Refuse(m, "no such seat", text::kNoSuchSeat);
}

void Club::Watch(Member& m, std::string_view command) {
  std::int32_t on = -1;
  if (!Number(command, on) || (on != 0 && on != 1)) return Refuse(m, "bad watch", text::kBadCommand);
  Room* room = RoomOf(m);
  if (!room) return Refuse(m, "watch outside a room", text::kNotInRoom);
  if (on == 1 && m.place.seat > 0) return Refuse(m, "watch while seated", text::kStandToWatch);
  if (on == 1)
    if (auto why = deals_->WatchRefusal(*room, m); !why.empty()) return Refuse(m, "fair play: watch", why);
  m.place.watching = on == 1;
  // Watching changes no seat; the watcher's client asks for the hands when this R line arrives.
  SendRoomTo(*room, m);
  if (m.place.watching) deals_->Watching(*room, m);
}

void Club::SetOption(Member& m, std::string_view command) {
  std::int32_t on = -1;
  if (!Number(command, on) || (on != 0 && on != 1)) return Refuse(m, "bad option", text::kBadCommand);
  Room* room = RoomOf(m);
  if (!room) return Refuse(m, "option outside a room", text::kNotInRoom);
  if (m.place.seat == 0 || m.id != OpenerOf(*room, now_()))
    return Refuse(m, "option not from the opener", text::kOpenerOnly);
  try {
    if (room->option != (on == 1)) store_.SetOption(room->storeId, on == 1);
  } catch (const StoreError& e) {
    return Refuse(m, std::string("store: ") + e.what(), text::kNotStored);
  }
  room->option = on == 1;
  const std::string line = proto::LineOption(room->option);
  for (MemberId id : room->present) out_.Send(id, line);
}

void Club::OrderDeal(Member& m, std::string_view command) {
  std::int32_t number = 0;
  if (!Number(command, number)) return Refuse(m, "bad deal number", text::kBadCommand);
  Room* room = RoomOf(m);
  if (!room) return Refuse(m, "deal outside a room", text::kNotInRoom);
  if (m.place.seat == 0 || m.id != OpenerOf(*room, now_()))
    return Refuse(m, "deal not from the opener", text::kOpenerOnly);
  for (int s = 1; s <= kSeats; ++s)
    if (room->seats[static_cast<std::size_t>(s)].Free())
      return Refuse(m, "deal with a free seat", text::kAllSeats);
  deals_->Order(*room, m, number);
}

}  // namespace zn::server
