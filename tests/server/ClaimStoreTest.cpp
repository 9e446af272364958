// What the stores keep of claimed nicknames: when each was last used (a claim unused for long is
// freed) and the club's identity, which never changes once made.
#include <gtest/gtest.h>

#include <sqlite3.h>

#include <filesystem>
#include <memory>

#include "server/base/Names.h"
#include "server/store/SqliteStore.h"
#include "tests/server/StoreBackends.h"

namespace zn::server {
namespace {

constexpr std::int64_t kDay = 86400;

// The memory's claims, or a store of a backend (its name).
class ClaimStoreTest : public ::testing::TestWithParam<std::string> {
 protected:
  void SetUp() override {
    for (const test::BackendKind& kind : test::AllBackends())
      if (kind.name == GetParam()) try {
          backend_ = kind.make();
        } catch (const std::exception& e) {
          FAIL() << kind.name << ": " << e.what();
        }
    names_ = Open();
  }
  std::unique_ptr<NameStore> Open() {
    auto clock = [this] { return clock_; };
    if (backend_) return backend_->Open(clock);
    return std::make_unique<MemoryNames>(clock);
  }
  bool Held(const char* name) { return names_->ClaimOf(NameKey(name)).has_value(); }

  std::unique_ptr<test::Backend> backend_;
  std::int64_t clock_ = 1'000'000'000;
  std::unique_ptr<NameStore> names_;
};

// Anna claims on day 0 and logs in on day 300; Bela claims on day 100 and never comes back. The
// release sweeps on the days below with the limits below.
TEST_P(ClaimStoreTest, AClaimUnusedForTheLimitIsReleased) {
  const claim::TPublicKey key{7};
  const std::int64_t start = clock_;
  names_->Claim(NameKey("Anna"), key);
  clock_ = start + 100 * kDay;
  names_->Claim(NameKey("Bela"), key);
  clock_ = start + 300 * kDay;
  names_->MarkUsed(NameKey("ANNA"));
  names_->MarkUsed(NameKey("Nobody"));  // no claim: nothing happens

  struct Sweep {
    std::int64_t day;
    std::int64_t limitDays;
    std::size_t released;
    bool anna, bela;
  };
  for (const Sweep& s :
       {Sweep{300, 365, 0, true, true}, Sweep{464, 365, 0, true, true}, Sweep{466, 365, 1, true, false},
        Sweep{500, 365, 0, true, false}, Sweep{666, 365, 1, false, false}}) {
    clock_ = start + s.day * kDay;
    EXPECT_EQ(names_->ReleaseUnused(s.limitDays * kDay), s.released) << "day " << s.day;
    EXPECT_EQ(Held("anna"), s.anna) << "day " << s.day;
    EXPECT_EQ(Held("bela"), s.bela) << "day " << s.day;
  }
  names_->Claim(NameKey("Bela"), claim::TPublicKey{9});  // free again: anyone may claim it
  EXPECT_EQ(names_->ClaimOf(NameKey("bela")), claim::TPublicKey{9});
}

TEST_P(ClaimStoreTest, TheClubIdentityIsMadeOnceAndKept) {
  const claim::TClubId first = names_->ClubIdentity();
  EXPECT_NE(first, claim::TClubId{});
  EXPECT_EQ(names_->ClubIdentity(), first);
  if (!backend_) return;
  names_.reset();
  names_ = Open();
  EXPECT_EQ(names_->ClubIdentity(), first) << "reopened";
  for (const test::BackendKind& kind : test::AllBackends())
    EXPECT_NE(kind.make()->Open()->ClubIdentity(), first) << "another club on " << kind.name;
}

INSTANTIATE_TEST_SUITE_P(Stores, ClaimStoreTest, ::testing::Values("Memory", "SQLite", "PostgreSQL"),
                         [](const auto& info) { return info.param; });

// A claim kept by an earlier server counts as used when it was made, so an upgrade frees nothing
// that was claimed lately.
TEST(ClaimStoreUpgradeTest, EarlierClaimsCountAsUsedWhenMade) {
  const std::filesystem::path dir =
      std::filesystem::temp_directory_path() /
      ("znclaims-upgrade-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
  std::filesystem::create_directories(dir);
  const std::string path = (dir / "club.db").string();
  {
    SqliteStore fresh(path);  // the latest schema; then the claims table as the earlier one was
  }
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
  const char* earlier =
      "DROP TABLE claims; DROP TABLE club_identity; "
      "CREATE TABLE claims(name TEXT PRIMARY KEY, key BLOB NOT NULL CHECK(length(key) = 32), "
      "time INTEGER NOT NULL);"
      "INSERT INTO claims VALUES('anna', zeroblob(32), 1000), ('bela', zeroblob(32), 5000);"
      "PRAGMA user_version=9;";
  EXPECT_EQ(sqlite3_exec(db, earlier, nullptr, nullptr, nullptr), SQLITE_OK);
  sqlite3_close(db);
  {
    SqliteStore store(path, [] { return std::int64_t{6000}; });
    EXPECT_EQ(store.SchemaVersion(), SqliteStore::LatestSchemaVersion());
    EXPECT_EQ(store.ReleaseUnused(2000), 1u);  // anna: used at 1000; bela at 5000 stays
    EXPECT_TRUE(store.ClaimOf("bela"));
    EXPECT_FALSE(store.ClaimOf("anna"));
  }
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace zn::server
