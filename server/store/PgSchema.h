// The store's schema in a PostgreSQL database: the same tables as the SQLite file, as the same
// number of ordered steps, so a version means the same tables in both.
#pragma once

#include <span>

namespace zn::server {

namespace pg {
class Connection;
}

std::span<const char* const> PgSchemaSteps();
// The database's version, from the table schema_version (made by the upgrade).
int PgSchemaVersion(pg::Connection& c);
// Brings the database to the latest version, one step a transaction, under a lock that keeps two
// servers starting at once from running a step twice; StoreError for a database of a newer server.
void UpgradePgStore(pg::Connection& c);

}  // namespace zn::server
