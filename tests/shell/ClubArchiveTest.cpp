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
    Feed({"L0.99", proto::LineLobby({{S("Társalgó"_cp), S("Kék"_cp)}, {}})});
  }
  std::string RecordLine(const dealrecord::DealRecord& d) {
    return proto::LineRecord(Utf8ToCp1250(dealrecord::WriteDeal(d)));
  }
};

TEST_F(ClubArchiveTest, AsksOnceAConnectionAfterTheLoginAndNeverWithTheNickname) {
  LoggedIn();
  Feed({proto::LineLobby({{S("Társalgó"_cp)}, {}})});
  // Separate writes ("N" runs to the end of a read): the claim request, the records, then the
  // newer lines this client reads.
  EXPECT_THAT(log.sent, ElementsAre("NAnna", "Y", "Z1", proto::CmdReads(proto::kReadsKnown)));
  form->cmDisconnectExecute();
  Connect();
  Feed({"L0.99", proto::LineLobby({{S("Társalgó"_cp)}, {}})});
  EXPECT_EQ(std::count(log.sent.begin(), log.sent.end(), "Z1"), 2);
  // A drop the member did not ask for: the way back logs in on a new connection, which asks again.
  log.active = false;
  form->Link->Socket().OnDisconnected();
  desk.desk.Clock += 1000;
  form->LinkTimerTimer();
  log.active = true;
  form->Link->Socket().OnConnected();
  Feed({"L0.99", proto::LineLobby({{S("Társalgó"_cp)}, {}})});
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
  Feed({RecordLine(sent), proto::LineResult(12, -12), proto::LineResult(5, -5)});  // the second: no deal
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
  Feed({proto::LineRecord(Utf8ToCp1250(block)), proto::LineResult(1, -1)});
  ASSERT_EQ(desk.desk.Errors.size(), 1u);
  EXPECT_THAT(Cp1250ToUtf8(desk.desk.Errors[0]), HasSubstr("11. sorában: ismeretlen lap"));
  TArchiveForm archive;
  archive.Show();
  EXPECT_TRUE(archive.Rows.empty());
}

}  // namespace
}  // namespace zn::test
