// Continuity: the quiet ping and its timeout, and the way back after a drop (the attempts' schedule,
// cancelling it, and the room and seat taken again), on the fake clock and the fake socket.
#include <algorithm>

#include "tests/shell/ClubFixture.h"

namespace zn::test {
namespace {

const std::string kKek = S("Kék"_cp);
const std::string kLobbyName = S("Társalgó"_cp);

class ReturnTest : public ClubTest {
 public:
  using ClubTest::desk;
  using ClubTest::Pump;
  using ClubTest::Receive;
  // Moves the fake clock on and runs the link timer once.
  void Tick(std::int64_t ms) {
    desk.desk.Clock += ms;
    form->LinkTimerTimer();
  }
  // Logged in, entered "Kék" (room 1) by a double click, and the first "R" line.
  void Entered(const std::vector<proto::TRoomMember>& members) {
    Start();
    Connect();
    Feed({proto::LineVersion(proto::kVersion), proto::LineReads(proto::kReadsKnown),
          proto::LineLobby({{kLobbyName, kKek}, {}})});
    form->fdRoomsDblClick(1);
    Feed({proto::LineRoom({"0", members})});
    log.sent.clear();
  }
  void Drop() {
    log.active = false;
    form->Link->Socket().OnDisconnected();
  }
  // The attempt's connect is made and reported.
  void Reconnected() {
    log.active = true;
    form->Link->Socket().OnConnected();
  }
  int Memos(std::string_view part) const {
    return static_cast<int>(
        std::count_if(form->State.Memo.begin(), form->State.Memo.end(),
                      [&](const std::string& l) { return l.find(part) != std::string::npos; }));
  }
};

// Every attempt is refused: they come after 1, 2, 4, 8, 16, 30, 30... seconds and stop when the
// next would start more than five minutes after the drop. No error box for a failed attempt.
TEST_F(ReturnTest, AttemptsBackOffAndEndAfterFiveMinutes) {
  Entered({{2, "Anna"}});
  log.duringConnect = [](TSocketPort& s) { s.OnError(TSocketErrorKind::Connect, kErrConnectionRefused); };
  // A member's chat that quotes the server's words is no notice of the server's.
  Receive({S("MBela: >>>>> Ez a becenév nem használható, a kapcsolat megszakad"_cp)});
  const std::int64_t drop = desk.desk.Clock;
  Drop();
  EXPECT_EQ(form->State.StatusReturn, S("Újrakapcsolódás (1.) 1 mp múlva..."_cp));
  std::vector<std::int64_t> at;  // seconds after the drop
  const std::size_t before = log.connects.size();
  for (int i = 0; i < 400 * 4; ++i) {
    Tick(250);
    if (log.connects.size() > before + at.size()) at.push_back((desk.desk.Clock - drop) / 1000);
  }
  std::vector<std::int64_t> expected = {1, 3, 7, 15, 31};
  for (std::int64_t t = 61; t <= 300; t += 30) expected.push_back(t);
  EXPECT_EQ(at, expected);
  EXPECT_EQ(form->State.StatusReturn, S("Nem sikerült újrakapcsolódni"_cp));
  EXPECT_FALSE(form->Keeper.Returning());
  EXPECT_FALSE(form->State.LinkTimerEnabled);
  EXPECT_TRUE(desk.desk.Messages.empty()) << desk.desk.Messages.front();
  EXPECT_EQ(form->State.Page, TClubState::tabRoom) << "the page stays as the drop left it";
}

// The way back never starts after a close the member chose or a refused login, and the disconnect
// action stops one that waits.
struct NoReturnCase {
  const char* name;
  std::function<void(ReturnTest&, TZnForm&)> act;
};
class NoReturnTest : public ReturnTest, public ::testing::WithParamInterface<NoReturnCase> {};

TEST_P(NoReturnTest, NoAttemptIsMade) {
  Entered({{2, "Anna"}});
  GetParam().act(*this, *form);
  const std::size_t connects = log.connects.size();
  for (int i = 0; i < 60; ++i) Tick(1000);
  EXPECT_EQ(log.connects.size(), connects);
  EXPECT_TRUE(form->State.StatusReturn.empty()) << form->State.StatusReturn;
  EXPECT_FALSE(form->Keeper.Returning());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NoReturnTest,
    ::testing::Values(
        NoReturnCase{"ChosenDisconnect", [](ReturnTest&, TZnForm& f) { f.cmDisconnectExecute(); }},
        NoReturnCase{"ConnectAgain",
                     [](ReturnTest& t, TZnForm& f) {
                       t.desk.desk.Clock += 5000;
                       f.cmConnectExecute();  // the fake reports the old close
                     }},
        NoReturnCase{"DisconnectWhileWaiting",
                     [](ReturnTest& t, TZnForm& f) {
                       t.Drop();
                       f.cmDisconnectExecute();
                     }},
        NoReturnCase{"ServerEndsIdleMember",
                     [](ReturnTest& t, TZnForm&) {
                       t.Receive({proto::LineMessage(
                                      S(" >>>>> Egy órája nem küldtél semmit, a kapcsolat megszakad"_cp)),
                                  proto::LineClosing(proto::TCloseReason::Idle)});
                       t.Drop();
                     }},
        // The notice and the closing line cut across reads, as TCP may cut them.
        NoReturnCase{"ClosingSplitAcrossReads",
                     [](ReturnTest& t, TZnForm& f) {
                       f.Link->Socket().OnData(S("#M >>>>> Egy órája nem küldtél"_cp));
                       f.Link->Socket().OnData(S(" semmit, a kapcsolat megszakad#C"_cp));
                       f.Link->Socket().OnData("1");
                       t.Drop();
                     }},
        NoReturnCase{"RefusedLogin",
                     [](ReturnTest& t, TZnForm&) {
                       t.Drop();
                       t.Tick(1000);
                       t.Reconnected();
                       t.Receive({proto::LineMessage(S(" >>>>> Ez a becenév nem használható: Anna"_cp))});
                       t.Drop();
                       t.Pump();
                       EXPECT_EQ(t.Memos(S("Ez a becenév nem használható"_cp)), 1);
                     }}),
    [](const auto& info) { return std::string(info.param.name); });

// The way back: the same server, the nickname, the room by its name (its index moved), then the
// seat or watching; the deal's lines that follow continue the deal's row of the record.
struct BackCase {
  const char* name;
  std::int32_t was;                         // Anna's seat when the link dropped; 0: watching
  std::vector<proto::TRoomMember> entered;  // the "R" line after entering again
  std::vector<std::string> sent;            // after "E2"
  std::int32_t seat;                        // MySeat at the end
  bool notice;                              // the seat had gone to someone else
};
class BackTest : public ReturnTest, public ::testing::WithParamInterface<BackCase> {};

TEST_P(BackTest, EntersTheRoomByNameAndTakesTheSeat) {
  const BackCase& c = GetParam();
  const bool watching = c.was == 0;
  Entered({{1, "Bela"}, {c.was, "Anna"}});
  if (watching) form->cmKibicExecute();
  Feed({proto::LineDeal(77), proto::LineHand(1, {4, 5, 6, 7, 8, 9, 10, 11, 12, 13})});
  ASSERT_EQ(form->ResForm->GameCount(), 1);
  Drop();
  Tick(999);
  const std::size_t connects = log.connects.size();
  Tick(1);
  ASSERT_EQ(log.connects.size(), connects + 1);
  EXPECT_EQ(log.connects.back(), log.connects.front());
  EXPECT_EQ(form->State.Room.MySeat, 0);
  Reconnected();
  log.sent.clear();
  // A server that does not mark the catch-up's end.
  Feed({proto::LineVersion(proto::kVersion), proto::LineReads(proto::kReadsClaims)});
  EXPECT_EQ(log.sent,
            (std::vector<std::string>{proto::CmdReads(proto::kReadsKnown), proto::CmdNick("Anna")}));
  Feed({proto::LineLobby({{kLobbyName, S("Zöld"_cp), kKek}, {}})});
  Feed({proto::LineRoom({"0", c.entered})});
  EXPECT_EQ(form->BidForm->ShownHand.Count(), 0) << "the old deal's cards are gone";
  // A login no challenge answered asks for one, so the nickname gets claimed.
  std::vector<std::string> sent = {proto::CmdReads(proto::kReadsKnown), proto::CmdNick("Anna"),
                                   proto::CmdClaimRequest(), proto::CmdEnter(2)};
  sent.insert(sent.end(), c.sent.begin(), c.sent.end());
  if (!c.sent.empty() &&
      c.sent.front() == proto::CmdSit(c.seat)) {  // "S": the server puts the member on the seat
    std::vector<proto::TRoomMember> seated;
    for (const auto& m : c.entered)
      if (m.nickname != "Anna") seated.push_back(m.seat == c.seat ? proto::TRoomMember{c.seat, "Anna"} : m);
    Feed({proto::LineRoom({"0", seated})});
    sent.push_back(proto::CmdHand(c.seat));
  }
  EXPECT_EQ(log.sent, sent);
  EXPECT_EQ(form->State.Room.MySeat, c.seat);
  EXPECT_EQ(form->BidForm->Watching, watching);
  EXPECT_FALSE(form->Keeper.Returning());
  EXPECT_TRUE(form->State.StatusReturn.empty()) << form->State.StatusReturn;
  EXPECT_EQ(Memos(S("más ült le"_cp)), c.notice ? 1 : 0);
  if (c.notice) return;  // standing: the deal's lines go to the seats and the watchers only
  // The server catches up with the deal as it stands: the same deal, the same row.
  Feed({proto::LineDeal(77), proto::LineHand(c.seat, {1, 2, 3, 21, 22, 23, 42})});
  EXPECT_EQ(form->ResForm->GameCount(), 1);
  EXPECT_EQ(form->State.Room.DealNumber, 77);
  desk.desk.Clock += kCatchUpMs;
  Feed({proto::LineDeal(77)});  // a replay later on is a new row
  EXPECT_EQ(form->ResForm->GameCount(), 2);
}

const BackCase kBackCases[] = {
    {"RobotOnTheSeat", 2, {{1, "Bela"}, {2, "-Robot2"}, {0, "Anna"}}, {proto::CmdSit(2)}, 2, false},
    {"SeatHeldByTheServer", 3, {{1, "Bela"}, {3, "Anna"}}, {proto::CmdHand(3)}, 3, false},
    {"SeatTaken", 2, {{1, "Bela"}, {2, "Cili"}, {0, "Anna"}}, {}, 0, true},
    {"Watching", 0, {{1, "Bela"}, {0, "Anna"}}, {proto::CmdWatch(true)}, 0, false},
};
INSTANTIATE_TEST_SUITE_P(Cases, BackTest, ::testing::ValuesIn(kBackCases),
                         [](const auto& info) { return std::string(info.param.name); });

// The quiet ping: every 15 s, its answer writes nothing, the member's own still shows its time,
// and 10 s with nothing back is a drop.
TEST_F(ReturnTest, QuietPingAnswersAndTimeout) {
  Entered({{2, "Anna"}});
  ASSERT_TRUE(form->State.LinkTimerEnabled);
  Tick(kQuietPingMs - 1);
  EXPECT_TRUE(log.sent.empty());
  Tick(1);
  EXPECT_EQ(log.sent, std::vector<std::string>{proto::CmdPing()});
  form->cmPingExecute();
  Feed({proto::LinePing()});
  EXPECT_EQ(Memos(S("Válaszidő"_cp)), 0) << "the first answer is the quiet ping's";
  Feed({proto::LinePing()});
  EXPECT_EQ(Memos(S("Válaszidő"_cp)), 1);

  // Data within the ten seconds keeps the connection; none is a drop.
  Tick(kQuietPingMs);
  Tick(kPingAnswerMs - 1);
  Receive({proto::LinePing()});
  Tick(1);
  EXPECT_FALSE(form->Keeper.Returning());
  log.sent.clear();
  Tick(kQuietPingMs - kPingAnswerMs);
  EXPECT_EQ(log.sent, std::vector<std::string>{proto::CmdPing()});
  Tick(kPingAnswerMs - 1);
  EXPECT_FALSE(form->Keeper.Returning());
  Tick(1);
  EXPECT_EQ(form->Keeper.Stage(), TLinkKeeper::TStage::Waiting);
  EXPECT_FALSE(form->Link->Connected);
  EXPECT_EQ(form->State.StatusReturn, S("Újrakapcsolódás (1.) 1 mp múlva..."_cp));
  Pump();
  EXPECT_EQ(Memos(S("Válaszidő"_cp)), 1);
}

// The quiet "G" waits for a spell after the member's own command, even when the link timer runs
// inside that command's Send: written within the server's read of a command that runs to the end
// of it, the server's framing would take it as part of the chat line or the room's name.
struct QuietCase {
  const char* name;
  std::function<void(ReturnTest&, TZnForm&)> act;
  std::string command;
};
class QuietPingTest : public ReturnTest, public ::testing::WithParamInterface<QuietCase> {};

TEST_P(QuietPingTest, WaitsForASpellAfterTheMembersCommand) {
  Entered({{2, "Anna"}});
  Tick(kQuietPingMs - 1);  // the quiet ping falls due during the member's command
  std::vector<std::function<void()>> pending{[this] { Tick(1); }};
  desk.desk.PendingHooks = &pending;
  GetParam().act(*this, *form);
  desk.desk.PendingHooks = nullptr;
  EXPECT_EQ(log.sent, std::vector<std::string>{GetParam().command});
  Tick(kQuietSpellMs - 2);
  EXPECT_EQ(log.sent.size(), 1u);
  Tick(1);
  EXPECT_EQ(log.sent, (std::vector<std::string>{GetParam().command, proto::CmdPing()}));
}

INSTANTIATE_TEST_SUITE_P(Cases, QuietPingTest,
                         ::testing::Values(QuietCase{"Chat",
                                                     [](ReturnTest&, TZnForm& f) {
                                                       f.State.ChatText = "szia";
                                                       f.cmMsgExecute();
                                                     },
                                                     "Mszia"},
                                           QuietCase{"NewRoom",
                                                     [](ReturnTest& t, TZnForm& f) {
                                                       t.desk.desk.InputAnswers.push_back(
                                                           std::string("Piros"));
                                                       f.cmNewRoomExecute();
                                                     },
                                                     "RPiros"}),
                         [](const auto& info) { return std::string(info.param.name); });

// A server that marks the end of its catch-up: the deal's lines before the mark continue the
// deal's row however late they come on a slow link; after it a deal of the same number is a new
// row.
TEST_F(ReturnTest, CatchUpLastsUntilTheServersMark) {
  Entered({{1, "Bela"}, {2, "Anna"}});
  Feed({proto::LineDeal(77), proto::LineHand(2, {4, 5, 6, 7, 8, 9, 10, 11, 12, 13})});
  Drop();
  Tick(1000);
  Reconnected();
  log.sent.clear();
  Feed({proto::LineVersion(proto::kVersion), proto::LineReads(proto::kReadsKnown),
        proto::LineLobby({{kLobbyName, kKek}, {}})});
  EXPECT_EQ(log.sent, (std::vector<std::string>{proto::CmdReads(proto::kReadsKnown), proto::CmdNick("Anna"),
                                                proto::CmdClaimRequest(), proto::CmdEnter(1)}));
  Feed({proto::LineRoom({"0", {{1, "Bela"}, {2, "Anna"}}})});
  EXPECT_FALSE(form->Keeper.Returning());
  desk.desk.Clock += 3 * kCatchUpMs;  // a slow link
  Feed({proto::LineDeal(77), proto::LineHand(2, {1, 2, 3, 21, 22, 23, 42})});
  EXPECT_EQ(form->ResForm->GameCount(), 1);
  Feed({proto::LineCaughtUp(), proto::LineDeal(77)});
  EXPECT_EQ(form->ResForm->GameCount(), 2);
}

// One "N" a connection: "L" lines left from older connections (while a box held the dispatcher)
// or a second one on the same connection never glue a second nickname to the first.
TEST_F(ReturnTest, OneLoginPerConnection) {
  Start();
  Connect();
  Feed({proto::LineVersion(proto::kVersion), proto::LineVersion(proto::kVersion)});
  Feed({proto::LineReads(proto::kReadsKnown), proto::LineReads(proto::kReadsKnown)});
  Tick(kReadsAnswerMs);
  EXPECT_EQ(log.sent,
            (std::vector<std::string>{proto::CmdReads(proto::kReadsKnown), proto::CmdNick("Anna")}));
}

// "V" goes alone before "N" (a server that predates it drops what follows it in a read): the
// nickname waits for the answer, or a moment for a server that gives none, which then gets "V"
// again once the login is in.
TEST_F(ReturnTest, AnnouncementGoesAloneBeforeTheNickname) {
  struct Case {
    bool answered;
    std::vector<std::string> beforeWait, afterWait, afterLobby;
  };
  const std::string v = proto::CmdReads(proto::kReadsKnown);
  for (const Case& c : {Case{true, {v, "NAnna"}, {v, "NAnna"}, {v, "NAnna", "Y"}},
                        Case{false, {v}, {v, "NAnna"}, {v, "NAnna", "Y", v}}}) {
    Start();
    Connect();
    log.sent.clear();
    Feed({proto::LineVersion(proto::kVersion)});
    if (c.answered) Feed({proto::LineReads(proto::kReadsKnown)});
    Tick(kReadsAnswerMs - 1);
    EXPECT_EQ(log.sent, c.beforeWait) << c.answered;
    Tick(1);
    EXPECT_EQ(log.sent, c.afterWait) << c.answered;
    Feed({proto::LineLobby({{kLobbyName, kKek}, {}})});
    EXPECT_EQ(log.sent, c.afterLobby) << c.answered;
    form.reset();
  }
}

// The claimed-name refusal while the way back waits, and the member cancels the prompt after a
// while: no attempt logs in meanwhile or after, and he is left on the connect page, where the
// name code can be entered.
TEST_F(ReturnTest, ClaimRefusalCancelStaysOnTheConnectPage) {
  Start();
  Connect();
  Greeted();
  log.sent.clear();
  const std::size_t connects = log.connects.size();
  desk.desk.InsideInput = [this] {
    for (int i = 0; i < 30 * 4; ++i) Tick(250);  // the prompt stays open for half a minute
  };
  Receive({proto::LineMessage(" >>>>> " + S(claim::kRefusedText))});
  Drop();
  Pump();
  for (int i = 0; i < 60; ++i) Tick(1000);
  EXPECT_EQ(log.connects.size(), connects);
  EXPECT_TRUE(log.sent.empty()) << log.written;
  EXPECT_FALSE(form->Keeper.Returning());
  EXPECT_EQ(form->State.Page, TClubState::tabConnect);
  EXPECT_EQ(form->State.Nickname, "Anna");
  EXPECT_NE(desk.desk.Log.back().find("Névkód megadása"_cp), std::string::npos) << desk.desk.Log.back();
}

}  // namespace
}  // namespace zn::test
