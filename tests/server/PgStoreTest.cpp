// What only the PostgreSQL backend has to face: a connection cut under it (the database restarted,
// a network cut), and a commit whose answer was lost with it.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "server/base/Log.h"
#include "server/store/PgSchema.h"
#include "server/store/SqliteStore.h"
#include "tests/server/StoreBackends.h"

namespace zn::server::test {
namespace {

class PgStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    try {
      backend_ = PostgresBackend().make();
    } catch (const std::exception& e) {
      FAIL() << e.what();
    }
    SetLogSink([this](std::string_view line) { log_.emplace_back(line); });
  }
  void TearDown() override { SetLogSink({}); }
  // Every other connection to the database is cut, as a restart of the database server does.
  void CutConnections() {
    backend_->Sql(
        "SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE pid <> pg_backend_pid() AND "
        "datname = current_database()");
  }

  std::unique_ptr<Backend> backend_;
  std::vector<std::string> log_;
};

// Each write after the cut either fails and stores nothing, or is stored: what the server announced
// is exactly what is there, and the store writes again at the next call. The journal reports a
// batch lost with the connection at its next Write, and writes the one after.
TEST_F(PgStoreTest, ACutConnectionLosesNothingAnnouncedAndComesBack) {
  auto store = backend_->Open();
  auto journal = backend_->Journal(store.get());
  const std::int64_t room = store->CreateRoom("kertes");
  CutConnections();
  int stored = 0, failed = 0, reported = 0;
  for (int deal = 1; deal <= 5; ++deal) {
    try {
      EXPECT_EQ(store->AddResult({room, deal, 1, -1, {}}), stored + 1);
      ++stored;
    } catch (const StoreError&) {
      ++failed;
    }
    JournalEntry e;
    e.kind = JournalEntry::Kind::Deal;
    e.room = room + deal;
    e.number = deal;
    try {
      journal->Write({e});
    } catch (const StoreError&) {
      ++reported;
    }
    journal->LoadRunning();  // the batch is written (or failed) before the next
  }
  EXPECT_LE(failed, 1);
  EXPECT_LE(reported, 1);
  EXPECT_EQ(store->ResultCount(room), stored);
  EXPECT_EQ(store->LoadRooms().at(0).played, stored);
  EXPECT_EQ(journal->LoadRunning().back().number, 5);
  if (failed + reported > 0) {
    EXPECT_THAT(log_, ::testing::Contains(::testing::HasSubstr("database connection lost")));
    EXPECT_THAT(log_, ::testing::Contains(::testing::HasSubstr("database connection back")));
  }
}

// The server retries a result whose commit it could not confirm: the deal's record, marked by the
// first commit, keeps the second from storing it twice.
TEST_F(PgStoreTest, AResultRetriedAfterALostCommitIsStoredOnce) {
  auto store = backend_->Open();
  const std::int64_t room = store->CreateRoom("kertes");
  dealrecord::DealRecord r;
  r.number = 5;
  const std::int64_t record = store->AddRecord(room, r);
  const StoredResult result{room, 5, 12, -12, {}, record};
  EXPECT_EQ(store->AddResult(result), 1);
  EXPECT_EQ(store->AddResult(result), 1);
  EXPECT_EQ(store->ResultCount(room), 1);
  EXPECT_EQ(store->AddResult({room, 6, 1, -1, {}}), 2);  // without a record: a result of its own
}

// A database an earlier server left at version 9 (claims without their last use) is brought up
// step by step, its claims kept and counted as used when they were made.
TEST_F(PgStoreTest, AnEarlierDatabaseIsUpgradedStepByStep) {
  std::string earlier =
      "CREATE TABLE schema_version(version INTEGER NOT NULL); INSERT INTO schema_version VALUES(9);";
  for (std::size_t step = 0; step < 9; ++step) earlier += PgSchemaSteps()[step];
  backend_->Sql(earlier +
                "INSERT INTO claims(name, key, time) VALUES('anna', decode(repeat('00', 32), 'hex'), 1000), "
                "('bela', decode(repeat('00', 32), 'hex'), 5000)");
  auto store = backend_->Open([] { return std::int64_t{6000}; });
  EXPECT_EQ(store->SchemaVersion(), SqliteStore::LatestSchemaVersion());
  EXPECT_EQ(store->ReleaseUnused(2000), 1u);  // anna: used at 1000; bela at 5000 stays
  EXPECT_TRUE(store->ClaimOf("bela"));
  EXPECT_FALSE(store->ClaimOf("anna"));
}

}  // namespace
}  // namespace zn::server::test
