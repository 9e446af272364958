// Login, the lobby's "I" lines and their throttling, rooms and the member limit.
#include "tests/server/ClubHarness.h"

namespace zn::server::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using Lines = std::vector<std::string>;

class LobbyTest : public ClubFixture {};

TEST_F(LobbyTest, ConnectSendsTheVersionAndLoginSendsTheLobbyAtOnce) {
  club().Connect(1);
  EXPECT_THAT(out.Take(1), ElementsAre("L0.99"));
  EXPECT_THAT(Do(1, "Nanna"), ElementsAre(Cp("I1 Társalgó 1 0 anna"_cp)));
}

TEST_F(LobbyTest, CommandsBeforeLoginAreIgnored) {
  club().Connect(1);
  out.Take(1);
  EXPECT_TRUE(Do(1, "G").empty());
  EXPECT_TRUE(Do(1, "Rkertes").empty());
  EXPECT_EQ(club().RoomCount(), 1u);
}

struct NickCase {
  const char* name;
  std::string nickname;
};
void PrintTo(const NickCase& c, std::ostream* os) { *os << c.name; }

class NicknameRefusal : public ClubFixture, public ::testing::WithParamInterface<NickCase> {};

TEST_P(NicknameRefusal, GetsTheNoticeAndIsClosed) {
  Join("Anna");
  club().Connect(50);
  out.Take(50);
  club().Receive(50, "N" + GetParam().nickname);
  Advance(Club::kProbeWait);  // a nickname online waits for the probe of its connection
  EXPECT_THAT(Do(50, "G"),
              ElementsAre(Cp("M >>>>> Ez a becenév nem használható: "_cp) + GetParam().nickname));
  EXPECT_TRUE(out.closed.count(50));
  EXPECT_EQ(club().Online(), 1u);
  // Still closing: later commands change nothing.
  EXPECT_TRUE(Do(50, "G").empty());
}

INSTANTIATE_TEST_SUITE_P(
    Rules, NicknameRefusal,
    ::testing::Values(NickCase{"TooShort", "abc"}, NickCase{"TooLong", std::string(21, 'x')},
                      NickCase{"Space", "an na"}, NickCase{"Robotlike", "-anna"}, NickCase{"Empty", ""},
                      NickCase{"ControlByte", std::string("ann\x01")}, NickCase{"OnlineOtherCase", "ANNA"},
                      NickCase{"OnlineAccented", Cp("anna")}));

TEST_F(LobbyTest, NicknameWithHashIsRefusedWithoutBreakingTheLine) {
  club().Connect(1);
  out.Take(1);
  // The notice repeats the name, and a line may not hold "#".
  EXPECT_THAT(Do(1, "Nan#D0"), ElementsAre("M >>>>> Ez a becenév nem használható: an?D0"_cp));
}

TEST_F(LobbyTest, AccentedNicknamesCompareWithoutCase) {
  Join(Cp("Ödön"_cp));
  club().Connect(9);
  out.Take(9);
  Do(9, Cp("Nödön"_cp));
  Advance(Club::kProbeWait);
  club().Flush();
  EXPECT_TRUE(out.closed.count(9));
}

TEST_F(LobbyTest, NicknameIsFreeAgainAfterDisconnect) {
  const MemberId a = Join("anna");
  club().Disconnect(a);
  const MemberId b = Join("Anna");
  EXPECT_FALSE(out.closed.count(b));
  EXPECT_EQ(club().Online(), 1u);
}

TEST_F(LobbyTest, LobbyChangesAreThrottledToOneLinePerTwoSeconds) {
  const MemberId a = Join("anna");
  Advance(std::chrono::seconds(3));
  Join("bela");
  EXPECT_THAT(out.Take(a), ElementsAre("I1 Társalgó 2 0 anna 0 bela"_cp));
  Advance(std::chrono::milliseconds(500));
  Join("cili");
  Join("dani");
  EXPECT_TRUE(out.Take(a).empty());  // waits
  ASSERT_TRUE(club().NextDue().has_value());
  EXPECT_EQ(*club().NextDue(), now + std::chrono::milliseconds(1500));
  Advance(std::chrono::milliseconds(1500));
  club().Flush();
  EXPECT_THAT(out.Take(a), ElementsAre("I1 Társalgó 4 0 anna 0 bela 0 cili 0 dani"_cp));
  club().Flush();
  EXPECT_TRUE(out.Take(a).empty());
  Advance(std::chrono::seconds(2));
  club().Flush();
  EXPECT_FALSE(club().NextDue().has_value());
}

