// Continuity on the fake clock: a dropped member's seat waits for him, a silent connection is
// replaced by a new login under its nickname, the turn clock, and seat 1 leaving a running deal.
#include "tests/server/DealHarness.h"

namespace zn::server::test {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Not;
using ::testing::StartsWith;

const std::string kHeld = Cp("M >>>>> Ez a hely egy kiesett játékosra vár, aki még visszatérhet"_cp);
const std::string kTried = Cp("M >>>>> Valaki a beceneveddel próbál belépni"_cp);
const std::string kRefused = Cp("M >>>>> Ez a becenév nem használható: anna"_cp);
const std::string kStood = Cp(
    "M >>>>> Kétszer egymás után nem léptél időben, ezért felállítottunk; a helyeden a robot játszik tovább"_cp);
std::string TimedOut(const std::string& who) {
  return Cp("M >>>>> Lejárt az ideje, helyette a robot lépett: "_cp) + who;
}

class ContinuityTest : public DealFixture {
 protected:
  // anna on seat 1, bela on seat 2, robots on 3 and 4; deal 2 (seat 3 deals) stops at the first
  // complete trick, which waits for bela. A new club each time.
  void DealWithBela() {
    Fresh();
    deals_->UseTurnLimit(std::chrono::hours(1));  // only the grace runs here
    anna_ = &AnnaWithRobots({3, 4});
    bela_ = &Seat("bela", 2);
    bela_->acknowledge = false;
    Pump();
    Play(*anna_, "D2");
    ASSERT_TRUE(Game()->Play() && Game()->Play()->TrickComplete());
  }
  // Logs in, enters room 1 and asks for the seat, as the reconnecting client does.
  std::vector<std::string> ComeBack(const std::string& nickname, int seat = 2) {
    const MemberId id = Join(nickname);
    Do(id, "E1");
    return Do(id, "S" + std::to_string(seat));
  }
  const server::Seat& SeatOf(int s) { return club().RoomAt(1).seats[static_cast<std::size_t>(s)]; }
  // Each case of a table starts on a new club.
  void Fresh() {
    Rebuild(store_);
    players_.clear();
  }
  // anna on seat 1 with robots on the given seats.
  Player& AnnaWithRobots(std::initializer_list<int> seats) {
    Player& anna = Seat("anna", 1);
    for (const int s : seats) Do(anna.id, "S-" + std::to_string(s));
    return anna;
  }

