// znserver --export: the kept deals written in the open format (docs/deal-format.md).
#pragma once

#include <cstdint>
#include <string>

#include "server/store/ClubStore.h"

namespace zn::server {

struct ExportOptions {
  std::string file;
  std::int64_t since = 0;  // deals that ended at or after this time (seconds since the epoch)
  // Human nicknames become "játékos1", "játékos2", ... and room names "terem1", "terem2", ...
  // throughout the file.
  bool anonymise = false;
};

// Writes the deals and returns how many. The file appears whole or not at all: written first to a
// new file of its own beside it (created exclusively, mode 0600, never through a link) and renamed.
// Throws StoreError (the store) or std::runtime_error (the file).
std::size_t ExportRecords(ClubStore& store, const ExportOptions& options);
// The same from the store db (a file, which must exist: a mistyped --db creates nothing; or a
// database URL).
std::size_t ExportStore(const std::string& db, const ExportOptions& options);

}  // namespace zn::server
