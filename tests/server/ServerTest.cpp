// znserver over real loopback connections: framing in both directions, the club's lines reaching
// exactly the right members, bad input, and a restart over the same store.
#include <gmock/gmock.h>

#include <algorithm>
#include <filesystem>
#include <random>

#include "game/Cp1250.h"
#include "tests/support/TempDir.h"
#include "tests/support/gtest/ServerHarness.h"

namespace zn::server::test {
namespace {

using namespace zn::literals;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

std::string Cp(std::string_view s) { return std::string(s); }

class ServerTest : public ::testing::Test {
 protected:
  void TearDown() override { server_.reset(); }
  RunningServer& Run(ServerOptions options = {}) {
    server_.reset();
    server_ = std::make_unique<RunningServer>(dir_ / "club.db", options);
    return *server_;
  }
  std::uint16_t Port() { return server_->Port(); }

  zn::test::TempDir dir_;
  std::unique_ptr<RunningServer> server_;
};

TEST_F(ServerTest, LoginAndDuplicateNickname) {
  Run();
  auto anna = LoggedIn(Port(), "anna");
  Client other(Port());
  EXPECT_EQ(other.Line(), "L0.99");
  other.Send("NAnna");
  // anna's connection takes the probe in: she stays, the newcomer is refused.
  EXPECT_EQ(anna->Line(), Cp("M >>>>> Valaki a beceneveddel próbál belépni"_cp));
  EXPECT_EQ(other.Line(8000), Cp("M >>>>> Ez a becenév nem használható: Anna"_cp));
  EXPECT_TRUE(other.ClosedWithin(3000));
  anna->Send("G");
  EXPECT_EQ(anna->Line(), "G");
  EXPECT_TRUE(anna->FramingOk());
}

TEST_F(ServerTest, LobbyLinesFollowCreateEnterLeaveAndDisconnect) {
  Run();
  auto anna = LoggedIn(Port(), "anna");
  auto bela = LoggedIn(Port(), "bela");
  EXPECT_EQ(anna->Line(), "I1 Társalgó 2 0 anna 0 bela"_cp);
  MakeRoom(*bela, "kertes");
  EXPECT_EQ(anna->Line(), "I2 Társalgó kertes 2 0 anna 0 bela"_cp);
  bela->Send("E1");
  EXPECT_THAT(bela->Until("A0"), ElementsAre("R0 0 bela", "A0"));
  EXPECT_EQ(anna->Line(), "I2 Társalgó kertes 2 0 anna 1 bela"_cp);
  bela->Send("E0");
  EXPECT_EQ(bela->Line(), "I2 Társalgó kertes 2 0 anna 0 bela"_cp);
  EXPECT_EQ(anna->Line(), "I2 Társalgó kertes 2 0 anna 0 bela"_cp);
  bela.reset();
  EXPECT_EQ(anna->Line(), "I2 Társalgó kertes 1 0 anna"_cp);
  EXPECT_TRUE(anna->FramingOk());
}

TEST_F(ServerTest, RoomLinesFollowSitStandRobotAndWatch) {
  Run();
  auto anna = LoggedIn(Port(), "anna");
  auto bela = LoggedIn(Port(), "bela");
  MakeRoom(*anna, "kertes");
  anna->Send("E1");
  EXPECT_EQ(anna->Until("A0").back(), "A0");
  bela->Send("E1");
  EXPECT_EQ(bela->Until("A0").back(), "A0");
  EXPECT_EQ(anna->Until("R0 0 anna 0 bela").back(), "R0 0 anna 0 bela");
  anna->Send("S1");
  EXPECT_EQ(anna->Line(), "R0 1 anna 0 bela");
  EXPECT_EQ(bela->Line(), "R0 1 anna 0 bela");
  anna->Send("S-3");
  EXPECT_EQ(bela->Line(), "R0 1 anna 3 -Robot3 0 bela");
  bela->Send("K1");
  EXPECT_EQ(bela->Line(), "R0 1 anna 3 -Robot3 0 bela");
  bela->Send("S3");
  EXPECT_EQ(bela->Line(), "R0 1 anna 3 bela");
  anna->Send("S0");
  EXPECT_EQ(bela->Line(), "R0 3 bela 0 anna");
  EXPECT_THAT(anna->Drain(),
              ElementsAre("R0 1 anna 3 -Robot3 0 bela", "R0 1 anna 3 bela", "R0 3 bela 0 anna"));
}

TEST_F(ServerTest, ChatReachesOnlyTheSendersRoom) {
  Run();
  auto anna = LoggedIn(Port(), "anna");
  auto bela = LoggedIn(Port(), "bela");
  auto cili = LoggedIn(Port(), "cili");
  MakeRoom(*cili, "kertes");
  cili->Send("E1");
  cili->Until("A0");
  anna->Send("Mszia#mindenki");
  EXPECT_EQ(anna->LineSkipping('I'), "Manna: szia?mindenki");
  EXPECT_EQ(bela->LineSkipping('I'), "Manna: szia?mindenki");
  for (const auto& line : cili->Drain()) EXPECT_NE(line[0], 'M') << line;
}

TEST_F(ServerTest, InquiryAndAnswerAreRelayedWithTheirChecks) {
  Run();
  auto anna = LoggedIn(Port(), "anna");
  auto bela = LoggedIn(Port(), "bela");
  bela->Send("Wanna bela 1 0 0 0 x");  // nobody asked
  EXPECT_EQ(bela->LineSkipping('I'), Cp("M >>>>> Ezt a bemutatást senki nem kérte"_cp));
  bela->Send("Qanna bela");  // in anna's name
  EXPECT_EQ(bela->LineSkipping('I'), Cp("M >>>>> Csak a saját nevedben kérhetsz bemutatást"_cp));
  for (const auto& line : anna->Drain()) EXPECT_EQ(line[0], 'I') << line;
  anna->Send("Qanna bela");
  EXPECT_EQ(bela->LineSkipping('I'), "Qanna bela");
  // Lengths in bytes: the cp1250 "é" is one byte; the "#" in a text becomes "?".
  const std::string answer = "Wanna bela 4 2 0 5 " + Cp("Béla"_cp) + "42" + "a#b c";
  bela->Send(answer);
  EXPECT_EQ(anna->LineSkipping('I'), "Wanna bela 4 2 0 5 " + Cp("Béla"_cp) + "42a?b c");
}

TEST_F(ServerTest, JoinedCommandsInOneWriteAreSplit) {
  Run();
  auto anna = LoggedIn(Port(), "anna");
  MakeRoom(*anna, "kertes");
  anna->Send("E1");
  anna->Until("A0");
  anna->Send("TP25G");  // deal commands without a deal answer nothing
  EXPECT_EQ(anna->Line(), "G");
  anna->Send("K1M hi");
  EXPECT_THAT(anna->Until("Manna:  hi"), ElementsAre("R0 0 anna", "Manna:  hi"));
  anna->Send("H1E0");
  EXPECT_EQ(anna->Line(), "I2 Társalgó kertes 1 0 anna"_cp);
  anna->Send("GGGL");
  const std::string news = Cp("MÜdvözlünk a Zenit Tarokk Klubban!"_cp);
  EXPECT_THAT(anna->Until(news), ElementsAre("G", "G", "G", news));
  EXPECT_TRUE(anna->FramingOk());
}

TEST_F(ServerTest, RestartKeepsRoomsOptionsAndCounters) {
  Run();
  {
    auto anna = LoggedIn(Port(), "anna");
    MakeRoom(*anna, "kertes");
    MakeRoom(*anna, "pince");
    anna->Send("E2");
    anna->Until("A0");
    anna->Send("S1");
    anna->Send("A1");
    EXPECT_THAT(anna->Until("A1"), ElementsAre("R0 1 anna", "A1"));
  }
  server_.reset();
  {
    SqliteStore store(dir_ / "club.db");  // a deal written down while the server was away
    store.AddResult({store.LoadRooms().at(1).id, 17, 10, -10, {"anna", "-Robot2", "-Robot3", "-Robot4"}});
  }
  Run();
  auto bela = LoggedIn(Port(), "bela");
  bela->Send("E2");
  EXPECT_THAT(bela->Until("A1"), ElementsAre("R1 0 bela", "A1"));
  bela->Send("E0");
  EXPECT_EQ(bela->Line(), "I3 Társalgó kertes pince 1 0 bela"_cp);
}

TEST_F(ServerTest, FullClubRefusesNewConnections) {
  ServerOptions options;
  options.limits.maxMembers = 2;
  Run(options);
  auto anna = LoggedIn(Port(), "anna");
  auto bela = LoggedIn(Port(), "bela");
  Client third(Port());
  EXPECT_EQ(third.Line(), Cp("M >>>>> A klub megtelt, próbáld később!"_cp));
  EXPECT_TRUE(third.ClosedWithin(3000));
}

struct BadInput {
  const char* name;
  std::string bytes;
  std::vector<std::string> answer;
};
void PrintTo(const BadInput& b, std::ostream* os) { *os << b.name; }

class BadInputTest : public ServerTest, public ::testing::WithParamInterface<BadInput> {};

TEST_P(BadInputTest, ServerAnswersAsItShouldAndKeepsRunning) {
  Run();
  auto anna = LoggedIn(Port(), "anna");
  MakeRoom(*anna, "kertes");
  anna->Send("E1");
  anna->Until("A0");
  anna->Send(GetParam().bytes);
  EXPECT_EQ(anna->Line(), GetParam().answer[0]);
  EXPECT_THAT(anna->Drain(), IsEmpty());
  anna->Send("G");
  EXPECT_EQ(anna->Line(), "G");
  auto bela = LoggedIn(Port(), "bela");  // and others still get in
  EXPECT_TRUE(anna->FramingOk());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, BadInputTest,
    ::testing::Values(BadInput{"UnknownRoom", "E999", {Cp("M >>>>> Nincs ilyen terem"_cp)}},
                      BadInput{"SeatSeven", "S7", {Cp("M >>>>> Nincs ilyen hely"_cp)}},
                      BadInput{"RobotOnSeatOne", "S-1", {Cp("M >>>>> Nincs ilyen hely"_cp)}},
                      BadInput{"TooLongChat",
                               "M" + std::string(5000, 'x'),
                               {Cp("M >>>>> Túl hosszú parancs, nem hajtható végre"_cp)}},
                      BadInput{"BrokenResult", "F5T", {Cp("M >>>>> Hibás parancs"_cp)}},
                      BadInput{"RoomNameWithSpace",
                               "Rnagy terem",
                               {Cp("M >>>>> Ez a teremnév nem használható: nagy terem"_cp)}}));

TEST_F(ServerTest, NicknamesWithHashOrSpaceAreRefused) {
  Run();
  for (const char* nick : {"an#na", "an na"}) {
    Client c(Port());
    EXPECT_EQ(c.Line(), "L0.99");
    c.Send(std::string("N") + nick);
    std::string want = Cp("M >>>>> Ez a becenév nem használható: "_cp) + nick;
    std::replace(want.begin(), want.end(), '#', '?');
    EXPECT_EQ(c.Line(), want);
    EXPECT_TRUE(c.ClosedWithin(3000));
  }
}

TEST_F(ServerTest, AMegabyteWithoutACommandCodeLeavesTheServerRunning) {
  Run();
  auto anna = LoggedIn(Port(), "anna");
  anna->Send(std::string(1 << 20, '\x01'));
  std::vector<std::string> lines = {anna->Line()};
  for (auto& l : anna->Drain(500)) lines.push_back(l);
  for (const auto& l : lines) EXPECT_EQ(l, Cp("M >>>>> Túl hosszú parancs, nem hajtható végre"_cp));
  anna->Send("G");
  EXPECT_EQ(anna->Line(), "G");
}

// The server's reads fill its 64 kB buffer; an over-long line ending on a read boundary must not
// make the server drop the command sent after it.
TEST_F(ServerTest, CommandAfterAnOverLongLineIsAnsweredWhateverItsLength) {
  Run();
  auto anna = LoggedIn(Port(), "anna");
  for (const std::size_t length : {(16u << 16) - 1, 16u << 16, (16u << 16) + 1, 17u << 16}) {
    anna->Send("M" + std::string(length - 1, 'x'));
    EXPECT_EQ(anna->Line(), Cp("M >>>>> Túl hosszú parancs, nem hajtható végre"_cp)) << length;
    anna->Drain(200);
    anna->Send("G");
    EXPECT_EQ(anna->Line(), "G") << length;
  }
}

TEST_F(ServerTest, RandomBytesLeaveTheServerRunning) {
  Run();
  std::mt19937 random(20261207);
  std::vector<std::unique_ptr<Client>> clients;
  for (int i = 0; i < 4; ++i) {
    auto c = std::make_unique<Client>(Port());
    if (i % 2) c->Send("Nrand" + std::to_string(i));
    std::string junk(3000, '\0');
    for (char& ch : junk) ch = static_cast<char>(random() & 0xFF);
    c->Send(junk);
    clients.push_back(std::move(c));
  }
  for (auto& c : clients) c->Drain(200);
  auto anna = LoggedIn(Port(), "anna");
  anna->Send("G");
  EXPECT_EQ(anna->Line(), "G");
}

// Each of many commands glued into one write takes a token: a burst of room changes is cut short.
TEST_F(ServerTest, GluedCommandsCountOneByOne) {
  Run();
  auto anna = LoggedIn(Port(), "anna");
  MakeRoom(*anna, "kertes");
  std::string burst;
  for (int i = 0; i < 100; ++i) burst += "E1E0";
  anna->Send(burst);
  EXPECT_THAT(anna->Drain(500), ::testing::Contains(Cp("M >>>>> Túl sok parancs, a kapcsolat megszakad"_cp)));
  EXPECT_TRUE(anna->ClosedWithin(3000));
}

TEST_F(ServerTest, ConnectionsPerAddressAreLimited) {
  ServerOptions options;
  options.limits.maxPerAddress = 2;
  Run(options);
  auto anna = LoggedIn(Port(), "anna");
  Client idle(Port());
  EXPECT_EQ(idle.Line(), "L0.99");
  Client third(Port());
  EXPECT_EQ(third.Line(), Cp("M >>>>> Erről a címről túl sok kapcsolat van nyitva"_cp));
  EXPECT_TRUE(third.ClosedWithin(3000));
}

}  // namespace
}  // namespace zn::server::test
