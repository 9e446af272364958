#include "server/store/SqliteStore.h"

#include <cstring>
#include <ctime>
#include <string>

#include "server/base/DealKey.h"
#include "server/store/SqliteText.h"
#include "server/store/StoreSchema.h"

namespace zn::server {

struct SqliteStore::Kept {
  explicit Kept(const sqlite::Database& db)
      : createRoom(db, "INSERT INTO rooms(name, last_human) VALUES(?1, ?2)", true),
        setOption(db, "UPDATE rooms SET option=?2 WHERE id=?1", true),
        setPlayed(db, "UPDATE rooms SET played=?2 WHERE id=?1", true),
        bumpPlayed(db, "UPDATE rooms SET played=played+1 WHERE id=?1", true),
        getPlayed(db, "SELECT played FROM rooms WHERE id=?1", true),
        addResult(
            db,
            "INSERT INTO results(room, room_name, deal, points14, points23, seat1, seat2, seat3, seat4, "
            "time) VALUES(?1, COALESCE((SELECT name FROM rooms WHERE id=?1), ''), ?2, ?3, ?4, ?5, ?6, ?7, "
            "?8, ?9)",
            true),
        touch(db, "UPDATE rooms SET last_human=?2 WHERE id=?1", true),
        dropRoom(db, "DELETE FROM rooms WHERE id=?1", true) {}
  sqlite::Statement createRoom, setOption, setPlayed, bumpPlayed, getPlayed, addResult, touch, dropRoom;
};

namespace {

void RaiseStoreError(const std::string& what, const std::string& why) {
  throw StoreError(why.empty() ? what : what + ": " + why);
}

}  // namespace

SqliteStore::SqliteStore(const std::string& path, NowFn now)
    : db_(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX, "cannot open " + path,
          RaiseStoreError),
      now_(std::move(now)) {
  db_.Exec("PRAGMA journal_mode=WAL");
  // WAL with NORMAL: a commit is in the log file when the call returns, so a crash of the
  // server loses nothing it has announced.
  db_.Exec("PRAGMA synchronous=NORMAL");
  UpgradeStore(db_);
  kept_ = std::make_unique<Kept>(db_);
}

SqliteStore::~SqliteStore() = default;

std::int64_t SqliteStore::Now() const {
  return now_ ? now_() : static_cast<std::int64_t>(std::time(nullptr));
}

int SqliteStore::SchemaVersion() { return db_.UserVersion(); }

int SqliteStore::LatestSchemaVersion() { return static_cast<int>(StoreSchemaSteps().size()); }

int SqliteStore::DropIdleRooms(std::int64_t idleSeconds) {
  const sqlite::Statement s(db_, "DELETE FROM rooms WHERE last_human < ?1");
  s.Bind(1, Now() - idleSeconds);
  s.Run("drop idle rooms");
  return sqlite3_changes(db_.get());
}

// The key is kept, not derived: a lost key only changes which cards future numbers give.
deal::DealKey SqliteStore::DealKey() {
  const auto read = [this](deal::DealKey& key) {
    const sqlite::Statement s(db_, "SELECT key FROM deal_key WHERE id=1");
    if (!s.Step("read deal key")) return false;
    const std::string blob = s.Blob(0);
    if (blob.size() != key.size()) return false;
    std::memcpy(key.data(), blob.data(), key.size());
    return true;
  };
  deal::DealKey key{};
  if (read(key)) return key;
  key = NewDealKey();
  {
    // OR IGNORE: a second server on the same file that got there first keeps its key.
    const sqlite::Statement s(db_, "INSERT OR IGNORE INTO deal_key(id, key) VALUES(1, ?1)");
    s.BindBlob(1, std::string_view(reinterpret_cast<const char*>(key.data()), key.size()));
    s.Run("store deal key");
  }
  if (!read(key)) db_.Fail("read deal key");
  return key;
}

void SqliteStore::Flush() { db_.Exec("PRAGMA wal_checkpoint(TRUNCATE)"); }

int SqliteStore::ResultCount(std::int64_t room) {
  const sqlite::Statement s(db_, "SELECT COUNT(*) FROM results WHERE room=?1");
  s.Bind(1, room);
  return s.Step("count results") ? s.Int(0) : -1;
}

std::vector<StoredRoom> SqliteStore::LoadRooms() {
  std::vector<StoredRoom> rooms;
  const sqlite::Statement s(db_, "SELECT id, name, option, played FROM rooms ORDER BY id");
  while (s.Step("load rooms")) {
    StoredRoom r;
    r.id = s.Int64(0);
    r.name = ColumnCp1250(s.get(), 1);
    r.option = s.Int(2) != 0;
    r.played = s.Int(3);
    rooms.push_back(std::move(r));
  }
  return rooms;
}

std::int64_t SqliteStore::CreateRoom(std::string_view name) {
  const sqlite::Use s(kept_->createRoom);
  BindCp1250(s.get(), 1, name);
  s->Bind(2, Now());
  s->Run("create room");
  return sqlite3_last_insert_rowid(db_.get());
}

void SqliteStore::SetOption(std::int64_t room, bool on) {
  const sqlite::Use s(kept_->setOption);
  s->Bind(1, room);
  s->Bind(2, on ? 1 : 0);
  s->Run("set option");
}

void SqliteStore::SetPlayed(std::int64_t room, std::int32_t played) {
  const sqlite::Use s(kept_->setPlayed);
  s->Bind(1, room);
  s->Bind(2, played);
  s->Run("set counter");
}

std::int32_t SqliteStore::AddResult(const StoredResult& r) {
  // The server echoes "F" once this returns: the commit must reach the disk, not only the
  // operating system, so that a power cut cannot take back a result the members saw written down.
  db_.Exec("PRAGMA synchronous=FULL");
  struct Relax {
    const sqlite::Database& db;
    ~Relax() { sqlite3_exec(db.get(), "PRAGMA synchronous=NORMAL", nullptr, nullptr, nullptr); }
  } relax{db_};
  sqlite::Transaction t(db_);
  {
    const sqlite::Use s(kept_->addResult);
    s->Bind(1, r.room);
    s->Bind(2, r.deal);
    s->Bind(3, r.points14);
    s->Bind(4, r.points23);
    for (int i = 0; i < 4; ++i) BindCp1250(s.get(), 5 + i, r.seats[static_cast<std::size_t>(i)]);
    s->Bind(9, Now());
    s->Run("add result");
  }
  if (r.record != 0) MarkRecord(r.record, sqlite3_last_insert_rowid(db_.get()));
  {
    const sqlite::Use s(kept_->bumpPlayed);
    s->Bind(1, r.room);
    s->Run("count result");
  }
  std::int32_t played = 0;
  {
    const sqlite::Use s(kept_->getPlayed);
    s->Bind(1, r.room);
    if (!s->Step("read counter")) db_.Fail("read counter");
    played = s->Int(0);
  }
  t.Commit();
  return played;
}

void SqliteStore::TouchRoom(std::int64_t room) {
  const sqlite::Use s(kept_->touch);
  s->Bind(1, room);
  s->Bind(2, Now());
  s->Run("touch room");
}

void SqliteStore::DropRoom(std::int64_t room) {
  const sqlite::Use s(kept_->dropRoom);
  s->Bind(1, room);
  s->Run("drop room");
}

// Claims are read once a login and written once a nickname: statements made on the spot.
std::optional<claim::TPublicKey> SqliteStore::ClaimOf(std::string_view folded) {
  const sqlite::Statement s(db_, "SELECT key FROM claims WHERE name=?1");
  BindCp1250(s.get(), 1, folded);
  std::optional<claim::TPublicKey> key;
  if (!s.Step("read claim")) return key;
  const std::string blob = s.Blob(0);
  if (blob.size() != claim::kKeyBytes) return key;
  key.emplace();
  std::memcpy(key->data(), blob.data(), key->size());
  return key;
}

claim::TPublicKey SqliteStore::Claim(std::string_view folded, const claim::TPublicKey& key) {
  {
    // OR IGNORE: a nickname claimed first (by a second server on the file) stays with its key.
    const sqlite::Statement s(db_,
                              "INSERT OR IGNORE INTO claims(name, key, time, used) VALUES(?1, ?2, ?3, ?3)");
    BindCp1250(s.get(), 1, folded);
    s.BindBlob(2, std::string_view(reinterpret_cast<const char*>(key.data()), key.size()));
    s.Bind(3, Now());
    s.Run("store claim");
  }
  const std::optional<claim::TPublicKey> held = ClaimOf(folded);
  if (!held) db_.Fail("read claim");
  return *held;
}

bool SqliteStore::Release(std::string_view folded) {
  const sqlite::Statement s(db_, "DELETE FROM claims WHERE name=?1");
  BindCp1250(s.get(), 1, folded);
  s.Run("release claim");
  return sqlite3_changes(db_.get()) > 0;
}

void SqliteStore::MarkUsed(std::string_view folded) {
  const sqlite::Statement s(db_, "UPDATE claims SET used=?2 WHERE name=?1");
  BindCp1250(s.get(), 1, folded);
  s.Bind(2, Now());
  s.Run("mark claim used");
}

std::size_t SqliteStore::ReleaseUnused(std::int64_t unusedSeconds) {
  const sqlite::Statement s(db_, "DELETE FROM claims WHERE used < ?1");
  s.Bind(1, Now() - unusedSeconds);
  s.Run("release unused claims");
  return static_cast<std::size_t>(sqlite3_changes(db_.get()));
}

// Kept, not derived, like the deal key: a second server on the same file keeps the first one's.
claim::TClubId SqliteStore::ClubIdentity() {
  const auto read = [this](claim::TClubId& id) {
    const sqlite::Statement s(db_, "SELECT identity FROM club_identity WHERE id=1");
    if (!s.Step("read club identity")) return false;
    const std::string blob = s.Blob(0);
    if (blob.size() != id.size()) return false;
    std::memcpy(id.data(), blob.data(), id.size());
    return true;
  };
  claim::TClubId id{};
  if (read(id)) return id;
  id = claim::NewClubId();
  {
    const sqlite::Statement s(db_, "INSERT OR IGNORE INTO club_identity(id, identity) VALUES(1, ?1)");
    s.BindBlob(1, std::string_view(reinterpret_cast<const char*>(id.data()), id.size()));
    s.Run("store club identity");
  }
  if (!read(id)) db_.Fail("read club identity");
  return id;
}

}  // namespace zn::server