TEST_F(LobbyTest, CreateEnterLeaveAndDisconnectRefreshTheLobby) {
  const MemberId a = Join("anna");
  const MemberId b = Join("bela");
  auto step = [&](MemberId who, const std::string& cmd) {
    Advance(std::chrono::seconds(2));
    club().Receive(who, cmd);
    club().Flush();
    return out.Take(a);
  };
  out.Take(a);
  EXPECT_THAT(step(b, "Rkertes"), ElementsAre("I2 Társalgó kertes 2 0 anna 0 bela"_cp));
  EXPECT_THAT(step(b, "E1"), ElementsAre("I2 Társalgó kertes 2 0 anna 1 bela"_cp));
  EXPECT_THAT(step(b, "E0"), ElementsAre("I2 Társalgó kertes 2 0 anna 0 bela"_cp));
  Advance(std::chrono::seconds(2));
  club().Disconnect(b);
  club().Flush();
  EXPECT_THAT(out.Take(a), ElementsAre("I2 Társalgó kertes 1 0 anna"_cp));
}

TEST_F(LobbyTest, ACrowdedLobbyGetsItsLinesLessOften) {
  ClubLimits limits;
  limits.lobbyBytesPerSecond = 20;  // two members and a 27-byte line: 2.7 s per round
  MakeClub(limits);
  const MemberId a = Join("anna");
  Advance(std::chrono::seconds(3));
  Join("bela");
  EXPECT_THAT(out.Take(a), ElementsAre("I1 Társalgó 2 0 anna 0 bela"_cp));
  Advance(std::chrono::seconds(2));
  Join("cili");
  EXPECT_THAT(out.Take(a), IsEmpty());  // two seconds are not enough here
  Advance(std::chrono::milliseconds(1100));
  club().Flush();
  EXPECT_THAT(out.Take(a), ElementsAre("I1 Társalgó 3 0 anna 0 bela 0 cili"_cp));
}

TEST_F(LobbyTest, LinesDueTogetherShareOneBuild) {
  const MemberId a = Join("anna");  // next lobby line at 2.0 s
  Advance(std::chrono::milliseconds(100));
  const MemberId b = Join("bela");  // at 2.25 s: the next quarter second of the grid
  Advance(std::chrono::milliseconds(100));
  Join("cili");
  Advance(std::chrono::milliseconds(1850));
  club().Flush();
  EXPECT_EQ(out.shared[a].size(), 2u);  // 2.05 s: anna's turn, not yet bela's
  EXPECT_EQ(out.shared[b].size(), 1u);
  Advance(std::chrono::milliseconds(250));
  club().Flush();
  ASSERT_EQ(out.shared[b].size(), 2u);
  EXPECT_EQ(out.shared[a].back(), out.shared[b].back());  // no change in between: the same line
}

TEST_F(LobbyTest, MembersInRoomsGetNoLobbyLines) {
  const MemberId a = Join("anna");
  Do(a, "Rkertes");
  Do(a, "E1");
  Advance(std::chrono::seconds(5));
  Join("bela");
  EXPECT_TRUE(out.Take(a).empty());
}

TEST_F(LobbyTest, ReturningToTheLobbyGetsTheLobbyAtOnce) {
  const MemberId a = Join("anna");
  Do(a, "Rkertes");
  Do(a, "E1");
  // Less than two seconds after the last lobby line, yet the newcomer needs the page now.
  EXPECT_THAT(Do(a, "E0"), ElementsAre("I2 Társalgó kertes 1 0 anna"_cp));
}

struct RoomNameCase {
  const char* name;
  std::string command;
  std::string notice;
};
void PrintTo(const RoomNameCase& c, std::ostream* os) { *os << c.name; }

