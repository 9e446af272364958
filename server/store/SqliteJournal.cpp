#include "server/store/SqliteJournal.h"

#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "server/store/SqliteText.h"

namespace zn::server {

namespace {

// Bids are joined by spaces (a bid name holds none).
std::vector<std::string> SplitBids(const std::string& joined) {
  std::vector<std::string> bids;
  std::size_t start = 0;
  while (start < joined.size()) {
    std::size_t end = joined.find(' ', start);
    if (end == std::string::npos) end = joined.size();
    if (end > start) bids.push_back(joined.substr(start, end - start));
    start = end + 1;
  }
  return bids;
}

// Holds as lines of seat, end (milliseconds since the epoch) and folded nickname, which ends the
// line (it holds no line break).
std::string WriteHolds(const std::vector<JournaledHold>& holds) {
  std::string text;
  for (const JournaledHold& h : holds)
    text += std::to_string(h.seat) + " " + std::to_string(h.untilMs) + " " + h.folded + "\n";
  return text;
}

// A line that does not read is left out: its seat is not held.
std::vector<JournaledHold> ReadHolds(std::string_view text) {
  std::vector<JournaledHold> holds;
  while (!text.empty()) {
    const std::size_t end = std::min(text.find('\n'), text.size());
    const std::string line(text.substr(0, end));
    text.remove_prefix(std::min(end + 1, text.size()));
    JournaledHold h;
    long long until = 0;
    int used = 0;
    if (std::sscanf(line.c_str(), "%d %lld %n", &h.seat, &until, &used) != 2 || used <= 0) continue;
    h.untilMs = until;
    h.folded = line.substr(static_cast<std::size_t>(used));
    if (h.seat >= 1 && h.seat <= 4 && !h.folded.empty()) holds.push_back(std::move(h));
  }
  return holds;
}

// Resets a prepared statement when the call leaves, whatever way it leaves.
struct Reset {
  sqlite3_stmt* s;
  ~Reset() {
    sqlite3_reset(s);
    sqlite3_clear_bindings(s);
  }
};

}  // namespace

SqliteJournal::SqliteJournal(const std::string& path) {
  if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr) !=
      SQLITE_OK) {
    const std::string message = db_ ? sqlite3_errmsg(db_) : "out of memory";
    sqlite3_close(db_);
    db_ = nullptr;
    throw StoreError("journal: cannot open " + path + ": " + message);
  }
  try {
    sqlite3_busy_timeout(db_, 2000);
    Exec("PRAGMA synchronous=NORMAL");
    deal_ = Prepare(
        "INSERT OR REPLACE INTO running_deals(room, deal, seat1, seat2, seat3, seat4, results_before, "
        "match_secret, records_before) VALUES(?1, ?2, ?3, ?4, ?5, ?6, (SELECT COALESCE(MAX(id), 0) FROM "
        "results), "
        "?7, (SELECT COALESCE(MAX(id), 0) FROM deal_records))");
    fair_ = Prepare("UPDATE running_deals SET ledger=?2, holds=?3 WHERE room=?1");
    kept_ = Prepare("UPDATE running_deals SET record=?2 WHERE room=?1");
    seats_ = Prepare("UPDATE running_deals SET seat1=?2, seat2=?3, seat3=?4, seat4=?5 WHERE room=?1");
    move_ = Prepare(
        "INSERT OR REPLACE INTO running_moves(room, idx, seat, card, bidder, bids) VALUES(?1, ?2, ?3, ?4, "
        "?5, ?6)");
    endDeal_ = Prepare("DELETE FROM running_deals WHERE room=?1");
    endMoves_ = Prepare("DELETE FROM running_moves WHERE room=?1");
  } catch (...) {
    Close();
    throw;
  }
}

SqliteJournal::~SqliteJournal() { Close(); }

void SqliteJournal::Close() {
  for (sqlite3_stmt* s : {deal_, seats_, move_, endDeal_, endMoves_, fair_, kept_}) sqlite3_finalize(s);
  deal_ = seats_ = move_ = endDeal_ = endMoves_ = fair_ = kept_ = nullptr;
  if (db_) sqlite3_close(db_);
  db_ = nullptr;
}

void SqliteJournal::Fail(const char* what) {
  throw StoreError(std::string("journal: ") + what + ": " + sqlite3_errmsg(db_));
}

void SqliteJournal::Exec(const char* sql) {
  char* error = nullptr;
  if (sqlite3_exec(db_, sql, nullptr, nullptr, &error) != SQLITE_OK) {
    const std::string message = error ? error : "unknown error";
    sqlite3_free(error);
    throw StoreError("journal: " + message);
  }
}

sqlite3_stmt* SqliteJournal::Prepare(const char* sql) {
  sqlite3_stmt* s = nullptr;
  if (sqlite3_prepare_v3(db_, sql, -1, SQLITE_PREPARE_PERSISTENT, &s, nullptr) != SQLITE_OK) Fail("prepare");
  return s;
}

void SqliteJournal::Write(const std::vector<JournalEntry>& entries) {
  if (entries.empty()) return;
  Exec("BEGIN IMMEDIATE");
  try {
    for (const JournalEntry& e : entries) Apply(e);
    Exec("COMMIT");
  } catch (...) {
    sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    throw;
  }
}

