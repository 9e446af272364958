#include "record/ArchiveStore.h"

#include <sqlite3.h>

#include "dealrecord/DealFormat.h"
#include "game/Cp1250.h"
#include "game/ZnError.h"

namespace zn {

using namespace zn::literals;

namespace {

constexpr const char* kSchema = R"(
CREATE TABLE IF NOT EXISTS deals(
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  time INTEGER NOT NULL,
  room TEXT NOT NULL,
  deal INTEGER NOT NULL,
  seat1 TEXT NOT NULL, seat2 TEXT NOT NULL, seat3 TEXT NOT NULL, seat4 TEXT NOT NULL,
  written INTEGER NOT NULL,
  points14 INTEGER NOT NULL,
  points23 INTEGER NOT NULL,
  block TEXT NOT NULL);
CREATE INDEX IF NOT EXISTS deals_time ON deals(time);
)";

// A prepared statement finalized whatever way the call leaves.
struct TStatement {
  sqlite3_stmt* s = nullptr;
  ~TStatement() { sqlite3_finalize(s); }
};

void BindText(sqlite3_stmt* s, int i, const std::string& utf8) {
  sqlite3_bind_text(s, i, utf8.data(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
}

std::string Text(sqlite3_stmt* s, int i) {
  const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(s, i));
  return std::string(text ? text : "", static_cast<std::size_t>(sqlite3_column_bytes(s, i)));
}

}  // namespace

TArchiveStore::TArchiveStore(const std::string& path) {
  if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
    sqlite3_close(db_);
    db_ = nullptr;
    throw EZnError(std::string("Az archívum nem nyitható meg: "_cp) + Utf8ToCp1250(path));
  }
  try {
    sqlite3_busy_timeout(db_, 2000);
    Exec("PRAGMA journal_mode=WAL");
    Exec("PRAGMA synchronous=NORMAL");  // with WAL: a commit survives a crash of the program
    Exec(kSchema);
  } catch (...) {
    sqlite3_close(db_);
    db_ = nullptr;
    throw;
  }
}

TArchiveStore::~TArchiveStore() { sqlite3_close(db_); }

void TArchiveStore::Fail(const std::string& what) const {
  throw EZnError(std::string("Archívum: "_cp) + what + ": " + Utf8ToCp1250(sqlite3_errmsg(db_)));
}

void TArchiveStore::Exec(const char* sql) const {
  if (sqlite3_exec(db_, sql, nullptr, nullptr, nullptr) != SQLITE_OK) Fail("SQL");
}

std::int64_t TArchiveStore::Insert(const dealrecord::DealRecord& d) {
  TStatement st;
  if (sqlite3_prepare_v2(db_,
                         "INSERT INTO deals(time, room, deal, seat1, seat2, seat3, seat4, written, points14, "
                         "points23, block) VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11)",
                         -1, &st.s, nullptr) != SQLITE_OK)
    Fail("prepare");
  sqlite3_bind_int64(st.s, 1, d.time);
  BindText(st.s, 2, Cp1250ToUtf8(d.room));
  sqlite3_bind_int(st.s, 3, d.number);
  for (int seat = 1; seat <= kSeats; ++seat)
    BindText(st.s, 3 + seat, Cp1250ToUtf8(d.seats[static_cast<std::size_t>(seat)].name));
  sqlite3_bind_int(st.s, 8, d.written ? 1 : 0);
  sqlite3_bind_int(st.s, 9, d.points14);
  sqlite3_bind_int(st.s, 10, d.points23);
  BindText(st.s, 11, dealrecord::WriteDeal(d));
  if (sqlite3_step(st.s) != SQLITE_DONE) Fail("keep");
  return sqlite3_last_insert_rowid(db_);
}

std::int64_t TArchiveStore::Keep(const dealrecord::DealRecord& deal) { return Insert(deal); }

