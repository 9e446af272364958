// One contract for every backend of the store (a SQLite file, a PostgreSQL database): rooms,
// results, the deal key, match secrets, claims, kept deals and the journal of running deals come
// back as written, after reopening as after a restart, and failures change nothing.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "game/Cp1250.h"
#include "server/store/SqliteStore.h"
#include "tests/dealrecord/DealKit.h"
#include "tests/server/StoreBackends.h"

namespace zn::server::test {
namespace {

using namespace zn::literals;
using ::testing::ElementsAre;
std::string Cp(std::string_view s) { return std::string(s); }

class StoreContract : public ::testing::TestWithParam<BackendKind> {
 protected:
  void SetUp() override {
    try {
      backend_ = GetParam().make();
    } catch (const std::exception& e) {
      FAIL() << GetParam().name << ": " << e.what();
    }
  }
  std::unique_ptr<ClubStore> Open() {
    return backend_->Open([this] { return clock_; });
  }

  std::unique_ptr<Backend> backend_;
  std::int64_t clock_ = 1'000'000;
};

std::string BackendName(const ::testing::TestParamInfo<BackendKind>& info) { return info.param.name; }

TEST_P(StoreContract, RoomsOptionsAndCountersSurviveReopening) {
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

TEST_P(StoreContract, DuplicateNameIsAnError) {
  auto store = Open();
  store->CreateRoom("kertes");
  EXPECT_THROW(store->CreateRoom("kertes"), StoreError);
  EXPECT_EQ(store->LoadRooms().size(), 1u);
}

TEST_P(StoreContract, ResultForAMissingRoomChangesNothing) {
  auto store = Open();
  const auto a = store->CreateRoom("kertes");
  EXPECT_THROW(store->AddResult({a + 10, 1, 0, 0, {}}), StoreError);
  EXPECT_EQ(store->ResultCount(a + 10), 0);
  EXPECT_EQ(store->AddResult({a, 1, 0, 0, {}}), 1);  // the failed transaction left no lock
}

TEST_P(StoreContract, RoomsNobodyVisitedForADayAreDropped) {
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
  store->DropRoom(busy);
  EXPECT_TRUE(store->LoadRooms().empty());
  EXPECT_GT(store->CreateRoom("uj"), busy);  // a freed room's id is never handed out again
}

// The server speaks cp1250; the database holds UTF-8, so every tool reads it right.
TEST_P(StoreContract, NamesAreCp1250InTheServerAndUtf8InTheDatabase) {
  const std::string room = Cp("Kőr ász"_cp), nick = Cp("Árpád"_cp);
  {
    auto store = Open();
    const auto id = store->CreateRoom(room);
    store->AddResult({id, 18, 5, -5, {nick, "b", "c", "d"}});
  }
  EXPECT_EQ(Open()->LoadRooms().at(0).name, room);
  EXPECT_THAT(backend_->Column("SELECT name FROM rooms"), ElementsAre("Kőr ász"));
  EXPECT_THAT(backend_->Column("SELECT seat1 FROM results"), ElementsAre("Árpád"));
}

TEST_P(StoreContract, ANewStoreStartsAtTheLatestVersion) {
  EXPECT_EQ(Open()->SchemaVersion(), SqliteStore::LatestSchemaVersion());
}

TEST_P(StoreContract, AStoreOfANewerServerIsRefusedUntouched) {
  Open()->CreateRoom("kertes");
  backend_->SetSchemaVersion(SqliteStore::LatestSchemaVersion() + 1);
  EXPECT_THROW(Open(), StoreError);
  backend_->SetSchemaVersion(SqliteStore::LatestSchemaVersion());
  EXPECT_EQ(Open()->LoadRooms().size(), 1u);
}

TEST_P(StoreContract, TheDealKeyIsMadeOnceAndKept) {
  const deal::DealKey key = Open()->DealKey();
  EXPECT_NE(key, deal::DealKey{});
  EXPECT_EQ(Open()->DealKey(), key);
}

TEST_P(StoreContract, AMatchSecretIsKeptAndANewMatchCountsFromZero) {
  deal::MatchSecret first{}, second{};
  first.fill(1);
  second.fill(2);
  std::int64_t room = 0;
  {
    auto store = Open();
    room = store->CreateRoom("kertes");
    EXPECT_FALSE(store->MatchSecretOf(room));
    store->StartMatch(room, first, true);
    store->AddResult({room, 1, 0, 0, {}});
    store->StartMatch(room, second, false);  // the same match goes on under a new secret
  }
  auto store = Open();
  EXPECT_EQ(store->MatchSecretOf(room), second);
  EXPECT_EQ(store->LoadRooms().at(0).played, 1);
  store->StartMatch(room, first, true);
  EXPECT_EQ(store->LoadRooms().at(0).played, 0);
  EXPECT_FALSE(store->MatchSecretOf(room + 1));
}

TEST_P(StoreContract, AClaimIsTheFirstClaimersUntilReleased) {
  claim::TPublicKey anna{}, other{};
  anna.fill(7);
  other.fill(9);
  const std::string folded = Cp("árpád"_cp);
  EXPECT_EQ(Open()->Claim(folded, anna), anna);
  auto store = Open();
  EXPECT_EQ(store->Claim(folded, other), anna);  // claimed already: stays with its key
  EXPECT_EQ(store->ClaimOf(folded), anna);
  EXPECT_FALSE(store->ClaimOf("bela"));
  EXPECT_TRUE(store->Release(folded));
  EXPECT_FALSE(store->Release(folded));
  EXPECT_FALSE(Open()->ClaimOf(folded));
}

TEST_P(StoreContract, KeptDealsComeBackWholeWithTheirResults) {
  using dealrecord::test::PlayedDeal;
  dealrecord::DealRecord written = PlayedDeal(36, true), open = PlayedDeal(7, false);
  {
    auto store = Open();
    const auto room = store->CreateRoom("kertes");
    clock_ = written.time = 100;
    const std::int64_t id = store->AddRecord(room, written);
    store->AddResult({room, 36, 12, -12, {}, id});
    clock_ = open.time = 200;
    store->AddRecord(room, open);
  }
  auto store = Open();
  std::vector<dealrecord::DealRecord> all, late;
  store->ForEachRecord(0, [&](const dealrecord::DealRecord& r) { all.push_back(r); });
  store->ForEachRecord(150, [&](const dealrecord::DealRecord& r) { late.push_back(r); });
  EXPECT_THAT(all, ElementsAre(written, open));
  EXPECT_THAT(late, ElementsAre(open));
}

TEST_P(StoreContract, AKeptDealThatDoesNotReadBackIsRefused) {
  Open()->AddRecord(1, dealrecord::test::PlayedDeal(36));
  backend_->Sql("UPDATE deal_records SET cards = substr(cards, 1, 3)");
  EXPECT_THROW(Open()->ForEachRecord(0, [](const dealrecord::DealRecord&) {}), StoreError);
}

// Every table and column a new store has is one the copy between backends moves.
TEST_P(StoreContract, TheCopyKnowsEveryTableAndColumn) {
  Open();
  std::vector<std::string> known;
  for (const StoreTable& t : StoreTables()) {
    known.emplace_back(t.name);
    EXPECT_EQ(backend_->Columns(t.name), std::vector<std::string>(t.columns.begin(), t.columns.end()))
        << t.name;
    EXPECT_EQ(t.kinds.size(), t.columns.size()) << t.name;
  }
  std::sort(known.begin(), known.end());
  EXPECT_EQ(backend_->Tables(), known);
}

// Which backend a --db names, and how the log shows it: never with the password.
TEST(OpenStore, TheDbNamesItsBackendAndTheLogNoPassword) {
  struct Case {
    std::string db;
    bool url;
    std::string shown;
  };
  for (const Case& c : std::vector<Case>{
           {"znserver.db", false, "znserver.db"},
           {"postgres.db", false, "postgres.db"},
           {"postgresql://zn@db/klub", true, "postgresql://zn@db/klub"},
           {"postgres://zn:titok@db:5432/klub", true, "postgres://zn:***@db:5432/klub"},
           {"postgresql://db:5432/klub?user=zn", true, "postgresql://db:5432/klub?user=zn"},
           {"postgresql://db/klub?user=zn&password=titok&sslmode=require", true,
            "postgresql://db/klub?user=zn&password=***&sslmode=require"},
           {"postgresql://zn:a@b@db/klub?password=x", true, "postgresql://zn:***@db/klub?password=***"},
       }) {
    EXPECT_EQ(IsDatabaseUrl(c.db), c.url) << c.db;
    EXPECT_EQ(StoreName(c.db), c.shown) << c.db;
  }
}

// A database that cannot be reached is a StoreError with libpq's reason, and leaves nothing open.
TEST(OpenStore, AnUnreachableDatabaseIsAStoreError) {
  try {
    OpenStore("postgresql://zn@127.0.0.1:1/klub?connect_timeout=2");
    ADD_FAILURE() << "opened";
  } catch (const StoreError& e) {
    EXPECT_THAT(e.what(), ::testing::StartsWith("cannot connect to the database: "));
  }
}

INSTANTIATE_TEST_SUITE_P(Backends, StoreContract, ::testing::ValuesIn(AllBackends()), BackendName);

}  // namespace
}  // namespace zn::server::test
