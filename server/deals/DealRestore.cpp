// The journal of running deals on the engine's side: the batches, and the deals brought back at a
// restart, dealt again under the same key and replayed through the game without a line to anyone.
#include "server/base/ClubTexts.h"
#include "server/base/Log.h"
#include "server/base/Names.h"
#include "server/deals/Deals.h"

namespace zn::server {

void Deals::UseJournal(JournalStore* store) {
  journal_ = store ? std::make_unique<DealJournal>(*store) : nullptr;
}

std::int64_t Deals::WallMs() const {
  if (wallMs_) return wallMs_();
  using namespace std::chrono;
  return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

// The seats of the room held for dropped members, their ends on the wall clock (measured from one
// moment, so an unchanged hold journals the same).
std::vector<JournaledHold> Deals::HoldsIn(const Room& room) const {
  std::vector<JournaledHold> holds;
  for (int s = 1; s <= kSeats; ++s) {
    const Seat& seat = room.seats[static_cast<std::size_t>(s)];
    if (seat.heldFor.empty() || seat.member != 0) continue;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(seat.heldUntil - clockAnchor_);
    holds.push_back({s, seat.heldFor, wallAnchor_ + left.count()});
  }
  return holds;
}

// A deal written down is over for the journal; one scored but not written stays until "F".
void Deals::WriteJournal(SteadyTime now) {
  journal_->Begin();
  for (const auto& [id, t] : tables_) {
    if (!t.game || t.written) continue;
    const Room* room = club_.FindRoom(id);
    journal_->See(id, {t.run, t.game.get(), &t.bidders, &t.names, t.match, t.fair.Save(),
                       room ? HoldsIn(*room) : std::vector<JournaledHold>{}, t.record});
  }
  journal_->Write(now);
}

void Deals::FlushJournal() {
  if (journal_) WriteJournal(now_());
}

std::string Deals::JournalSummary() const { return journal_ ? journal_->Summary() : "journal: off"; }

// Every move in order through the game's own checks; false at the first that does not fit (the
// key changed, the journal was edited): the deal is not brought back then.
bool Deals::Replay(Table& t, const JournaledDeal& d) {
  deal::Game& g = *t.game;
  for (const JournaledMove& move : d.moves) {
    if (move.card != kNoCard) {
      if (g.Play() && g.Play()->TrickComplete()) g.Continue();  // its go-on came before this card
      if (g.OnTurn() != move.seat || !g.PlayCard(move.seat, move.card)) return false;
    } else {
      if (g.Play() || g.OnTurn() != move.seat || g.Bid(move.seat, move.bids)) return false;
      t.bidders.push_back(move.bidder);
    }
  }
  return true;
}

// A seat stays its member's for the grace period from the restart (the club's own hold, set here
// by hand): the members who sat, and those whose hold had not ended when the server stopped. A
// deal that had ended and was kept comes back ended, waiting for its result.
void Deals::Restore(const std::vector<JournaledDeal>& deals) {
  const std::int64_t wallNow = WallMs();
  for (const JournaledDeal& d : deals) {
    Room* room = club_.FindRoom(d.room);
    const std::string which = "deal " + std::to_string(d.number);
    if (!room || d.number <= 0) {
      Log("journal: " + which + " of room " + std::to_string(d.room) + " not restored");
      continue;
    }
    Table& t = TableOf(*room);
    t = Table();
    t.game = std::make_unique<deal::Game>(
        d.number, d.match ? deal::DealCards(d.number, key_, *d.match) : deal::DealCards(d.number, key_));
    if (!Replay(t, d)) {
      Log("journal: " + which + " in " + room->name + " does not replay; not restored");
      t = Table();
      continue;
    }
    t.number = d.number;
    t.match = d.match;  // none: the room's own is read at its next order
    t.run = ++runs_;
    t.fair = SeatLedger::Load(d.ledger);
    for (int s = 1; s <= kSeats; ++s) {
      const std::string& name = d.seats[static_cast<std::size_t>(s - 1)];
      t.names[static_cast<std::size_t>(s)] = name;
      room->seats[static_cast<std::size_t>(s)] = {};
      club_.RobotTakesSeat(*room, s);
      if (name.empty() || name.starts_with(text::kRobotPrefix)) continue;
      club_.HoldSeat(*room, s, name);
      if (!d.ledger.empty()) continue;
      Member holder;  // a journal without a ledger: the members keep their own seats
      holder.who.nickname = name;
      holder.who.folded = NameKey(name);
      t.fair.Held(holder, s);
    }
    for (const JournaledHold& h : d.holds)
      if (h.untilMs > wallNow && room->seats[static_cast<std::size_t>(h.seat)].heldFor.empty())
        club_.HoldSeat(*room, h.seat, h.folded);
    if (d.record != 0 && Ended(t)) {
      t.scored = true;  // its score went out and it was kept before the stop: neither again
      t.record = d.record;
      WriteOwnResult(*room, t);
      Log("journal: " + which + " in " + room->name + " restored, ended, waiting for its result");
      continue;
    }
    Advance(*room, t);  // the held seats pause the robots until their members are back or the grace ends
    Log("journal: " + which + " in " + room->name + " restored at move " + std::to_string(d.moves.size()));
  }
}

// The last trick of a replayed deal is complete: the deal is over (its go-on is not journaled).
bool Deals::Ended(Table& t) {
  deal::Game& g = *t.game;
  const deal::CardPlay* play = g.Play();
  if (play && play->TrickComplete() && play->Record().count == kTricks) g.Continue();
  return g.CurrentPhase() == deal::Game::Phase::Over;
}

}  // namespace zn::server
