// Continuity: a seat waits for a member whose connection dropped, a login under the nickname of a
// silent connection replaces it, and the deal engine may stand a member up.
#include <algorithm>

#include "link/Protocol.h"
#include "server/base/ClubTexts.h"
#include "server/base/Log.h"
#include "server/base/Names.h"
#include "server/club/Club.h"

namespace zn::server {

void Club::HoldSeat(Room& room, int seat, std::string_view nickname) {
  if (seat < 1 || seat > kSeats) return;
  Seat& place = room.seats[static_cast<std::size_t>(seat)];
  if (place.member != 0) return;  // a member sits there: nothing to keep
  place.robot = true;             // the robot plays for him meanwhile
  place.heldFor = NameKey(nickname);
  place.heldUntil = now_() + limits_.seatGrace;
}

void Club::StandUp(Room& room, int seat) {
  if (seat < 1 || seat > kSeats) return;
  Seat& place = room.seats[static_cast<std::size_t>(seat)];
  Member* m = place.member ? Get(place.member) : nullptr;
  if (!m) return;
  place = {};
  m->place.seat = 0;
  deals_->SeatChanged(room, seat);
  SendRoom(room);
}

// The old connection gets a line as the probe: a live one takes it in (its end acknowledges the
// bytes) even when its client sends nothing back. Only the probe counts, not what follows it: a
// member reading slowly while chat flows never has an empty queue. The member is told in words at
// the first login of a series; later probes of the series show nothing new on his screen.
void Club::StartTakeover(Member& newcomer, Member& old, std::string_view nickname) {
  const SteadyTime now = now_();
  const bool told = !takeovers_.NewSeries(old.id, newcomer.who.addressKey, now);
  if (!takeovers_.MayProbe(old.id, now)) return RefuseNickname(newcomer, nickname);
  LogAddress(newcomer, "login #" + std::to_string(newcomer.id) + " " + std::string(nickname) + ": probing #" +
                           std::to_string(old.id));
  if (!told) {
    Notice(old, text::kNicknameTried);
  } else if (Room* room = RoomOf(old)) {
    out_.Send(old.id, proto::LineOption(room->option));  // what his room page shows already
  } else {
    out_.SendShared(old.id, LobbyLine());  // it only redraws what he sees
  }
  takeovers_.Start(newcomer.id, old.id, nickname, now, out_.Streamed(old.id));
}

// After the wait: an old connection that sent something or took the probe in keeps the nickname;
// a silent one is closed as a drop (its seat waits) and the newcomer logs in.
void Club::SettleTakeovers(SteadyTime now) {
  for (const Takeovers::Probe& t : takeovers_.TakeDue(now)) {
    Member* newcomer = Get(t.newcomer);
    if (!newcomer || newcomer->link.closing || newcomer->LoggedIn()) continue;
    if (Member* old = Get(t.old)) {
      if (!old->link.closing &&
          (old->presence.lastHeard >= t.since ||
           Takeovers::TookIn(t, out_.Streamed(old->id), out_.Unacknowledged(old->id)))) {
        takeovers_.ProvedAlive(old->id, now);
        RefuseNickname(*newcomer, t.nickname);
        continue;
      }
      if (!old->link.closing) {
        Notice(*old, text::kReplaced);
        Closing(*old, proto::TCloseReason::Replaced);
      }
      old->link.closing = true;
      out_.Close(old->id);
      Disconnect(old->id, "silent, replaced by #" + std::to_string(t.newcomer));
    }
    if (FindOnline(t.nickname)) {  // another login took the nickname meanwhile
      RefuseNickname(*newcomer, t.nickname);
      continue;
    }
    AcceptLogin(*newcomer, t.nickname);
  }
}

}  // namespace zn::server
