// The archive's schema: its one table of deals, as the ordered steps that bring a file of any
// earlier version up to date.
#pragma once

namespace zn::sqlite {
class Database;
}

namespace zn {

int ArchiveSchemaVersion();
// Brings the file to the latest version; EZnError for a file of a newer release.
void UpgradeArchive(const sqlite::Database& db);

}  // namespace zn
