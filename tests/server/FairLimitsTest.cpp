// The limits that keep one hostile member from spoiling the club: the login time, connections per
// address, rooms per hour, freeing idle rooms without shifting an index, store writes only on a
// change, and a log that cannot be flooded.
#include "tests/server/ClubHarness.h"

namespace zn::server::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;
using namespace std::chrono_literals;

// Counts the writes that reach the store.
class CountingStore : public SqliteStore {
 public:
  CountingStore() : SqliteStore(":memory:") {}
  void SetOption(std::int64_t room, bool on) override {
    ++writes;
    SqliteStore::SetOption(room, on);
  }
  void TouchRoom(std::int64_t room) override {
    ++writes;
    SqliteStore::TouchRoom(room);
  }
  void DropRoom(std::int64_t room) override {
    ++drops;
    SqliteStore::DropRoom(room);
  }
  int writes = 0;
  int drops = 0;
};

class FairLimitsTest : public ClubFixture {
 protected:
  std::vector<std::string> logged;
  void CaptureLog() {
    SetLogSink([this](std::string_view line) { logged.emplace_back(line); });
  }
};

TEST_F(FairLimitsTest, AConnectionThatDoesNotLogInIsClosedWithANotice) {
  club().Connect(1);
  club().Connect(2);
  out.Take(1);
  out.Take(2);
  Advance(10s);
  club().Connect(3);
  club().Receive(2, "Nbela");
  club().Flush();
  ASSERT_TRUE(club().NextDue().has_value());
  EXPECT_EQ(*club().NextDue(), now + 20s);  // the first connection's deadline wakes the server
  Advance(20s);
  club().Flush();
  EXPECT_THAT(out.Take(1), ElementsAre(Cp("M >>>>> Nem jelentkeztél be időben, a kapcsolat megszakad"_cp)));
  EXPECT_TRUE(out.closed.count(1));
  EXPECT_FALSE(out.closed.count(2));  // logged in
  EXPECT_FALSE(out.closed.count(3));  // ten seconds left
  EXPECT_EQ(*club().NextDue(), now + 10s);
  Advance(10s);
  club().Flush();
  EXPECT_TRUE(out.closed.count(3));
}

TEST_F(FairLimitsTest, ConnectionsPerAddressAreLimited) {
  ClubLimits limits;
  limits.maxPerAddress = 2;
  MakeClub(limits);
  EXPECT_TRUE(club().Connect(1, "10.0.0.1"));
  EXPECT_TRUE(club().Connect(2, "10.0.0.1"));
  EXPECT_TRUE(club().Connect(3, "10.0.0.2"));
  EXPECT_FALSE(club().Connect(4, "10.0.0.1"));
  EXPECT_THAT(out.Take(4), ElementsAre(Cp("M >>>>> Erről a címről túl sok kapcsolat van nyitva"_cp)));
  EXPECT_TRUE(out.closed.count(4));
  club().Disconnect(4);  // the refused one frees nothing it did not hold
  EXPECT_FALSE(club().Connect(5, "10.0.0.1"));
  club().Disconnect(5);
  club().Disconnect(1);
  EXPECT_TRUE(club().Connect(6, "10.0.0.1"));
}

TEST_F(FairLimitsTest, AMemberCreatesOnlyAFewRoomsAnHour) {
  ClubLimits limits;
  limits.roomIdleFree = 24h;
  MakeClub(limits);
  const MemberId a = Join("anna");
  Do(a, "Rterem1");
  Advance(20min);
  Do(a, "Rterem2");
  Do(a, "Rterem3");
  EXPECT_THAT(Do(a, "Rterem4"), ElementsAre(Cp("M >>>>> Egy órán belül több termet nem nyithatsz"_cp)));
  // Logging in again under the same name (in another case) does not reset the count.
  club().Disconnect(a);
  const MemberId again = Join("ANNA");
  EXPECT_THAT(Do(again, "Rterem4"), ElementsAre(Cp("M >>>>> Egy órán belül több termet nem nyithatsz"_cp)));
  const MemberId b = Join("bela");
  EXPECT_THAT(Do(b, "Rterem4"), IsEmpty());  // another member may
  EXPECT_EQ(club().LiveRooms(), 4u);
  Advance(40min);  // the first room's hour has passed
  EXPECT_THAT(Do(again, "Rterem5"),
              ElementsAre(Cp("I6 Társalgó terem1 terem2 terem3 terem4 terem5 2 0 ANNA 0 bela"_cp)));
  EXPECT_EQ(club().LiveRooms(), 5u);
}

