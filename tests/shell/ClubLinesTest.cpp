// The dispatcher and the club window's lines: lobby, messages, ping, version; bad input.
#include <algorithm>

#include "tests/shell/ClubFixture.h"

namespace zn::test {
namespace {

class ClubLines : public ClubTest {
 protected:
  void SetUp() override {
    ClubTest::SetUp();
    Start();
    Connect();
    log.sent.clear();
  }
};

TEST_F(ClubLines, VersionIsCheckedAndTheNicknameSentEitherWay) {
  Feed({proto::LineVersion("0.99"), proto::LineReads(proto::kReadsKnown)});
  EXPECT_TRUE(desk.desk.Messages.empty());
  EXPECT_EQ(log.sent,
            (std::vector<std::string>{proto::CmdReads(proto::kReadsKnown), proto::CmdNick("Anna")}));
  desk.desk.Clock += 2000;  // the next connection
  Connect();
  Feed({proto::LineVersion("0.990"), proto::LineReads(proto::kReadsKnown)});
  EXPECT_EQ(desk.desk.Messages,
            std::vector<std::string>{
                S("Szerver verzió (0.990) eltérő.\rAjánlatos frissíteni a Kliens programot!"_cp)});
  EXPECT_EQ(log.sent.size(), 4u);
  EXPECT_EQ(log.sent[3], "NAnna");
}

TEST_F(ClubLines, LobbyListsRoomsMembersAndThePresent) {
  Feed({proto::LineLobby({{S("Társalgó"_cp), "Kek", "Zold"}, {{0, "anna"}, {2, "cili"}, {0, "bela"}}})});
  EXPECT_EQ(form->State.Page, TClubState::tabLobby);
  EXPECT_EQ(form->State.Caption, S("Társalgó"_cp));
  EXPECT_TRUE(form->State.Menus.Messages && form->State.Menus.Lobby);
  EXPECT_FALSE(form->State.Menus.Room || form->State.Menus.View || form->State.Menus.Deal);
  EXPECT_EQ(form->State.Present, (std::vector<std::string>{"anna", "bela"}));
  EXPECT_EQ(form->State.Lobby.RoomIndex, 0);
  EXPECT_EQ(form->State.Lobby.Users, (std::vector<std::string>{"anna", "bela"}));
  EXPECT_EQ(form->State.Lobby.UserIndex, 0);
  form->fdRoomsClick(2);
  EXPECT_EQ(form->State.Lobby.Users, std::vector<std::string>{"cili"});
  form->fdRoomsClick(1);
  EXPECT_TRUE(form->State.Lobby.Users.empty());
  EXPECT_EQ(form->State.Lobby.UserIndex, -1);
}

TEST_F(ClubLines, ChatSurvivesALobbyRefreshButNotTheWayIn) {
  Feed({proto::LineMessage("before")});
  Feed({proto::LineLobby({{S("Társalgó"_cp)}, {}})});
  EXPECT_TRUE(form->State.Memo.empty()) << "entering the lobby from the connect page clears the messages";
  Feed({proto::LineMessage("hello"), proto::LineLobby({{S("Társalgó"_cp)}, {{0, "anna"}}})});
  EXPECT_EQ(form->State.Memo, std::vector<std::string>{"hello"});
  EXPECT_EQ(form->State.Present, std::vector<std::string>{"anna"});
}

struct BadLobby {
  const char* name;
  std::string line;
  std::vector<std::string> errors;
  std::vector<std::string> present;
};
void PrintTo(const BadLobby& c, std::ostream* os) { *os << c.name; }

class ClubBadLobby : public ClubLines, public ::testing::WithParamInterface<BadLobby> {};

TEST_P(ClubBadLobby, ShowsTheErrorDropsTheRestAndGoesOn) {
  Feed({GetParam().line, proto::LineMessage("next")});
  EXPECT_EQ(desk.desk.Errors, GetParam().errors);
  EXPECT_EQ(form->State.Present, GetParam().present);
  EXPECT_EQ(form->State.Memo.back(), "next") << "the next line is dispatched";
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ClubBadLobby,
    ::testing::Values(BadLobby{"IndexOutOfRange",
                               "I2 Lobby Kek 3 0 anna 5 bela 0 cili",
                               {"List index out of bounds (5)"},
                               {"anna"}},
                      BadLobby{"NegativeIndex", "I1 Lobby 1 -1 anna", {"List index out of bounds (-1)"}, {}},
                      BadLobby{"IndexNotANumber",
                               "I2 Lobby Kek 2 0 anna x bela",
                               {"'x' is not a valid integer value."},
                               {"anna"}},
                      BadLobby{"RoomCountNotANumber", "Ix Lobby", {"'x' is not a valid integer value."}, {}},
                      BadLobby{"MemberCountPastTheEnd", "I2 Lobby Kek 50 0 anna 1 bela", {}, {"anna"}},
                      BadLobby{
                          "RoomCountPastTheEnd", "I9 Lobby Kek", {"'' is not a valid integer value."}, {}},
                      BadLobby{"HugeMemberCount", "I1 Lobby 2147483647 0 anna", {}, {"anna"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ClubLines, HundredThousandMembersInOneLobbyLine) {
  proto::TLobby lobby{{S("Társalgó"_cp), "Kek"}, {}};
  for (int i = 0; i < 100000; ++i) lobby.members.push_back({i % 2, "tag" + std::to_string(i)});
  Feed({proto::LineLobby(lobby), proto::LineMessage("still here")});
  EXPECT_TRUE(desk.desk.Errors.empty());
  EXPECT_EQ(form->State.Present.size(), 50000u);
  EXPECT_EQ(form->State.Lobby.RoomMembers[1].size(), 50000u);
  EXPECT_EQ(form->State.Memo.back(), "still here");
}

TEST_F(ClubLines, LinesWithoutAHandlerAreShownAsTheyAre) {
  Feed({"xyz", " M", "O1"});
  EXPECT_EQ(desk.desk.Messages, (std::vector<std::string>{"xyz", " M", "O1"}));
  form->Link->Socket().OnData("#");  // a chunk that ends in "#"
  Pump();
  EXPECT_EQ(desk.desk.Messages.back(), S(" >>>>> Adatátviteli hiba. Lépj ki és indítsd újra!"_cp));
}

// Every code of the protocol's table reaches a handler of its own, never the unknown-line box.
TEST_F(ClubLines, EveryProtocolCodeHasItsOwnHandler) {
  for (const proto::TLineCode& code : proto::kLineCodes) {
    const std::string line = std::string(1, code.code) + "?";
    desk.desk.Messages.clear();
    form->Dispatch(line);
    EXPECT_EQ(std::count(desk.desk.Messages.begin(), desk.desk.Messages.end(), line), 0) << line;
  }
}

TEST_F(ClubLines, MessageAreaKeepsTheNewestFiftyAndTheNewLine) {
  form->State.Memo.clear();
  for (int i = 0; i < 100; ++i) form->State.Memo.push_back("old" + std::to_string(i));
  Feed({proto::LineMessage("new")});
  ASSERT_EQ(form->State.Memo.size(), 51u);
  EXPECT_EQ(form->State.Memo.front(), "old50");
  EXPECT_EQ(form->State.Memo.back(), "new");
  Feed({proto::LineMessage("more")});
  EXPECT_EQ(form->State.Memo.size(), 52u) << "99 lines or fewer are kept whole";
}

TEST_F(ClubLines, MessageAlertsAndTheFlashEndsAfterSixToggles) {
  Feed({proto::LineMessage("hi")});
  EXPECT_EQ(desk.desk.Beeps, 1);
  EXPECT_EQ(form->State.FlashCount, 6);
  EXPECT_TRUE(form->State.TimerEnabled);
  for (int i = 0; i < 6; ++i) form->TimerTimer();
  EXPECT_FALSE(form->State.TimerEnabled);
  EXPECT_FALSE(form->State.FlashOn);
}

TEST_F(ClubLines, SoundToggleBeepsOnlyWhenTurnedOnAndShowsTheTable) {
  form->Actions.cmSound.Execute();
  EXPECT_FALSE(form->Actions.cmSound.Checked);
  EXPECT_EQ(desk.desk.Beeps, 0);
  EXPECT_EQ(form->State.FlashCount, 6);
  EXPECT_TRUE(form->BidForm->Visible);
  form->BidForm->Hide();
  form->Actions.cmSound.Execute();
  EXPECT_EQ(desk.desk.Beeps, 1);
  EXPECT_TRUE(form->BidForm->Visible);
}

TEST_F(ClubLines, PingMeasuresTheResponseTime) {
  form->Actions.cmPing.Execute();
  EXPECT_EQ(log.sent, std::vector<std::string>{"G"});
  desk.desk.Clock += 1234;
  Feed({proto::LinePing()});
  EXPECT_EQ(form->State.Memo.back(), S(" >>>>> Válaszidő 1.234 sec"_cp));
  EXPECT_NEAR(form->State.PingSeconds, 1.234, 1e-6);
  EXPECT_EQ(desk.desk.Beeps, 1);
}

// The answer is timed when its bytes came, not when the line is taken: a last line is held for
// the quiet time, and a trick pause holds every line.
TEST_F(ClubLines, PingIsTimedByTheAnswersArrival) {
  log.hasTimer = true;
  form->Actions.cmPing.Execute();
  desk.desk.Clock += 100;
  form->Link->Socket().OnData("#" + proto::LinePing());
  desk.desk.Clock += kQuietTime.count();
  form->Link->Socket().OnQuiet();
  form->BidForm->TrickPause = true;
  Pump();
  desk.desk.Clock += 700;
  form->BidForm->LiftPause();
  Pump();
  EXPECT_NEAR(form->State.PingSeconds, 0.100, 1e-6);
  EXPECT_EQ(form->State.Memo.back(), S(" >>>>> Válaszidő 0.100 sec"_cp));
}

TEST_F(ClubLines, ChatAndNews) {
  form->Actions.cmMsg.Execute();
  EXPECT_EQ(desk.desk.Messages, std::vector<std::string>{S("Nincs üzenet!"_cp)});
  form->State.ChatText = S(TClubState::ChatPhrases[7]);
  form->fdChatEnter();
  EXPECT_EQ(log.sent, std::vector<std::string>{proto::CmdChat(S("Piszok nagy mázli volt!"_cp))});
  EXPECT_TRUE(form->State.ChatText.empty());
  form->Actions.cmLogMsg.Execute();
  EXPECT_EQ(log.sent.back(), "L");
  form->Actions.cmClear.Execute();
  EXPECT_TRUE(form->State.Memo.empty());
}

TEST_F(ClubLines, IntroductionRequestsAreThrottled) {
  form->Actions.cmInfo.Execute();
  EXPECT_EQ(desk.desk.Messages, std::vector<std::string>{S("Előbb válassz valakit a jelenlevők közül!"_cp)});
  Feed({proto::LineLobby({{S("Társalgó"_cp)}, {{0, "Anna"}, {0, "bela"}}})});
  form->fdPresentDblClick(1);
  EXPECT_EQ(log.sent, std::vector<std::string>{proto::CmdInquiry("Anna", "bela")});
  for (int i = 0; i < 3; ++i) form->Actions.cmInfo.Execute();
  EXPECT_EQ(desk.desk.Beeps, 3);
  EXPECT_EQ(log.sent.size(), 1u);
  form->Actions.cmInfo.Execute();  // the fourth goes through
  EXPECT_EQ(log.sent.size(), 2u);
  Feed({"WAnna bela 4 0 0 0 Bela"});  // the answer shows the window
  EXPECT_TRUE(form->InfoForm->Visible);
  EXPECT_EQ(form->InfoForm->fdReal, "Bela");
  form->InfoForm->Hide();  // closing it lets the next request through at once
  form->Actions.cmInfo.Execute();
  EXPECT_EQ(log.sent.size(), 3u);
  form->InfoForm->Hide();
  form->fdPresentClick(0);  // the own profile sends nothing
  form->Actions.cmInfo.Execute();
  EXPECT_EQ(log.sent.size(), 3u);
  EXPECT_TRUE(form->InfoForm->OwnProfile && form->InfoForm->Visible);
}

TEST_F(ClubLines, InquiryIsAnsweredAndNoted) {
  Feed({"QBela Anna"});
  EXPECT_EQ(log.sent, std::vector<std::string>{"WBela Anna 0 0 0 0 "});
  EXPECT_EQ(form->State.Memo.back(), S(" >>>>> Bela érdeklődött irántad"_cp));
}

TEST_F(ClubLines, TrickPauseHoldsLinesInTheQueue) {
  Feed({proto::LineRoom({"0", {{1, "Anna"}}})});
  Receive({"P0 4 1 7 25 30 9", proto::LineMessage("after the trick")});
  desk.desk.CurrentCursor = TCursor::Hourglass;
  Pump();
  EXPECT_TRUE(form->BidForm->TrickPause);
  EXPECT_TRUE(form->State.Memo.empty());
  EXPECT_FALSE(form->ReceiveQueue.Empty());
  EXPECT_FALSE(form->IdleHandler());
  EXPECT_EQ(desk.desk.CurrentCursor, TCursor::Normal);
  const int wakesBefore = wakes;
  form->BidForm->cmNextClick();
  EXPECT_EQ(log.sent.back(), "T");
  EXPECT_GT(wakes, wakesBefore) << "lifting the pause restarts the dispatcher";
  Pump();
  EXPECT_EQ(form->State.Memo.back(), "after the trick");
}

TEST_F(ClubLines, DisconnectLiftsAPauseLeftFromTheOldConnection) {
  Feed({proto::LineRoom({"0", {{1, "Anna"}}})});
  Receive({"P0 4 1 7 25 30 9", proto::LineMessage("queued")});
  Pump();
  ASSERT_TRUE(form->BidForm->TrickPause);
  form->Actions.cmDisconnect.Execute();
  EXPECT_FALSE(form->BidForm->TrickPause);
  Pump();
  EXPECT_EQ(form->State.Memo.back(), "queued");
}

TEST_F(ClubLines, ChunkArrivalWakesTheDispatcherAndAnEmptyQueueEndsIt) {
  const int before = wakes;
  Receive({proto::LineMessage("a"), proto::LineMessage("b")});
  EXPECT_GT(wakes, before);
  EXPECT_TRUE(form->IdleHandler()) << "one line per pass, more waiting";
  EXPECT_FALSE(form->IdleHandler());
  EXPECT_FALSE(form->IdleHandler());
  EXPECT_EQ(form->State.StatusServer, "localhost");
  form->Link->Socket().OnDisconnected();
  form->IdleHandler();
  EXPECT_EQ(form->State.StatusServer, " nincs");
}

TEST_F(ClubLines, ResultLineCompletesTheGameAndEnablesTheDealCommands) {
  form->EnableDealCommands(false);
  EXPECT_FALSE(form->Actions.cmMatch.Enabled || form->Actions.cmNextDeal.Enabled);
  EXPECT_TRUE(form->BidForm->FixEnabled);
  Feed({proto::LineRoom({"3", {{1, "Anna"}}}), proto::LineDeal(17), "F12:-12 x"});
  EXPECT_TRUE(form->Actions.cmMatch.Enabled && form->Actions.cmNextDeal.Enabled);
  EXPECT_FALSE(form->BidForm->FixEnabled);
  ASSERT_EQ(form->ResForm->GameCount(), 1);
  EXPECT_EQ(form->ResForm->Games[0].Number, "17");
  EXPECT_EQ(form->ResForm->Games[0].Points14, "12");
  EXPECT_EQ(form->ResForm->Games[0].Points23, "-12");
  EXPECT_EQ(form->ResForm->Games[0].Played, "3");
  EXPECT_EQ(form->ResForm->Games[0].Mark, "+");
  EXPECT_TRUE(form->ResForm->Visible);
}

}  // namespace
}  // namespace zn::test

namespace zn::test {
namespace {

struct ProfileCase {
  const char* name;
  std::string line;
  std::string real, work;
  std::vector<std::string> info, bid;
};
void PrintTo(const ProfileCase& c, std::ostream* os) { *os << c.name; }

class ReceivedProfiles : public ClubLines, public ::testing::WithParamInterface<ProfileCase> {};

TEST_P(ReceivedProfiles, AreCutByTheirLengthsAndNeverPastTheData) {
  Feed({GetParam().line});
  EXPECT_TRUE(desk.desk.Errors.empty());
  EXPECT_TRUE(form->InfoForm->Visible);
  EXPECT_EQ(form->InfoForm->fdName, "Bela");
  EXPECT_EQ(form->InfoForm->fdReal, GetParam().real);
  EXPECT_EQ(form->InfoForm->fdWork, GetParam().work);
  EXPECT_EQ(form->InfoForm->fdInfo, GetParam().info);
  EXPECT_EQ(form->InfoForm->fdBid, GetParam().bid);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ReceivedProfiles,
    ::testing::Values(
        ProfileCase{"Whole",
                    "WAnna Bela 9 0 11 2 Vada Vivoa~~b~Szia!~ok",
                    "Vada Vivo",
                    "",
                    {"a", "", "b", "Szia!"},
                    {"ok"}},
        ProfileCase{"LengthsPastTheData", "WAnna Bela 4 99 2147483647 5 Vada Vivo", "Vada", " Vivo", {}, {}},
        ProfileCase{"NegativeLength", "WAnna Bela -3 2 0 0 Vada", "", "Va", {}, {}},
        ProfileCase{"Empty", "WAnna Bela 0 0 0 0 ", "", "", {}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ClubLines, ProfileWithALengthThatIsNoNumberIsNotShown) {
  Feed({"WAnna Bela 4 x 0 0 Vada"});
  EXPECT_EQ(desk.desk.Errors, std::vector<std::string>{"'x' is not a valid integer value."});
  EXPECT_FALSE(form->InfoForm->Visible);
}

TEST_F(ClubLines, RobotProfileIsShownWithoutAsking) {
  Feed({proto::LineLobby({{S("Társalgó"_cp)}, {{0, "-Robot2"}}})});
  form->fdPresentDblClick(0);
  EXPECT_TRUE(log.sent.empty());
  EXPECT_EQ(form->InfoForm->fdReal, "Buta Robot");
  EXPECT_EQ(form->InfoForm->fdInfo, std::vector<std::string>{S("Csak kisegítek"_cp)});
  EXPECT_FALSE(form->InfoForm->OwnProfile);
}

}  // namespace
}  // namespace zn::test

namespace zn::test {
namespace {

TEST_F(ClubLines, NoLineIsDispatchedInsideAnotherLinesSend) {
  std::vector<std::function<void()>> hooks;
  desk.desk.PendingHooks = &hooks;
  bool nested = true;
  hooks.push_back([&] { nested = form->IdleHandler(); });
  Receive({proto::LineRoom({"0", {{2, "Anna"}}}), proto::LineMessage("later")});
  EXPECT_TRUE(form->IdleHandler());  // the R line sends "H2", whose pending events try to dispatch
  EXPECT_FALSE(nested);
  EXPECT_TRUE(form->State.Memo.empty());
  Pump();
  EXPECT_EQ(form->State.Memo, std::vector<std::string>{"later"});
  desk.desk.PendingHooks = nullptr;
}

}  // namespace
}  // namespace zn::test
