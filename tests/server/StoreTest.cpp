// The SQLite store: rooms, options, counters and results survive reopening; failures are reported.
#include <gtest/gtest.h>

#include <filesystem>

#include "server/SqliteStore.h"

namespace zn::server {
namespace {

class StoreFile : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("znstore-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
    path_ = (dir_ / "club.db").string();
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  std::unique_ptr<SqliteStore> Open() {
    return std::make_unique<SqliteStore>(path_, [this] { return clock_; });
  }

  std::filesystem::path dir_;
  std::string path_;
  std::int64_t clock_ = 1'000'000;
};

TEST_F(StoreFile, RoomsOptionsAndCountersSurviveReopening) {
  {
    auto store = Open();
    const auto a = store->CreateRoom("kertes");
    const auto b = store->CreateRoom("pince");
    store->SetOption(b, true);
    StoredResult r{a, 17, 30, -30, {"anna", "-Robot2", "bela", "-Robot4"}};
    EXPECT_EQ(store->AddResult(r), 1);
    EXPECT_EQ(store->AddResult(r), 2);
    store->SetPlayed(b, 5);
    // No Flush: a crash right here must lose nothing that was announced.
  }
  auto store = Open();
  const auto rooms = store->LoadRooms();
  ASSERT_EQ(rooms.size(), 2u);
  EXPECT_EQ(rooms[0].name, "kertes");
  EXPECT_FALSE(rooms[0].option);
  EXPECT_EQ(rooms[0].played, 2);
  EXPECT_EQ(rooms[1].name, "pince");
  EXPECT_TRUE(rooms[1].option);
  EXPECT_EQ(rooms[1].played, 5);
  EXPECT_EQ(store->ResultCount(rooms[0].id), 2);
}

TEST_F(StoreFile, UsesTheWriteAheadLog) {
  auto store = Open();
  store->CreateRoom("kertes");
  EXPECT_TRUE(std::filesystem::exists(path_ + "-wal"));
  store->Flush();
  EXPECT_EQ(std::filesystem::file_size(path_ + "-wal"), 0u);
}

TEST_F(StoreFile, DuplicateNameIsAnError) {
  auto store = Open();
  store->CreateRoom("kertes");
  EXPECT_THROW(store->CreateRoom("kertes"), StoreError);
  EXPECT_EQ(store->LoadRooms().size(), 1u);
}

TEST_F(StoreFile, ResultForAMissingRoomChangesNothing) {
  auto store = Open();
  const auto a = store->CreateRoom("kertes");
  EXPECT_THROW(store->AddResult({a + 10, 1, 0, 0, {}}), StoreError);
  EXPECT_EQ(store->ResultCount(a + 10), 0);
  EXPECT_EQ(store->AddResult({a, 1, 0, 0, {}}), 1);  // the failed transaction left no lock
}

TEST_F(StoreFile, RoomsNobodyVisitedForADayAreDropped) {
  auto store = Open();
  const auto old = store->CreateRoom("regi");
  const auto busy = store->CreateRoom("forgalmas");
  store->AddResult({old, 1, 5, -5, {}});
  clock_ += 20 * 3600;
  store->TouchRoom(busy);
  clock_ += 5 * 3600;
  EXPECT_EQ(store->DropIdleRooms(24 * 3600), 1);
  const auto rooms = store->LoadRooms();
  ASSERT_EQ(rooms.size(), 1u);
  EXPECT_EQ(rooms[0].name, "forgalmas");
  EXPECT_EQ(store->ResultCount(old), 1);  // history stays
}

TEST_F(StoreFile, UnopenableFileIsAnError) {
  EXPECT_THROW(SqliteStore((dir_ / "missing" / "club.db").string()), StoreError);
}

TEST_F(StoreFile, NamesAreKeptByteForByte) {
  const std::string name = "k\xe9rt\xe9s";  // cp1250 bytes, not UTF-8
  {
    auto store = Open();
    store->CreateRoom(name);
  }
  EXPECT_EQ(Open()->LoadRooms().at(0).name, name);
}

}  // namespace
}  // namespace zn::server
