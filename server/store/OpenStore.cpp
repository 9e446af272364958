#include "server/store/OpenStore.h"

#include <sys/stat.h>

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
  const std::size_t from = db.find("://") + 3;
  const std::size_t at = db.find('@', from);
  const std::size_t colon = db.find(':', from);
  if (at == std::string::npos || colon == std::string::npos || colon > at) return db;
  return db.substr(0, colon) + ":***" + db.substr(at);
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
