// Continuity: a seat waits for a member whose connection dropped, a login under the nickname of a
// silent connection replaces it, and the deal engine may stand a member up.
#include <algorithm>

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
  m->seat = 0;
  deals_->SeatChanged(room, seat);
  SendRoom(room);
}

bool Club::AwaitingTakeover(MemberId newcomer) const {
  return std::any_of(takeovers_.begin(), takeovers_.end(),
                     [&](const Takeover& t) { return t.newcomer == newcomer; });
}

// The old connection gets a notice as the probe: a live one takes it in (its end acknowledges the
// bytes) even when its client sends nothing back. One probe at a time per member, none for a while
// after it proved alive.
void Club::StartTakeover(Member& newcomer, Member& old, std::string_view nickname) {
  const SteadyTime now = now_();
  const bool probing =
      std::any_of(takeovers_.begin(), takeovers_.end(), [&](const Takeover& t) { return t.old == old.id; });
  const bool provedAlive = old.aliveAt != SteadyTime{} && now - old.aliveAt < kSilentAfter;
  if (probing || provedAlive) return RefuseNickname(newcomer, nickname);
  takeovers_.push_back({newcomer.id, old.id, std::string(nickname), now});
  LogAddress(newcomer, "login #" + std::to_string(newcomer.id) + " " + std::string(nickname) + ": probing #" +
                           std::to_string(old.id));
  Notice(old, text::kNicknameTried);
}

// After the wait: an old connection that sent something or took the probe in keeps the nickname;
// a silent one is closed as a drop (its seat waits) and the newcomer logs in.
void Club::SettleTakeovers(SteadyTime now) {
  while (!takeovers_.empty() && takeovers_.front().since + kProbeWait <= now) {
    const Takeover t = std::move(takeovers_.front());
    takeovers_.erase(takeovers_.begin());
    Member* newcomer = Get(t.newcomer);
    if (!newcomer || newcomer->closing || newcomer->LoggedIn()) continue;
    if (Member* old = Get(t.old)) {
      if (!old->closing && (old->lastHeard >= t.since || out_.Unacknowledged(old->id) == 0)) {
        old->aliveAt = now;
        RefuseNickname(*newcomer, t.nickname);
        continue;
      }
      if (!old->closing) {
        Notice(*old, text::kReplaced);
        Closing(*old, proto::TCloseReason::Replaced);
      }
      old->closing = true;
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
