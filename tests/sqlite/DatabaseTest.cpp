// The SQLite helper: schema steps that commit whole with their version, transactions that roll
// back unless committed, kept statements clean after a failed call, and every failure raised with
// the owner's words and SQLite's reason.
#include <gtest/gtest.h>

#include <stdexcept>

#include "sqlite/Database.h"
#include "tests/support/TempDir.h"

namespace zn::sqlite {
namespace {

struct Raised : std::runtime_error {
  Raised(const std::string& what, const std::string& why) : std::runtime_error(what), why(why) {}
  std::string why;
};

void Throw(const std::string& what, const std::string& why) { throw Raised(what, why); }

class DatabaseTest : public ::testing::Test {
 protected:
  std::unique_ptr<Database> Open() {
    return std::make_unique<Database>(path_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, "open", Throw);
  }
  std::int64_t Count(const Database& db) {
    const Statement s(db, "SELECT COUNT(*) FROM t");
    return s.Step("count") ? s.Int64(0) : -1;
  }
  test::TempDir dir_;
  std::string path_ = dir_ / "a.db";
};

constexpr const char* kSteps[] = {
    "CREATE TABLE t(x INTEGER NOT NULL);",
    "INSERT INTO t VALUES(1);",
    "INSERT INTO t VALUES(2);",
};

struct UpgradeCase {
  const char* name;
  int from;           // the file's version before
  int steps;          // how many steps this program knows
  int version;        // the file's version after
  std::int64_t rows;  // rows in t after
  bool refused;
};
void PrintTo(const UpgradeCase& c, std::ostream* os) { *os << c.name; }

class UpgradeTest : public DatabaseTest, public ::testing::WithParamInterface<UpgradeCase> {};

TEST_P(UpgradeTest, StepsRunInOrderFromTheFilesVersion) {
  const UpgradeCase& c = GetParam();
  {
    auto db = Open();
    db->Upgrade(std::span(kSteps).first(static_cast<std::size_t>(c.from)), [](int) { return ""; });
  }
  auto db = Open();
  const auto upgrade = [&] {
    db->Upgrade(std::span(kSteps).first(static_cast<std::size_t>(c.steps)),
                [](int found) { return "newer " + std::to_string(found); });
  };
  if (c.refused) {
    try {
      upgrade();
      ADD_FAILURE() << "not refused";
    } catch (const Raised& e) {
      EXPECT_EQ(std::string(e.what()), "newer " + std::to_string(c.from));
      EXPECT_EQ(e.why, "");
    }
  } else {
    upgrade();
  }
  EXPECT_EQ(db->UserVersion(), c.version);
  if (c.version > 0) {
    EXPECT_EQ(Count(*db), c.rows);
  }
}

INSTANTIATE_TEST_SUITE_P(Files, UpgradeTest,
                         ::testing::Values(UpgradeCase{"New", 0, 3, 3, 2, false},
                                           UpgradeCase{"OneStepBehind", 2, 3, 3, 2, false},
                                           UpgradeCase{"Current", 3, 3, 3, 2, false},
                                           UpgradeCase{"Newer", 3, 2, 3, 2, true}));

// A step that fails leaves the file at the last whole step: its half-done work is rolled back
// together with the version number.
TEST_F(DatabaseTest, AFailingStepLeavesTheLastWholeStep) {
  auto db = Open();
  const char* steps[] = {kSteps[0], kSteps[1], "INSERT INTO t VALUES(3); INSERT INTO t VALUES(NULL);"};
  EXPECT_THROW(db->Upgrade(steps, [](int) { return ""; }), Raised);
  EXPECT_EQ(db->UserVersion(), 2);
  EXPECT_EQ(Count(*db), 1);
}

TEST_F(DatabaseTest, ATransactionKeepsItsWorkOnlyWhenCommitted) {
  auto db = Open();
  db->Exec("CREATE TABLE t(x INTEGER)");
  {
    Transaction t(*db);
    db->Exec("INSERT INTO t VALUES(1)");
  }
  EXPECT_EQ(Count(*db), 0);
  {
    Transaction t(*db);
    db->Exec("INSERT INTO t VALUES(1)");
    t.Commit();
  }
  EXPECT_EQ(Count(*db), 1);
}

// A kept statement whose call failed half-way is reset and unbound for the next call.
TEST_F(DatabaseTest, AKeptStatementIsCleanAfterAFailedCall) {
  auto db = Open();
  db->Exec("CREATE TABLE t(x INTEGER NOT NULL UNIQUE)");
  const Statement insert(*db, "INSERT INTO t VALUES(?1)", true);
  const Statement select(*db, "SELECT x FROM t ORDER BY x", true);
  try {
    const Use s(select);
    ASSERT_FALSE(s->Step("read"));
    const Use i(insert);
    i->Bind(1, 5);
    i->Run("insert");
    const Use again(insert);
    again->Bind(1, 5);
    again->Run("insert twice");
    ADD_FAILURE() << "the second insert was not refused";
  } catch (const Raised& e) {
    EXPECT_EQ(std::string(e.what()), "insert twice");
    EXPECT_NE(e.why.find("UNIQUE"), std::string::npos) << e.why;
  }
  {
    const Use i(insert);  // unbound: NULL is refused, not the old 5 inserted again
    EXPECT_THROW(i->Run("insert unbound"), Raised);
  }
  const Use s(select);
  ASSERT_TRUE(s->Step("read"));
  EXPECT_EQ(s->Int(0), 5);
  EXPECT_FALSE(s->Step("read"));
}

TEST_F(DatabaseTest, FailuresCarryTheOwnersWordsAndSqlitesReason) {
  try {
    Database db(dir_ / "no/such/folder.db", SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, "cannot open", Throw);
    ADD_FAILURE() << "opened";
  } catch (const Raised& e) {
    EXPECT_EQ(std::string(e.what()), "cannot open");
    EXPECT_FALSE(e.why.empty());
  }
  auto db = Open();
  try {
    const Statement s(*db, "SELECT x FROM nowhere");
    ADD_FAILURE() << "prepared";
  } catch (const Raised& e) {
    EXPECT_EQ(std::string(e.what()), "prepare");
    EXPECT_NE(e.why.find("nowhere"), std::string::npos) << e.why;
  }
}

}  // namespace
}  // namespace zn::sqlite
