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

// A deal written down is over for the journal; one scored but not written stays until "F".
void Deals::WriteJournal(SteadyTime now) {
  journal_->Begin();
  for (const auto& [id, t] : tables_)
    if (t.game && !t.written) journal_->See(id, t.run, *t.game, t.bidders, t.names);
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

// The seat stays the member's for the grace period (the club's own hold, set here by hand).
void Deals::Restore(const std::vector<JournaledDeal>& deals) {
  for (const JournaledDeal& d : deals) {
    Room* room = club_.FindRoom(d.room);
    const std::string which = "deal " + std::to_string(d.number);
    if (!room || d.number <= 0 || RunningElsewhere(*room, d.number)) {
      Log("journal: " + which + " of room " + std::to_string(d.room) + " not restored");
      continue;
    }
    Table& t = TableOf(*room);
    t = Table();
    t.game = std::make_unique<deal::Game>(d.number, deal::DealCards(d.number, key_));
    if (!Replay(t, d)) {
      Log("journal: " + which + " in " + room->name + " does not replay; not restored");
      t = Table();
      continue;
    }
    t.number = d.number;
    t.run = ++runs_;
    for (int s = 1; s <= kSeats; ++s) {
      const std::string& name = d.seats[static_cast<std::size_t>(s - 1)];
      t.names[static_cast<std::size_t>(s)] = name;
      room->seats[static_cast<std::size_t>(s)] = {};
      club_.RobotTakesSeat(*room, s);
      if (name.empty() || name.starts_with(text::kRobotPrefix)) continue;
      club_.HoldSeat(*room, s, name);
      Member holder;  // the ledger knows members by folded nickname: they keep their own seats
      holder.who.nickname = name;
      holder.who.folded = NameKey(name);
      t.fair.Held(holder, s);
    }
    Advance(*room, t);  // the held seats pause the robots until their members are back or the grace ends
    Log("journal: " + which + " in " + room->name + " restored at move " + std::to_string(d.moves.size()));
  }
}

}  // namespace zn::server