  Player* anna_ = nullptr;
  Player* bela_ = nullptr;
};

TEST_F(ContinuityTest, ADroppedSeatWaitsForItsOwnerUntilTheGraceEnds) {
  const struct {
    const char* name;
    std::string who;
    std::chrono::seconds after;
    bool seated;  // gets seat 2 (else the notice that it is held)
  } cases[] = {
      {"back in time", "bela", std::chrono::seconds(119), true},
      {"back in another case", "BELA", std::chrono::seconds(5), true},
      {"another nickname", "cili", std::chrono::seconds(119), false},
      {"another after the grace", "cili", std::chrono::seconds(120), true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    DealWithBela();
    club().Disconnect(bela_->id);  // a drop, not a leave
    EXPECT_THAT(out.Take(anna_->id), Contains("R0 1 anna 2 -Robot2 3 -Robot3 4 -Robot4"));
    Advance(c.after);
    const auto lines = ComeBack(c.who);
    if (!c.seated) {
      EXPECT_THAT(lines, ElementsAre(kHeld));
      EXPECT_TRUE(SeatOf(2).robot);
      continue;
    }
    // The room, then everything the table needs to go on: the deal, the hand, the bids, the play.
    EXPECT_THAT(
        lines, ElementsAre("R0 1 anna 2 " + c.who + " 3 -Robot3 4 -Robot4", "D2",
                           proto::LineHand(2, Game()->HandOf(2)), StartsWith("B3-Robot3 "), StartsWith("P")));
    EXPECT_TRUE(SeatOf(2).heldFor.empty());
  }
}

// With nobody else at the table the robots would play the deal out before he could come back.
TEST_F(ContinuityTest, ALonePlayersDealWaitsForHimUntilTheGraceEnds) {
  for (const bool back : {true, false}) {
    SCOPED_TRACE(back ? "back in time" : "not back");
    Fresh();
    Player& anna = AnnaWithRobots({2, 3, 4});
    Do(anna.id, "D1");  // anna deals and is on turn
    club().Disconnect(anna.id);
    Seat("bela", 0);  // someone entering the room does not wake the robots
    Advance(std::chrono::seconds(119));
    club().Flush();
    ASSERT_TRUE(Game()->Bids().Blocks().empty());
    if (back) {
      EXPECT_THAT(ComeBack("anna", 1), Contains("T"));
      continue;
    }
    Advance(std::chrono::seconds(1));
    club().Flush();
    EXPECT_EQ(Game()->CurrentPhase(), deal::Game::Phase::Over);
    EXPECT_EQ(club().RoomAt(1).played, 1);  // written down by the server
  }
}

TEST_F(ContinuityTest, AFreeSeatAfterADropWithoutADealAndAfterALeave) {
  Player& anna = Seat("anna", 1);
  Player& bela = Seat("bela", 2);
  club().Disconnect(bela.id);  // no deal runs: the seat is free at once
  EXPECT_EQ(ComeBack("cili")[0], "R0 1 anna 2 cili");
  Do(anna.id, "S0");
  EXPECT_TRUE(SeatOf(1).Free());
}

TEST_F(ContinuityTest, OnlyASilentConnectionIsReplaced) {
  const struct {
    const char* name;
    bool takesProbeIn;  // its end acknowledges what the server sent
    bool sends;         // it sends something during the wait
    bool chatFlows;     // lines keep coming after the probe (it reads them slowly)
    bool replaced;
  } cases[] = {
      {"takes the probe in", true, false, false, false},
      {"sends during the wait", false, true, false, false},
      {"reads slowly while chat flows", false, false, true, false},
      {"silent", false, false, false, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    out.closed.clear();
    DealWithBela();
    const MemberId old = anna_->id;
    out.Take(old);
    out.queued[old] = c.takesProbeIn ? 0 : 100;
    Advance(std::chrono::seconds(1));  // anna's last command was a moment ago
    const MemberId newcomer = ++lastId_;
    club().Connect(newcomer);
    out.Take(newcomer);
    EXPECT_THAT(Do(newcomer, "Nanna"), IsEmpty());  // waits for the probe
    EXPECT_THAT(out.Take(old), ElementsAre(kTried));
    Advance(Club::kProbeWait - std::chrono::seconds(1));
    if (c.sends) club().Receive(old, "G");
    if (c.chatFlows) Do(bela_->id, "M" + std::string(120, 'x'));  // its end has not taken this in
    EXPECT_THAT(Do(newcomer, "Nanna"), IsEmpty());                // a second "N" changes nothing
    Advance(std::chrono::seconds(1));
    const auto lines = Do(newcomer, "G");
    EXPECT_EQ(out.closed.count(old) == 1, c.replaced);
    EXPECT_EQ(out.closed.count(newcomer) == 0, c.replaced);
    EXPECT_EQ(club().Online(), 2u);
    if (!c.replaced) {
      EXPECT_THAT(lines, ElementsAre(kRefused));
      // Proved alive: the next login under the nickname is refused at once, with no probe.
      out.Take(old);
      club().Connect(++lastId_);
      out.Take(lastId_);
      EXPECT_THAT(Do(lastId_, "Nanna"), ElementsAre(kRefused));
      EXPECT_THAT(out.Take(old), IsEmpty());
      continue;
    }
    // The old connection dropped: its seat waits, and the newcomer takes it back.
    EXPECT_THAT(lines, ElementsAre(StartsWith("I")));
    EXPECT_EQ(SeatOf(1).heldFor, "anna");
    Do(newcomer, "E1");
    EXPECT_THAT(Do(newcomer, "S1"), Contains("D2"));
    EXPECT_EQ(SeatOf(1).member, newcomer);
  }
}

// Logins under anna's nickname again and again: she is told once a series (one address, no pause
// of two minutes), yet every login still probes her connection, so a silent one is replaced.
TEST_F(ContinuityTest, TheProbeNoticeComesOncePerSeriesOfLogins) {
  struct Login {
    int after;            // seconds since the last login
    const char* address;  // where the newcomer comes from
    bool told;            // anna gets the notice
    bool silent;          // anna's connection takes nothing in from now on: she is replaced
  };
  const struct {
    const char* name;
    std::vector<Login> logins;
  } cases[] = {
      {"one address every 35 s",
       {{0, "10.0.0.9", true, false},
        {35, "10.0.0.9", false, false},
        {35, "10.0.0.9", false, false},
        {35, "10.0.0.9", false, false}}},
      {"a pause of two minutes", {{0, "10.0.0.9", true, false}, {120, "10.0.0.9", true, false}}},
      {"another address", {{0, "10.0.0.9", true, false}, {35, "10.0.7.7", true, false}}},
      {"a silent connection within a series", {{0, "10.0.0.9", true, false}, {35, "10.0.0.9", false, true}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    out.closed.clear();
    DealWithBela();
    const MemberId old = anna_->id;
    out.queued[old] = 0;
    for (const Login& login : c.logins) {
      Advance(std::chrono::seconds(login.after));
      out.Take(old);
      const MemberId newcomer = ++lastId_;
      club().Connect(newcomer, login.address);
      out.Take(newcomer);
      EXPECT_THAT(Do(newcomer, "Nanna"), IsEmpty());  // waits for the probe
      const std::vector<std::string> probe = out.Take(old);
      ASSERT_FALSE(probe.empty());
      EXPECT_EQ(probe.front(), login.told ? kTried : "A0") << "a probe that shows nothing new";
      EXPECT_EQ(std::count(probe.begin(), probe.end(), kTried), login.told ? 1 : 0);
      if (login.silent) out.queued[old] = 100;  // the probe is not taken in
      Advance(Club::kProbeWait);
      const auto lines = Do(newcomer, "G");
      EXPECT_EQ(out.closed.count(old) == 1, login.silent);
      if (!login.silent) {
        EXPECT_THAT(lines, ElementsAre(kRefused));
      }
    }
  }
}

TEST_F(ContinuityTest, TheTurnClockMovesForALateMemberAndStandsHimUpAfterTwo) {
  const struct {
    const char* name;
    std::vector<bool> late;  // bela's turns: late (the robot moves) or his own move
    bool stoodUp;
  } cases[] = {
      {"late once", {true}, false},
      {"late twice", {true, true}, true},
      {"an own move between", {true, false, true}, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Fresh();
    Player& anna = AnnaWithRobots({3, 4});
    Player& bela = Seat("bela", 2);
    bela.asleep = true;
    Pump();
    Play(anna, "D1");  // anna deals and passes at once; bela is on turn
    for (const bool late : c.late) {
      ASSERT_EQ(Game()->OnTurn(), 2);
      anna.seen.clear();
      if (late) {
        Advance(std::chrono::seconds(59));
        Pump();
        ASSERT_EQ(Game()->OnTurn(), 2);  // not a moment early
        Advance(std::chrono::seconds(1));
      } else {
        club().Receive(bela.id, Game()->Play() ? "P" + std::to_string(bela.Choose()) : "Bbela 0");
      }
      Pump();
      EXPECT_EQ(std::count(anna.seen.begin(), anna.seen.end(), TimedOut("bela")), late ? 1 : 0);
      // Robots and anna play on until bela is on turn again (the trick waits for him: let it end).
      for (int i = 0; i < 3 && Game()->OnTurn() != 2 && SeatOf(2).member; ++i) {
        Advance(Deals::kTrickWait);
        Pump();
      }
    }
    EXPECT_EQ(SeatOf(2).member == 0, c.stoodUp);
    EXPECT_EQ(SeatOf(2).robot, c.stoodUp);
    EXPECT_EQ(std::count(bela.seen.begin(), bela.seen.end(), kStood), c.stoodUp ? 1 : 0);
  }
}

// Robots that think on a pool: their moves come back when the test lets them.
class QueuedRunner : public RobotRunner {
 public:
  explicit QueuedRunner(std::vector<std::function<void()>>& queue) : queue_(queue) {}
  void Run(Think think, Done done) override {
    queue_.push_back([think = std::move(think), done = std::move(done)] { done(think()); });
  }

 private:
  std::vector<std::function<void()>>& queue_;
};

// "S0" and "S" + own seat in one read, just before the limit, while the robot that took the seat
// thinks: its move is dropped as the member is back, and his time runs on, as does his count of
// missed moves; the second miss stands him up.
TEST_F(ContinuityTest, SittingDownAgainKeepsTheTurnClockAndTheMissedCount) {
  std::vector<std::function<void()>> thinking;
  deals_->UseRobots({RobotKind::Strong, {}, 0}, std::make_unique<QueuedRunner>(thinking));
  Player& anna = Seat("anna", 1);
  Player& bela = Seat("bela", 2);
  Seat("cili", 3);
  Seat("dani", 4);
  bela.asleep = true;
  Pump();
  Play(anna, "D1");
  int timedOut = 0;
  for (int turn = 1; turn <= 2; ++turn) {
    ASSERT_EQ(Game()->OnTurn(), 2);
    Advance(std::chrono::seconds(59));
    club().Receive(bela.id, "S0");
    club().Receive(bela.id, "S2");
    Pump();
    for (auto& answer : std::exchange(thinking, {})) answer();
    ASSERT_EQ(Game()->OnTurn(), 2);
    Advance(std::chrono::seconds(1));
    Pump();
    timedOut = static_cast<int>(std::count(anna.seen.begin(), anna.seen.end(), TimedOut("bela")));
    EXPECT_EQ(timedOut, turn);
    while (turn == 1 && Game()->OnTurn() != 2) {  // the others pass, then anna leads
      Advance(Deals::kTrickWait);
      Pump();
    }
  }
  EXPECT_TRUE(SeatOf(2).robot);
  EXPECT_THAT(bela.seen, Contains(kStood));
}

TEST_F(ContinuityTest, SeatOneLeavesAndTheDealGoesOn) {
  const std::string kOpenerOnly = Cp("M >>>>> Ezt csak az induló helyén ülő teheti"_cp);
  for (const std::string how : {"S0", "E0", "drop"}) {
    SCOPED_TRACE(how);
    Fresh();
    Player& anna = AnnaWithRobots({2, 4});
    Player& cili = Seat("cili", 3);
    out.Take(cili.id);
    EXPECT_THAT(Do(cili.id, "A0"), ElementsAre(kOpenerOnly));  // seat 1 holds the commands
    Do(anna.id, "D1");
    if (how == "drop") {
      club().Disconnect(anna.id);
      players_.erase(players_.begin());
    } else {
      club().Receive(anna.id, how);
    }
    ASSERT_NE(Game(), nullptr);
    EXPECT_TRUE(SeatOf(1).robot);
    Pump();  // the robot on seat 1 and cili play the deal out
    ASSERT_EQ(Game()->CurrentPhase(), deal::Game::Phase::Over);
    if (how == "drop") {  // anna may come back: nobody else writes down or deals during her grace
      EXPECT_THAT(Do(cili.id, "F3:-3"), ElementsAre(kOpenerOnly));
      EXPECT_THAT(Do(cili.id, "D0"), ElementsAre(kOpenerOnly));
      EXPECT_EQ(Game()->Number(), 1);
      Advance(std::chrono::seconds(120));
    }
    // The lowest seated human now writes down, deals and sets the option.
    EXPECT_THAT(Do(cili.id, "F3:-3"), Contains("F3:-3"));
    EXPECT_THAT(Do(cili.id, "A0"), Contains("A0"));
    if (how == "S0") {
      out.Take(anna.id);
      EXPECT_THAT(Do(anna.id, "D5"), ElementsAre(kOpenerOnly));
    }
    EXPECT_THAT(Do(cili.id, "D5"), Contains("D5"));
  }
}

TEST_F(ContinuityTest, WithNoHumanLeftTheServerWritesTheResult) {
  for (const bool option : {false, true}) {
    SCOPED_TRACE(option);
    Fresh();
    Player& anna = AnnaWithRobots({2, 3, 4});
    Player& dani = Seat("dani", 0);
    Do(anna.id, option ? "A1" : "A0");
    Do(dani.id, "K1");
    const std::int32_t before = club().RoomAt(1).played;
    Do(anna.id, "D7");
    club().Receive(anna.id, "S0");  // four robots play the deal to its end at once
    Pump();
    ASSERT_EQ(Game()->CurrentPhase(), deal::Game::Phase::Over);
    EXPECT_EQ(club().RoomAt(1).played, before + 1);
    // What an untouched score tab adds up: deal 7 scores only the tricks, 1 and -1, and the room
    // option keeps a total from going below 0.
    EXPECT_THAT(dani.seen, Contains(StartsWith("F")).Times(1));
    EXPECT_THAT(dani.seen, Contains(option ? "F1:0" : "F1:-1"));
  }
}

}  // namespace
}  // namespace zn::server::test
