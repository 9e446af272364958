// Rooms: entering, seats, robots, watching, the room option and the gate to deals.
#include "tests/server/ClubHarness.h"

namespace zn::server::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class RoomTest : public ClubFixture {
 protected:
  // anna and bela inside room 1 ("kertes"), anna on seat 1.
  void SetUp() override {
    a = Join("anna");
    b = Join("bela");
    Do(a, "Rkertes");
    Do(a, "E1");
    Do(b, "E1");
    Do(a, "S1");
    out.Take(a);
    out.Take(b);
  }
  MemberId a = 0, b = 0;
};

TEST_F(RoomTest, EnteringSendsTheRoomToAllAndTheOptionToTheNewcomer) {
  const MemberId c = Join("cili");
  EXPECT_THAT(Do(c, "E1"), ElementsAre("R0 1 anna 0 bela 0 cili", "A0"));
  EXPECT_THAT(out.Take(a), ElementsAre("R0 1 anna 0 bela 0 cili"));
  EXPECT_THAT(out.Take(b), ElementsAre("R0 1 anna 0 bela 0 cili"));
}

TEST_F(RoomTest, SitStandAndRobotsRefreshTheRoom) {
  struct Step {
    MemberId who;
    const char* command;
    const char* room;
  };
  const Step steps[] = {
      {b, "S3", "R0 1 anna 3 bela"},
      {b, "S-2", "R0 1 anna 2 -Robot2 3 bela"},
      {a, "S-4", "R0 1 anna 2 -Robot2 3 bela 4 -Robot4"},
      {b, "S0", "R0 1 anna 2 -Robot2 4 -Robot4 0 bela"},
      {b, "S2", "R0 1 anna 2 bela 4 -Robot4"},  // the robot gives way
      {a, "S0", "R0 2 bela 4 -Robot4 0 anna"},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.command);
    club().Receive(s.who, s.command);
    club().Flush();
    EXPECT_THAT(out.Take(a), ElementsAre(s.room));
    EXPECT_THAT(out.Take(b), ElementsAre(s.room));
  }
}

struct SeatCase {
  const char* command;
  std::string notice;
};
void PrintTo(const SeatCase& c, std::ostream* os) { *os << c.command; }

class SeatRefusal : public RoomTest, public ::testing::WithParamInterface<SeatCase> {};

