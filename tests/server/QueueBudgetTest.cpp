// Output that members do not read: a picture still on its way is not queued again, and the club's
// queued bytes stay within its budget however many members stop reading.
#include <gmock/gmock.h>

#include <thread>

#include "tests/server/ClubHarness.h"
#include "tests/support/TempDir.h"
#include "tests/support/gtest/ServerHarness.h"

namespace zn::server::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// A member whose earlier lines are still unsent repeats commands that only show him what he has.
TEST_F(ClubFixture, APictureStillOnItsWayIsNotQueuedAgain) {
  const struct {
    const char* name;
    std::vector<std::string> commands;  // after entering room 1, with his queue not written
    std::vector<std::string> lines;     // what he gets for all of them
  } cases[] = {
      {"the own room again and again", {"E1", "E1", "E1"}, {}},
      {"watching on and off shows the same room", {"K1", "K0", "K1"}, {}},
      {"another room, then back", {"E2", "E1"}, {"R0 0 anna", "A0", "R0 0 anna", "A0"}},
      {"the lobby, then back", {"E0", "E1"}, {"R0 0 anna", "A0"}},
  };
  store_.CreateRoom("kert");
  store_.CreateRoom("masik");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string name = "anna" + std::to_string(lastId_ + 1);
    const MemberId anna = Join(name);
    Do(anna, "E1");
    out.queued[anna] = out.streamed[anna];  // nothing written since he came in
    std::vector<std::string> got;
    for (const std::string& command : c.commands)
      for (std::string& line : Do(anna, command)) got.push_back(std::move(line));
    std::erase_if(got, [](const std::string& l) { return l[0] == 'I'; });  // the lobby's own pace
    std::vector<std::string> want = c.lines;
    for (std::string& line : want)
      if (line[0] == 'R') line.replace(line.find("anna"), 4, name);
    EXPECT_EQ(got, want);
    Do(anna, "E0");
    club().Disconnect(anna);
  }
}

TEST_F(ClubFixture, TheNextLobbyLineWaitsUntilTheLastOneIsWritten) {
  const MemberId anna = Join("anna");
  const MemberId bela = Join("bela");
  out.queued[anna] = out.streamed[anna];  // anna's lobby line has not gone out
  for (const char* nick : {"cili", "dani"}) {
    Join(nick);
    Advance(std::chrono::seconds(3));
    club().Flush();
  }
  EXPECT_THAT(out.Take(anna), IsEmpty());
  EXPECT_EQ(out.Take(bela).size(), 2u);
  out.queued[anna] = 0;  // written: the changes go out together at her next turn
  Advance(std::chrono::seconds(3));
  club().Flush();
  EXPECT_THAT(out.Take(anna), ElementsAre("I1 Társalgó 4 0 anna 0 bela 0 cili 0 dani"_cp));
}

TEST_F(ClubFixture, AMemberClosedForNotReadingIsToldWhyIfHeReadsIt) {
  for (const bool reads : {false, true}) {
    SCOPED_TRACE(reads);
    const MemberId anna = Join(reads ? "anna" : "bela");
    if (reads) Do(anna, proto::CmdReads(proto::kReadsClosing));
    club().NotReading(anna, "9 bytes queued");
    std::vector<std::string> want = {
        Cp("M >>>>> Túl sok olvasatlan sor gyűlt össze, a kapcsolat megszakad"_cp)};
    if (reads) want.push_back(proto::LineClosing(proto::TCloseReason::NotReading));
    EXPECT_EQ(out.Take(anna), want);
    EXPECT_TRUE(out.closed.count(anna));
    EXPECT_THAT(Do(anna, "G"), IsEmpty()) << "its commands are ignored from now on";
  }
}

struct Sleepers {
  const char* name;
  const char* loop;     // what each sleeper sends again and again
  int togglesPerRound;  // seat changes of each member who reads: a new picture for everyone
};
void PrintTo(const Sleepers& s, std::ostream* os) { *os << s.name; }

class QueueBudget : public ::testing::TestWithParam<Sleepers> {};

// 32 members stop reading and send their loop while others who read sit and stand: the club's
// queued bytes stay within its budget (give or take what a moment adds), and the members who read
// stay.
TEST_P(QueueBudget, MembersWhoNeverReadCannotQueueMoreThanTheClubsBudget) {
  zn::test::TempDir dir;
  ServerOptions options;
  options.queuedTotal = 1u << 20;
  options.sendBuffer = 4096;
  options.limits.maxPerAddress = 64;
  options.limits.connectsPerMinute = 1000;
  options.limits.commandsPerSecond = 100000;
  options.limits.commandBurst = 100000;
  RunningServer server(dir / "club.db", options);
  auto anna = LoggedIn(server.Port(), "anna");
  MakeRoom(*anna, "kertes");
  std::vector<std::unique_ptr<Client>> sleepers;
  for (int i = 0; i < 32; ++i) {
    sleepers.push_back(LoggedIn(server.Port(), "alvo" + std::to_string(i) + "xxxxxxxxxx", 4096));
    sleepers.back()->Send("E1");
  }
  std::vector<std::unique_ptr<Client>> movers;
  for (int i = 0; i < 2; ++i) {
    movers.push_back(LoggedIn(server.Port(), "mozgo" + std::to_string(i)));
    movers.back()->Send("E1");
  }
  std::string loop;
  for (int k = 0; k < 20; ++k) loop += GetParam().loop;
  std::size_t most = 0;
  for (int round = 0; round < 40; ++round) {
    for (std::size_t i = 0; i < movers.size(); ++i) {
      std::string burst;
      for (int k = 0; k < GetParam().togglesPerRound; ++k) burst += "S" + std::to_string(i + 1) + "S0";
      if (!burst.empty()) movers[i]->Send(burst);
    }
    for (auto& s : sleepers) s->Send(loop);
    for (auto& m : movers) m->Drain(5);
    most = std::max(most, server.QueuedTotal());
  }
  EXPECT_LE(most, options.queuedTotal + (512u << 10));
  for (auto& m : movers) {
    m->Drain(5);
    m->Send("G");
    EXPECT_EQ(m->LineSkipping('R'), "G") << "a member who reads stays";
  }
}

INSTANTIATE_TEST_SUITE_P(Loops, QueueBudget,
                         ::testing::Values(Sleepers{"EnteringTheirOwnRoom", "E1", 0},
                                           Sleepers{"WhileOthersSitAndStand", "G", 5}));

}  // namespace
}  // namespace zn::server::test
