// Running deals survive a restart: journaled in batches on the club's clock, dealt again under the
// same key and replayed, then finished as if nothing had happened.
#include "server/base/ClubTexts.h"
#include "server/base/Names.h"
#include "server/store/SqliteJournal.h"
#include "tests/server/DealHarness.h"
#include "tests/support/TempDir.h"

namespace zn::server::test {
namespace {

using ::testing::Contains;
using ::testing::Not;
using ::testing::StartsWith;

// Every set of bids and every card of a deal with its seat, in order.
std::string Course(const deal::Game& g) {
  std::string course;
  for (const JournaledMove& m : MovesFrom(g, {}, 0)) {
    course += std::to_string(m.seat) + (m.card ? ":" + std::to_string(m.card) : "B");
    for (const std::string& bid : m.bids) course += "," + bid;
    course += " ";
  }
  return course;
}

struct FakeJournal : JournalStore {
  std::vector<std::vector<JournalEntry>> batches;
  bool fail = false;
  void Write(const std::vector<JournalEntry>& entries) override {
    if (fail) throw StoreError("disk full");
    batches.push_back(entries);
  }
  std::vector<JournaledDeal> LoadRunning() override { return {}; }
};

class JournalTest : public DealFixture {
 protected:
  // Anna on seat 1 and three robots.
  Player& Table() {
    Player& anna = Seat("anna", 1);
    for (const char* robot : {"S-2", "S-3", "S-4"}) Do(anna.id, robot);
    return anna;
  }
  // The club, engine and store, new on the one file, with the journal on: a server starting.
  void Start() {
    if (deals_) club().SetDeals(nullptr);
    deals_.reset();
    journal_.reset();
    file_ = std::make_unique<SqliteStore>(dir_ / "club.db");
    journal_ = std::make_unique<SqliteJournal>(dir_ / "club.db");
    Rebuild(*file_);
    deals_->UseJournal(journal_.get());
    deals_->Restore(journal_->LoadRunning());
  }
  // Logs in from address and enters room 1 (when there is one).
  MemberId JoinAt(const std::string& nickname, const std::string& address) {
    const MemberId id = ++lastId_;
    club().Connect(id, address);
    club().Receive(id, "N" + nickname);
    club().Receive(id, "E1");
    club().Flush();
    return id;
  }
  void Batch() {
    Advance(DealJournal::kInterval);
    club().Flush();
  }