TEST_F(FairLimitsTest, AnIdleRoomIsFreedAndItsSlotReusedOnlyAfterTheLobbyShowedIt) {
  CountingStore store;
  ClubLimits limits;
  limits.roomIdleFree = 10min;
  MakeClub(limits, &store);
  const MemberId a = Join("anna");
  Do(a, "Rkertes");
  Do(a, "Rudvar");
  Do(a, "E2");
  Do(a, "S-2");  // a robot alone does not keep a room
  Do(a, "E0");
  const MemberId b = Join("bela");
  Do(b, "E1");
  Advance(10min - 1s);
  const MemberId c = Join("cili");  // anna gets a lobby line now, the next one in two seconds
  out.Take(a);
  Advance(1s);
  club().Flush();
  // Only the room nobody was in is freed; its place in the list stays.
  EXPECT_EQ(store.drops, 1);
  EXPECT_EQ(club().RoomCount(), 3u);
  EXPECT_TRUE(club().RoomAt(2).gone);
  EXPECT_FALSE(club().RoomAt(2).seats[2].robot);
  EXPECT_THAT(Do(a, "E2"), ElementsAre(Cp("M >>>>> Nincs ilyen terem"_cp)));
  // Nobody in the lobby has had a line showing it gone yet: a new room takes a new slot.
  EXPECT_THAT(Do(c, "Rterem1"), IsEmpty());
  EXPECT_EQ(club().RoomCount(), 4u);
  Advance(2s);
  club().Flush();
  EXPECT_THAT(out.Take(a), ElementsAre(Cp("I4 Társalgó kertes (megszűnt) terem1 3 0 anna 1 bela 0 cili"_cp)));
  Do(c, "Rterem2");
  EXPECT_EQ(club().RoomCount(), 4u);
  EXPECT_EQ(club().RoomAt(2).name, "terem2");
  // The freed name may be used again.
  Advance(10min);
  club().Flush();
  EXPECT_THAT(Do(b, "Rudvar"), IsEmpty());
}

TEST_F(FairLimitsTest, RoomChangesWriteTheStoreOnlyWhenSomethingStoredChanges) {
  CountingStore store;
  MakeClub({}, &store);
  const MemberId a = Join("anna");
  Do(a, "Rkertes");
  const int afterCreate = store.writes;
  for (int i = 0; i < 50; ++i) {
    Do(a, "E1");
    Do(a, "E0");
    Advance(100ms);  // under the command rate
  }
  EXPECT_EQ(store.writes, afterCreate);  // the store already knows the room was used this hour
  Do(a, "E1");
  Do(a, "S1");
  Do(a, "A1");
  Do(a, "A1");
  EXPECT_THAT(Do(a, "A1"), ElementsAre("A1"));  // answered, but nothing to write
  EXPECT_EQ(store.writes, afterCreate + 1);
  Advance(61min);
  Do(a, "E0");
  EXPECT_EQ(store.writes, afterCreate + 2);
}

TEST_F(FairLimitsTest, RefusalsAreLoggedAFewAMinuteThenCounted) {
  const MemberId a = Join("anna");
  CaptureLog();
  for (int i = 0; i < 40; ++i) {
    Do(a, "E99");
    Advance(100ms);  // under the command rate
  }
  ASSERT_EQ(logged.size(), Club::kLoggedRefusalsPerMinute);
  EXPECT_EQ(logged[0], "refused #1 anna: unknown room");
  Advance(1min);
  Do(a, "S0");
  ASSERT_EQ(logged.size(), Club::kLoggedRefusalsPerMinute + 2);
  EXPECT_EQ(logged[5], "refused #1 anna: 35 more not logged");
  EXPECT_EQ(logged[6], "refused #1 anna: seat outside a room");
  for (int i = 0; i < 10; ++i) Do(a, "S0");
  club().Disconnect(a);
  EXPECT_EQ(logged[logged.size() - 2], "refused #1 anna: 6 more not logged");
  EXPECT_EQ(logged.back(), "logout #1 anna");
}

// Refusals that never reach a command handler (the framing's, an answer nobody asked for) cost a
// token like any command: a member sending nothing else is closed once the burst is spent.
TEST_F(FairLimitsTest, RefusedCommandsCostATokenEach) {
  const std::vector<std::pair<const char*, std::function<void(Club&, MemberId)>>> floods = {
      {"malformed", [](Club& c, MemberId id) { c.RefuseMalformed(id); }},
      {"too long", [](Club& c, MemberId id) { c.RefuseTooLong(id); }},
      {"W without Q", [](Club& c, MemberId id) { c.Receive(id, "Wbela anna 0 0 0 0 "); }},
  };
  for (const auto& [name, refuse] : floods) {
    MakeClub();
    Join("bela");
    const MemberId a = Join("anna");
    for (std::uint32_t i = 1; i < RateLimit::kBurst; ++i) refuse(club(), a);  // the login took one
    EXPECT_FALSE(out.closed.count(a)) << name;
    refuse(club(), a);
    EXPECT_TRUE(out.closed.count(a)) << name;
    EXPECT_EQ(out.Take(a).back(), Cp("M >>>>> Túl sok parancs, a kapcsolat megszakad"_cp)) << name;
  }
}

}  // namespace
}  // namespace zn::server::test