// bela stands in the room, anna sits on 1, a robot sits on 2.
TEST_P(SeatRefusal, NoticeAndTheSeatsStay) {
  Do(a, "S-2");
  out.Take(b);
  EXPECT_THAT(Do(b, GetParam().command), ElementsAre("M >>>>> " + GetParam().notice));
  EXPECT_THAT(out.Take(a), IsEmpty());
  EXPECT_EQ(club().RoomAt(1).seats[1].member, a);
  EXPECT_TRUE(club().RoomAt(1).seats[2].robot);
  EXPECT_EQ(club().Find(b)->place.seat, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Seats, SeatRefusal,
    ::testing::Values(SeatCase{"S7", Cp("Nincs ilyen hely"_cp)}, SeatCase{"S5", Cp("Nincs ilyen hely"_cp)},
                      SeatCase{"S-1", Cp("Nincs ilyen hely"_cp)}, SeatCase{"S-5", Cp("Nincs ilyen hely"_cp)},
                      SeatCase{"S1", Cp("Ez a hely foglalt"_cp)}, SeatCase{"S-2", Cp("Ez a hely foglalt"_cp)},
                      SeatCase{"S0", Cp("Előbb ülj le, ha fel akarsz állni!"_cp)},
                      SeatCase{"S", Cp("Hibás parancs"_cp)}, SeatCase{"Sx", Cp("Hibás parancs"_cp)},
                      SeatCase{"S99999999999", Cp("Hibás parancs"_cp)},
                      SeatCase{"K2", Cp("Hibás parancs"_cp)},
                      SeatCase{"A1", Cp("Ezt csak az induló helyén ülő teheti"_cp)},
                      SeatCase{"D5", Cp("Ezt csak az induló helyén ülő teheti"_cp)}));

TEST_F(RoomTest, SittingWhileSeatedIsRefused) {
  EXPECT_THAT(Do(a, "S3"), ElementsAre(Cp("M >>>>> Előbb állj fel, ha át akarsz ülni!"_cp)));
  EXPECT_EQ(club().Find(a)->place.seat, 1);
}

TEST_F(RoomTest, RobotsNeverTakeAHumansSeat) {
  Do(b, "S2");
  out.Take(a);
  EXPECT_THAT(Do(a, "S-2"), ElementsAre(Cp("M >>>>> Ez a hely foglalt"_cp)));
  EXPECT_EQ(club().RoomAt(1).seats[2].member, b);
}

TEST_F(RoomTest, SeatCommandsInTheLobbyAreRefused) {
  const MemberId c = Join("cili");
  for (const char* cmd : {"S1", "S-2", "K1", "A1", "D5"}) {
    SCOPED_TRACE(cmd);
    EXPECT_THAT(Do(c, cmd), ElementsAre(Cp("M >>>>> Előbb lépj be egy terembe"_cp)));
  }
}

TEST_F(RoomTest, UnknownRoomIndexIsRefused) {
  for (const char* cmd : {"E999", "E2", "E-1", "E", "Eabc", "E99999999999"}) {
    SCOPED_TRACE(cmd);
    EXPECT_THAT(Do(b, cmd), ElementsAre(Cp("M >>>>> Nincs ilyen terem"_cp)));
  }
  EXPECT_EQ(club().Find(b)->place.room, 1u);
}

TEST_F(RoomTest, WatchingSendsTheRoomToTheWatcherOnly) {
  EXPECT_THAT(Do(b, "K1"), ElementsAre("R0 1 anna 0 bela"));
  EXPECT_THAT(out.Take(a), IsEmpty());
  EXPECT_TRUE(club().Find(b)->place.watching);
  EXPECT_THAT(Do(b, "K0"), ElementsAre("R0 1 anna 0 bela"));
  EXPECT_FALSE(club().Find(b)->place.watching);
  EXPECT_THAT(Do(a, "K1"), ElementsAre(Cp("M >>>>> Előbb állj fel, ha kibicelni akarsz!"_cp)));
}

TEST_F(RoomTest, LeavingEndsWatchingAndSittingEndsIt) {
  Do(b, "K1");
  Do(b, "E0");
  EXPECT_FALSE(club().Find(b)->place.watching);
  Do(b, "E1");
  Do(b, "K1");
  Do(b, "S3");
  EXPECT_FALSE(club().Find(b)->place.watching);
}

TEST_F(RoomTest, LeavingTheRoomFreesTheSeatForTheOthers) {
  EXPECT_THAT(Do(a, "E0"), ElementsAre("I2 Társalgó kertes 2 0 anna 1 bela"_cp));
  EXPECT_THAT(out.Take(b), ElementsAre("R0 0 bela"));
  EXPECT_TRUE(club().RoomAt(1).seats[1].Free());
}

TEST_F(RoomTest, DisconnectFreesTheSeatAndTellsTheRoom) {
  club().Disconnect(a);
  club().Flush();
  EXPECT_THAT(out.Take(b), ElementsAre("R0 0 bela"));
  EXPECT_TRUE(club().RoomAt(1).seats[1].Free());
}

TEST_F(RoomTest, EnteringTheSameRoomAgainOnlyRepeatsItsPicture) {
  EXPECT_THAT(Do(b, "E1"), ElementsAre("R0 1 anna 0 bela", "A0"));
  EXPECT_THAT(out.Take(a), IsEmpty());
}

// Counts the visits the club records per stored room.
class TouchCountingStore : public SqliteStore {
 public:
  TouchCountingStore() : SqliteStore(":memory:") {}
  void TouchRoom(std::int64_t room) override {
    ++touches[room];
    SqliteStore::TouchRoom(room);
  }
  std::map<std::int64_t, int> touches;
};

TEST_F(RoomTest, OccupiedRoomsAreMarkedVisited) {
  TouchCountingStore store;
  const auto busy = store.CreateRoom("forgalmas");
  const auto empty = store.CreateRoom("csendes");
  MakeClub({}, &store);
  const MemberId c = Join("cili");
  Do(c, "E1");
  store.touches.clear();
  club().TouchOccupiedRooms();
  EXPECT_EQ(store.touches[busy], 1);
  EXPECT_EQ(store.touches[empty], 0);
  EXPECT_EQ(store.touches.count(0), 0u);  // the lobby is not stored
}

TEST_F(RoomTest, OptionFromSeatOneReachesTheRoomAndIsStored) {
  EXPECT_THAT(Do(a, "A1"), ElementsAre("A1"));
  EXPECT_THAT(out.Take(b), ElementsAre("A1"));
  EXPECT_TRUE(store_.LoadRooms().at(0).option);
  const MemberId c = Join("cili");
  EXPECT_THAT(Do(c, "E1"), ElementsAre("R0 1 anna 0 bela 0 cili", "A1"));
  Do(a, "A0");
  EXPECT_FALSE(store_.LoadRooms().at(0).option);
}

TEST_F(RoomTest, OptionThatCannotBeStoredIsNotAnnounced) {
  FailingStore failing;
  MakeClub({}, &failing);
  const MemberId c = Join("cili");
  Do(c, "E1");
  Do(c, "S1");
  EXPECT_THAT(Do(c, "A1"), ElementsAre(Cp("M >>>>> A változás nem menthető, elmaradt"_cp)));
  EXPECT_FALSE(club().RoomAt(1).option);
}

TEST_F(RoomTest, DealNeedsFourSeatsAndThenReachesTheEngine) {
  EXPECT_THAT(Do(a, "D5"), ElementsAre(Cp("M >>>>> Minden helyen ülnie kell valakinek"_cp)));
  Do(b, "S3");
  Do(a, "S-2");
  Do(a, "S-4");
  EXPECT_THAT(Do(a, "D5"), ElementsAre(Cp("M >>>>> Ezen a szerveren még nem lehet osztani"_cp)));
}

TEST_F(RoomTest, HandRequestsAnswerNothingWithoutADeal) {
  EXPECT_THAT(Do(a, "H1"), IsEmpty());
  EXPECT_THAT(Do(b, "H0"), IsEmpty());
}

// The engine sees every seat change and the deal commands of the room.
class RecordingDeals : public DealSeam {
 public:
  void Order(Room&, const Member& from, std::int32_t number) override {
    events.push_back(from.who.nickname + " D" + std::to_string(number));
  }
  void Command(Room&, const Member& from, std::string_view command) override {
    events.push_back(from.who.nickname + " " + std::string(command));
  }
  void SeatChanged(Room& room, int seat) override {
    const Seat& s = room.seats[static_cast<std::size_t>(seat)];
    events.push_back("seat " + std::to_string(seat) + (s.robot ? " robot" : s.member ? " human" : " free"));
  }
  std::vector<std::string> events;
};

// An engine that writes a result down the way the deal engine will: counter up, then "R".
class CountingDeals : public DealSeam {
 public:
  explicit CountingDeals(Club& club) : club_(club) {}
  void Order(Room&, const Member&, std::int32_t) override {}
  void Command(Room& room, const Member&, std::string_view command) override {
    if (command[0] == 'F') {
      club_.SetPlayed(room, room.played + 1);
    }
  }
  void SeatChanged(Room&, int) override {}

 private:
  Club& club_;
};

TEST_F(RoomTest, TheDealEngineCanAnnounceTheRoom) {
  CountingDeals deals(club());
  club().SetDeals(&deals);
  EXPECT_THAT(Do(a, "F10:-10"), ElementsAre("R1 1 anna 0 bela"));
  EXPECT_THAT(out.Take(b), ElementsAre("R1 1 anna 0 bela"));
  club().SetDeals(nullptr);
}

TEST_F(RoomTest, TheDealEngineSeesSeatsAndDealCommands) {
  RecordingDeals deals;
  club().SetDeals(&deals);
  Do(a, "S-2");
  Do(b, "S2");
  Do(a, "S-4");
  Do(a, "S-3");
  Do(a, "D-1");
  Do(b, "Bbela 1 passz");
  Do(b, "P25");
  Do(b, "T");
  Do(b, "H2");
  Do(a, "F10:-10");
  club().Disconnect(b);
  EXPECT_THAT(deals.events, ElementsAre("seat 2 robot", "seat 2 human", "seat 4 robot", "seat 3 robot",
                                        "anna D-1", "bela Bbela 1 passz", "bela P25", "bela T", "bela H2",
                                        "anna F10:-10", "seat 2 free"));
  club().SetDeals(nullptr);
}

}  // namespace
}  // namespace zn::server::test
