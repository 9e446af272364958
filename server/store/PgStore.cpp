#include "server/store/PgStore.h"

#include <algorithm>
#include <cstring>
#include <ctime>

#include "game/Cp1250.h"
#include "server/base/DealKey.h"
#include "server/store/PgSchema.h"

namespace zn::server {

namespace {

std::string_view AsBytes(const auto& array) {
  return std::string_view(reinterpret_cast<const char*>(array.data()), array.size());
}

// A fixed-size secret from a bytea column; none when the column is NULL or of another length.
template <typename Array>
std::optional<Array> BytesOf(const pg::Result& r, int row, int column) {
  std::optional<Array> value;
  if (r.Rows() <= row || r.IsNull(row, column)) return value;
  const std::string bytes = r.Bytes(row, column);
  if (bytes.size() != std::tuple_size_v<Array>) return value;
  value.emplace();
  std::memcpy(value->data(), bytes.data(), value->size());
  return value;
}

}  // namespace

// The durability of the SQLite file's, whatever the database server's default: every commit is in
// the database server when the call returns (a crash of this server loses nothing), and a result's
// commit also waits for its disk (and its synchronous standbys, where the operator has them) before
// it is announced; that wait makes everything committed before it lasting too.
PgStore::PgStore(const std::string& conninfo, NowFn now)
    : db_(conninfo, "", "SET synchronous_commit TO off"), now_(std::move(now)) {
  UpgradePgStore(db_);
  const pg::Result last = db_.Exec(
      "read the last ids",
      "SELECT (SELECT COALESCE(MAX(id), 0) FROM results), (SELECT COALESCE(MAX(id), 0) FROM deal_records)");
  lastResult_ = last.Int(0, 0);
  lastRecord_ = last.Int(0, 1);
}

std::int64_t PgStore::Now() const { return now_ ? now_() : static_cast<std::int64_t>(std::time(nullptr)); }

int PgStore::SchemaVersion() { return PgSchemaVersion(db_); }

int PgStore::DropIdleRooms(std::int64_t idleSeconds) {
  return static_cast<int>(db_.Exec("drop idle rooms", "DELETE FROM rooms WHERE last_human < $1",
                                   pg::Params().Int(Now() - idleSeconds))
                              .Changed());
}

deal::DealKey PgStore::DealKey() {
  const auto read = [this] {
    return BytesOf<deal::DealKey>(db_.Exec("read deal key", "SELECT key FROM deal_key WHERE id=1"), 0, 0);
  };
  if (const auto key = read()) return *key;
  const deal::DealKey made = NewDealKey();
  // DO NOTHING: a second server on the same database that got there first keeps its key.
  db_.Exec("store deal key", "INSERT INTO deal_key(id, key) VALUES(1, $1) ON CONFLICT DO NOTHING",
           pg::Params().Bytes(AsBytes(made)));
  const auto key = read();
  if (!key) db_.Refuse("read deal key");
  return *key;
}

int PgStore::ResultCount(std::int64_t room) {
  return static_cast<int>(
      db_.Exec("count results", "SELECT COUNT(*) FROM results WHERE room=$1", pg::Params().Int(room))
          .Int(0, 0));
}

std::vector<StoredRoom> PgStore::LoadRooms() {
  const pg::Result r = db_.Exec("load rooms", "SELECT id, name, option, played FROM rooms ORDER BY id");
  std::vector<StoredRoom> rooms;
  for (int i = 0; i < r.Rows(); ++i)
    rooms.push_back(
        {r.Int(i, 0), Utf8ToCp1250(r.Text(i, 1)), r.Int(i, 2) != 0, static_cast<std::int32_t>(r.Int(i, 3))});
  return rooms;
}

std::int64_t PgStore::CreateRoom(std::string_view name) {
  return db_
      .Exec("create room", "INSERT INTO rooms(name, last_human) VALUES($1, $2) RETURNING id",
            pg::Params().Text(Cp1250ToUtf8(name)).Int(Now()))
      .Int(0, 0);
}

void PgStore::SetOption(std::int64_t room, bool on) {
  db_.Exec("set option", "UPDATE rooms SET option=$2 WHERE id=$1", pg::Params().Int(room).Int(on ? 1 : 0));
}

void PgStore::SetPlayed(std::int64_t room, std::int32_t played) {
  db_.Exec("set counter", "UPDATE rooms SET played=$2 WHERE id=$1", pg::Params().Int(room).Int(played));
}

std::optional<deal::MatchSecret> PgStore::MatchSecretOf(std::int64_t room) {
  return BytesOf<deal::MatchSecret>(
      db_.Exec("read match", "SELECT match_secret FROM rooms WHERE id=$1", pg::Params().Int(room)), 0, 0);
}

void PgStore::StartMatch(std::int64_t room, const deal::MatchSecret& secret, bool newMatch) {
  db_.Exec("start match",
           newMatch ? "UPDATE rooms SET match_secret=$2, played=0 WHERE id=$1"
                    : "UPDATE rooms SET match_secret=$2 WHERE id=$1",
           pg::Params().Int(room).Bytes(AsBytes(secret)));
}

std::int32_t PgStore::AddResult(const StoredResult& r) {
  pg::Transaction t(db_);
  db_.Run("add result", "SET LOCAL synchronous_commit TO on");
  // A commit whose answer was lost with the connection may have been done: the retry of that
  // result finds its record marked already and stores it no second time.
  if (r.record != 0) {
    const pg::Result marked = db_.Exec("read deal", "SELECT result FROM deal_records WHERE id=$1 FOR UPDATE",
                                       pg::Params().Int(r.record));
    if (marked.Rows() == 1 && !marked.IsNull(0, 0)) {
      const pg::Result played =
          db_.Exec("read counter", "SELECT played FROM rooms WHERE id=$1", pg::Params().Int(r.room));
      if (played.Rows() != 1) db_.Refuse("read counter: no room " + std::to_string(r.room));
      t.Commit();
      return static_cast<std::int32_t>(played.Int(0, 0));
    }
  }
  pg::Params p;
  p.Int(r.room).Int(r.deal).Int(r.points14).Int(r.points23);
  for (const std::string& seat : r.seats) p.Text(Cp1250ToUtf8(seat));
  p.Int(Now());
  const std::int64_t id =
      db_.Exec(
             "add result",
             "INSERT INTO results(room, room_name, deal, points14, points23, seat1, seat2, seat3, seat4, "
             "time) "
             "VALUES($1, COALESCE((SELECT name FROM rooms WHERE id=$1), ''), $2, $3, $4, $5, $6, $7, $8, $9) "
             "RETURNING id",
             p)
          .Int(0, 0);
  lastResult_ = std::max(lastResult_, id);
  if (r.record != 0)
    db_.Exec("mark deal", "UPDATE deal_records SET result=$2 WHERE id=$1",
             pg::Params().Int(r.record).Int(id));
  const pg::Result played =
      db_.Exec("count result", "UPDATE rooms SET played=played+1 WHERE id=$1 RETURNING played",
               pg::Params().Int(r.room));
  if (played.Rows() != 1) db_.Refuse("read counter: no room " + std::to_string(r.room));
  const auto count = static_cast<std::int32_t>(played.Int(0, 0));
  t.Commit();
  return count;
}

void PgStore::TouchRoom(std::int64_t room) {
  db_.Exec("touch room", "UPDATE rooms SET last_human=$2 WHERE id=$1", pg::Params().Int(room).Int(Now()));
}

void PgStore::DropRoom(std::int64_t room) {
  db_.Exec("drop room", "DELETE FROM rooms WHERE id=$1", pg::Params().Int(room));
}

std::optional<claim::TPublicKey> PgStore::ClaimOf(std::string_view folded) {
  return BytesOf<claim::TPublicKey>(
      db_.Exec("read claim", "SELECT key FROM claims WHERE name=$1", pg::Params().Text(Cp1250ToUtf8(folded))),
      0, 0);
}

claim::TPublicKey PgStore::Claim(std::string_view folded, const claim::TPublicKey& key) {
  // DO NOTHING: a nickname claimed first (by a second server on the database) stays with its key.
  db_.Exec("store claim",
           "INSERT INTO claims(name, key, time, used) VALUES($1, $2, $3, $3) ON CONFLICT DO NOTHING",
           pg::Params().Text(Cp1250ToUtf8(folded)).Bytes(AsBytes(key)).Int(Now()));
  const std::optional<claim::TPublicKey> held = ClaimOf(folded);
  if (!held) db_.Refuse("read claim");
  return *held;
}

bool PgStore::Release(std::string_view folded) {
  return db_.Exec("release claim", "DELETE FROM claims WHERE name=$1",
                  pg::Params().Text(Cp1250ToUtf8(folded)))
             .Changed() > 0;
}

void PgStore::MarkUsed(std::string_view folded) {
  db_.Exec("mark claim used", "UPDATE claims SET used=$2 WHERE name=$1",
           pg::Params().Text(Cp1250ToUtf8(folded)).Int(Now()));
}

std::size_t PgStore::ReleaseUnused(std::int64_t unusedSeconds) {
  return static_cast<std::size_t>(db_.Exec("release unused claims", "DELETE FROM claims WHERE used < $1",
                                           pg::Params().Int(Now() - unusedSeconds))
                                      .Changed());
}

// Kept, not derived, like the deal key: a second server on the same database keeps the first one's.
claim::TClubId PgStore::ClubIdentity() {
  const auto read = [this] {
    return BytesOf<claim::TClubId>(
        db_.Exec("read club identity", "SELECT identity FROM club_identity WHERE id=1"), 0, 0);
  };
  if (const auto id = read()) return *id;
  const claim::TClubId made = claim::NewClubId();
  db_.Exec("store club identity",
           "INSERT INTO club_identity(id, identity) VALUES(1, $1) ON CONFLICT DO NOTHING",
           pg::Params().Bytes(AsBytes(made)));
  const auto id = read();
  if (!id) db_.Refuse("read club identity");
  return *id;
}

}  // namespace zn::server