void TArchiveStore::KeepAll(const std::vector<dealrecord::DealRecord>& deals) {
  Exec("BEGIN IMMEDIATE");
  try {
    for (const dealrecord::DealRecord& d : deals) Insert(d);
    Exec("COMMIT");
  } catch (...) {
    sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    throw;
  }
}

void TArchiveStore::MarkResult(std::int64_t id, std::int32_t points14, std::int32_t points23) {
  dealrecord::DealRecord d = Load(id);
  d.written = true;
  d.points14 = points14;
  d.points23 = points23;
  TStatement st;
  if (sqlite3_prepare_v2(db_, "UPDATE deals SET written=1, points14=?2, points23=?3, block=?4 WHERE id=?1",
                         -1, &st.s, nullptr) != SQLITE_OK)
    Fail("prepare");
  sqlite3_bind_int64(st.s, 1, id);
  sqlite3_bind_int(st.s, 2, points14);
  sqlite3_bind_int(st.s, 3, points23);
  BindText(st.s, 4, dealrecord::WriteDeal(d));
  if (sqlite3_step(st.s) != SQLITE_DONE) Fail("result");
}

std::vector<TArchiveRow> TArchiveStore::List(const std::string& nickname) const {
  TStatement st;
  if (sqlite3_prepare_v2(
          db_,
          "SELECT id, time, room, deal, seat1, seat2, seat3, seat4, written, points14, points23 "
          "FROM deals ORDER BY time DESC, id DESC",
          -1, &st.s, nullptr) != SQLITE_OK)
    Fail("prepare");
  std::vector<TArchiveRow> rows;
  int rc;
  while ((rc = sqlite3_step(st.s)) == SQLITE_ROW) {
    TArchiveRow r;
    r.id = sqlite3_column_int64(st.s, 0);
    r.time = sqlite3_column_int64(st.s, 1);
    r.room = Utf8ToCp1250(Text(st.s, 2));
    r.deal = sqlite3_column_int(st.s, 3);
    bool match = nickname.empty();
    for (int i = 0; i < kSeats; ++i) {
      r.seats[static_cast<std::size_t>(i)] = Utf8ToCp1250(Text(st.s, 4 + i));
      match = match || SameText(r.seats[static_cast<std::size_t>(i)], nickname);
    }
    r.written = sqlite3_column_int(st.s, 8) != 0;
    r.points14 = sqlite3_column_int(st.s, 9);
    r.points23 = sqlite3_column_int(st.s, 10);
    if (match) rows.push_back(std::move(r));
  }
  if (rc != SQLITE_DONE) Fail("list");
  return rows;
}

dealrecord::DealRecord TArchiveStore::Load(std::int64_t id) const {
  TStatement st;
  if (sqlite3_prepare_v2(db_, "SELECT block FROM deals WHERE id=?1", -1, &st.s, nullptr) != SQLITE_OK)
    Fail("prepare");
  sqlite3_bind_int64(st.s, 1, id);
  if (sqlite3_step(st.s) != SQLITE_ROW) Fail(std::string("nincs ilyen leosztás"_cp));
  std::vector<dealrecord::DealRecord> deals = dealrecord::ReadDeals(Text(st.s, 0));
  if (deals.size() != 1) Fail(std::string("hibás leosztás"_cp));
  return deals.front();
}

std::vector<dealrecord::DealRecord> TArchiveStore::All() const {
  TStatement st;
  if (sqlite3_prepare_v2(db_, "SELECT block FROM deals ORDER BY time, id", -1, &st.s, nullptr) != SQLITE_OK)
    Fail("prepare");
  std::vector<dealrecord::DealRecord> deals;
  int rc;
  while ((rc = sqlite3_step(st.s)) == SQLITE_ROW)
    for (dealrecord::DealRecord& d : dealrecord::ReadDeals(Text(st.s, 0))) deals.push_back(std::move(d));
  if (rc != SQLITE_DONE) Fail("export");
  return deals;
}

}  // namespace zn
