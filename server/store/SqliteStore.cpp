#include "server/store/SqliteStore.h"

#include "server/base/DealKey.h"

#include <sqlite3.h>

#include <cstring>

#include <ctime>
#include <iterator>
#include <string>

#include "game/Cp1250.h"
#include "server/store/SqliteText.h"

namespace zn::server {

// Resets and clears a prepared statement when a call leaves, whatever way it leaves.
class SqliteStore::Statement {
 public:
  explicit Statement(sqlite3_stmt* s) : s_(s) {}
  ~Statement() {
    sqlite3_reset(s_);
    sqlite3_clear_bindings(s_);
  }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  sqlite3_stmt* get() const { return s_; }

 private:
  sqlite3_stmt* s_;
};

namespace {

// The schema grows by ordered steps: step i brings a file of version i to version i + 1, and
// PRAGMA user_version records how far a file has come. A file of version 0 is either new or one
// written before the version was kept; the first step is written to suit both (IF NOT EXISTS).
// Never change a step once released: add the next one.
constexpr const char* kUpgrades[] = {
    // 0 -> 1: rooms and results.
    R"(
CREATE TABLE IF NOT EXISTS rooms(
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  name TEXT NOT NULL UNIQUE,
  option INTEGER NOT NULL DEFAULT 0,
  played INTEGER NOT NULL DEFAULT 0,
  last_human INTEGER NOT NULL);
CREATE TABLE IF NOT EXISTS results(
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  room INTEGER NOT NULL,
  room_name TEXT NOT NULL,
  deal INTEGER NOT NULL,
  points14 INTEGER NOT NULL,
  points23 INTEGER NOT NULL,
  seat1 TEXT NOT NULL, seat2 TEXT NOT NULL, seat3 TEXT NOT NULL, seat4 TEXT NOT NULL,
  time INTEGER NOT NULL);
CREATE INDEX IF NOT EXISTS results_room ON results(room);
)",
    // 1 -> 2: results can be listed per deal number of a room (the deal engine's replays).
    R"(
CREATE INDEX IF NOT EXISTS results_room_deal ON results(room, deal);
)",
    // 2 -> 3: results_room is a prefix of results_room_deal and cost a page write per result.
    R"(
DROP INDEX IF EXISTS results_room;
)",
    // 3 -> 4: the secret deal key, one row, made at the first start (DealKey()).
    R"(
CREATE TABLE IF NOT EXISTS deal_key(
  id INTEGER PRIMARY KEY CHECK(id = 1),
  key BLOB NOT NULL CHECK(length(key) = 32));
)",
    // 4 -> 5: names are kept as UTF-8 (the wire's cp1250 is converted at the store's edge), so the
    // file reads right in any tool; earlier servers wrote the cp1250 bytes as they came.
    R"(
UPDATE rooms SET name = zn_cp1250_to_utf8(name);
UPDATE results SET room_name = zn_cp1250_to_utf8(room_name), seat1 = zn_cp1250_to_utf8(seat1),
  seat2 = zn_cp1250_to_utf8(seat2), seat3 = zn_cp1250_to_utf8(seat3), seat4 = zn_cp1250_to_utf8(seat4);
)",
    // 5 -> 6: the journal of running deals (server/store/SqliteJournal.cpp): a restarted server deals them
    // again and replays their moves. results_before: the last result id when the deal was journaled.
    R"(
CREATE TABLE IF NOT EXISTS running_deals(
  room INTEGER PRIMARY KEY,
  deal INTEGER NOT NULL,
  seat1 TEXT NOT NULL, seat2 TEXT NOT NULL, seat3 TEXT NOT NULL, seat4 TEXT NOT NULL,
  results_before INTEGER NOT NULL);
CREATE TABLE IF NOT EXISTS running_moves(
  room INTEGER NOT NULL,
  idx INTEGER NOT NULL,
  seat INTEGER NOT NULL,
  card INTEGER NOT NULL,
  bidder TEXT NOT NULL,
  bids TEXT NOT NULL,
  PRIMARY KEY(room, idx)) WITHOUT ROWID;
)",
    // 6 -> 7: claimed nicknames: the folded name (UTF-8) and the public key that proves it.
    R"(
