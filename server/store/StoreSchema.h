// The store's schema: every table of the club's SQLite file (rooms and results, the deal key, the
// journal of running deals, claimed nicknames, the club's identity, the kept deals), as the ordered steps
// that bring a file of any earlier version up to date.
#pragma once

#include <span>

namespace zn::sqlite {
class Database;
}

namespace zn::server {

std::span<const char* const> StoreSchemaSteps();
// Brings the file to the latest version; StoreError for a file of a newer server.
void UpgradeStore(const sqlite::Database& db);

}  // namespace zn::server
