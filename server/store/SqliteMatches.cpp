// The secret of each room's current match, in the rooms table: read when a room orders its first
// deal after a start, replaced by "D0". Statements made on the spot: a match starts rarely.
#include <sqlite3.h>

#include <cstring>

#include "server/store/SqliteStore.h"

namespace zn::server {

std::optional<deal::MatchSecret> SqliteStore::MatchSecretOf(std::int64_t room) {
  sqlite3_stmt* raw = nullptr;
  if (sqlite3_prepare_v2(db_, "SELECT match_secret FROM rooms WHERE id=?1", -1, &raw, nullptr) != SQLITE_OK)
    Fail("prepare");
  sqlite3_bind_int64(raw, 1, room);
  std::optional<deal::MatchSecret> secret;
  const int rc = sqlite3_step(raw);
  if (rc == SQLITE_ROW && sqlite3_column_bytes(raw, 0) == static_cast<int>(deal::kMatchSecretBytes)) {
    secret.emplace();
    std::memcpy(secret->data(), sqlite3_column_blob(raw, 0), secret->size());
  }
  sqlite3_finalize(raw);
  if (rc != SQLITE_ROW && rc != SQLITE_DONE) Fail("read match");
  return secret;
}

void SqliteStore::StartMatch(std::int64_t room, const deal::MatchSecret& secret, bool newMatch) {
  sqlite3_stmt* raw = nullptr;
  const char* sql = newMatch ? "UPDATE rooms SET match_secret=?2, played=0 WHERE id=?1"
                             : "UPDATE rooms SET match_secret=?2 WHERE id=?1";
  if (sqlite3_prepare_v2(db_, sql, -1, &raw, nullptr) != SQLITE_OK) Fail("prepare");
  sqlite3_bind_int64(raw, 1, room);
  sqlite3_bind_blob(raw, 2, secret.data(), static_cast<int>(secret.size()), SQLITE_TRANSIENT);
  const int rc = sqlite3_step(raw);
  sqlite3_finalize(raw);
  if (rc != SQLITE_DONE) Fail("start match");
}

}  // namespace zn::server
