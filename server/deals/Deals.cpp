#include "server/deals/Deals.h"

#include <random>

#include "link/Protocol.h"
#include "server/base/ClubTexts.h"
#include "server/base/CommandRoutes.h"
#include "server/base/DealKey.h"
#include "server/base/Log.h"
#include "server/base/SeatRules.h"

namespace zn::server {

bool Deals::DealRunning(const Room& room) const {
  auto it = tables_.find(room.storeId);
  return it != tables_.end() && Running(it->second);
}
namespace {

constexpr std::int32_t kFirstMatchNumber = 1000;
constexpr std::int32_t kLastMatchNumber = 99'999'999;

std::int32_t DrawMatchNumber() {
  static std::mt19937 random{std::random_device{}()};
  return std::uniform_int_distribution<std::int32_t>(kFirstMatchNumber, kLastMatchNumber)(random);
}

}  // namespace

Deals::Deals(DealClub& club, RoomStore& store, Outbox& out, NowFn now, DrawFn draw)
    : club_(club),
      store_(store),
      out_(out),
      now_(std::move(now)),
      draw_(draw ? std::move(draw) : DrawFn(DrawMatchNumber)),
      robot_(std::make_unique<deal::SimpleRobot>()),
      clockAnchor_(now_()),
      wallAnchor_(WallMs()) {}

Deals::~Deals() = default;

const deal::Game* Deals::GameIn(const Room& room) const {
  auto it = tables_.find(room.storeId);
  return it == tables_.end() ? nullptr : it->second.game.get();
}

// The room's match secret, read from the store or made for its first match. When the store fails
// the secret made is kept for this run of the server (the journal keeps it with the deal): the deal
// goes ahead, and only a restart starts another match.
void Deals::MatchOf(const Room& room, Table& t) {
  if (t.match) return;
  try {
    t.match = store_.MatchSecretOf(room.storeId);
    if (t.match) return;
    t.match = newMatch_();
    store_.StartMatch(room.storeId, *t.match, false);
  } catch (const StoreError& e) {
    Log(std::string("store: match of ") + room.name + " kept for this run only: " + e.what());
    if (!t.match) t.match = newMatch_();
  }
}

void Deals::Order(Room& room, const Member& from, std::int32_t number) {
  Table& t = TableOf(room);
  if (number == 0) {
    // A new match: the counter of written-down deals starts again, and the cards of its numbers
    // come from a secret of its own.
    const deal::MatchSecret secret = newMatch_();
    try {
      store_.StartMatch(room.storeId, secret, true);
    } catch (const StoreError& e) {
      Log(std::string("store: ") + e.what());
      return Notice(from.id, text::kNotStored);
    }
    t.match = secret;
    t.game.reset();
    number = std::max(draw_(), kFirstMatchNumber);
    club_.SetPlayed(room, 0);
  } else if (number == -1) {
    if (t.number <= 0) return Notice(from.id, text::kBadCommand);
    number = t.number;
  } else if (number < 0) {
    return Notice(from.id, text::kBadCommand);
  }
  MatchOf(room, t);
  Start(room, t, number);
}

void Deals::Command(Room& room, const Member& from, std::string_view command) {
  using Handler = void (*)(Deals&, Room&, Table&, const Member&, std::string_view);
  using proto::TCommand;
  static constexpr CommandRoute<Handler> kRoutes[] = {
      {TCommand::Bids,
       [](Deals& d, Room& r, Table& t, const Member& m, std::string_view s) { d.Bid(r, t, m, s); }},
      {TCommand::Play,
       [](Deals& d, Room& r, Table& t, const Member& m, std::string_view s) { d.PlayCard(r, t, m, s); }},
      {TCommand::TrickDone,
       [](Deals& d, Room& r, Table& t, const Member& m, std::string_view) { d.Acknowledge(r, t, m); }},
      {TCommand::Hand,
       [](Deals& d, Room&, Table& t, const Member& m, std::string_view s) { d.Hand(t, m, s); }},
      {TCommand::Result,
       [](Deals& d, Room& r, Table& t, const Member& m, std::string_view s) { d.Result(r, t, m, s); }},
  };
  static constexpr std::array<Handler, proto::kCommands> kHandlerOf = RoutesByCommand(kRoutes, IsDealCommand);
  proto::TCommand which;
  if (command.empty() || !proto::CommandOf(command[0], which) || !IsDealCommand(which)) return;
  kHandlerOf[static_cast<std::size_t>(which)](*this, room, TableOf(room), from, command);
}

void Deals::SeatChanged(Room& room, int seat) {
  if (seat < 1 || seat > kSeats) return;
  auto it = tables_.find(room.storeId);
  if (it == tables_.end() || !Running(it->second)) return;
  Table& t = it->second;
  const Seat& place = room.seats[static_cast<std::size_t>(seat)];
  auto& name = t.names[static_cast<std::size_t>(seat)];
  t.trick.awaiting[static_cast<std::size_t>(seat)] = false;
  // The turn clock and the missed moves stay with the member: standing up and sitting down again
  // starts neither afresh (StartTurnClock gives a newcomer on turn his own time).
  if (place.member != 0) {  // a member took over the hand
    if (const Member* m = club_.Find(place.member)) {
      name = m->who.nickname;
      t.fair.Held(*m, seat);
    }
    t.catchUp.push_back(place.member);
    // Journaled now, before the catch-up hands the member his cards: a killed server keeps who sat.
    return FlushJournal();
  }
  // The member left: a robot plays the hand for the rest of the deal (seat 1 too: its commands
  // pass to the next seated human, server/base/SeatRules.h). A hold for a dropped member is
  // journaled at once.
  club_.RobotTakesSeat(room, seat);
  name = std::string(text::kRobotPrefix) + std::to_string(seat);
  FlushJournal();
}

void Deals::RoomSent(Room& room) {
  auto it = tables_.find(room.storeId);
  if (it == tables_.end() || !Running(it->second)) return;
  Table& t = it->second;
  for (const MemberId id : std::exchange(t.catchUp, {})) CatchUp(room, t, id);
  if (t.trick.waiting && t.trick.awaiting == decltype(t.trick.awaiting){}) return EndTrick(room, t);
  // The "R" line disabled the bidder's send button: "T" again (Advance sends it).
  Advance(room, t);
}

void Deals::Watching(const Room& room, const Member& m) {
  auto it = tables_.find(room.storeId);
  if (it != tables_.end()) CatchUp(room, it->second, m.id);
}

void Deals::Tick(SteadyTime now) {
  for (auto& [id, t] : tables_) {
    Room* room = club_.FindRoom(id);
    if (!room) continue;
    if (t.hold.ownResult && t.hold.until <= now) WriteOwnResult(*room, t);  // the holds ran out unanswered
    if (!Running(t)) continue;
    if (t.hold.paused && t.hold.until <= now) Advance(*room, t);  // the holds ran out: robots go on
    if (t.trick.waiting && t.trick.due <= now) EndTrick(*room, t);
    if (Running(t) && !t.trick.waiting && t.turn.moves >= 0 && t.turn.due <= now) TimeOut(*room, t);
  }
  if (journal_ && now >= journal_->Due()) WriteJournal(now);
}

// A robot card still being thought of for the room finds no table and is dropped.
void Deals::RoomFreed(const Room& room) { tables_.erase(room.storeId); }

std::optional<SteadyTime> Deals::NextDue() const {
  std::optional<SteadyTime> due;
  const auto earlier = [&](SteadyTime when) {
    if (!due || when < *due) due = when;
  };
  bool journaled = false;  // a deal the journal holds or should hold
  for (const auto& [id, t] : tables_) {
    journaled = journaled || (t.game && !t.written);
    if (t.hold.ownResult) earlier(t.hold.until);
    if (!Running(t)) continue;
    if (t.hold.paused) earlier(t.hold.until);
    if (t.trick.waiting) earlier(t.trick.due);
    if (!t.trick.waiting && t.turn.moves >= 0) earlier(t.turn.due);
  }
  if (journal_ && (journaled || journal_->Tracking())) earlier(journal_->Due());
  return due;
}

// "B" nickname " " count (" " bid) x count, from the seat on turn.
void Deals::Bid(Room& room, Table& t, const Member& m, std::string_view command) {
  const bool onTurn = Running(t) && !t.game->Play() && m.place.seat > 0 && t.game->OnTurn() == m.place.seat;
  if (!onTurn) return Notice(m.id, text::kBadBid, proto::ReadText(command));
  const auto refuse = [&](std::string_view what) {
    Notice(m.id, text::kBadBid, what);
    out_.Send(m.id, proto::LineTurn());
  };
  const proto::TBidCommand read = proto::ReadCmdBids(command);
  if (read.block.nickname != m.who.nickname) return refuse(read.block.nickname);
  if (!read.counted) return refuse(read.count);
  if (auto refused = t.game->Bid(m.place.seat, read.block.bids)) return refuse(*refused);
  t.bidders.push_back(m.who.nickname);
  t.missed.erase(m.who.folded);  // his own move: the count starts again
  t.turn.moves = -1;
  ToAudience(room, BidLine(t));
  if (t.game->Play()) ToAudience(room, PlayLine(t));  // bidding over: the dealer leads
  Advance(room, t);
}

void Deals::PlayCard(Room& room, Table& t, const Member& m, std::string_view command) {
  if (!Running(t)) return;                                   // no deal: nothing to refuse
  if (!t.game->Play()) return Notice(m.id, text::kBadCard);  // still bidding
  const std::optional<std::int32_t> card = proto::ReadCmdNumber(command);
  if (!card || !t.game->PlayCard(m.place.seat, *card)) {
    Notice(m.id, text::kBadCard);
    return out_.Send(m.id, PlayLine(t));
  }
  t.missed.erase(m.who.folded);
  t.turn.moves = -1;
  ToAudience(room, PlayLine(t));
  Advance(room, t);
}

void Deals::Acknowledge(Room& room, Table& t, const Member& m) {
  if (!Running(t) || !t.trick.waiting || m.place.seat < 1) return;  // nothing waits for it: ignored
  auto& mine = t.trick.awaiting[static_cast<std::size_t>(m.place.seat)];
  if (!mine) return;
  mine = false;
  if (t.trick.awaiting == decltype(t.trick.awaiting){}) EndTrick(room, t);
}

// "H" + own seat: the own hand; "H0" from a watcher: the four hands. Nothing once the deal is over.
void Deals::Hand(Table& t, const Member& m, std::string_view command) {
  const std::optional<std::int32_t> read = proto::ReadCmdNumber(command);
  if (!Running(t) || !read) return;
  const std::int32_t seat = *read;
  if (seat >= 1 && seat == m.place.seat) return out_.Send(m.id, HandLine(t, seat));
  if (seat == 0 && m.place.watching && m.place.seat == 0) ShowAllHands(t, m);
}

// "F" a ":" b from the opener (seat 1, or the next seated human), once per finished deal: stored
// first, then announced.
void Deals::Result(Room& room, Table& t, const Member& m, std::string_view command) {
  if (m.place.seat == 0 || m.id != OpenerOf(room, now_())) return Notice(m.id, text::kOpenerOnly);
  if (!t.game || !t.scored) return Notice(m.id, text::kNoResult);
  if (t.written) return Notice(m.id, text::kResultWritten);
  const std::optional<proto::TPoints> points = proto::ReadCmdResult(command);
  if (!points) return Notice(m.id, text::kBadCommand);
  if (!WriteResult(room, t, points->ours, points->theirs)) Notice(m.id, text::kNotStored);
}

bool Deals::WriteResult(Room& room, Table& t, std::int32_t a, std::int32_t b) {
  StoredResult result{room.storeId, t.game->Number(), a, b, {}, t.record};
  for (int s = 1; s <= kSeats; ++s)
    result.seats[static_cast<std::size_t>(s - 1)] = t.names[static_cast<std::size_t>(s)];
  std::int32_t played = 0;
  try {
    played = store_.AddResult(result);
  } catch (const StoreError& e) {
    Log(std::string("store: ") + e.what());
    return false;
  }
  t.written = true;
  Log("result " + std::to_string(a) + ":" + std::to_string(b) + " of deal " + std::to_string(result.deal) +
      " in " + room.name);
  ToAudience(room, proto::LineResult(a, b));
  club_.SetPlayed(room, played);
  return true;
}

}  // namespace zn::server