void SqliteJournal::Apply(const JournalEntry& e) {
  const auto run = [this](sqlite3_stmt* s) {
    if (sqlite3_step(s) != SQLITE_DONE) Fail("write");
  };
  const auto clearRoom = [&] {
    for (sqlite3_stmt* s : {endDeal_, endMoves_}) {
      Reset reset{s};
      sqlite3_bind_int64(s, 1, e.room);
      run(s);
    }
  };
  switch (e.kind) {
    case JournalEntry::Kind::Clear:
      Exec("DELETE FROM running_deals; DELETE FROM running_moves");
      return;
    case JournalEntry::Kind::End:
      return clearRoom();
    case JournalEntry::Kind::Deal: {
      clearRoom();
      Reset reset{deal_};
      sqlite3_bind_int64(deal_, 1, e.room);
      sqlite3_bind_int(deal_, 2, e.number);
      for (int i = 0; i < 4; ++i) BindCp1250(deal_, 3 + i, e.seats[static_cast<std::size_t>(i)]);
      if (e.match)
        sqlite3_bind_blob(deal_, 7, e.match->data(), static_cast<int>(e.match->size()), SQLITE_TRANSIENT);
      return run(deal_);
    }
    case JournalEntry::Kind::Kept: {
      Reset reset{kept_};
      sqlite3_bind_int64(kept_, 1, e.room);
      sqlite3_bind_int64(kept_, 2, e.record);
      return run(kept_);
    }
    case JournalEntry::Kind::Fair: {
      Reset reset{fair_};
      sqlite3_bind_int64(fair_, 1, e.room);
      BindCp1250(fair_, 2, e.ledger);
      BindCp1250(fair_, 3, WriteHolds(e.holds));
      return run(fair_);
    }
    case JournalEntry::Kind::Seats: {
      Reset reset{seats_};
      sqlite3_bind_int64(seats_, 1, e.room);
      for (int i = 0; i < 4; ++i) BindCp1250(seats_, 2 + i, e.seats[static_cast<std::size_t>(i)]);
      return run(seats_);
    }
    case JournalEntry::Kind::Move: {
      Reset reset{move_};
      std::string bids;
      for (const std::string& bid : e.move.bids) bids += (bids.empty() ? "" : " ") + bid;
      sqlite3_bind_int64(move_, 1, e.room);
      sqlite3_bind_int(move_, 2, e.index);
      sqlite3_bind_int(move_, 3, e.move.seat);
      sqlite3_bind_int(move_, 4, e.move.card);
      BindCp1250(move_, 5, e.move.bidder);
      BindCp1250(move_, 6, bids);
      return run(move_);
    }
  }
}

// A deal whose result was stored after it was journaled (the server stopped between the result's
// write and the next batch) is over, and is not brought back.
std::vector<JournaledDeal> SqliteJournal::LoadRunning() {
  std::vector<JournaledDeal> deals;
  sqlite3_stmt* s = nullptr;
  if (sqlite3_prepare_v2(
          db_,
          "SELECT room, deal, seat1, seat2, seat3, seat4, match_secret, ledger, holds, CASE WHEN d.record != "
          "0 "
          "THEN d.record ELSE (SELECT COALESCE(MAX(k.id), 0) FROM deal_records k WHERE k.room = d.room AND "
          "k.deal = d.deal AND k.id > d.records_before) END FROM running_deals d WHERE NOT EXISTS("
          "SELECT 1 FROM results r WHERE r.room = d.room AND r.deal = d.deal AND r.id > "
          "d.results_before) ORDER BY room",
          -1, &s, nullptr) != SQLITE_OK)
    Fail("prepare");
  int rc;
  while ((rc = sqlite3_step(s)) == SQLITE_ROW) {
    JournaledDeal d;
    d.room = sqlite3_column_int64(s, 0);
    d.number = sqlite3_column_int(s, 1);
    for (int i = 0; i < 4; ++i) d.seats[static_cast<std::size_t>(i)] = ColumnCp1250(s, 2 + i);
    if (sqlite3_column_bytes(s, 6) == static_cast<int>(deal::kMatchSecretBytes)) {
      d.match.emplace();
      std::memcpy(d.match->data(), sqlite3_column_blob(s, 6), d.match->size());
    }
    d.ledger = ColumnCp1250(s, 7);
    d.holds = ReadHolds(ColumnCp1250(s, 8));
    d.record = sqlite3_column_int64(s, 9);
    deals.push_back(std::move(d));
  }
  sqlite3_finalize(s);
  if (rc != SQLITE_DONE) Fail("load deals");
  if (sqlite3_prepare_v2(db_,
                         "SELECT idx, seat, card, bidder, bids FROM running_moves WHERE room=?1 ORDER BY idx",
                         -1, &s, nullptr) != SQLITE_OK)
    Fail("prepare");
  for (JournaledDeal& d : deals) {
    sqlite3_bind_int64(s, 1, d.room);
    // The moves up to the first gap: a deal comes back in a state it really had.
    while ((rc = sqlite3_step(s)) == SQLITE_ROW &&
           sqlite3_column_int(s, 0) == static_cast<int>(d.moves.size())) {
      JournaledMove m;
      m.seat = sqlite3_column_int(s, 1);
      m.card = sqlite3_column_int(s, 2);
      m.bidder = ColumnCp1250(s, 3);
      m.bids = SplitBids(ColumnCp1250(s, 4));
      d.moves.push_back(std::move(m));
    }
    sqlite3_reset(s);
    if (rc != SQLITE_DONE && rc != SQLITE_ROW) {
      sqlite3_finalize(s);
      Fail("load moves");
    }
  }
  sqlite3_finalize(s);
  return deals;
}

}  // namespace zn::server
