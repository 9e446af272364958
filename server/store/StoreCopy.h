// znserver --copy-store: a whole club moved from one store to another (a SQLite file and a
// PostgreSQL database, either way), for a club that changes backends.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "server/store/ClubStore.h"

namespace zn::server {

struct CopiedTable {
  std::string name;
  std::int64_t rows = 0;
  std::string checksum;  // hex: BLAKE2b over the table's rows in key order
};

// Copies every table of from into to, in one transaction of to's. Refuses a target that holds any
// row. Before committing, counts and checksums every table as read back from the target against
// the source's, and carries over the id counters (a dropped room's id is never handed out again).
// Throws StoreError and leaves the target as it was when anything fails or differs. Stop the
// server on the source first: rows written meanwhile may be missed.
std::vector<CopiedTable> CopyStore(ClubStore& from, ClubStore& to);

// The checksum of one table as CopyStore computes it (also what a check after the copy compares).
CopiedTable ChecksumTable(ClubStore& store, const StoreTable& table);

}  // namespace zn::server