CREATE TABLE IF NOT EXISTS claims(
  name TEXT PRIMARY KEY,
  key BLOB NOT NULL CHECK(length(key) = 32),
  time INTEGER NOT NULL);
)",
    // 7 -> 8: every deal that ended, whole (server/store/SqliteRecords.cpp reads and writes the rows).
    R"(
CREATE TABLE IF NOT EXISTS deal_records(
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  room INTEGER NOT NULL,
  room_name TEXT NOT NULL,
  deal INTEGER NOT NULL,
  time INTEGER NOT NULL,
  dealer INTEGER NOT NULL,
  seat1 TEXT NOT NULL, seat2 TEXT NOT NULL, seat3 TEXT NOT NULL, seat4 TEXT NOT NULL,
  robots INTEGER NOT NULL,
  hands BLOB NOT NULL,
  bids TEXT NOT NULL,
  cards BLOB NOT NULL,
  taken14 INTEGER NOT NULL,
  taken23 INTEGER NOT NULL,
  result INTEGER);
CREATE INDEX IF NOT EXISTS deal_records_time ON deal_records(time);
)",
    // 8 -> 9: the secret of each room's current match (SqliteMatches.cpp); the journal keeps the
    // running deal's secret, its fair-play ledger, the seats held for dropped members, the record of
    // a deal that ended, and the last record id when the deal was journaled (a record of the deal
    // kept after it, before the batch that names it, means the deal ended too).
    R"(
ALTER TABLE rooms ADD COLUMN match_secret BLOB;
ALTER TABLE running_deals ADD COLUMN match_secret BLOB;
ALTER TABLE running_deals ADD COLUMN records_before INTEGER NOT NULL DEFAULT 0;
ALTER TABLE running_deals ADD COLUMN ledger TEXT NOT NULL DEFAULT '';
ALTER TABLE running_deals ADD COLUMN holds TEXT NOT NULL DEFAULT '';
ALTER TABLE running_deals ADD COLUMN record INTEGER NOT NULL DEFAULT 0;
UPDATE running_deals SET records_before = (SELECT COALESCE(MAX(id), 0) FROM deal_records);
)",
};

// zn_cp1250_to_utf8(text), for the upgrade step that converts the names earlier servers wrote.
void Cp1250ToUtf8Function(sqlite3_context* context, int, sqlite3_value** args) {
  if (sqlite3_value_type(args[0]) != SQLITE_TEXT) return sqlite3_result_value(context, args[0]);
  const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(args[0]));
  const std::string utf8 =
      Cp1250ToUtf8(std::string_view(text, static_cast<std::size_t>(sqlite3_value_bytes(args[0]))));
  sqlite3_result_text(context, utf8.data(), static_cast<int>(utf8.size()), SQLITE_TRANSIENT);
}

}  // namespace

SqliteStore::SqliteStore(const std::string& path, NowFn now) : now_(std::move(now)) {
  if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                      nullptr) != SQLITE_OK) {
    const std::string message = db_ ? sqlite3_errmsg(db_) : "out of memory";
    sqlite3_close(db_);
    db_ = nullptr;
    throw StoreError("cannot open " + path + ": " + message);
  }
  try {
    sqlite3_busy_timeout(db_, 2000);
    Exec("PRAGMA journal_mode=WAL");
    // WAL with NORMAL: a commit is in the log file when the call returns, so a crash of the
    // server loses nothing it has announced.
    Exec("PRAGMA synchronous=NORMAL");
    if (sqlite3_create_function(db_, "zn_cp1250_to_utf8", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                                Cp1250ToUtf8Function, nullptr, nullptr) != SQLITE_OK)
      Fail("register function");
    Upgrade();
    createRoom_ = Prepare("INSERT INTO rooms(name, last_human) VALUES(?1, ?2)");
    setOption_ = Prepare("UPDATE rooms SET option=?2 WHERE id=?1");
    setPlayed_ = Prepare("UPDATE rooms SET played=?2 WHERE id=?1");
    bumpPlayed_ = Prepare("UPDATE rooms SET played=played+1 WHERE id=?1");
    getPlayed_ = Prepare("SELECT played FROM rooms WHERE id=?1");
    addResult_ = Prepare(
        "INSERT INTO results(room, room_name, deal, points14, points23, seat1, seat2, seat3, seat4, time) "
        "VALUES(?1, COALESCE((SELECT name FROM rooms WHERE id=?1), ''), ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9)");
    touch_ = Prepare("UPDATE rooms SET last_human=?2 WHERE id=?1");
    dropRoom_ = Prepare("DELETE FROM rooms WHERE id=?1");
  } catch (...) {
    Close();
    throw;
  }
}

