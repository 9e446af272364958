#include "server/store/SqliteJournal.h"

#include <cstring>

#include "server/store/JournalFields.h"
#include "server/store/SqliteText.h"

namespace zn::server {

namespace {

void RaiseJournalError(const std::string& what, const std::string& why) {
  throw StoreError("journal: " + (why.empty() ? what : what + ": " + why));
}

}  // namespace

SqliteJournal::SqliteJournal(const std::string& path)
    : db_(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, "cannot open " + path, RaiseJournalError),
      deal_(db_,
            "INSERT OR REPLACE INTO running_deals(room, deal, seat1, seat2, seat3, seat4, results_before, "
            "match_secret, records_before) VALUES(?1, ?2, ?3, ?4, ?5, ?6, (SELECT COALESCE(MAX(id), 0) FROM "
            "results), ?7, (SELECT COALESCE(MAX(id), 0) FROM deal_records))",
            true),
      fair_(db_, "UPDATE running_deals SET ledger=?2, holds=?3 WHERE room=?1", true),
      kept_(db_, "UPDATE running_deals SET record=?2 WHERE room=?1", true),
      seats_(db_, "UPDATE running_deals SET seat1=?2, seat2=?3, seat3=?4, seat4=?5 WHERE room=?1", true),
      move_(
          db_,
          "INSERT OR REPLACE INTO running_moves(room, idx, seat, card, bidder, bids) VALUES(?1, ?2, ?3, ?4, "
          "?5, ?6)",
          true),
      endDeal_(db_, "DELETE FROM running_deals WHERE room=?1", true),
      endMoves_(db_, "DELETE FROM running_moves WHERE room=?1", true) {
  db_.Exec("PRAGMA synchronous=NORMAL");
}

SqliteJournal::~SqliteJournal() = default;

void SqliteJournal::Write(const std::vector<JournalEntry>& entries) {
  if (entries.empty()) return;
  sqlite::Transaction t(db_);
  for (const JournalEntry& e : entries) Apply(e);
  t.Commit();
}

void SqliteJournal::Apply(const JournalEntry& e) {
  const auto clearRoom = [&] {
    for (const sqlite::Statement* kept : {&endDeal_, &endMoves_}) {
      const sqlite::Use s(*kept);
      s->Bind(1, e.room);
      s->Run("write");
    }
  };
  switch (e.kind) {
    case JournalEntry::Kind::Clear:
      db_.Exec("DELETE FROM running_deals; DELETE FROM running_moves");
      return;
    case JournalEntry::Kind::End:
      return clearRoom();
    case JournalEntry::Kind::Deal: {
      clearRoom();
      const sqlite::Use s(deal_);
      s->Bind(1, e.room);
      s->Bind(2, e.number);
      for (int i = 0; i < 4; ++i) BindCp1250(s.get(), 3 + i, e.seats[static_cast<std::size_t>(i)]);
      if (e.match)
        s->BindBlob(7, std::string_view(reinterpret_cast<const char*>(e.match->data()), e.match->size()));
      return s->Run("write");
    }
    case JournalEntry::Kind::Kept: {
      const sqlite::Use s(kept_);
      s->Bind(1, e.room);
      s->Bind(2, e.record);
      return s->Run("write");
    }
    case JournalEntry::Kind::Fair: {
      const sqlite::Use s(fair_);
      s->Bind(1, e.room);
      BindCp1250(s.get(), 2, e.ledger);
      BindCp1250(s.get(), 3, WriteHolds(e.holds));
      return s->Run("write");
    }
    case JournalEntry::Kind::Seats: {
      const sqlite::Use s(seats_);
      s->Bind(1, e.room);
      for (int i = 0; i < 4; ++i) BindCp1250(s.get(), 2 + i, e.seats[static_cast<std::size_t>(i)]);
      return s->Run("write");
    }
    case JournalEntry::Kind::Move: {
      const sqlite::Use s(move_);
      s->Bind(1, e.room);
      s->Bind(2, e.index);
      s->Bind(3, e.move.seat);
      s->Bind(4, e.move.card);
      BindCp1250(s.get(), 5, e.move.bidder);
      BindCp1250(s.get(), 6, JoinBids(e.move.bids));
      return s->Run("write");
    }
  }
}

// A deal whose result was stored after it was journaled (the server stopped between the result's
// write and the next batch) is over, and is not brought back.
std::vector<JournaledDeal> SqliteJournal::LoadRunning() {
  std::vector<JournaledDeal> deals;
  {
    const sqlite::Statement s(
        db_,
        "SELECT room, deal, seat1, seat2, seat3, seat4, match_secret, ledger, holds, CASE WHEN d.record != 0 "
        "THEN d.record ELSE (SELECT COALESCE(MAX(k.id), 0) FROM deal_records k WHERE k.room = d.room AND "
        "k.deal = d.deal AND k.id > d.records_before) END FROM running_deals d WHERE NOT EXISTS(SELECT 1 "
        "FROM results r WHERE r.room = d.room AND r.deal = d.deal AND r.id > d.results_before) ORDER BY "
        "room");
    while (s.Step("load deals")) {
      JournaledDeal d;
      d.room = s.Int64(0);
      d.number = s.Int(1);
      for (int i = 0; i < 4; ++i) d.seats[static_cast<std::size_t>(i)] = ColumnCp1250(s.get(), 2 + i);
      if (const std::string match = s.Blob(6); match.size() == deal::kMatchSecretBytes) {
        d.match.emplace();
        std::memcpy(d.match->data(), match.data(), d.match->size());
      }
      d.ledger = ColumnCp1250(s.get(), 7);
      d.holds = ReadHolds(ColumnCp1250(s.get(), 8));
      d.record = s.Int64(9);
      deals.push_back(std::move(d));
    }
  }
  const sqlite::Statement s(
      db_, "SELECT idx, seat, card, bidder, bids FROM running_moves WHERE room=?1 ORDER BY idx");
  for (JournaledDeal& d : deals) {
    s.Bind(1, d.room);
    // The moves up to the first gap: a deal comes back in a state it really had.
    while (s.Step("load moves") && s.Int(0) == static_cast<int>(d.moves.size())) {
      JournaledMove m;
      m.seat = s.Int(1);
      m.card = s.Int(2);
      m.bidder = ColumnCp1250(s.get(), 3);
      m.bids = SplitBids(ColumnCp1250(s.get(), 4));
      d.moves.push_back(std::move(m));
    }
    s.Reset();
  }
  return deals;
}

}  // namespace zn::server
