#include "server/deals/DealJournal.h"

#include <algorithm>

#include "server/base/Log.h"

namespace zn::server {

int MovesMade(const deal::Game& g) {
  int moves = static_cast<int>(g.Bids().Blocks().size());
  if (const deal::CardPlay* play = g.Play()) {
    moves += play->Record().count * kSeats;
    if (!play->TrickComplete())
      for (const TCard c : play->Table()) moves += c != kNoCard;
  }
  return moves;
}

std::vector<JournaledMove> MovesFrom(const deal::Game& g, const std::vector<std::string>& bidders, int from) {
  std::vector<JournaledMove> moves;
  int index = 0;
  const auto& blocks = g.Bids().Blocks();
  for (std::size_t i = 0; i < blocks.size(); ++i)
    if (index++ >= from)
      moves.push_back({blocks[i].seat, kNoCard, i < bidders.size() ? bidders[i] : "", blocks[i].bids});
  const deal::CardPlay* play = g.Play();
  if (!play) return moves;
  // A trick's cards in the order played: from its leader round the table.
  const auto trick = [&](int leader, const std::array<TCard, kSeats + 1>& cards) {
    for (int k = 0, s = leader; k < kSeats; ++k, s = s % kSeats + 1) {
      const TCard card = cards[static_cast<std::size_t>(s)];
      if (card == kNoCard) return;
      if (index++ >= from) moves.push_back({s, card, {}, {}});
    }
  };
  for (int k = 1; k <= play->Record().count; ++k)
    trick(play->Record().Trick(k)->leader, play->Record().Trick(k)->cards);
  if (!play->TrickComplete()) trick(play->Leader(), play->Table());
  return moves;
}

namespace {

JournalEntry Entry(JournalEntry::Kind kind, std::int64_t room) {
  JournalEntry e;
  e.kind = kind;
  e.room = room;
  return e;
}

}  // namespace

void DealJournal::Begin() {
  ++batch_;
  entries_.clear();
  if (resync_) {
    entries_.push_back(Entry(JournalEntry::Kind::Clear, 0));
    known_.clear();
  }
}

void DealJournal::See(std::int64_t room, View view) {
  const auto& names = *view.names;
  const std::array<std::string, 4> seats{names[1], names[2], names[3], names[4]};
  auto [it, fresh] = known_.try_emplace(room);
  Known& k = it->second;
  k.batch = batch_;
  if (fresh || k.run != view.run) {
    k = {view.run, 0, seats, {}, {}, 0, batch_};
    JournalEntry& e = entries_.emplace_back(Entry(JournalEntry::Kind::Deal, room));
    e.number = view.game->Number();
    e.seats = seats;
    e.match = view.match;
  } else if (k.seats != seats) {
    k.seats = seats;
    entries_.emplace_back(Entry(JournalEntry::Kind::Seats, room)).seats = seats;
  }
  if (k.ledger != view.ledger || k.holds != view.holds) {
    k.ledger = view.ledger;
    k.holds = view.holds;
    JournalEntry& e = entries_.emplace_back(Entry(JournalEntry::Kind::Fair, room));
    e.ledger = std::move(view.ledger);
    e.holds = std::move(view.holds);
  }
  if (k.record != view.record) {
    k.record = view.record;
    entries_.emplace_back(Entry(JournalEntry::Kind::Kept, room)).record = view.record;
  }
  if (MovesMade(*view.game) == k.moves) return;
  for (JournaledMove& move : MovesFrom(*view.game, *view.bidders, k.moves)) {
    JournalEntry& e = entries_.emplace_back(Entry(JournalEntry::Kind::Move, room));
    e.index = k.moves++;
    e.move = std::move(move);
  }
}

void DealJournal::Write(SteadyTime now) {
  due_ = now + kInterval;
  for (auto it = known_.begin(); it != known_.end();) {
    if (it->second.batch == batch_) {
      ++it;
      continue;
    }
    entries_.push_back(Entry(JournalEntry::Kind::End, it->first));
    it = known_.erase(it);
  }
  if (entries_.empty()) return;
  const auto start = std::chrono::steady_clock::now();  // a measurement, not the club's clock
  try {
    store_.Write(entries_);
  } catch (const StoreError& e) {
    if (!failing_) Log(std::string("journal: write failed, deals run on unjournaled: ") + e.what());
    failing_ = resync_ = true;
    known_.clear();
    return;
  }
  const auto took = std::chrono::steady_clock::now() - start;
  if (failing_) Log("journal: writing again");
  failing_ = resync_ = false;
  ++written_;
  entriesWritten_ += entries_.size();
  total_ += took;
  longest_ = std::max<std::chrono::nanoseconds>(longest_, took);
}

std::string DealJournal::Summary() const {
  using std::chrono::microseconds;
  const auto us = [](std::chrono::nanoseconds d) {
    return std::to_string(std::chrono::duration_cast<microseconds>(d).count());
  };
  return "journal: " + std::to_string(written_) + " batches, " + std::to_string(entriesWritten_) +
         " entries, mean " + us(written_ ? total_ / static_cast<std::int64_t>(written_) : total_) +
         " us, longest " + us(longest_) + " us";
}

}  // namespace zn::server
