// The store's backends for the tests that hold both to one contract: each gives a new, empty store
// of its kind that a test opens as often as it likes (a server restarting on it), and raw SQL on it
// as another tool would. The PostgreSQL one makes a schema of its own in the database the ctest
// fixture started (tests/server/pg-cluster) and drops it at the end; without that database its
// tests fail, they do not skip.
#pragma once

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "server/store/OpenStore.h"

namespace zn::server::test {

class Backend {
 public:
  virtual ~Backend() = default;
  // What --db names.
  virtual std::string Db() const = 0;
  // Runs statements without results.
  virtual void Sql(const std::string& sql) = 0;
  // The first column of a query's rows, as text.
  virtual std::vector<std::string> Column(const std::string& sql) = 0;
  virtual void SetSchemaVersion(int version) = 0;
  // The store's tables (without the backend's own bookkeeping), and a table's columns in order.
  virtual std::vector<std::string> Tables() = 0;
  virtual std::vector<std::string> Columns(const std::string& table) = 0;

  std::unique_ptr<ClubStore> Open(ClubStore::NowFn now = {}) const { return OpenStore(Db(), std::move(now)); }
  std::unique_ptr<JournalStore> Journal(ClubStore* store = nullptr) const { return OpenJournal(Db(), store); }
};

struct BackendKind {
  std::string name;
  // Throws with the reason when the backend cannot be had.
  std::function<std::unique_ptr<Backend>()> make;
};

inline void PrintTo(const BackendKind& kind, std::ostream* os) { *os << kind.name; }

BackendKind SqliteBackend();
BackendKind PostgresBackend();
std::vector<BackendKind> AllBackends();

}  // namespace zn::server::test
