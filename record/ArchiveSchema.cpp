#include "record/ArchiveSchema.h"

#include <iterator>
#include <string>

#include "game/Cp1250.h"
#include "sqlite/Database.h"

namespace zn {

using namespace zn::literals;

namespace {

// Step i brings a file of version i to version i + 1 (PRAGMA user_version). Archives written
// before the version was kept are of version 0 and already hold the table: the first step suits
// both (IF NOT EXISTS). Never change a step once released: add the next one.
constexpr const char* kUpgrades[] = {
    // 0 -> 1: the deals, each as its block of the open format beside the columns the list shows.
    R"(
CREATE TABLE IF NOT EXISTS deals(
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  time INTEGER NOT NULL,
  room TEXT NOT NULL,
  deal INTEGER NOT NULL,
  seat1 TEXT NOT NULL, seat2 TEXT NOT NULL, seat3 TEXT NOT NULL, seat4 TEXT NOT NULL,
  written INTEGER NOT NULL,
  points14 INTEGER NOT NULL,
  points23 INTEGER NOT NULL,
  block TEXT NOT NULL);
CREATE INDEX IF NOT EXISTS deals_time ON deals(time);
)",
};

}  // namespace

int ArchiveSchemaVersion() { return static_cast<int>(std::size(kUpgrades)); }

void UpgradeArchive(const sqlite::Database& db) {
  db.Upgrade(kUpgrades, [](int found) {
    return std::string("az archívumot a program egy újabb kiadása írta ("_cp) + std::to_string(found) +
           std::string(". változat, ez a kiadás a "_cp) + std::to_string(ArchiveSchemaVersion()) +
           std::string(".-ig ismeri); frissítse a programot"_cp);
  });
}

}  // namespace zn