class RoomNameRefusal : public ClubFixture, public ::testing::WithParamInterface<RoomNameCase> {};

TEST_P(RoomNameRefusal, NoticeAndNoRoom) {
  const MemberId a = Join("anna");
  Do(a, "Rkertes");
  EXPECT_THAT(Do(a, GetParam().command), ElementsAre(GetParam().notice));
  EXPECT_EQ(club().RoomCount(), 2u);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, RoomNameRefusal,
    ::testing::Values(
        RoomNameCase{"Duplicate", "Rkertes", Cp("M >>>>> Ilyen nevű terem már van"_cp)},
        RoomNameCase{"DuplicateOtherCase", "RKERTES", Cp("M >>>>> Ilyen nevű terem már van"_cp)},
        RoomNameCase{"TheLobby", Cp("Rtársalgó"_cp), Cp("M >>>>> Ilyen nevű terem már van"_cp)},
        RoomNameCase{"Short", "Rabc", Cp("M >>>>> Ez a teremnév nem használható: abc"_cp)},
        RoomNameCase{"Space", "Rnagy terem", Cp("M >>>>> Ez a teremnév nem használható: nagy terem"_cp)},
        RoomNameCase{"Hash", "Rter#em", Cp("M >>>>> Ez a teremnév nem használható: ter?em"_cp)},
        RoomNameCase{"Long", "R" + std::string(21, 'a'),
                     Cp("M >>>>> Ez a teremnév nem használható: "_cp) + std::string(21, 'a')}));

TEST_F(LobbyTest, RoomCountIsLimited) {
  ClubLimits limits;
  limits.maxRooms = 2;
  MakeClub(limits);
  const MemberId a = Join("anna");
  Do(a, "Rterem1");
  Do(a, "Rterem2");
  EXPECT_THAT(Do(a, "Rterem3"), ElementsAre(Cp("M >>>>> Több terem nem nyitható"_cp)));
  EXPECT_EQ(club().RoomCount(), 3u);
}

TEST_F(LobbyTest, FullClubRefusesTheConnection) {
  ClubLimits limits;
  limits.maxMembers = 2;
  MakeClub(limits);
  const MemberId a = Join("anna");
  Join("bela");
  EXPECT_FALSE(club().Connect(3));
  EXPECT_THAT(out.Take(3), ElementsAre(Cp("M >>>>> A klub megtelt, próbáld később!"_cp)));
  EXPECT_TRUE(out.closed.count(3));
  club().Disconnect(3);
  EXPECT_FALSE(club().Connect(4));
  club().Disconnect(4);
  club().Disconnect(a);
  EXPECT_TRUE(club().Connect(5));
}

TEST_F(LobbyTest, RoomsComeBackFromTheStoreInOrder) {
  const MemberId a = Join("anna");
  Do(a, "Rterem1");
  Do(a, "Rterem2");
  MakeClub();  // a restart over the same store
  EXPECT_THAT(Do(Join("bela"), "E0"), ElementsAre("I3 Társalgó terem1 terem2 1 0 bela"_cp));
}

TEST_F(LobbyTest, AFailingStoreRefusesTheRoomAndTellsWhy) {
  FailingStore failing;
  MakeClub({}, &failing);
  const MemberId a = Join("anna");
  EXPECT_THAT(Do(a, "Rkertes"), ElementsAre(Cp("M >>>>> A változás nem menthető, elmaradt"_cp)));
  EXPECT_EQ(club().RoomCount(), 2u);  // the lobby and the stored "Kert"
}

TEST_F(LobbyTest, PingAndNews) {
  const MemberId a = Join("anna");
  EXPECT_THAT(Do(a, "G"), ElementsAre("G"));
  EXPECT_THAT(Do(a, "L"), ElementsAre(Cp("MHírek ?1"_cp), Cp("Mmásodik sor"_cp)));
}

TEST_F(LobbyTest, UnknownCommandsChangeNothing) {
  const MemberId a = Join("anna");
  EXPECT_TRUE(Do(a, "Zxx").empty());
  EXPECT_TRUE(Do(a, "x").empty());
  EXPECT_FALSE(out.closed.count(a));
}

}  // namespace
}  // namespace zn::server::test