SqliteStore::~SqliteStore() { Close(); }

void SqliteStore::Close() {
  for (sqlite3_stmt* s : {createRoom_, setOption_, setPlayed_, bumpPlayed_, getPlayed_, addResult_, touch_,
                          dropRoom_, addRecord_, markRecord_})
    sqlite3_finalize(s);
  createRoom_ = setOption_ = setPlayed_ = bumpPlayed_ = getPlayed_ = addResult_ = touch_ = dropRoom_ =
      addRecord_ = markRecord_ = nullptr;
  if (db_) sqlite3_close(db_);
  db_ = nullptr;
}

std::int64_t SqliteStore::Now() const {
  return now_ ? now_() : static_cast<std::int64_t>(std::time(nullptr));
}

int SqliteStore::SchemaVersion() {
  sqlite3_stmt* raw = nullptr;
  if (sqlite3_prepare_v2(db_, "PRAGMA user_version", -1, &raw, nullptr) != SQLITE_OK) Fail("prepare");
  const int version = sqlite3_step(raw) == SQLITE_ROW ? sqlite3_column_int(raw, 0) : -1;
  sqlite3_finalize(raw);
  if (version < 0) Fail("read schema version");
  return version;
}

int SqliteStore::LatestSchemaVersion() { return static_cast<int>(std::size(kUpgrades)); }

void SqliteStore::Upgrade() {
  const int from = SchemaVersion();
  // A file from a newer server: its tables may mean something this one does not know.
  if (from > LatestSchemaVersion())
    throw StoreError("schema version " + std::to_string(from) + " is newer than this server's " +
                     std::to_string(LatestSchemaVersion()));
  for (int version = from; version < LatestSchemaVersion(); ++version) {
    // Each step and its version number commit together, so a crash leaves a whole step or none.
    Exec("BEGIN IMMEDIATE");
    try {
      Exec(kUpgrades[version]);
      Exec(("PRAGMA user_version=" + std::to_string(version + 1)).c_str());
      Exec("COMMIT");
    } catch (...) {
      sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
      throw;
    }
  }
}

void SqliteStore::Fail(const char* what) { throw StoreError(std::string(what) + ": " + sqlite3_errmsg(db_)); }

void SqliteStore::Exec(const char* sql) {
  char* error = nullptr;
  if (sqlite3_exec(db_, sql, nullptr, nullptr, &error) != SQLITE_OK) {
    const std::string message = error ? error : "unknown error";
    sqlite3_free(error);
    throw StoreError(message);
  }
}

sqlite3_stmt* SqliteStore::Prepare(const char* sql) {
  sqlite3_stmt* s = nullptr;
  if (sqlite3_prepare_v3(db_, sql, -1, SQLITE_PREPARE_PERSISTENT, &s, nullptr) != SQLITE_OK) Fail("prepare");
  return s;
}

int SqliteStore::DropIdleRooms(std::int64_t idleSeconds) {
  sqlite3_stmt* raw = nullptr;
  if (sqlite3_prepare_v2(db_, "DELETE FROM rooms WHERE last_human < ?1", -1, &raw, nullptr) != SQLITE_OK)
    Fail("prepare");
  sqlite3_bind_int64(raw, 1, Now() - idleSeconds);
  const int rc = sqlite3_step(raw);
  sqlite3_finalize(raw);
  if (rc != SQLITE_DONE) Fail("drop idle rooms");
  return sqlite3_changes(db_);
}

