// znserver --export: the kept deals written in the open format (docs/deal-format.md).
#pragma once

#include <cstdint>
#include <string>

#include "server/store/SqliteStore.h"

namespace zn::server {

struct ExportOptions {
  std::string file;
  std::int64_t since = 0;  // deals that ended at or after this time (seconds since the epoch)
  bool anonymise = false;  // human nicknames become "játékos1", "játékos2", ... throughout the file
};

// Writes the deals and returns how many. The file appears whole or not at all: written beside it
// first and renamed. Throws StoreError (the store) or std::runtime_error (the file).
std::size_t ExportRecords(SqliteStore& store, const ExportOptions& options);

}  // namespace zn::server
