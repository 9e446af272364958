#include "server/store/StoreSchema.h"

#include <iterator>
#include <string>

#include "game/Cp1250.h"
#include "server/base/Store.h"
#include "sqlite/Database.h"

namespace zn::server {

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
    // 9 -> 10: the club's identity, one row, made at the first start (ClubIdentity()), which claim
    // proofs name; when each claimed nickname was last used (a claim unused for long is freed).
    R"(
CREATE TABLE IF NOT EXISTS club_identity(
  id INTEGER PRIMARY KEY CHECK(id = 1),
  identity BLOB NOT NULL CHECK(length(identity) = 32));
ALTER TABLE claims ADD COLUMN used INTEGER NOT NULL DEFAULT 0;
UPDATE claims SET used = time;
CREATE INDEX IF NOT EXISTS claims_used ON claims(used);
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

std::span<const char* const> StoreSchemaSteps() { return kUpgrades; }

void UpgradeStore(const sqlite::Database& db) {
  if (sqlite3_create_function(db.get(), "zn_cp1250_to_utf8", 1, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                              Cp1250ToUtf8Function, nullptr, nullptr) != SQLITE_OK)
    db.Fail("register function");
  db.Upgrade(kUpgrades, [](int found) {
    return "schema version " + std::to_string(found) + " is newer than this server's " +
           std::to_string(std::size(kUpgrades));
  });
}

}  // namespace zn::server