// The key is kept, not derived: a lost key only changes which cards future numbers give.
deal::DealKey SqliteStore::DealKey() {
  const auto read = [this](deal::DealKey& key) {
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db_, "SELECT key FROM deal_key WHERE id=1", -1, &raw, nullptr) != SQLITE_OK)
      Fail("prepare");
    const int rc = sqlite3_step(raw);
    const bool found = rc == SQLITE_ROW && sqlite3_column_bytes(raw, 0) == static_cast<int>(key.size());
    if (found) std::memcpy(key.data(), sqlite3_column_blob(raw, 0), key.size());
    sqlite3_finalize(raw);
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) Fail("read deal key");
    return found;
  };
  deal::DealKey key{};
  if (read(key)) return key;
  key = NewDealKey();
  sqlite3_stmt* raw = nullptr;
  // OR IGNORE: a second server on the same file that got there first keeps its key.
  if (sqlite3_prepare_v2(db_, "INSERT OR IGNORE INTO deal_key(id, key) VALUES(1, ?1)", -1, &raw, nullptr) !=
      SQLITE_OK)
    Fail("prepare");
  sqlite3_bind_blob(raw, 1, key.data(), static_cast<int>(key.size()), SQLITE_TRANSIENT);
  const int rc = sqlite3_step(raw);
  sqlite3_finalize(raw);
  if (rc != SQLITE_DONE) Fail("store deal key");
  if (!read(key)) Fail("read deal key");
  return key;
}

void SqliteStore::Flush() { Exec("PRAGMA wal_checkpoint(TRUNCATE)"); }

int SqliteStore::ResultCount(std::int64_t room) {
  sqlite3_stmt* raw = nullptr;
  if (sqlite3_prepare_v2(db_, "SELECT COUNT(*) FROM results WHERE room=?1", -1, &raw, nullptr) != SQLITE_OK)
    Fail("prepare");
  sqlite3_bind_int64(raw, 1, room);
  const int n = sqlite3_step(raw) == SQLITE_ROW ? sqlite3_column_int(raw, 0) : -1;
  sqlite3_finalize(raw);
  return n;
}

std::vector<StoredRoom> SqliteStore::LoadRooms() {
  std::vector<StoredRoom> rooms;
  sqlite3_stmt* raw = nullptr;
  if (sqlite3_prepare_v2(db_, "SELECT id, name, option, played FROM rooms ORDER BY id", -1, &raw, nullptr) !=
      SQLITE_OK)
    Fail("prepare");
  int rc;
  while ((rc = sqlite3_step(raw)) == SQLITE_ROW) {
    StoredRoom r;
    r.id = sqlite3_column_int64(raw, 0);
    r.name = ColumnCp1250(raw, 1);
    r.option = sqlite3_column_int(raw, 2) != 0;
    r.played = sqlite3_column_int(raw, 3);
    rooms.push_back(std::move(r));
  }
  sqlite3_finalize(raw);
  if (rc != SQLITE_DONE) Fail("load rooms");
  return rooms;
}

std::int64_t SqliteStore::CreateRoom(std::string_view name) {
  Statement s(createRoom_);
  BindCp1250(s.get(), 1, name);
  sqlite3_bind_int64(s.get(), 2, Now());
  if (sqlite3_step(s.get()) != SQLITE_DONE) Fail("create room");
  return sqlite3_last_insert_rowid(db_);
}

void SqliteStore::SetOption(std::int64_t room, bool on) {
  Statement s(setOption_);
  sqlite3_bind_int64(s.get(), 1, room);
  sqlite3_bind_int(s.get(), 2, on ? 1 : 0);
  if (sqlite3_step(s.get()) != SQLITE_DONE) Fail("set option");
}

void SqliteStore::SetPlayed(std::int64_t room, std::int32_t played) {
  Statement s(setPlayed_);
  sqlite3_bind_int64(s.get(), 1, room);
  sqlite3_bind_int(s.get(), 2, played);
  if (sqlite3_step(s.get()) != SQLITE_DONE) Fail("set counter");
}

