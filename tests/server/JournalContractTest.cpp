// The journal of running deals holds to one contract on every backend: batches of entries come
// back as the deals they describe, in a state each deal really had.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "game/Cp1250.h"
#include "tests/server/StoreBackends.h"

namespace zn::server::test {
namespace {

using namespace zn::literals;
using Kind = JournalEntry::Kind;
const std::array<std::string, 4> kSeats = {"anna", "-Robot2", std::string("béla"_cp), "-Robot4"};

JournalEntry Entry(Kind kind, std::int64_t room) {
  JournalEntry e;
  e.kind = kind;
  e.room = room;
  return e;
}
JournalEntry DealIn(std::int64_t room, std::int32_t number, bool secret = true) {
  JournalEntry e = Entry(Kind::Deal, room);
  e.number = number;
  e.seats = kSeats;
  if (secret) e.match.emplace().fill(static_cast<unsigned char>(number));
  return e;
}
JournalEntry MoveIn(std::int64_t room, int index, int seat, TCard card, std::vector<std::string> bids = {}) {
  JournalEntry e = Entry(Kind::Move, room);
  e.index = index;
  e.move = {seat, card, card ? "" : kSeats[static_cast<std::size_t>(seat - 1)], std::move(bids)};
  return e;
}

// A deal as one line: room, number, seats, secret's first byte, moves, ledger, holds, record.
std::string Line(const JournaledDeal& d) {
  std::string line = std::to_string(d.room) + " D" + std::to_string(d.number);
  for (const std::string& s : d.seats) line += " " + Cp1250ToUtf8(s);
  line += d.match ? " m" + std::to_string((*d.match)[0]) : " -";
  for (const JournaledMove& m : d.moves) {
    line +=
        " " + std::to_string(m.seat) + (m.card ? ":" + std::to_string(m.card) : "B" + Cp1250ToUtf8(m.bidder));
    for (const std::string& bid : m.bids) line += "," + bid;
  }
  if (!d.ledger.empty()) line += " L" + d.ledger;
  for (const JournaledHold& h : d.holds)
    line += " H" + std::to_string(h.seat) + "@" + std::to_string(h.untilMs) + ":" + Cp1250ToUtf8(h.folded);
  if (d.record) line += " R" + std::to_string(d.record);
  return line;
}

struct JournalCase {
  std::string name;
  std::vector<std::vector<JournalEntry>> batches;
  std::vector<std::string> running;
};

void PrintTo(const JournalCase& c, std::ostream* os) { *os << c.name; }

std::vector<JournalCase> Cases() {
  JournalEntry fair = Entry(Kind::Fair, 1);
  fair.ledger = "1 anna\n2 cili";
  fair.holds = {{2, std::string("béla"_cp), 1'765'000'123'456}, {3, "cili", 5}};
  JournalEntry kept = Entry(Kind::Kept, 1);
  kept.record = 77;
  JournalEntry seats = Entry(Kind::Seats, 1);
  seats.seats = {"-Robot1", "dora", "-Robot3", "-Robot4"};
  const std::string deal5 = "1 D5 anna -Robot2 béla -Robot4 m5";
  return {
      {"MovesInOrder",
       {{DealIn(1, 5), MoveIn(1, 0, 1, 0, {"passz"}), MoveIn(1, 1, 2, 0, {"XX", "tarokk"}),
         MoveIn(1, 2, 3, 12)}},
       {deal5 + " 1Banna,passz 2B-Robot2,XX,tarokk 3:12"}},
      {"ALaterBatchReplacesAMoveAndTheSeats",
       {{DealIn(1, 5), MoveIn(1, 0, 1, 7)}, {MoveIn(1, 0, 1, 9), seats}},
       {"1 D5 -Robot1 dora -Robot3 -Robot4 m5 1:9"}},
      {"MovesAfterAGapAreLeftOut",
       {{DealIn(1, 5), MoveIn(1, 0, 1, 7), MoveIn(1, 2, 3, 8)}},
       {deal5 + " 1:7"}},
      {"FairPlayAndTheKeptRecord",
       {{DealIn(1, 5)}, {fair, kept}},
       {deal5 + " L1 anna\n2 cili H2@1765000123456:béla H3@5:cili R77"}},
      {"AnEndedDealIsGone",
       {{DealIn(1, 5), DealIn(2, 6, false)}, {Entry(Kind::End, 1)}},
       {"2 D6 anna -Robot2 béla -Robot4 -"}},
      {"ANewDealReplacesTheRoomsOld",
       {{DealIn(1, 5), MoveIn(1, 0, 1, 7)}, {DealIn(1, 6)}},
       {"1 D6 anna -Robot2 béla -Robot4 m6"}},
      {"ClearForgetsEverything",
       {{DealIn(1, 5), DealIn(2, 6)}, {Entry(Kind::Clear, 0), DealIn(2, 9)}},
       {"2 D9 anna -Robot2 béla -Robot4 m9"}},
  };
}

class JournalContract : public ::testing::TestWithParam<std::tuple<BackendKind, JournalCase>> {
 protected:
  void SetUp() override {
    try {
      backend_ = std::get<0>(GetParam()).make();
    } catch (const std::exception& e) {
      FAIL() << std::get<0>(GetParam()).name << ": " << e.what();
    }
    store_ = backend_->Open();
  }
  std::unique_ptr<Backend> backend_;
  std::unique_ptr<ClubStore> store_;
};

TEST_P(JournalContract, BatchesComeBackAsTheirDeals) {
  const JournalCase& c = std::get<1>(GetParam());
  {
    auto journal = backend_->Journal();
    for (const auto& batch : c.batches) journal->Write(batch);
  }
  std::vector<std::string> running;
  for (const JournaledDeal& d : backend_->Journal()->LoadRunning()) running.push_back(Line(d));
  EXPECT_EQ(running, c.running);
}

INSTANTIATE_TEST_SUITE_P(Backends, JournalContract,
                         ::testing::Combine(::testing::ValuesIn(AllBackends()), ::testing::ValuesIn(Cases())),
                         [](const auto& info) {
                           return std::get<0>(info.param).name + "_" + std::get<1>(info.param).name;
                         });

class JournalAndStore : public ::testing::TestWithParam<BackendKind> {
 protected:
  void SetUp() override {
    try {
      backend_ = GetParam().make();
    } catch (const std::exception& e) {
      FAIL() << GetParam().name << ": " << e.what();
    }
  }
  std::unique_ptr<Backend> backend_;
};

// The server stopped after a result was written and before the batch that ends its deal; in ten
// rooms, each result written right after its deal's batch was queued.
TEST_P(JournalAndStore, ADealWhoseResultIsStoredDoesNotComeBack) {
  auto store = backend_->Open();
  auto journal = backend_->Journal(store.get());
  for (int i = 0; i < 10; ++i) {
    const std::int64_t kertes = store->CreateRoom("kertes" + std::to_string(i));
    const std::int64_t terasz = store->CreateRoom("terasz" + std::to_string(i));
    journal->Write({DealIn(kertes, 5), DealIn(terasz, 7)});
    store->AddResult({kertes, 5, 1, -1, kSeats});
  }
  const auto running = journal->LoadRunning();
  ASSERT_EQ(running.size(), 10u);
  for (const JournaledDeal& d : running) EXPECT_EQ(d.number, 7);
}

// A deal kept as a record after it was journaled, before the batch that names the record, ended.
TEST_P(JournalAndStore, ARecordKeptAfterTheBatchMarksTheDealEnded) {
  auto store = backend_->Open();
  auto journal = backend_->Journal(store.get());
  const std::int64_t kertes = store->CreateRoom("kertes");
  const std::int64_t before = store->AddRecord(kertes, dealrecord::DealRecord{});
  journal->Write({DealIn(kertes, 5)});
  dealrecord::DealRecord r;
  r.number = 5;
  const std::int64_t kept = store->AddRecord(kertes, r);
  ASSERT_NE(kept, before);
  const auto running = journal->LoadRunning();
  ASSERT_EQ(running.size(), 1u);
  EXPECT_EQ(running[0].record, kept);
}

INSTANTIATE_TEST_SUITE_P(Backends, JournalAndStore, ::testing::ValuesIn(AllBackends()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace zn::server::test
