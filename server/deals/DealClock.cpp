// The turn clock (a seated member who does not move in time gets his move made by the robot, and
// is stood up after kMissedToStand such moves in a row) and the result of a deal that ends with
// nobody seated to write it down.
#include <algorithm>

#include "link/Protocol.h"
#include "server/base/ClubTexts.h"
#include "server/base/Log.h"
#include "server/deals/Deals.h"

namespace zn::server {
namespace {

// What the score tab of a client adds up when nobody edits a point: without the room option an
// item is limited (a rekontra to -10..10, a kontra to -5..5, anything else to -5 at the bottom);
// with it the total is limited to 0..max(100, largest item).
std::int64_t OwnTotal(const std::vector<deal::ScoreItem>& items, bool option) {
  std::int64_t sum = 0, largest = 0;
  for (const deal::ScoreItem& item : items) {
    std::int64_t v = item.points;
    if (!option) {
      if (item.label.size() > 1 && item.label[1] == '*')
        v = std::clamp<std::int64_t>(v, -10, 10);
      else if (!item.label.empty() && item.label[0] == '*')
        v = std::clamp<std::int64_t>(v, -5, 5);
      else
        v = std::max<std::int64_t>(v, -5);
    }
    sum += v;
    largest = std::max(largest, v);
  }
  return option ? std::clamp<std::int64_t>(sum, 0, std::max<std::int64_t>(100, largest)) : sum;
}

std::int32_t Narrow(std::int64_t v) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
}

}  // namespace

// A "T" sent again (an "R" line during bidding), or the same member back on the seat, is the same
// turn: its time runs on. Another member on the seat gets his own time.
void Deals::StartTurnClock(const Room& room, Table& t, int seat) {
  const int moves = MovesMade(*t.game);
  const Member* m = club_.Find(HumanOn(room, seat));
  const std::string holder = m ? m->who.folded : std::string();
  if (t.turn.seat == seat && t.turn.moves == moves && t.turn.holder == holder) return;
  t.turn.seat = seat;
  t.turn.moves = moves;
  t.turn.holder = holder;
  t.turn.due = now_() + turnLimit_;
}

SteadyTime Deals::HoldsEnd(const Room& room) const {
  const SteadyTime now = now_();
  SteadyTime end{};
  for (const Seat& seat : room.seats)
    if (seat.member == 0 && !seat.heldFor.empty() && now < seat.heldUntil)
      end = std::max(end, seat.heldUntil);
  return end;
}

// A deal with nobody seated but members whose seats wait for them would be played out by the
// robots before anyone could come back: it waits until one does or the holds end.
bool Deals::Paused(const Room& room, Table& t) {
  t.hold.paused = false;
  t.hold.until = {};
  for (const Seat& seat : room.seats)
    if (seat.member != 0) return false;
  t.hold.until = HoldsEnd(room);
  t.hold.paused = t.hold.until != SteadyTime{};
  return t.hold.paused;
}

void Deals::TimeOut(Room& room, Table& t) {
  deal::Game& g = *t.game;
  const int seat = t.turn.seat;
  const bool sameTurn = g.OnTurn() == seat && MovesMade(g) == t.turn.moves;
  t.turn.moves = -1;
  const MemberId id = seat >= 1 && seat <= kSeats ? HumanOn(room, seat) : 0;
  const Member* m = id ? club_.Find(id) : nullptr;
  if (!sameTurn || !m) return;  // a clock left over from a turn already made
  const std::string nickname = m->who.nickname;
  if (!g.Play()) {
    RobotBid(room, t, seat, robot_->Bid(g.ViewFor(seat)));
  } else {
    RobotPlay(t, seat);
    out_.Send(id, HandLine(t, seat));  // the card the robot played leaves his hand
    ToAudience(room, PlayLine(t));
  }
  Log("turn clock: the robot moved for " + nickname + " in " + room.name);
  NoticeRoom(room, std::string(text::kTurnTimedOut) + nickname);
  if (++t.missed[m->who.folded] >= kMissedToStand) {
    Notice(id, text::kStoodUp);
    return club_.StandUp(room, seat);  // the robot keeps the seat; the "R" line goes on with the deal
  }
  Advance(room, t);
}

// A seated human writes the result down ("F"); with none left the server writes what the score
// tab would add up, once no seat waits for a dropped member (he writes it himself when back).
void Deals::WriteOwnResult(Room& room, Table& t) {
  t.hold.ownResult = false;
  if (t.written) return;
  for (int s = 1; s <= kSeats; ++s)
    if (HumanOn(room, s)) return;
  if (const SteadyTime end = HoldsEnd(room); end != SteadyTime{}) {
    t.hold.ownResult = true;
    t.hold.until = end;
    return;
  }
  const std::int32_t a = Narrow(OwnTotal(t.game->Score(1), room.option));
  const std::int32_t b = Narrow(OwnTotal(t.game->Score(2), room.option));
  if (WriteResult(room, t, a, b))
    Log("result of deal " + std::to_string(t.game->Number()) + " written by the server");
}

}  // namespace zn::server
