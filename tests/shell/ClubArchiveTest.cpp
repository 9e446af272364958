// The club window's part of the archive: "Z1" once a connection after the login, the record line
// kept in the archive file, the "F" line marking it, a malformed record refused whole.
#include <gmock/gmock.h>

#include <algorithm>

#include "dealrecord/DealFormat.h"
#include "tests/dealrecord/DealKit.h"
#include "tests/shell/ClubFixture.h"

namespace zn::test {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

class ClubArchiveTest : public ClubTest {
 protected:
  ClubArchiveTest() { desk.desk.Data = temp.Path(); }
  void LoggedIn() {
    Start();
    Connect();
    Feed({"L0.99", proto::LineReads(proto::kReadsKnown),
          proto::LineLobby({{S("Társalgó"_cp), S("Kék"_cp)}, {}})});
  }
  std::string RecordLine(const dealrecord::DealRecord& d) {
    return proto::LineRecord(Utf8ToCp1250(dealrecord::WriteDeal(d)));
  }
};

TEST_F(ClubArchiveTest, AsksOnceAConnectionAfterTheLoginAndNeverWithTheNickname) {
  LoggedIn();
  Feed({proto::LineLobby({{S("Társalgó"_cp)}, {}})});
  // Separate writes ("N" runs to the end of a read): the newer lines this client reads, answered
  // before the nickname goes, then the claim request and the records.
  EXPECT_THAT(log.sent, ElementsAre(proto::CmdReads(proto::kReadsKnown), "NAnna", "Y", "Z1"));
  form->cmDisconnectExecute();
  Connect();
  Feed({"L0.99", proto::LineReads(proto::kReadsKnown), proto::LineLobby({{S("Társalgó"_cp)}, {}})});
  EXPECT_EQ(std::count(log.sent.begin(), log.sent.end(), "Z1"), 2);
  // A drop the member did not ask for: the way back logs in on a new connection, which asks again.
  log.active = false;
  form->Link->Socket().OnDisconnected();
  desk.desk.Clock += 1000;
  form->LinkTimerTimer();
  log.active = true;
  form->Link->Socket().OnConnected();
  Feed({"L0.99", proto::LineReads(proto::kReadsKnown), proto::LineLobby({{S("Társalgó"_cp)}, {}})});
  EXPECT_EQ(std::count(log.sent.begin(), log.sent.end(), "Z1"), 3);
}

TEST_F(ClubArchiveTest, WithoutADataFolderNothingIsAskedNorKept) {
  desk.desk.Data.clear();
  LoggedIn();
  EXPECT_EQ(std::count(log.sent.begin(), log.sent.end(), "Z1"), 0);
  Feed({RecordLine(dealrecord::test::PlayedDeal(7, false))});
  EXPECT_TRUE(desk.desk.Errors.empty());
}

TEST_F(ClubArchiveTest, TheRecordIsKeptAndTheResultMarksIt) {
  LoggedIn();
  dealrecord::DealRecord sent = dealrecord::test::PlayedDeal(1042, false);
  sent.time = 0;
  desk.desk.Clock = 1'765'201'908'000;
  // The second result has no deal.
  Feed({"D1042", RecordLine(sent), proto::LineResult(12, -12), proto::LineResult(5, -5)});
  TArchiveForm archive;  // as the client finds it after a restart
  archive.Show();
  ASSERT_EQ(archive.Rows.size(), 1u);
  const dealrecord::DealRecord kept = archive.Store().Load(archive.Rows[0].id);
  dealrecord::DealRecord expected = sent;
  expected.time = 1'765'201'908;
  expected.room = kept.room;  // the room the client was in
  expected.written = true;
  expected.points14 = 12;
  expected.points23 = -12;
  EXPECT_EQ(kept, expected);
  EXPECT_TRUE(desk.desk.Errors.empty());
}

TEST_F(ClubArchiveTest, AMalformedRecordIsRefusedWholeNamingItsLine) {
  LoggedIn();
  std::string block = dealrecord::WriteDeal(dealrecord::test::PlayedDeal(3, false));
  block.replace(block.find("hand 2 "), 7, "hand 2 Treff X, ");
  Feed({"D3", proto::LineRecord(Utf8ToCp1250(block)), proto::LineResult(1, -1)});
  ASSERT_EQ(desk.desk.Errors.size(), 1u);
  EXPECT_THAT(Cp1250ToUtf8(desk.desk.Errors[0]), HasSubstr("11. sorában: ismeretlen lap"));
  TArchiveForm archive;
  archive.Show();
  EXPECT_TRUE(archive.Rows.empty());
}

// A hostile server sends records of deals the member never saw, or the same one again and again.
struct GateCase {
  const char* name;
  std::vector<std::string> before;  // lines before the records ("-" drops the link and logs in again)
  std::vector<std::int32_t> records;
  std::size_t kept;
};
void PrintTo(const GateCase& c, std::ostream* os) { *os << c.name; }

class RecordGate : public ClubArchiveTest, public ::testing::WithParamInterface<GateCase> {};

TEST_P(RecordGate, KeepsOnlyDealsTheMemberWasAtEachOnce) {
  LoggedIn();
  for (const std::string& line : GetParam().before) {
    if (line != "-") {
      Feed({line});
      continue;
    }
    form->cmDisconnectExecute();
    Connect();
    Feed({"L0.99", proto::LineReads(proto::kReadsKnown), proto::LineLobby({{S("Társalgó"_cp)}, {}})});
  }
  for (const std::int32_t number : GetParam().records)
    Feed({RecordLine(dealrecord::test::PlayedDeal(number, false))});
  TArchiveForm archive;
  archive.Show();
  EXPECT_EQ(archive.Rows.size(), GetParam().kept);
  EXPECT_TRUE(desk.desk.Errors.empty());
}

INSTANTIATE_TEST_SUITE_P(Records, RecordGate,
                         ::testing::Values(GateCase{"NoDealLine", {}, {7}, 0},
                                           GateCase{"AnotherDeal", {"D8"}, {7}, 0},
                                           GateCase{"TheDealSeen", {"D7"}, {7}, 1},
                                           GateCase{"TheSameTwice", {"D7"}, {7, 7}, 1},
                                           GateCase{"TwoDealsInTurn", {"D7", "D8"}, {7, 8}, 2},
                                           GateCase{"SeenOnTheConnectionBefore", {"D7", "-"}, {7}, 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RecordGateBound, OneConnectionKeepsABoundedNumber) {
  TRecordGate gate;
  std::size_t admitted = 0;
  for (std::int32_t n = 1; n <= 2 * static_cast<std::int32_t>(TRecordGate::kMaxPerConnection); ++n) {
    gate.DealSeen(n);
    admitted += gate.Admit(n) ? 1 : 0;
  }
  EXPECT_EQ(admitted, TRecordGate::kMaxPerConnection);
  gate.Reset();
  gate.DealSeen(1);
  EXPECT_TRUE(gate.Admit(1));
}

// The table passes on the cards it saw; those played while the link was down come with the
// server's record at the end of the deal, so no trick of the played-games record stays short.
TEST_F(ClubArchiveTest, TheRecordFillsTheCardsMissedWhileAway) {
  LoggedIn();
  const dealrecord::DealRecord sent = dealrecord::test::PlayedDeal(5, false);
  const dealrecord::TrickRecord& first = sent.tricks[0];
  std::array<std::int32_t, 4> table{};  // seats 1..4: the first two cards of trick 1
  table[static_cast<std::size_t>(first.SeatAt(0) - 1)] = first.cards[0];
  table[static_cast<std::size_t>(first.SeatAt(1) - 1)] = first.cards[1];
  Feed({"D5", proto::LinePlay(first.SeatAt(2), 1, 0, table)});
  // Back after a drop, the same row goes on with the deal as it stands now, three tricks on.
  Feed({proto::LinePlay(1, 4, 2, {0, 0, 0, 0}), RecordLine(sent)});
  ASSERT_EQ(form->ResForm->GameCount(), 1);
  const TTrick& kept = form->ResForm->Games.back().Trick;
  for (std::size_t k = 0; k < sent.tricks.size(); ++k)
    for (int i = 0; i < 4; ++i)
      EXPECT_EQ(
          kept.Trick(static_cast<int>(k) + 1).Cards[static_cast<std::size_t>(sent.tricks[k].SeatAt(i) % 4)],
          sent.tricks[k].cards[static_cast<std::size_t>(i)])
          << "trick " << k + 1 << " card " << i;
}

}  // namespace
}  // namespace zn::test
