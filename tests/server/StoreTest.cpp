// What only the SQLite file has: the write-ahead log, files of the first servers upgraded, and the
// indexes of the results (StoreContractTest.cpp holds both backends to the rest).
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sqlite3.h>

#include <filesystem>

#include "game/Cp1250.h"
#include "server/store/SqliteStore.h"

namespace zn::server {
namespace {

using namespace zn::literals;
std::string Cp(std::string_view s) { return std::string(s); }

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

TEST_F(StoreFile, UsesTheWriteAheadLog) {
  auto store = Open();
  store->CreateRoom("kertes");
  EXPECT_TRUE(std::filesystem::exists(path_ + "-wal"));
  store->Flush();
  EXPECT_EQ(std::filesystem::file_size(path_ + "-wal"), 0u);
}

TEST_F(StoreFile, UnopenableFileIsAnError) {
  EXPECT_THROW(SqliteStore((dir_ / "missing" / "club.db").string()), StoreError);
}

// Runs SQL on the file with a bare connection, as an older server or another tool would.
void RawExec(const std::string& path, const char* sql) {
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
  char* error = nullptr;
  const int rc = sqlite3_exec(db, sql, nullptr, nullptr, &error);
  EXPECT_EQ(rc, SQLITE_OK) << (error ? error : "");
  sqlite3_free(error);
  sqlite3_close(db);
}

// The file the first server wrote: no schema version, rooms and results as they were then.
constexpr const char* kFirstVersionFile = R"(
PRAGMA journal_mode=WAL;
CREATE TABLE rooms(
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  name TEXT NOT NULL UNIQUE,
  option INTEGER NOT NULL DEFAULT 0,
  played INTEGER NOT NULL DEFAULT 0,
  last_human INTEGER NOT NULL);
CREATE TABLE results(
  id INTEGER PRIMARY KEY AUTOINCREMENT,
  room INTEGER NOT NULL,
  room_name TEXT NOT NULL,
  deal INTEGER NOT NULL,
  points14 INTEGER NOT NULL,
  points23 INTEGER NOT NULL,
  seat1 TEXT NOT NULL, seat2 TEXT NOT NULL, seat3 TEXT NOT NULL, seat4 TEXT NOT NULL,
  time INTEGER NOT NULL);
CREATE INDEX results_room ON results(room);
INSERT INTO rooms(name, option, played, last_human) VALUES('kertes', 1, 3, 1000000), ('pince', 0, 0, 1000000);
INSERT INTO results(room, room_name, deal, points14, points23, seat1, seat2, seat3, seat4, time)
  VALUES(1, 'kertes', 17, 30, -30, 'anna', '-Robot2', 'bela', '-Robot4', 999000);
)";

TEST_F(StoreFile, AFirstVersionFileIsUpgradedWithItsRoomsAndResults) {
  RawExec(path_, kFirstVersionFile);
  {
    auto store = Open();
    EXPECT_EQ(store->SchemaVersion(), SqliteStore::LatestSchemaVersion());
    const auto rooms = store->LoadRooms();
    ASSERT_EQ(rooms.size(), 2u);
    EXPECT_EQ(rooms[0].name, "kertes");
    EXPECT_TRUE(rooms[0].option);
    EXPECT_EQ(rooms[0].played, 3);
    EXPECT_EQ(rooms[1].name, "pince");
    EXPECT_EQ(store->ResultCount(rooms[0].id), 1);
    // The upgraded file takes new results and rooms as a new one does.
    EXPECT_EQ(store->AddResult({rooms[0].id, 18, 5, -5, {"anna", "b", "c", "d"}}), 4);
    EXPECT_GT(store->CreateRoom("padlas"), rooms[1].id);
  }
  auto again = Open();  // opening an up-to-date file changes nothing
  EXPECT_EQ(again->SchemaVersion(), SqliteStore::LatestSchemaVersion());
  EXPECT_EQ(again->LoadRooms().size(), 3u);
  EXPECT_EQ(again->ResultCount(1), 2);
}

// Reads one column of a query with a bare connection.
std::vector<std::string> RawColumn(const std::string& path, const char* sql) {
  sqlite3* db = nullptr;
  std::vector<std::string> values;
  if (sqlite3_open(path.c_str(), &db) != SQLITE_OK) return values;
  sqlite3_stmt* s = nullptr;
  if (sqlite3_prepare_v2(db, sql, -1, &s, nullptr) == SQLITE_OK)
    while (sqlite3_step(s) == SQLITE_ROW)
      values.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(s, 0)));
  sqlite3_finalize(s);
  sqlite3_close(db);
  return values;
}

TEST_F(StoreFile, UpgradedAndNewFilesKeepOnlyTheRoomAndDealIndex) {
  RawExec(path_, kFirstVersionFile);
  const std::string other = (dir_ / "new.db").string();
  Open();
  SqliteStore fresh(other);
  for (const std::string& file : {path_, other})
    EXPECT_THAT(RawColumn(file, "SELECT name FROM sqlite_master WHERE type='index' AND tbl_name='results'"),
                ::testing::ElementsAre("results_room_deal"))
        << file;
}

// The wire and the server speak cp1250; the file holds UTF-8, so sqlite3 and other tools read it
// right. Names an earlier server wrote as cp1250 bytes are converted by the upgrade.
TEST_F(StoreFile, NamesAreUtf8InTheFileAndCp1250InTheServer) {
  RawExec(path_, kFirstVersionFile);
  RawExec(path_,
          "UPDATE rooms SET name = 'Sz' || x'F5' || 'l' || x'F5' WHERE id = 2;"
          "UPDATE results SET seat2 = 'P' || x'E9' || 'ter';");
  {
    auto store = Open();
    EXPECT_EQ(store->LoadRooms().at(1).name, Cp("Szőlő"_cp));
    store->CreateRoom(Cp("Kőr ász"_cp));
    store->AddResult({1, 18, 5, -5, {Cp("Árpád"_cp), "b", "c", "d"}});
  }
  EXPECT_THAT(RawColumn(path_, "SELECT name FROM rooms ORDER BY id"),
              ::testing::ElementsAre("kertes", "Szőlő", "Kőr ász"));
  EXPECT_THAT(RawColumn(path_, "SELECT seat1 || '/' || seat2 FROM results ORDER BY id"),
              ::testing::ElementsAre("anna/Péter", "Árpád/b"));
  EXPECT_EQ(Open()->LoadRooms().at(2).name, Cp("Kőr ász"_cp));
}

}  // namespace
}  // namespace zn::server
