#include "server/store/OpenStore.h"

#include <sys/stat.h>

#include <algorithm>

#include "server/store/PgJournal.h"
#include "server/store/PgStore.h"
#include "server/store/SqliteJournal.h"
#include "server/store/SqliteStore.h"

namespace zn::server {

bool IsDatabaseUrl(const std::string& db) {
  return db.starts_with("postgresql://") || db.starts_with("postgres://");
}

std::string StoreName(const std::string& db) {
  if (!IsDatabaseUrl(db)) return db;
  std::string shown = db;
  const std::size_t from = shown.find("://") + 3;
  // The user's part ends at the last "@" before the path (a password may hold one).
  const std::size_t path = std::min(shown.find_first_of("/?", from), shown.size());
  const std::size_t at = shown.rfind('@', path);
  const std::size_t colon = shown.find(':', from);
  if (at != std::string::npos && at >= from && colon < at)
    shown = shown.substr(0, colon) + ":***" + shown.substr(at);
  // A password among the parameters, to its end.
  for (std::size_t key = shown.find("password="); key != std::string::npos;
       key = shown.find("password=", key + 1)) {
    const std::size_t value = key + 9;
    shown.replace(value, std::min(shown.find('&', value), shown.size()) - value, "***");
  }
  return shown;
}

bool StoreExists(const std::string& db) {
  if (IsDatabaseUrl(db)) return true;
  struct stat info {};
  return ::stat(db.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::unique_ptr<ClubStore> OpenStore(const std::string& db, ClubStore::NowFn now) {
  if (IsDatabaseUrl(db)) return std::make_unique<PgStore>(db, std::move(now));
  return std::make_unique<SqliteStore>(db, std::move(now));
}

std::unique_ptr<JournalStore> OpenJournal(const std::string& db, ClubStore* store) {
  if (IsDatabaseUrl(db)) return std::make_unique<PgJournal>(db, dynamic_cast<PgStore*>(store));
  return std::make_unique<SqliteJournal>(db);
}

}  // namespace zn::server
