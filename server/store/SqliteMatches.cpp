// The secret of each room's current match, in the rooms table: read when a room orders its first
// deal after a start, replaced by "D0". Statements made on the spot: a match starts rarely.
#include <cstring>

#include "server/store/SqliteStore.h"

namespace zn::server {

std::optional<deal::MatchSecret> SqliteStore::MatchSecretOf(std::int64_t room) {
  const sqlite::Statement s(db_, "SELECT match_secret FROM rooms WHERE id=?1");
  s.Bind(1, room);
  std::optional<deal::MatchSecret> secret;
  if (!s.Step("read match")) return secret;
  const std::string blob = s.Blob(0);
  if (blob.size() != deal::kMatchSecretBytes) return secret;
  secret.emplace();
  std::memcpy(secret->data(), blob.data(), secret->size());
  return secret;
}

void SqliteStore::StartMatch(std::int64_t room, const deal::MatchSecret& secret, bool newMatch) {
  const sqlite::Statement s(db_, newMatch ? "UPDATE rooms SET match_secret=?2, played=0 WHERE id=?1"
                                          : "UPDATE rooms SET match_secret=?2 WHERE id=?1");
  s.Bind(1, room);
  s.BindBlob(2, std::string_view(reinterpret_cast<const char*>(secret.data()), secret.size()));
  s.Run("start match");
}

}  // namespace zn::server
