// Which backend a --db names, and opening it: a postgresql:// or postgres:// URL is a PostgreSQL
// database (a libpq connection string), anything else a SQLite file.
#pragma once

#include <memory>
#include <string>

#include "server/base/Journal.h"
#include "server/store/ClubStore.h"

namespace zn::server {

bool IsDatabaseUrl(const std::string& db);
// db as the log and messages show it: a URL without its password.
std::string StoreName(const std::string& db);
// Whether there is a store at db already: a SQLite file exists (a database is asked for by
// connecting, which OpenStore does).
bool StoreExists(const std::string& db);
// Opens or creates the store and brings its schema up to date. Throws StoreError.
std::unique_ptr<ClubStore> OpenStore(const std::string& db, ClubStore::NowFn now = {});
// The journal's own connection to the same store, opened after OpenStore; store (when given) is
// that store, which then writes a record or a result only after the journal's queued batches. The
// journal goes before the store. Throws StoreError.
std::unique_ptr<JournalStore> OpenJournal(const std::string& db, ClubStore* store = nullptr);

}  // namespace zn::server