std::int32_t SqliteStore::AddResult(const StoredResult& r) {
  // The server echoes "F" once this returns: the commit must reach the disk, not only the
  // operating system, so that a power cut cannot take back a result the members saw written down.
  Exec("PRAGMA synchronous=FULL");
  struct Relax {
    SqliteStore* store;
    ~Relax() { sqlite3_exec(store->db_, "PRAGMA synchronous=NORMAL", nullptr, nullptr, nullptr); }
  } relax{this};
  Exec("BEGIN IMMEDIATE");
  try {
    {
      Statement s(addResult_);
      sqlite3_bind_int64(s.get(), 1, r.room);
      sqlite3_bind_int(s.get(), 2, r.deal);
      sqlite3_bind_int(s.get(), 3, r.points14);
      sqlite3_bind_int(s.get(), 4, r.points23);
      for (int i = 0; i < 4; ++i) BindCp1250(s.get(), 5 + i, r.seats[static_cast<std::size_t>(i)]);
      sqlite3_bind_int64(s.get(), 9, Now());
      if (sqlite3_step(s.get()) != SQLITE_DONE) Fail("add result");
    }
    if (r.record != 0) MarkRecord(r.record, sqlite3_last_insert_rowid(db_));
    {
      Statement s(bumpPlayed_);
      sqlite3_bind_int64(s.get(), 1, r.room);
      if (sqlite3_step(s.get()) != SQLITE_DONE) Fail("count result");
    }
    std::int32_t played = 0;
    {
      Statement s(getPlayed_);
      sqlite3_bind_int64(s.get(), 1, r.room);
      if (sqlite3_step(s.get()) != SQLITE_ROW) Fail("read counter");
      played = sqlite3_column_int(s.get(), 0);
    }
    Exec("COMMIT");
    return played;
  } catch (...) {
    sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    throw;
  }
}

void SqliteStore::TouchRoom(std::int64_t room) {
  Statement s(touch_);
  sqlite3_bind_int64(s.get(), 1, room);
  sqlite3_bind_int64(s.get(), 2, Now());
  if (sqlite3_step(s.get()) != SQLITE_DONE) Fail("touch room");
}

void SqliteStore::DropRoom(std::int64_t room) {
  Statement s(dropRoom_);
  sqlite3_bind_int64(s.get(), 1, room);
  if (sqlite3_step(s.get()) != SQLITE_DONE) Fail("drop room");
}

}  // namespace zn::server

namespace zn::server {

// Claims are read once a login and written once a nickname: statements made on the spot.
std::optional<claim::TPublicKey> SqliteStore::ClaimOf(std::string_view folded) {
  sqlite3_stmt* raw = nullptr;
  if (sqlite3_prepare_v2(db_, "SELECT key FROM claims WHERE name=?1", -1, &raw, nullptr) != SQLITE_OK)
    Fail("prepare");
  BindCp1250(raw, 1, folded);
  std::optional<claim::TPublicKey> key;
  const int rc = sqlite3_step(raw);
  if (rc == SQLITE_ROW && sqlite3_column_bytes(raw, 0) == static_cast<int>(claim::kKeyBytes)) {
    key.emplace();
    std::memcpy(key->data(), sqlite3_column_blob(raw, 0), key->size());
  }
  sqlite3_finalize(raw);
  if (rc != SQLITE_ROW && rc != SQLITE_DONE) Fail("read claim");
  return key;
}

claim::TPublicKey SqliteStore::Claim(std::string_view folded, const claim::TPublicKey& key) {
  sqlite3_stmt* raw = nullptr;
  // OR IGNORE: a nickname claimed first (by a second server on the file) stays with its key.
  if (sqlite3_prepare_v2(db_, "INSERT OR IGNORE INTO claims(name, key, time) VALUES(?1, ?2, ?3)", -1, &raw,
                         nullptr) != SQLITE_OK)
    Fail("prepare");
  BindCp1250(raw, 1, folded);
  sqlite3_bind_blob(raw, 2, key.data(), static_cast<int>(key.size()), SQLITE_TRANSIENT);
  sqlite3_bind_int64(raw, 3, Now());
  const int rc = sqlite3_step(raw);
  sqlite3_finalize(raw);
  if (rc != SQLITE_DONE) Fail("store claim");
  const std::optional<claim::TPublicKey> held = ClaimOf(folded);
  if (!held) Fail("read claim");
  return *held;
}

bool SqliteStore::Release(std::string_view folded) {
  sqlite3_stmt* raw = nullptr;
  if (sqlite3_prepare_v2(db_, "DELETE FROM claims WHERE name=?1", -1, &raw, nullptr) != SQLITE_OK)
    Fail("prepare");
  BindCp1250(raw, 1, folded);
  const int rc = sqlite3_step(raw);
  sqlite3_finalize(raw);
  if (rc != SQLITE_DONE) Fail("release claim");
  return sqlite3_changes(db_) > 0;
}

}  // namespace zn::server
