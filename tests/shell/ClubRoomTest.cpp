// The room page: seats, robots, watching, the deal commands and the "A", "D", "R", "T" lines.
#include <algorithm>
#include <limits>

#include "tests/shell/ClubFixture.h"

namespace zn::test {
namespace {

TEST_F(ClubTest, RoomLineFillsSeatsAndAsksForTheOwnHand) {
  InRoom({});
  Feed({proto::LineRoom({"5", {{1, "Anna"}, {3, S("béla"_cp)}, {0, "cili"}}})});
  EXPECT_EQ(form->State.Room.SeatLabels[1], "Anna");
  EXPECT_EQ(form->State.Room.SeatLabels[2], "- - -");
  EXPECT_EQ(form->State.Room.SeatLabels[3], S("béla"_cp));
  EXPECT_EQ(form->State.Room.SeatLabels[4], "- - -");
  EXPECT_EQ(form->State.Room.MatchText, "5");
  EXPECT_EQ(form->State.Present, (std::vector<std::string>{"Anna", S("béla"_cp), "cili"}));
  EXPECT_EQ(form->State.Room.MySeat, 1);
  EXPECT_EQ(form->State.Page, TClubState::tabRoom);
  EXPECT_TRUE(form->State.Menus.Room && form->State.Menus.View && form->State.Menus.Deal &&
              form->State.Menus.Messages);
  EXPECT_FALSE(form->State.Menus.Lobby);
  EXPECT_TRUE(form->BidForm->DealButtonsVisible);
  EXPECT_TRUE(form->BidForm->Visible);
  EXPECT_FALSE(form->State.Room.SeatDownVisible);
  EXPECT_EQ(log.sent, std::vector<std::string>{proto::CmdHand(1)});
}

struct RoomCase {
  const char* name;
  std::vector<proto::TRoomMember> members;
  bool watching;
  std::int32_t mySeat;
  bool dealMenu, seatDown, tableShown;
  std::vector<std::string> sent;
};
void PrintTo(const RoomCase& c, std::ostream* os) { *os << c.name; }

class RoomVariants : public ClubTest, public ::testing::WithParamInterface<RoomCase> {};

TEST_P(RoomVariants, ShowWhatTheSeatAllows) {
  const RoomCase& c = GetParam();
  InRoom({});
  if (c.watching) {
    form->Actions.cmKibic.Execute();
    log.sent.clear();
  }
  Feed({proto::LineRoom({"0", c.members})});
  EXPECT_EQ(form->State.Room.MySeat, c.mySeat);
  EXPECT_EQ(form->State.Menus.Deal, c.dealMenu);
  EXPECT_EQ(form->BidForm->DealButtonsVisible, c.dealMenu);
  EXPECT_EQ(form->State.Room.SeatDownVisible, c.seatDown);
  EXPECT_EQ(form->BidForm->Visible, c.tableShown);
  EXPECT_EQ(log.sent, c.sent);
  EXPECT_FALSE(form->BidForm->GoEnabled);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, RoomVariants,
    ::testing::Values(
        RoomCase{"SeatTwo", {{1, "x1xx"}, {2, "Anna"}}, false, 2, false, false, true, {"H2"}},
        // Seat 1's commands pass to the lowest seated member when a robot holds it.
        RoomCase{"SeatTwoBehindARobot", {{1, "-Robot1"}, {2, "Anna"}}, false, 2, true, false, true, {"H2"}},
        RoomCase{"SeatThreeBehindAMember",
                 {{1, "-Robot1"}, {2, "bela"}, {3, "Anna"}},
                 false,
                 3,
                 false,
                 false,
                 true,
                 {"H3"}},
        RoomCase{"Standing", {{1, "x1xx"}, {0, "Anna"}}, false, 0, false, true, false, {}},
        RoomCase{"Watching", {{1, "x1xx"}, {0, "Anna"}}, true, 0, false, false, true, {"H0"}},
        // Seats outside 1..4 put the member in the present list only; such a seat is no seat.
        RoomCase{"SeatSeven", {{7, "Anna"}, {-2, "x1xx"}}, false, 7, false, false, true, {}},
        RoomCase{"NotInTheLine", {{1, "x1xx"}}, false, 0, false, true, false, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ClubTest, RoomLineWithABadSeatShowsTheErrorAndKeepsWhatCameBefore) {
  InRoom({});
  Feed({"R2 1 anna x bela", proto::LineMessage("next")});
  EXPECT_EQ(desk.desk.Errors, std::vector<std::string>{"'x' is not a valid integer value."});
  EXPECT_EQ(form->State.Room.SeatLabels[1], "anna");
  EXPECT_EQ(form->State.Memo.back(), "next");
}

struct SeatCase {
  const char* name;
  std::vector<proto::TRoomMember> members;
  bool watching;
  int seat;
  std::vector<std::string> sent;
  std::vector<std::string> messages;
};
void PrintTo(const SeatCase& c, std::ostream* os) { *os << c.name; }

class SeatClicks : public ClubTest, public ::testing::WithParamInterface<SeatCase> {};

TEST_P(SeatClicks, TakeOnlyAFreeOrRobotSeat) {
  const SeatCase& c = GetParam();
  InRoom(c.members);
  if (c.watching) {
    form->Actions.cmKibic.Execute();
    log.sent.clear();
  }
  desk.desk.Messages.clear();
  form->fdSeatClick(c.seat);
  EXPECT_EQ(log.sent, c.sent);
  EXPECT_EQ(desk.desk.Messages, c.messages);
}

INSTANTIATE_TEST_SUITE_P(
    Rules, SeatClicks,
    ::testing::Values(
        SeatCase{"FreeSeat", {{0, "Anna"}}, false, 3, {"S3"}, {}},
        SeatCase{"RobotSeat", {{0, "Anna"}, {2, "-Robot2"}}, false, 2, {"S2"}, {}},
        SeatCase{"HumanSeat", {{0, "Anna"}, {2, "bela"}}, false, 2, {}, {}},
        SeatCase{"Watching", {{0, "Anna"}}, true, 1, {}, {S("Kibic nem játszhat!"_cp)}},
        SeatCase{"AlreadySeated", {{4, "Anna"}}, false, 1, {}, {S("Előbb állj fel, ha át akarsz ülni!"_cp)}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ClubTest, SeatMenuActionsClickTheirSeat) {
  InRoom({{0, "Anna"}});
  form->Actions.cmCatcher.Execute();
  EXPECT_EQ(log.sent, std::vector<std::string>{"S4"});
  EXPECT_FALSE(form->BidForm->GoEnabled);
}

struct RobotCase {
  const char* name;
  std::vector<proto::TRoomMember> members;
  std::vector<std::string> sent;
  std::vector<std::string> messages;
};
void PrintTo(const RobotCase& c, std::ostream* os) { *os << c.name; }

class RobotPlacement : public ClubTest, public ::testing::WithParamInterface<RobotCase> {};

TEST_P(RobotPlacement, FirstFreeSeatOfTwoThreeFour) {
  InRoom(GetParam().members);
  desk.desk.Messages.clear();
  form->Actions.cmRobot.Execute();
  EXPECT_EQ(log.sent, GetParam().sent);
  EXPECT_EQ(desk.desk.Messages, GetParam().messages);
}

INSTANTIATE_TEST_SUITE_P(
    Seats, RobotPlacement,
    ::testing::Values(
        RobotCase{"OpenerSeatFree", {{2, "Anna"}}, {}, {S("Az induló helyén ülni kell valakinek!"_cp)}},
        RobotCase{"SeatTwoFree", {{1, "Anna"}}, {"S-2"}, {}},
        RobotCase{"SeatThreeFree", {{1, "Anna"}, {2, "bela"}}, {"S-3"}, {}},
        RobotCase{"RobotsCountAsTaken", {{1, "Anna"}, {2, "-Robot2"}, {3, "-Robot3"}}, {"S-4"}, {}},
        RobotCase{"AllTaken", {{1, "Anna"}, {2, "b1bb"}, {3, "c1cc"}, {4, "d1dd"}}, {}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ClubTest, StandUpOnlyWhenSeated) {
  InRoom({{0, "Anna"}});
  form->Actions.cmStand.Execute();
  EXPECT_EQ(desk.desk.Messages.back(), S("Előbb ülj le, ha fel akarsz állni!"_cp));
  EXPECT_TRUE(log.sent.empty());
  Feed({proto::LineRoom({"0", {{2, "Anna"}}})});
  log.sent.clear();
  form->State.Room.DealText = "42";
  form->Actions.cmStand.Execute();
  EXPECT_EQ(log.sent, std::vector<std::string>{"S0"});
  EXPECT_TRUE(form->State.Room.DealText.empty());
  EXPECT_FALSE(form->BidForm->Visible);
}

TEST_F(ClubTest, WatchingOnlyWithoutASeat) {
  InRoom({{3, "Anna"}});
  form->Actions.cmKibic.Execute();
  EXPECT_EQ(desk.desk.Messages.back(), S("Előbb állj fel, ha kibicelni akarsz!"_cp));
  Feed({proto::LineRoom({"0", {{0, "Anna"}}})});
  log.sent.clear();
  form->Actions.cmKibic.Execute();
  EXPECT_TRUE(form->Actions.cmKibic.Checked);
  EXPECT_TRUE(form->BidForm->Watching);
  form->Actions.cmKibic.Execute();
  EXPECT_FALSE(form->Actions.cmKibic.Checked);
  EXPECT_EQ(log.sent, (std::vector<std::string>{"K1", "K0"}));
}

TEST_F(ClubTest, EnterCreateAndLeaveRooms) {
  Start();
  Connect();
  Feed({proto::LineLobby({{S("Társalgó"_cp), "Kek", "Zold"}, {}}), proto::LineMessage("chat")});
  log.sent.clear();
  form->Actions.cmEnter.Execute();  // the lobby itself is selected
  EXPECT_EQ(desk.desk.Messages.back(), S("Előbb válassz termet, majd újra add ki a belépés utasítást!"_cp));
  EXPECT_TRUE(log.sent.empty());
  form->fdRoomsDblClick(2);
  EXPECT_EQ(log.sent, std::vector<std::string>{"E2"});
  EXPECT_EQ(form->State.Caption, "Zold terem");
  EXPECT_TRUE(form->State.Memo.empty());
  form->Actions.cmLobby.Execute();
  EXPECT_EQ(log.sent.back(), "E0");

  desk.desk.InputAnswers = {S("abc"), S("Kék szoba"_cp), S("Kék#szoba"_cp)};
  form->Actions.cmNewRoom.Execute();  // too short: nothing
  form->Actions.cmNewRoom.Execute();
  form->Actions.cmNewRoom.Execute();
  EXPECT_EQ(desk.desk.Log[desk.desk.Log.size() - 2], S("input:Új terem:Teremnév:  (legalább 4 betű):"_cp));
  EXPECT_EQ(log.sent.back(), proto::CmdNewRoom(S("Kék\u00A0szoba"_cp))) << "spaces travel as no-break spaces";
  EXPECT_EQ(log.sent.size(), 3u);
  EXPECT_EQ(desk.desk.Messages.back(), S("A teremnév nem tartalmazhat # jelet!"_cp));
}

struct NumCase {
  const char* name;
  std::optional<std::string> typed;
  std::vector<std::string> sent;
  std::vector<std::string> errors;
};
void PrintTo(const NumCase& c, std::ostream* os) { *os << c.name; }

class NumberedDeal : public ClubTest, public ::testing::WithParamInterface<NumCase> {};

TEST_P(NumberedDeal, SentAsTypedWhenAboveZero) {
  InRoom({{1, "Anna"}});
  desk.desk.InputAnswers = {GetParam().typed};
  form->Actions.cmNumDeal.Execute();
  EXPECT_EQ(std::count(desk.desk.Log.begin(), desk.desk.Log.end(), S("input:Új oszás:Leosztás száma::"_cp)),
            1);
  EXPECT_EQ(log.sent, GetParam().sent);
  EXPECT_EQ(desk.desk.Errors, GetParam().errors);
}

INSTANTIATE_TEST_SUITE_P(
    Typed, NumberedDeal,
    ::testing::Values(NumCase{"LeadingZeros", "0042", {"D0042"}, {}}, NumCase{"Zero", "0", {}, {}},
                      NumCase{"Negative", "-5", {}, {}},
                      NumCase{"NotANumber", "4x", {}, {"'4x' is not a valid integer value."}},
                      NumCase{"Cancelled", std::nullopt, {}, {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ClubTest, DealCommandsResetTheTableAndShowTheBiddingPage) {
  InRoom({{1, "Anna"}});
  form->BidForm->DealOver = true;
  form->BidForm->SumText = "12:0";
  form->Actions.cmReplay.Execute();
  EXPECT_FALSE(form->BidForm->DealOver);
  EXPECT_TRUE(form->BidForm->SumText.empty());
  EXPECT_EQ(form->BidForm->Page, TBidForm::tabBid);
  form->Actions.cmMatch.Execute();
  EXPECT_EQ(log.sent, (std::vector<std::string>{"D-1", "D0"}));
}

struct NextCase {
  std::int32_t deal;
  std::string sent;
};
class NextDeal : public ClubTest, public ::testing::WithParamInterface<NextCase> {};

TEST_P(NextDeal, StepsByTwoBelowAThousand) {
  InRoom({{1, "Anna"}});
  Feed({"D" + std::to_string(GetParam().deal)});
  log.sent.clear();
  form->Actions.cmNextDeal.Execute();
  EXPECT_EQ(log.sent, std::vector<std::string>{GetParam().sent});
}

INSTANTIATE_TEST_SUITE_P(
    Numbers, NextDeal,
    ::testing::Values(NextCase{17, "D19"}, NextCase{999, "D1001"}, NextCase{1000, "D1001"},
                      NextCase{1017, "D1018"}, NextCase{-5, "D-3"},
                      NextCase{std::numeric_limits<std::int32_t>::max(), "D2147483648"}));

struct DealLine {
  std::string line;
  std::int32_t number;
  std::string text;
  std::vector<std::string> errors;
};
class DealLines : public ClubTest, public ::testing::WithParamInterface<DealLine> {};

TEST_P(DealLines, NumberTheNewDeal) {
  InRoom({{1, "Anna"}});
  form->State.Room.DealNumber = 5;
  Feed({GetParam().line});
  EXPECT_EQ(form->State.Room.DealNumber, GetParam().number);
  EXPECT_EQ(form->State.Room.DealText, GetParam().text);
  EXPECT_EQ(desk.desk.Errors, GetParam().errors);
  EXPECT_EQ(form->ResForm->GameCount(), GetParam().errors.empty() ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    Payloads, DealLines,
    ::testing::Values(DealLine{"D42", 42, "42", {}}, DealLine{"D007", 7, "7", {}},
                      DealLine{"D-2147483648", std::numeric_limits<std::int32_t>::min(), "-2147483648", {}},
                      DealLine{"D12345678901", 5, "", {"'12345678901' is not a valid integer value."}},
                      DealLine{"D1234567890123", 5, "", {"'12345678901' is not a valid integer value."}},
                      DealLine{"Dx", 5, "", {"'x' is not a valid integer value."}}));

TEST_F(ClubTest, RoomOptionFollowsTheServer) {
  InRoom({{1, "Anna"}});
  form->Actions.cmAlign.Execute();
  form->Actions.cmAlign.Execute();
  EXPECT_EQ(log.sent, (std::vector<std::string>{"A0", "A0"})) << "the mark changes only with the A line";
  Feed({"A0"});
  EXPECT_FALSE(form->Actions.cmAlign.Checked);
  Feed({"A1"});
  EXPECT_TRUE(form->Actions.cmAlign.Checked);
  Feed({"A"});
  EXPECT_FALSE(form->Actions.cmAlign.Checked);
}

TEST_F(ClubTest, TurnLineShowsTheBiddingPageAndEnablesSending) {
  InRoom({{1, "Anna"}});
  form->BidForm->Page = TBidForm::tabPlay;
  Feed({proto::LineTurn()});
  EXPECT_EQ(form->BidForm->Page, TBidForm::tabBid);
  EXPECT_TRUE(form->BidForm->Visible);
  EXPECT_TRUE(form->BidForm->GoEnabled);
}

TEST_F(ClubTest, HandOrderMenuChecksOneItem) {
  InRoom({{1, "Anna"}});
  form->Actions.cmSide.Execute();
  EXPECT_EQ(form->BidForm->HandOrder, 2);
  EXPECT_FALSE(form->Actions.cmNormal.Checked);
  EXPECT_TRUE(form->Actions.cmSide.Checked);
  form->Actions.cmReverse.Execute();
  EXPECT_EQ(form->BidForm->HandOrder, 1);
  EXPECT_FALSE(form->Actions.cmSide.Checked);
}

// A watcher sees all four hands; a new card order redraws each panel from its own seat's hand,
// not every panel from the hand that came last.
TEST_F(ClubTest, HandOrderWhileWatchingKeepsEachSeatsHand) {
  InRoom({{0, "Anna"}});
  form->Actions.cmKibic.Execute();
  const std::array<std::vector<std::int32_t>, 5> hands{{{}, {1, 30, 7}, {2, 31}, {3, 32, 12}, {4, 33}}};
  for (std::int32_t seat = 1; seat <= 4; ++seat)
    Feed({proto::LineHand(seat, hands[static_cast<std::size_t>(seat)])});
  form->Actions.cmReverse.Execute();
  for (std::size_t panel = 1; panel <= 4; ++panel) {
    std::vector<std::int32_t> drawn;
    for (const TCardImage& image : form->BidForm->Panels[panel].Images) drawn.push_back(image.Code);
    std::vector<std::int32_t> want = hands[panel];
    std::sort(want.begin(), want.end());  // "&Fordított": lowest first
    EXPECT_EQ(drawn, want) << "panel " << panel;
  }
}

}  // namespace
}  // namespace zn::test
