// The archive's file across releases: one written before the schema version was kept opens with
// its deals, one of a newer release is refused untouched with a message that says why.
#include <gtest/gtest.h>

#include <sqlite3.h>

#include "game/Cp1250.h"
#include "game/ZnError.h"
#include "record/ArchiveSchema.h"
#include "record/ArchiveStore.h"
#include "tests/dealrecord/DealKit.h"
#include "tests/support/TempDir.h"

namespace zn::test {
namespace {

using namespace zn::literals;

// The SQL on the file with a bare connection, as an earlier release or another tool would; the
// first column of the last row it gives.
std::string Raw(const std::string& path, const std::string& sql) {
  sqlite3* db = nullptr;
  EXPECT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
  std::string value;
  sqlite3_exec(
      db, sql.c_str(),
      [](void* out, int, char** values, char**) {
        *static_cast<std::string*>(out) = values[0] ? values[0] : "";
        return 0;
      },
      &value, nullptr);
  sqlite3_close(db);
  return value;
}

TEST(ArchiveSchema, AFileOfTheFirstReleaseOpensWithItsDeals) {
  TempDir dir;
  const std::string path = dir / "archive.db";
  {
    TArchiveStore store(path);
    store.Keep(dealrecord::test::PlayedDeal(4));
  }
  Raw(path, "PRAGMA user_version=0");  // as the first release left it
  TArchiveStore store(path);
  ASSERT_EQ(store.All().size(), 1u);
  EXPECT_EQ(store.All()[0], dealrecord::test::PlayedDeal(4));
  EXPECT_EQ(Raw(path, "PRAGMA user_version"), std::to_string(ArchiveSchemaVersion()));
}

TEST(ArchiveSchema, AFileOfANewerReleaseIsRefusedUntouched) {
  TempDir dir;
  const std::string path = dir / "archive.db";
  TArchiveStore(path).Keep(dealrecord::test::PlayedDeal(4));
  const std::string newer = std::to_string(ArchiveSchemaVersion() + 1);
  Raw(path, "PRAGMA user_version=" + newer);
  try {
    TArchiveStore store(path);
    ADD_FAILURE() << "opened";
  } catch (const EZnError& e) {
    EXPECT_NE(std::string(e.what()).find(std::string("újabb kiadása írta ("_cp) + newer), std::string::npos)
        << Cp1250ToUtf8(e.what());
  }
  EXPECT_EQ(Raw(path, "PRAGMA user_version"), newer);
  EXPECT_EQ(Raw(path, "SELECT COUNT(*) FROM deals"), "1");
}

}  // namespace
}  // namespace zn::test