  zn::test::TempDir dir_;
  std::unique_ptr<SqliteStore> file_;
  std::unique_ptr<SqliteJournal> journal_;
};

// budget: anna's commands before the server stops (two passes, then a card and a "T" a trick):
// during the bidding, with her card due, with a trick waiting for her "T", after the last card.
class RestartTest : public JournalTest, public ::testing::WithParamInterface<int> {};

TEST_P(RestartTest, ARestartedDealEndsWithTheCardsAndMovesOfAnUninterruptedOne) {
  Player& alone = Table();
  Play(alone, "D5");
  ASSERT_EQ(alone.scores.size(), 2u);
  const std::string course = Course(*Game());

  Start();
  matches_ = 0;  // the room's match has the secret of the uninterrupted one's
  Player& anna = Table();
  anna.budget = GetParam();
  Play(anna, "D5");
  ASSERT_EQ(Game()->Play() != nullptr, GetParam() > 2);
  const std::string before = Course(*Game());
  ASSERT_TRUE(anna.scores.empty());
  Batch();

  Start();  // the old server is gone without a word to anyone
  ASSERT_NE(Game(), nullptr);
  EXPECT_EQ(Course(*Game()), before);
  EXPECT_EQ(club().RoomAt(1).seats[1].heldFor, NameKey("anna"));
  Player& back = Seat("anna", 0);
  back.seat = 1;
  Play(back, "S1");
  ASSERT_GE(back.seen.size(), 2u);
  EXPECT_EQ(back.seen[1], "D5");  // the catch-up after the "R" line
  EXPECT_EQ(Course(*Game()), course);
  EXPECT_EQ(back.scores, alone.scores);

  Play(back, "F3:-3");
  Batch();
  EXPECT_TRUE(journal_->LoadRunning().empty());
}

INSTANTIATE_TEST_SUITE_P(Stops, RestartTest, ::testing::Values(1, 6, 9, 21));

TEST_F(JournalTest, ARestoredDealGoesOnWithRobotsWhenNobodyComesBack) {
  Start();
  Player& anna = Table();
  anna.budget = 8;
  Play(anna, "D5");
  Batch();
  Start();
  for (int s = 1; s <= kSeats; ++s) EXPECT_TRUE(club().RoomAt(1).seats[static_cast<std::size_t>(s)].robot);
  const std::string before = Course(*Game());
  Advance(ClubLimits{}.seatGrace - DealJournal::kInterval);
  club().Flush();
  EXPECT_EQ(Course(*Game()), before);  // still waiting for its members
  Batch();
  EXPECT_EQ(Game()->CurrentPhase(), deal::Game::Phase::Over);
}

std::string NoticeOf(std::string_view text) { return "M" + std::string(text::kNotice) + std::string(text); }

// The server is killed while bela's seat waits for him and cili watches with the four hands: after
// the restart the ledger and the hold are back. cili may not sit, anna (who sat) may not watch, a
// stranger does not get bela's seat and hand, the robots do not play the deal out meanwhile, and
// bela gets his own seat back.
TEST_F(JournalTest, ARestartKeepsWhoSatWhoWatchedAndWhoseSeatWaits) {
  Start();
  const MemberId anna = JoinAt("anna", "10.0.0.1");
  Do(anna, "Rkertes");
  Do(anna, "E1");
  Do(anna, "S1");
  const MemberId bela = JoinAt("bela", "10.0.0.2");
  Do(bela, "S2");
  Do(anna, "S-3");
  Do(anna, "S-4");
  const MemberId cili = JoinAt("cili", "10.0.0.3");
  Do(anna, "D5");  // anna deals and is on turn: the deal waits for her
  EXPECT_THAT(Do(cili, "K1"), Contains(StartsWith("H2")));
  club().Disconnect(bela);
  Batch();
  const std::string before = Course(*Game());

  Start();  // killed: nobody is told
  const MemberId cili2 = JoinAt("cili", "10.0.0.3");
  EXPECT_THAT(Do(cili2, "S3"), Contains(NoticeOf(text::kWatchedThisDeal)));
  const MemberId anna2 = JoinAt("anna", "10.0.0.1");
  EXPECT_THAT(Do(anna2, "K1"), Contains(NoticeOf(text::kSatThisDeal)));
  const MemberId dora = JoinAt("dora", "10.0.0.4");
  const auto stranger = Do(dora, "S2");
  EXPECT_THAT(stranger, Contains(NoticeOf(text::kSeatHeld)));
  EXPECT_THAT(stranger, Not(Contains(StartsWith("H2"))));
  Advance(ClubLimits{}.seatGrace - std::chrono::seconds(1));
  club().Flush();
  EXPECT_EQ(Course(*Game()), before);  // nobody seated, seats held: the robots wait
  const MemberId bela2 = JoinAt("bela", "10.0.0.2");
  EXPECT_THAT(Do(bela2, "S2"), Contains(proto::LineHand(2, Game()->HandOf(2))));
}

// A deal that ended (scored and kept) before the stop but was not written down comes back ended:
// no second score and no second record, and its one result marks its one record, whether the
// member writes it down or, nobody back, the server does once the holds end.
TEST_F(JournalTest, ADealThatEndedBeforeTheStopIsScoredAndKeptOnce) {
  int deals = 0;
  for (const bool comesBack : {true, false}) {
    SCOPED_TRACE(comesBack);
    Start();
    Player& anna = Table();
    Play(anna, "D5");
    ASSERT_EQ(anna.scores.size(), 2u);
    Batch();
    ++deals;
    Start();
    if (comesBack) {
      Player& back = Seat("anna", 0);
      back.seat = 1;
      Play(back, "S1");
      EXPECT_THAT(Do(back.id, "F3:-3"), Contains("F3:-3"));
      EXPECT_TRUE(back.scores.empty());
    } else {
      Advance(ClubLimits{}.seatGrace - std::chrono::seconds(1));
      club().Flush();
      EXPECT_EQ(file_->ResultCount(club().RoomAt(1).storeId), deals - 1);  // the hold still lasts
      Advance(std::chrono::seconds(1));
      club().Flush();
    }
    Batch();
    EXPECT_TRUE(journal_->LoadRunning().empty());
    int kept = 0, written = 0;
    file_->ForEachRecord(0, [&](const dealrecord::DealRecord& r) {
      ++kept;
      written += r.written;
    });
    EXPECT_EQ(kept, deals);
    EXPECT_EQ(written, deals);
    EXPECT_EQ(file_->ResultCount(club().RoomAt(1).storeId), deals);
  }
}

// Nothing is written before the batch is due; the shutdown's flush writes the rest; a deal
// written down leaves the journal.
TEST_F(JournalTest, MovesGoOutInBatchesAndAtShutdown) {
  FakeJournal fake;
  deals_->UseJournal(&fake);
  Player& anna = Table();
  anna.budget = 1;
  Play(anna, "D5");
  ASSERT_EQ(fake.batches.size(), 1u);  // the first turn of the loop: a fresh journal
  EXPECT_EQ(fake.batches[0].front().kind, JournalEntry::Kind::Clear);
  Advance(DealJournal::kInterval - std::chrono::milliseconds(1));
  club().Flush();
  EXPECT_EQ(fake.batches.size(), 1u);
  Advance(std::chrono::milliseconds(1));
  club().Flush();
  ASSERT_EQ(fake.batches.size(), 2u);
  EXPECT_EQ(fake.batches[1].front().kind, JournalEntry::Kind::Deal);
  EXPECT_EQ(fake.batches[1].front().number, 5);

  anna.budget = -1;
  Play(anna, "Banna 0");
  ASSERT_EQ(anna.scores.size(), 2u);
  EXPECT_EQ(fake.batches.size(), 2u);
  deals_->FlushJournal();  // SIGTERM
  ASSERT_EQ(fake.batches.size(), 3u);
  int next = 0;
  for (const auto& batch : fake.batches)
    for (const JournalEntry& e : batch)
      if (e.kind == JournalEntry::Kind::Move) {
        EXPECT_EQ(e.index, next++);
      }
  EXPECT_EQ(next, MovesMade(*Game()));

  Play(anna, "F1:-1");
  deals_->FlushJournal();
  ASSERT_EQ(fake.batches.size(), 4u);
  ASSERT_EQ(fake.batches[3].size(), 1u);
  EXPECT_EQ(fake.batches[3][0].kind, JournalEntry::Kind::End);
}

TEST_F(JournalTest, AFailingWriteIsLoggedOnceAndTheDealRunsOn) {
  std::vector<std::string> log;
  SetLogSink([&](std::string_view line) { log.emplace_back(line); });
  FakeJournal fake;
  fake.fail = true;
  deals_->UseJournal(&fake);
  Player& anna = Table();
  Play(anna, "D5");
  for (int i = 0; i < 3; ++i) Batch();
  EXPECT_EQ(anna.scores.size(), 2u);
  const auto failures = std::count_if(
      log.begin(), log.end(), [](const std::string& l) { return l.starts_with("journal: write failed"); });
  EXPECT_EQ(failures, 1);
  fake.fail = false;
  Batch();  // everything again: the journal may hold anything from before
  ASSERT_EQ(fake.batches.size(), 1u);
  EXPECT_EQ(fake.batches[0][0].kind, JournalEntry::Kind::Clear);
  EXPECT_EQ(fake.batches[0][1].kind, JournalEntry::Kind::Deal);
  EXPECT_EQ(log.back(), "journal: writing again");
}

}  // namespace
}  // namespace zn::server::test
