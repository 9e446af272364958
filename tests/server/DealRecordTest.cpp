// Every deal kept whole: played through the club, exported in the open format, read back and
// compared with the lines the members saw; the record and the result stand or fall together.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <sqlite3.h>

#include "dealrecord/DealFormat.h"
#include "dealrecord/GameRecord.h"
#include "game/PlayRules.h"
#include "server/store/Export.h"
#include "tests/server/DealHarness.h"
#include "tests/support/TempDir.h"

namespace zn::server::test {
namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::vector<dealrecord::DealRecord> Exported(SqliteStore& store, ExportOptions options = {}) {
  zn::test::TempDir dir;
  options.file = dir / "deals.txt";
  const std::size_t n = ExportRecords(store, options);
  std::vector<dealrecord::DealRecord> deals = dealrecord::ReadDeals(ReadFile(options.file));
  EXPECT_EQ(deals.size(), n);
  return deals;
}

// The deal as one member saw it: the hands (a watcher's four H lines), the last B line, the
// complete tricks (P0 lines, cards by seat) and the F line.
void ExpectSameAsSeen(const dealrecord::DealRecord& r, const Player& watcher, const Player& seat1) {
  int hands = 0;
  for (const std::string& line : watcher.seen)
    if (line[0] == 'H' && hands < 4) {
      const auto h = proto::ReadHand(line).value;
      TCards cards(h.cards.begin(), h.cards.end());
      std::sort(cards.begin(), cards.end());
      EXPECT_EQ(r.hands[static_cast<std::size_t>(h.seat)], cards) << line;
      ++hands;
    }
  EXPECT_EQ(hands, 4);
  std::string bidLine, result;
  std::vector<proto::TPlayLine> tricks;
  for (const std::string& line : seat1.seen) {
    if (line[0] == 'B') bidLine = line;
    if (line[0] == 'F') result = line;
    if (line.starts_with("P0 ")) tricks.push_back(proto::ReadPlay(line).value);
  }
  const proto::TBidding bidding = proto::ReadBidding(bidLine).value;
  EXPECT_EQ(r.dealer, bidding.dealer);
  ASSERT_EQ(r.bids.size(), bidding.blocks.size());
  for (std::size_t i = 0; i < r.bids.size(); ++i) {
    EXPECT_EQ(r.seats[static_cast<std::size_t>(r.bids[i].seat)].name, bidding.blocks[i].nickname);
    EXPECT_EQ(r.bids[i].bids, bidding.blocks[i].bids);
  }
  ASSERT_EQ(r.tricks.size(), tricks.size());
  for (std::size_t k = 0; k < tricks.size(); ++k)
    for (int i = 0; i < kSeats; ++i)
      EXPECT_EQ(r.tricks[k].cards[static_cast<std::size_t>(i)],
                tricks[k].cards[static_cast<std::size_t>(r.tricks[k].SeatAt(i) - 1)]);
  EXPECT_EQ(std::to_string(r.TakenBy(2)), tricks.back().taken);
  EXPECT_EQ(r.written, !result.empty());
  if (r.written) {
    EXPECT_EQ("F" + std::to_string(r.points14) + ":" + std::to_string(r.points23), result);
  }
}

class DealRecordTest : public DealFixture {};

TEST_F(DealRecordTest, DealsPlayedThroughTheClubExportAsTheMembersSawThem) {
  Player& anna = Seat("anna", 1);
  for (int s = 2; s <= 4; ++s) Do(anna.id, "S-" + std::to_string(s));
  Player& cili = Seat("cili", 0);
  Do(cili.id, "K1");
  Do(cili.id, "Z1");  // the watcher's client keeps an archive; anna's does not ask
  Pump();
  const std::vector<std::int32_t> numbers = {36, 1001, 7};
  for (const std::int32_t n : numbers) {
    anna.seen.clear();
    cili.seen.clear();
    Play(anna, "D" + std::to_string(n));
    ASSERT_EQ(Game()->CurrentPhase(), deal::Game::Phase::Over);
    if (n != 1001) Play(anna, "F" + std::to_string(n) + ":-" + std::to_string(n));  // 1001: none
    now += std::chrono::seconds(1);
    const std::vector<dealrecord::DealRecord> deals = Exported(store_);
    ASSERT_FALSE(deals.empty());
    SCOPED_TRACE(n);
    const dealrecord::DealRecord& r = deals.back();
    EXPECT_EQ(r.number, n);
    EXPECT_EQ(r.room, "kertes");
    EXPECT_EQ(r.seats[1], (dealrecord::SeatRecord{"anna", false}));
    EXPECT_EQ(r.seats[3], (dealrecord::SeatRecord{"-Robot3", true}));
    EXPECT_EQ(r.tricks.size(), 10u);
    ExpectSameAsSeen(r, cili, anna);
    // The record line: the same deal, before any result is written down.
    std::vector<dealrecord::DealRecord> sent;
    for (const std::string& line : cili.seen)
      if (line[0] == 'Z') sent = dealrecord::ReadDeals(Cp1250ToUtf8(proto::ReadRecord(line)));
    ASSERT_EQ(sent.size(), 1u);
    dealrecord::DealRecord unwritten = r;
    unwritten.time = 0;
    unwritten.written = false;
    unwritten.points14 = unwritten.points23 = 0;
    EXPECT_EQ(sent[0], unwritten);
    for (const std::string& line : anna.seen) EXPECT_NE(line[0], 'Z');
  }
  EXPECT_EQ(Exported(store_).size(), numbers.size());
}

// Seat 1 leaves a table of robots: they play the deal out and the server writes the result itself;
// the record it keeps is marked with that result, as the F line says.
TEST_F(DealRecordTest, ADealTheServerWritesDownIsKeptWithItsResult) {
  Player& anna = Seat("anna", 1);
  Player& cili = Seat("cili", 0);
  for (int s = 2; s <= 4; ++s) Do(anna.id, "S-" + std::to_string(s));
  Do(cili.id, "K1");
  Do(anna.id, "D7");
  club().Receive(anna.id, "S0");
  Pump();
  ASSERT_EQ(Game()->CurrentPhase(), deal::Game::Phase::Over);
  std::string result;
  for (const std::string& line : cili.seen)
    if (line[0] == 'F') result = line;
  const std::vector<dealrecord::DealRecord> deals = Exported(store_);
  ASSERT_EQ(deals.size(), 1u);
  EXPECT_EQ(deals[0].number, 7);
  ASSERT_TRUE(deals[0].written);
  EXPECT_EQ("F" + std::to_string(deals[0].points14) + ":" + std::to_string(deals[0].points23), result);
}

class RecordStoreTest : public ::testing::Test {
 protected:
  dealrecord::DealRecord Deal(std::int32_t n, const char* seat1) {
    deal::Game game(n);
    deal::SimpleRobot robot;
    while (game.CurrentPhase() != deal::Game::Phase::Over)
      if (game.OnTurn() == 0)
        game.Continue();
      else
        game.RobotMove(robot);
    dealrecord::DealRecord r = dealrecord::RecordOfGame(game);
    r.room = "kertes";
    r.seats = {{{}, {seat1, false}, {"-Robot2", true}, {"bela", false}, {"-Robot4", true}}};
    return r;
  }
  zn::test::TempDir dir_;
  std::int64_t clock_ = 1'765'000'000;
  SqliteStore store_{dir_ / "club.db", [this] { return clock_; }};
};

TEST_F(RecordStoreTest, ARecordIsMarkedOnlyByAResultThatIsStored) {
  const std::int64_t room = store_.CreateRoom("kertes");
  const std::int64_t first = store_.AddRecord(room, Deal(5, "anna"));
  const std::int64_t second = store_.AddRecord(room, Deal(6, "anna"));
  // The result of the second deal fails (no such room): its record stays not written down.
  EXPECT_THROW(store_.AddResult({room + 5, 6, 3, -3, {}, second}), StoreError);
  store_.AddResult({room, 5, 7, -7, {}, first});
  const auto deals = Exported(store_);
  ASSERT_EQ(deals.size(), 2u);
  dealrecord::DealRecord expected = Deal(5, "anna");
  expected.time = clock_;
  expected.written = true;
  expected.points14 = 7;
  expected.points23 = -7;
  EXPECT_EQ(deals[0], expected);
  EXPECT_FALSE(deals[1].written);
  EXPECT_EQ(deals[1].number, 6);
}

TEST_F(RecordStoreTest, ExportTakesTheDaysAskedForAndHidesNicknames) {
  const std::int64_t room = store_.CreateRoom("kertes");
  store_.AddRecord(room, Deal(1, "anna"));
  clock_ += 86'400;
  store_.AddRecord(room, Deal(2, "cili"));
  dealrecord::DealRecord named = Deal(3, "anna");
  named.room = "annaszoba";
  store_.AddRecord(room, named);
  ExportOptions since;
  since.since = clock_ - clock_ % 86'400;
  EXPECT_EQ(Exported(store_, since).size(), 2u);
  ExportOptions hidden;
  hidden.anonymise = true;
  const auto deals = Exported(store_, hidden);
  ASSERT_EQ(deals.size(), 3u);
  using namespace zn::literals;
  const std::string j1 = std::string("játékos1"_cp), j2 = std::string("játékos2"_cp),
                    j3 = std::string("játékos3"_cp);
  EXPECT_EQ(deals[0].seats[1].name, j1);  // anna
  EXPECT_EQ(deals[0].seats[3].name, j2);  // bela
  EXPECT_EQ(deals[1].seats[1].name, j3);  // cili
  EXPECT_EQ(deals[2].seats[1].name, j1);
  EXPECT_EQ(deals[2].seats[2].name, "-Robot2");
  // Room names often carry a member's name: aliased the same way.
  EXPECT_EQ(deals[0].room, "terem1");
  EXPECT_EQ(deals[1].room, "terem1");
  EXPECT_EQ(deals[2].room, "terem2");
}

TEST_F(RecordStoreTest, AnExportThatCannotBeWrittenLeavesNoFile) {
  store_.AddRecord(store_.CreateRoom("kertes"), Deal(1, "anna"));
  std::filesystem::create_directory(dir_ / "taken");
  for (const char* name : {"missing/deals.txt", "taken"}) {  // no folder; a folder in the way
    ExportOptions options;
    options.file = dir_ / name;
    EXPECT_THROW(ExportRecords(store_, options), std::runtime_error) << name;
    for (const std::string& file : dir_.Names()) EXPECT_EQ(file.find(".part"), std::string::npos) << file;
  }
}

// A kept row that breaks a rule of play is refused as the open format's reader refuses it, not
// exported as a file no reader takes. The row is changed as a broken disk or another tool might:
// in the first trick, the second card is swapped with a later card that its seat could not play
// there (not held, or not following the lead).
struct BrokenPlay {
  const char* name;
  bool sameSeat;  // the card swapped in is the seat's own (it breaks the follow rule) or another's
  const char* reason;
};
void PrintTo(const BrokenPlay& c, std::ostream* os) { *os << c.name; }

class BrokenPlayTest : public RecordStoreTest, public ::testing::WithParamInterface<BrokenPlay> {};

TEST_P(BrokenPlayTest, IsRefusedWhenRead) {
  // The first deal whose first trick's second seat holds a card it may not play there.
  dealrecord::DealRecord r;
  std::size_t swapWith = 0;
  for (std::int32_t n = 1; n < 50 && swapWith == 0; ++n) {
    r = Deal(n, "anna");
    if (r.tricks.size() < 2) continue;
    const dealrecord::TrickRecord& first = r.tricks[0];
    const THand hand(r.hands[static_cast<std::size_t>(first.SeatAt(1))]);
    for (std::size_t at = kSeats; at < r.tricks.size() * kSeats && swapWith == 0; ++at) {
      const dealrecord::TrickRecord& t = r.tricks[at / kSeats];
      const TCard c = t.cards[at % kSeats];
      const bool own = t.SeatAt(static_cast<int>(at % kSeats)) == first.SeatAt(1);
      if (own == GetParam().sameSeat && (!own || !MayPlay(hand, first.cards[0], c))) swapWith = at;
    }
  }
  ASSERT_NE(swapWith, 0u);
  store_.AddRecord(store_.CreateRoom("kertes"), r);
  sqlite3* db = nullptr;
  ASSERT_EQ(sqlite3_open((dir_ / "club.db").c_str(), &db), SQLITE_OK);
  const std::string sql = "UPDATE deal_records SET cards = substr(cards, 1, 1) || substr(cards, " +
                          std::to_string(swapWith + 1) + ", 1) || substr(cards, 3, " +
                          std::to_string(swapWith - 2) + ") || substr(cards, 2, 1) || substr(cards, " +
                          std::to_string(swapWith + 2) + ")";
  EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
  sqlite3_close(db);
  try {
    store_.ForEachRecord(0, [](const dealrecord::DealRecord&) { ADD_FAILURE() << "a broken deal was read"; });
    ADD_FAILURE() << "not refused";
  } catch (const StoreError& e) {
    EXPECT_NE(std::string(e.what()).find("breaks the rules"), std::string::npos) << e.what();
    EXPECT_NE(std::string(e.what()).find(GetParam().reason), std::string::npos) << e.what();
  }
}

INSTANTIATE_TEST_SUITE_P(Rows, BrokenPlayTest,
                         ::testing::Values(BrokenPlay{"CardNotHeld", false, "nincs a kijátszó kezében"},
                                           BrokenPlay{"SuitNotFollowed", true, "szabálytalan lap"}));

// The temporary file is made new and owner-only: a link planted where an earlier server wrote it
// is not written through, and the export's own file is the owner's alone.
TEST_F(RecordStoreTest, AnExportWritesThroughNoPlantedLinkAndOnlyForItsOwner) {
  store_.AddRecord(store_.CreateRoom("kertes"), Deal(1, "anna"));
  { std::ofstream(dir_ / "victim") << "keep me"; }
  std::filesystem::create_symlink(dir_ / "victim", dir_ / "deals.txt.part");
  ExportOptions options;
  options.file = dir_ / "deals.txt";
  EXPECT_EQ(ExportRecords(store_, options), 1u);
  EXPECT_EQ(ReadFile(dir_ / "victim"), "keep me");
  EXPECT_EQ(dealrecord::ReadDeals(ReadFile(options.file)).size(), 1u);
  const auto perms = std::filesystem::status(options.file).permissions();
  EXPECT_EQ(perms & (std::filesystem::perms::group_all | std::filesystem::perms::others_all),
            std::filesystem::perms::none);
}

// A mistyped --db: nothing is created and nothing is exported.
TEST(ExportStore, AStoreThatDoesNotExistIsRefused) {
  const zn::test::TempDir dir;
  ExportOptions options;
  options.file = dir / "deals.txt";
  EXPECT_THROW(ExportStore(dir / "klub.db", options), StoreError);
  EXPECT_TRUE(dir.Names().empty());
}

}  // namespace
}  // namespace zn::server::test
