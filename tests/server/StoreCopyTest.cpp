// znserver --copy-store: a whole club moves between backends, either way, and reads back alike; a
// target with anything in it is refused, and a copy that does not read back alike is undone.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "game/Cp1250.h"
#include "server/store/StoreCopy.h"
#include "tests/dealrecord/DealKit.h"
#include "tests/server/StoreBackends.h"

namespace zn::server::test {
namespace {

using namespace zn::literals;

// A club filled through the store's own calls: three rooms (one dropped again, its results kept),
// results, a kept deal marked with its result and one not, the deal key, a claim, a match secret
// and a running deal with its moves.
void Fill(ClubStore& s, JournalStore& journal) {
  const auto kertes = s.CreateRoom(std::string("Kőr ász"_cp));
  const auto pince = s.CreateRoom("pince");
  const auto gone = s.CreateRoom("padlas");
  deal::MatchSecret secret{};
  secret.fill(3);
  s.StartMatch(kertes, secret, true);
  s.SetOption(pince, true);
  const auto record = s.AddRecord(kertes, dealrecord::test::PlayedDeal(36));
  s.AddResult({kertes, 36, 12, -12, {std::string("Árpád"_cp), "-Robot2", "b", "-Robot4"}, record});
  s.AddRecord(pince, dealrecord::test::PlayedDeal(7, false));
  s.AddResult({gone, 1, 5, -5, {"a", "b", "c", "d"}});
  s.DropRoom(gone);
  s.DealKey();
  s.ClubIdentity();
  claim::TPublicKey key{};
  key.fill(5);
  s.Claim(std::string("árpád"_cp), key);
  JournalEntry deal;
  deal.kind = JournalEntry::Kind::Deal;
  deal.room = pince;
  deal.number = 8;
  deal.seats = {"anna", "-Robot2", "-Robot3", "-Robot4"};
  JournalEntry move;
  move.room = pince;
  move.move = {1, 0, "anna", {"passz"}};
  journal.Write({deal, move});
}

class StoreCopyTest : public ::testing::TestWithParam<std::tuple<BackendKind, BackendKind>> {
 protected:
  void SetUp() override {
    for (auto [kind, backend] :
         {std::pair{std::get<0>(GetParam()), &from_}, {std::get<1>(GetParam()), &to_}}) {
      try {
        *backend = kind.make();
      } catch (const std::exception& e) {
        FAIL() << kind.name << ": " << e.what();
      }
    }
    auto source = from_->Open();
    Fill(*source, *from_->Journal());
  }
  std::unique_ptr<Backend> from_, to_;
};

// Everything the club reads through the store, as text.
std::vector<std::string> ClubView(Backend& b) {
  auto s = b.Open();
  std::vector<std::string> view;
  for (const StoredRoom& r : s->LoadRooms())
    view.push_back("room " + std::to_string(r.id) + " " + Cp1250ToUtf8(r.name) + " " +
                   std::to_string(r.option) + " " + std::to_string(r.played) + " results " +
                   std::to_string(s->ResultCount(r.id)) + " secret " +
                   std::to_string(s->MatchSecretOf(r.id).has_value()));
  s->ForEachRecord(0, [&](const dealrecord::DealRecord& r) {
    view.push_back("deal " + std::to_string(r.number) + " written " + std::to_string(r.written) + " " +
                   std::to_string(r.points14));
  });
  const deal::DealKey key = s->DealKey();
  view.push_back("key " + std::to_string(key[0]) + "," + std::to_string(key[31]));
  view.push_back("claim " +
                 std::to_string(s->ClaimOf(std::string("árpád"_cp)).value_or(claim::TPublicKey{})[0]));
  for (const JournaledDeal& d : b.Journal()->LoadRunning())
    view.push_back("running " + std::to_string(d.room) + " D" + std::to_string(d.number) + " moves " +
                   std::to_string(d.moves.size()));
  return view;
}

TEST_P(StoreCopyTest, AWholeClubMovesAndReadsBackAlike) {
  const std::vector<std::string> before = ClubView(*from_);
  {
    auto source = from_->Open();
    auto target = to_->Open();
    const std::vector<CopiedTable> copied = CopyStore(*source, *target);
    ASSERT_EQ(copied.size(), StoreTables().size());
    for (std::size_t i = 0; i < copied.size(); ++i) {
      const CopiedTable again = ChecksumTable(*target, StoreTables()[i]);
      EXPECT_EQ(again.rows, copied[i].rows) << again.name;
      EXPECT_EQ(again.checksum, copied[i].checksum) << again.name;
    }
  }
  EXPECT_EQ(ClubView(*to_), before);
  // The dropped room's id stays spent: its results never join a new room's.
  auto target = to_->Open();
  const std::int64_t next = target->CreateRoom("uj");
  EXPECT_EQ(target->ResultCount(next), 0);
}

TEST_P(StoreCopyTest, ATargetWithAnythingInItIsRefusedUntouched) {
  claim::TPublicKey key{};
  key.fill(9);
  to_->Open()->Claim("cili", key);
  auto source = from_->Open();
  auto target = to_->Open();
  EXPECT_THROW(CopyStore(*source, *target), StoreError);
  for (const StoreTable& t : StoreTables())
    EXPECT_EQ(target->CountRows(t), t.name == std::string("claims")) << t.name;
}

// The target as a store whose rows read back changed in one table (a fault between the copy and
// the check); everything else goes to the real one.
class ChangedOnReading : public ClubStore {
 public:
  ChangedOnReading(ClubStore& real, std::string table) : real_(real), table_(std::move(table)) {}
  void ReadRows(const StoreTable& t, const std::function<void(const StoreRow&)>& each) override {
    real_.ReadRows(t, [&](const StoreRow& row) {
      StoreRow changed = row;
      if (t.name == table_) changed.back() = StoreValue{StoreValue::Kind::Int, 999, {}};
      each(changed);
    });
  }
  void InsertRows(const StoreTable& t, const std::vector<StoreRow>& rows) override {
    real_.InsertRows(t, rows);
  }
  std::int64_t CountRows(const StoreTable& t) override { return real_.CountRows(t); }
  std::int64_t LastId(const StoreTable& t) override { return real_.LastId(t); }
  void SetLastId(const StoreTable& t, std::int64_t id) override { real_.SetLastId(t, id); }
  void Transact(const std::function<void()>& body) override { real_.Transact(body); }
  int DropIdleRooms(std::int64_t s) override { return real_.DropIdleRooms(s); }
  void Flush() override {}
  int SchemaVersion() override { return real_.SchemaVersion(); }
  deal::DealKey DealKey() override { return real_.DealKey(); }
  int ResultCount(std::int64_t room) override { return real_.ResultCount(room); }
  void ForEachRecord(std::int64_t s, const std::function<void(const dealrecord::DealRecord&)>& f) override {
    real_.ForEachRecord(s, f);
  }
  std::vector<StoredRoom> LoadRooms() override { return real_.LoadRooms(); }
  std::int64_t CreateRoom(std::string_view name) override { return real_.CreateRoom(name); }
  void SetOption(std::int64_t room, bool on) override { real_.SetOption(room, on); }
  void SetPlayed(std::int64_t room, std::int32_t n) override { real_.SetPlayed(room, n); }
  std::optional<deal::MatchSecret> MatchSecretOf(std::int64_t room) override {
    return real_.MatchSecretOf(room);
  }
  void StartMatch(std::int64_t room, const deal::MatchSecret& m, bool n) override {
    real_.StartMatch(room, m, n);
  }
  std::int32_t AddResult(const StoredResult& r) override { return real_.AddResult(r); }
  std::int64_t AddRecord(std::int64_t room, const dealrecord::DealRecord& r) override {
    return real_.AddRecord(room, r);
  }
  void TouchRoom(std::int64_t room) override { real_.TouchRoom(room); }
  void DropRoom(std::int64_t room) override { real_.DropRoom(room); }
  std::optional<claim::TPublicKey> ClaimOf(std::string_view f) override { return real_.ClaimOf(f); }
  claim::TPublicKey Claim(std::string_view f, const claim::TPublicKey& k) override {
    return real_.Claim(f, k);
  }
  bool Release(std::string_view f) override { return real_.Release(f); }
  claim::TClubId ClubIdentity() override { return real_.ClubIdentity(); }
  void MarkUsed(std::string_view f) override { real_.MarkUsed(f); }
  std::size_t ReleaseUnused(std::int64_t s) override { return real_.ReleaseUnused(s); }

 private:
  ClubStore& real_;
  std::string table_;
};

TEST_P(StoreCopyTest, ACopyThatDoesNotReadBackAlikeIsUndone) {
  for (const char* table : {"rooms", "running_moves"}) {
    auto source = from_->Open();
    auto real = to_->Open();
    ChangedOnReading target(*real, table);
    EXPECT_THROW(CopyStore(*source, target), StoreError) << table;
    for (const StoreTable& t : StoreTables()) EXPECT_EQ(real->CountRows(t), 0) << table << ": " << t.name;
  }
}

INSTANTIATE_TEST_SUITE_P(Backends, StoreCopyTest,
                         ::testing::Combine(::testing::ValuesIn(AllBackends()),
                                            ::testing::ValuesIn(AllBackends())),
                         [](const auto& info) {
                           return std::get<0>(info.param).name + "To" + std::get<1>(info.param).name;
                         });

}  // namespace
}  // namespace zn::server::test
