// The game list: result lines, marks and totals, deleting, and lines that come without a game.
#include <gtest/gtest.h>

#include "game/Cp1250.h"
#include "tests/record/RecordFixture.h"

namespace zn::test {
namespace {

using namespace zn::literals;

struct ResultCase {
  const char* name;
  std::string line;
  std::string points14, points23;
  std::string total14, total23;
};
void PrintTo(const ResultCase& c, std::ostream* os) { *os << c.name; }

class ResultLines : public RecordTest, public ::testing::WithParamInterface<ResultCase> {};

TEST_P(ResultLines, FillTheCurrentGameMarkItAndCountTheTotals) {
  Games(2);
  form.Toggle(1);  // game 1 counts in the totals with its "0" points
  form.GameResult(GetParam().line);
  const auto& game = form.Games.back();
  EXPECT_EQ(game.Points14, GetParam().points14);
  EXPECT_EQ(game.Points23, GetParam().points23);
  EXPECT_EQ(game.Played, "3");
  EXPECT_EQ(game.Mark, "+");
  EXPECT_EQ(form.Header3, GetParam().total14);
  EXPECT_EQ(form.Header4, GetParam().total23);
  EXPECT_TRUE(form.Visible);
  EXPECT_EQ(form.Page, TResForm::tabHand);
  EXPECT_EQ(club.DealCommands, std::vector<bool>{true});
}

INSTANTIATE_TEST_SUITE_P(Lines, ResultLines,
                         ::testing::Values(ResultCase{"Example", "F52:-52 x", "52", "-52", "52", "-52"},
                                           ResultCase{"NoSpaceAfterTheSecond", "F7:-7yz", "7", "-7yz", "7",
                                                      "0"},
                                           ResultCase{"NoColon", "F12 x", "12 x", "", "0", "0"},
                                           ResultCase{"Empty", "F", "", "", "0", "0"},
                                           ResultCase{"LargeValues", "F2147483647:-2147483648", "2147483647",
                                                      "-2147483648", "2147483647", "-2147483648"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(RecordTest, SecondResultRewritesThePointsAndTheSelectionStays) {
  Games(3);
  form.GameResult("F10:-10");
  form.PlayedSelect(1);
  form.GameResult("F20:-20");
  EXPECT_EQ(Marks(), (std::vector<std::string>{"-", "-", "+"}));
  EXPECT_EQ(form.Games[2].Points14, "20");
  EXPECT_EQ(form.Header3, "20");
  EXPECT_EQ(form.Selected, 1);
}

TEST_F(RecordTest, TotalsAddOnlyMarkedIntegerPointsAndToggleTwiceGivesSpaceHyphen) {
  Games(4);
  form.GameResult("F30:-30");
  const std::vector<std::pair<std::string, std::string>> points = {{"5", "-5"}, {"x", ""}, {"-2", "2"}};
  for (std::size_t i = 0; i < points.size(); ++i) {
    form.Games[i].Points14 = points[i].first;
    form.Games[i].Points23 = points[i].second;
  }
  EXPECT_EQ(form.Header3, "30");
  for (int r = 1; r <= 3; ++r) form.Toggle(r);
  EXPECT_EQ(form.Header3, "33");  // 5 + "x" (0) - 2 + 30
  EXPECT_EQ(form.Header4, "-33");
  form.PlayedSelect(1);
  form.cmChangeClick();
  EXPECT_EQ(form.Games[0].Mark, " -");
  EXPECT_EQ(form.Header3, "28");
  form.cmChangeClick();
  EXPECT_EQ(form.Games[0].Mark, "+");
  EXPECT_EQ(form.Header3, "33");
  // Deleting keeps the headers as they were.
  desk.YesNoAnswers = {true};
  form.cmDeleteClick();
  EXPECT_EQ(form.GameCount(), 3);
  EXPECT_EQ(form.Header3, "33");
}

TEST_F(RecordTest, DeletingAllUnmarkedKeepsTheMarkedAndTheCurrentGame) {
  Games(5, 1);
  form.Toggle(2);
  form.Toggle(4);
  desk.YesNoAnswers = {false};
  form.cmDelAllClick();
  EXPECT_EQ(form.GameCount(), 5);
  form.cmDelAllClick();
  EXPECT_EQ(desk.Questions.back(), S("Törölhető az összes \"-\" parti?"_cp));
  EXPECT_EQ(Numbers(), (std::vector<std::string>{"2", "4", "5"}));
  EXPECT_EQ(form.Selected, 3) << "the selection stays within the rows";
  EXPECT_EQ(desk.Beeps, 0);
}

TEST_F(RecordTest, DeletingTheCurrentGameAsksThenOnlyBeeps) {
  Games(2);
  desk.YesNoAnswers = {true};
  form.cmDeleteClick();  // the new game is selected
  EXPECT_EQ(desk.Questions, std::vector<std::string>{S("Törölhető ez a parti?"_cp)});
  EXPECT_EQ(desk.Beeps, 1);
  EXPECT_EQ(form.GameCount(), 2);
  form.PlayedSelect(1);
  desk.YesNoAnswers = {false};
  form.cmDeleteClick();
  EXPECT_EQ(form.GameCount(), 2);
  form.cmDeleteClick();
  EXPECT_EQ(Numbers(), std::vector<std::string>{"101"});
  form.DeleteGame(1);  // the one left is the current game
  form.DeleteGame(7);
  EXPECT_EQ(desk.Beeps, 3);
}

TEST_F(RecordTest, LinesBeforeAnyDealChangeNothingButTheResultStillEndsTheDeal) {
  form.SetBids({"a"});
  form.SetTrickCard(1, 1, 5);
  form.SetTricks("6 : 4");
  form.Toggle(1);
  form.cmChangeClick();
  form.GameResult("F1:-1");
  EXPECT_EQ(form.GameCount(), 0);
  EXPECT_EQ(form.Header3, "<<<");
  EXPECT_TRUE(form.Visible);
  EXPECT_EQ(club.DealCommands, std::vector<bool>{true});
  form.PagesChange(TResForm::tabBid);
  form.PagesChange(TResForm::tabPlay);
  EXPECT_TRUE(form.BidList.empty());
  EXPECT_EQ(form.Game[1][0], "1");
  EXPECT_EQ(form.Game[1][1], "");
}

struct CardCase {
  int trick, seat, card;
  bool kept;
};

class TrickCards : public RecordTest, public ::testing::WithParamInterface<CardCase> {};

TEST_P(TrickCards, OnlyCardsWithinTheirRangesAreRecorded) {
  Games(1);
  const CardCase c = GetParam();
  form.SetTrickCard(c.trick, c.seat, c.card);
  int filled = 0;
  for (int k = 1; k <= 10; ++k)
    for (int e = 0; e < 4; ++e) filled += form.Games[0].Trick.Trick(k).Card(e) != 0;
  EXPECT_EQ(filled, c.kept ? 1 : 0);
  if (c.kept) {
    EXPECT_EQ(form.Games[0].Trick.Trick(c.trick).Card(c.seat % 4), c.card);
    EXPECT_EQ(form.Games[0].Trick.Trick(c.trick).Count(), 4);
  }
}

INSTANTIATE_TEST_SUITE_P(Ranges, TrickCards,
                         ::testing::Values(CardCase{1, 1, 7, true}, CardCase{10, 4, 42, true},
                                           CardCase{0, 1, 7, false}, CardCase{11, 1, 7, false},
                                           CardCase{-5, 2, 7, false}, CardCase{3, 0, 7, false},
                                           CardCase{3, 5, 7, false}, CardCase{3, 9, 7, false},
                                           CardCase{3, 2, 99, false}, CardCase{3, 2, -1, false},
                                           CardCase{2147483647, 2, 1, false}));

TEST_F(RecordTest, PlayPageShowsTheTricksInSeatOrderFourOneTwoThree) {
  Games(2);
  for (int seat = 1; seat <= 4; ++seat) form.SetTrickCard(1, seat, 20 + seat);  // seat 1: I, ...
  form.SetTrickCard(10, 4, 42);
  form.PagesChange(TResForm::tabPlay);
  EXPECT_EQ(form.Game[1][1], "") << "an unfinished game shows an empty play page";
  EXPECT_EQ(form.Game[0][1], S("<< Elfogó"_cp));
  EXPECT_EQ(form.Game[0][4], S("Induló >>"_cp));
  form.SetTricks(
      "6\xA0:\xA0"
      "4");
  form.PagesChange(TResForm::tabPlay);
  EXPECT_EQ(form.Game[1][1], CardName(24));
  EXPECT_EQ(form.Game[1][2], CardName(21));
  EXPECT_EQ(form.Game[1][4], CardName(23));
  EXPECT_EQ(form.Game[10][1], CardName(42));
  EXPECT_EQ(form.Game[2][1], "");
  form.PlayedSelect(1);  // the other game clears the page again
  form.PagesChange(TResForm::tabPlay);
  EXPECT_EQ(form.Game[1][1], "");
  EXPECT_EQ(form.Game[10][0], "10");
}

TEST_F(RecordTest, BidPageFollowsTheSelectedGame) {
  Games(2);
  form.SetBids({"x", "y"});
  form.ShowBids();
  EXPECT_EQ(form.BidList, (std::vector<std::string>{"x", "y"}));
  EXPECT_EQ(form.Page, TResForm::tabBid);
  form.PlayedSelect(1);
  form.SetBids({"z"});  // the current game is not the selected one: the page stays
  EXPECT_EQ(form.BidList, (std::vector<std::string>{"x", "y"}));
  form.PagesChange(TResForm::tabBid);
  EXPECT_TRUE(form.BidList.empty());
  form.PlayedSelect(2);
  form.PagesChange(TResForm::tabBid);
  EXPECT_EQ(form.BidList, std::vector<std::string>{"z"});
}

}  // namespace
}  // namespace zn::test
