// Rooms, seats, robots, watching, the room option and the gate to the deal engine.
#include <algorithm>

#include "game/Cp1250.h"
#include "game/Tokenizer.h"
#include "link/Protocol.h"
#include "server/Club.h"
#include "server/ClubTexts.h"
#include "server/Log.h"
#include "server/Names.h"

namespace zn::server {
namespace {

void RemovePresent(Room& room, MemberId id) {
  auto it = std::find(room.present.begin(), room.present.end(), id);
  if (it != room.present.end()) room.present.erase(it);
}

// The number after a command code; false for anything that is not one.
bool Number(std::string_view arg, std::int32_t& value) { return TryStrToInt(arg, value); }

}  // namespace

Room* Club::RoomOf(Member& m) { return m.room == 0 ? nullptr : &rooms_[m.room]; }

SharedLine Club::RoomLine(const Room& room) const {
  proto::TRoom line;
  line.played = std::to_string(room.played);
  for (int s = 1; s <= kSeats; ++s) {
    const Seat& seat = room.seats[static_cast<std::size_t>(s)];
    if (seat.robot) line.members.push_back({s, std::string(text::kRobotPrefix) + std::to_string(s)});
    if (const Member* m = seat.member ? Find(seat.member) : nullptr) line.members.push_back({s, m->nickname});
  }
  for (MemberId id : room.present) {
    const Member* m = Find(id);
    if (m && m->seat == 0) line.members.push_back({0, m->nickname});
  }
  return std::make_shared<const std::string>(proto::LineRoom(line));
}

void Club::SendRoom(Room& room) {
  if (room.present.empty()) return;
  const SharedLine line = RoomLine(room);
  for (MemberId id : room.present) out_.SendShared(id, line);
  deals_->RoomSent(room);
}

void Club::SendRoomTo(Room& room, Member& m) { out_.SendShared(m.id, RoomLine(room)); }

void Club::Touch(Room& room) {
  if (room.storeId == 0) return;
  try {
    store_.TouchRoom(room.storeId);
  } catch (const StoreError& e) {
    Log(std::string("store: ") + e.what());  // only the idle-room clean-up depends on it
  }
}

void Club::TouchOccupiedRooms() {
  for (Room& room : rooms_)
    if (!room.present.empty()) Touch(room);
}

void Club::CreateRoom(Member& m, std::string_view name) {
  if (!ValidRoomName(name)) return Refuse(m, "room name", text::kBadRoomName, name);
  for (const Room& r : rooms_)
    if (SameText(r.name, name)) return Refuse(m, "duplicate room", text::kDuplicateRoom);
  if (rooms_.size() > limits_.maxRooms) return Refuse(m, "too many rooms", text::kTooManyRooms);
  Room room;
  try {
    room.storeId = store_.CreateRoom(name);
  } catch (const StoreError& e) {
    return Refuse(m, std::string("store: ") + e.what(), text::kNotStored);
  }
  room.name.assign(name);
  rooms_.push_back(std::move(room));
  Log("room #" + std::to_string(rooms_.size() - 1) + " " + std::string(name) + " created by " + m.nickname);
  LobbyChanged();
}

void Club::LeaveRoom(Member& m) {
  Room& room = rooms_[m.room];
  m.watching = false;
  if (m.seat > 0) {
    const int seat = m.seat;
    room.seats[static_cast<std::size_t>(seat)] = {};
    m.seat = 0;
    deals_->SeatChanged(room, seat);
  }
  RemovePresent(room, m.id);
  if (m.room != 0) {
    Touch(room);
    SendRoom(room);
  }
  m.room = 0;
}

void Club::Enter(Member& m, std::string_view arg) {
  std::int32_t index = -1;
  if (!Number(arg, index) || index < 0 || static_cast<std::size_t>(index) >= rooms_.size())
    return Refuse(m, "unknown room", text::kUnknownRoom);
  const auto target = static_cast<std::size_t>(index);
  if (target == m.room) {  // nothing moves: the member only gets the picture again
    if (target == 0) return ArriveInLobby(m);
    SendRoomTo(rooms_[target], m);
    return out_.Send(m.id, proto::LineOption(rooms_[target].option));
  }
  LeaveRoom(m);
  m.room = target;
  Room& room = rooms_[target];
  room.present.push_back(m.id);
  Log("enter " + m.nickname + " -> #" + std::to_string(target) + " " + room.name);
  LobbyChanged();
  if (target == 0) return ArriveInLobby(m);
  Touch(room);
  SendRoom(room);
  out_.Send(m.id, proto::LineOption(room.option));
}

void Club::Sit(Member& m, std::string_view arg) {
  std::int32_t seat = 0;
  if (!Number(arg, seat)) return Refuse(m, "bad seat", text::kBadCommand);
  Room* room = RoomOf(m);
  if (!room) return Refuse(m, "seat outside a room", text::kNotInRoom);
  if (seat == 0) {
    if (m.seat == 0) return Refuse(m, "stand without a seat", text::kSitFirst);
    const int old = m.seat;
    room->seats[static_cast<std::size_t>(old)] = {};
    m.seat = 0;
    deals_->SeatChanged(*room, old);
    return SendRoom(*room);
  }
  if (seat >= 1 && seat <= kSeats) {
    if (m.seat > 0) return Refuse(m, "already seated", text::kStandFirst);
    Seat& place = room->seats[static_cast<std::size_t>(seat)];
    if (place.member != 0) return Refuse(m, "seat taken", text::kSeatTaken);
    place = {m.id, false};  // a robot there gives way
    m.seat = seat;
    m.watching = false;
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

void Club::Watch(Member& m, std::string_view arg) {
  std::int32_t on = -1;
  if (!Number(arg, on) || (on != 0 && on != 1)) return Refuse(m, "bad watch", text::kBadCommand);
  Room* room = RoomOf(m);
  if (!room) return Refuse(m, "watch outside a room", text::kNotInRoom);
  if (on == 1 && m.seat > 0) return Refuse(m, "watch while seated", text::kStandToWatch);
  m.watching = on == 1;
  // Watching changes no seat; the watcher's client asks for the hands when this R line arrives.
  SendRoomTo(*room, m);
  if (m.watching) deals_->Watching(*room, m);
}

void Club::SetOption(Member& m, std::string_view arg) {
  std::int32_t on = -1;
  if (!Number(arg, on) || (on != 0 && on != 1)) return Refuse(m, "bad option", text::kBadCommand);
  Room* room = RoomOf(m);
  if (!room) return Refuse(m, "option outside a room", text::kNotInRoom);
  if (m.seat != 1) return Refuse(m, "option not from seat 1", text::kOpenerOnly);
  try {
    store_.SetOption(room->storeId, on == 1);
  } catch (const StoreError& e) {
    return Refuse(m, std::string("store: ") + e.what(), text::kNotStored);
  }
  room->option = on == 1;
  const std::string line = proto::LineOption(room->option);
  for (MemberId id : room->present) out_.Send(id, line);
}

void Club::OrderDeal(Member& m, std::string_view arg) {
  std::int32_t number = 0;
  if (!Number(arg, number)) return Refuse(m, "bad deal number", text::kBadCommand);
  Room* room = RoomOf(m);
  if (!room) return Refuse(m, "deal outside a room", text::kNotInRoom);
  if (m.seat != 1) return Refuse(m, "deal not from seat 1", text::kOpenerOnly);
  for (int s = 1; s <= kSeats; ++s)
    if (room->seats[static_cast<std::size_t>(s)].Free())
      return Refuse(m, "deal with a free seat", text::kAllSeats);
  deals_->Order(*room, m, number);
}

}  // namespace zn::server
