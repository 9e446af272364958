#include <gtest/gtest.h>

#include "link/Protocol.h"
#include "tests/table/TableFixture.h"

namespace zn::test {
namespace {

class CardPlayTest : public TableTest {
 protected:
  std::vector<TCard> Drawn(int panel = 1) const {
    std::vector<TCard> codes;
    for (const auto& image : form.Panels[static_cast<std::size_t>(panel)].Images) codes.push_back(image.Code);
    return codes;
  }
};

// ---- H lines ----

TEST_F(CardPlayTest, FullOwnHandGivesSignalsAndClearsDealOver) {
  form.DealOver = true;
  form.HandLine("H2 42 3 12 21 22 25 30 33 38 41");
  EXPECT_FALSE(form.DealOver);
  EXPECT_EQ(form.HandSeat, 2);
  EXPECT_EQ(form.GroupIndex, 0);
  EXPECT_FALSE(form.BidRows.empty());
  EXPECT_EQ(form.SuitCounts.Cards, (TCards{1, 0, 1, 0, 8}));
  EXPECT_EQ(Drawn(), (std::vector<TCard>{42, 41, 38, 33, 30, 25, 22, 21, 12, 3}));
}

TEST_F(CardPlayTest, NineCardsKeepDealOverAndShowThePlayPage) {
  form.DealOver = true;
  form.HandLine("H2 3 12 21 22 25 30 33 38 41");
  EXPECT_TRUE(form.DealOver);
  EXPECT_EQ(form.Page, TBidForm::tabPlay);
}

TEST_F(CardPlayTest, MoreThanTenCardsAreNotRead) {
  form.HandLine("H2 1 2 3 4 5 6 7 8 9 10 11 12");
  EXPECT_EQ(form.ShownHand.Count(), 10);
}

TEST_F(CardPlayTest, MalformedCardKeepsTheSeat) {
  EXPECT_EQ(Refusal([&] { form.HandLine("H3 1 x"); }), "'x' is not a valid integer value");
  EXPECT_EQ(form.HandSeat, 3);
}

TEST_F(CardPlayTest, WatcherGetsEachSeatInItsPanel) {
  form.ToggleWatch();
  form.HandLine("H3 1 2 3");
  form.HandLine("H9 4 5");  // no such seat: the bottom panel
  EXPECT_EQ(Drawn(3), (std::vector<TCard>{3, 2, 1}));
  EXPECT_EQ(Drawn(1), (std::vector<TCard>{5, 4}));
  form.HandLine("H4");  // an empty side panel: nothing to spread, nothing divided
  EXPECT_TRUE(Drawn(4).empty());
}

// ---- ShowHand: orders and spreading ----

struct OrderCase {
  int order;
  TCards hand;
  std::vector<TCard> drawn;
};
class OrderTest : public CardPlayTest, public ::testing::WithParamInterface<OrderCase> {};

TEST_P(OrderTest, AddsPicturesInTheChosenOrder) {
  form.HandOrder = GetParam().order;
  form.ShownHand.Cards = GetParam().hand;
  form.ShowHand(1);
  EXPECT_EQ(Drawn(), GetParam().drawn);
}

INSTANTIATE_TEST_SUITE_P(Orders, OrderTest,
                         ::testing::Values(OrderCase{0, {7, 30, 1, 16}, {30, 16, 7, 1}},
                                           OrderCase{1, {7, 30, 1, 16}, {1, 7, 16, 30}},
                                           OrderCase{2, {7, 30, 1, 16, 12, 42}, {1, 7, 42, 30, 16, 12}},
                                           OrderCase{2, {9, 2, 6}, {2, 6, 9}},
                                           OrderCase{2, {30, 11}, {30, 11}}));

TEST_F(CardPlayTest, SpreadsTenCards53ApartAndSideCards40Apart) {
  form.ShownHand.Cards = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  form.ShowHand(1);
  form.ShowHand(2);
  const auto& bottom = form.Panels[1].Images;
  const auto& side = form.Panels[2].Images;
  for (std::size_t i = 0; i < 10; ++i) {
    EXPECT_EQ(bottom[i].Left, static_cast<int>(53 * i));
    EXPECT_EQ(side[i].Top, static_cast<int>(40 * i));
  }
  form.ShownHand.Cards = {1, 2};
  form.ShowHand(1);
  EXPECT_EQ(form.Panels[1].Images[1].Left, 114);  // never more than a card's width apart
}

TEST_F(CardPlayTest, PressBringsCardToFrontAndRightButtonRestoresTheSpread) {
  form.ShownHand.Cards = {1, 2, 3};
  form.ShowHand(1);
  auto& images = form.Panels[1].Images;
  form.CardSelect(0, false);
  EXPECT_GT(images[0].Z, images[2].Z);
  form.CardSelect(0, true);
  EXPECT_LT(images[0].Z, images[1].Z);
  EXPECT_LT(images[1].Z, images[2].Z);
}

// ---- CanPlay ----

struct CanPlayCase {
  const char* what;
  int seat;
  std::array<TCard, 4> table;  // seats 1..4
  TCards hand;
  TCard card;
  bool may;
};
void PrintTo(const CanPlayCase& c, std::ostream* os) { *os << c.what; }
class CanPlayTest : public CardPlayTest, public ::testing::WithParamInterface<CanPlayCase> {};

TEST_P(CanPlayTest, FollowsTheLead) {
  const CanPlayCase& c = GetParam();
  club.Seat = c.seat;
  form.ShownHand.Cards = c.hand;
  form.ShownHand.CountSuits(form.SuitCounts);
  for (int s = 1; s <= 4; ++s)
    form.TrickImages[static_cast<std::size_t>(s)] = c.table[static_cast<std::size_t>(s - 1)];
  EXPECT_EQ(form.CanPlay(c.card), c.may);
}

INSTANTIATE_TEST_SUITE_P(
    Leads, CanPlayTest,
    ::testing::Values(CanPlayCase{"opens: anything", 2, {0, 0, 0, 0}, {1, 30}, 1, true},
                      CanPlayCase{"follows suit", 3, {0, 7, 0, 0}, {8, 30}, 8, true},
                      CanPlayCase{"must follow suit", 3, {0, 7, 0, 0}, {8, 30}, 30, false},
                      CanPlayCase{"no suit: tarokk", 3, {0, 7, 0, 0}, {1, 30}, 30, true},
                      CanPlayCase{"no suit: not another suit", 3, {0, 7, 0, 0}, {1, 30}, 1, false},
                      CanPlayCase{"no suit, no tarokk: anything", 3, {0, 7, 0, 0}, {1, 16}, 16, true},
                      CanPlayCase{"tarokk led, none held", 2, {25, 0, 0, 0}, {1, 16}, 1, true},
                      CanPlayCase{"seat 1 leads when seat 4 is empty", 1, {0, 0, 12, 0}, {1}, 1, true},
                      CanPlayCase{"seat 1 follows seat 2's lead", 1, {0, 12, 13, 14}, {1, 11}, 1, false},
                      CanPlayCase{"lead found after own seat", 4, {30, 8, 9, 0}, {9, 31}, 31, true},
                      CanPlayCase{"lead after own seat binds", 4, {30, 8, 9, 0}, {9, 31}, 9, false},
                      CanPlayCase{"watcher's seat 0 never plays", 0, {0, 0, 0, 0}, {1}, 1, false},
                      CanPlayCase{"seat 9 never plays", 9, {0, 0, 0, 0}, {1}, 1, false}));

TEST_F(CardPlayTest, DoubleClickPlaysOnlyOnTurnOnPlayPage) {
  form.HandLine("H2 6 12 30");
  form.PlayLine("P3 1 0 5 0 0 0");
  form.CardSend(0);  // not the turn
  EXPECT_EQ(desk.desk.Beeps, 1);
  form.PlayLine("P2 1 0 5 0 0 0");
  ASSERT_TRUE(form.MyTurn);
  form.CardSend(0);  // 30, a tarokk: the hand has no Treff, so it may
  EXPECT_EQ(club.Sent, std::vector<std::string>{"P30"});
  EXPECT_TRUE(form.Panels[1].Images[0].Framed);
  EXPECT_FALSE(form.MyTurn);
  form.CardSend(1);  // the turn is gone
  EXPECT_EQ(desk.desk.Beeps, 2);
  form.CardSend(7);  // no such picture
  EXPECT_EQ(desk.desk.Beeps, 3);
}

// ---- P lines ----

TEST_F(CardPlayTest, PlayLineFillsTableRecordAndRedLabel) {
  club.Seat = 3;
  form.PlayLine("P3 4 1 7 25 0 0");
  EXPECT_TRUE(form.MyTurn);
  EXPECT_EQ(form.TrickText, "4/1");
  EXPECT_EQ(form.TrickImages, (std::array<TCard, 5>{TBidForm::kNoPicture, 7, 25, 0, 0}));
  EXPECT_TRUE(form.TrickLabels[3].Red);
  EXPECT_FALSE(form.TrickLabels[1].Red);
  EXPECT_EQ(form.TrickLabels[2].Text, "Bela");
  EXPECT_EQ(club.RecordedCards.size(), 4u);
  EXPECT_EQ(club.Alerts, 1);
}

TEST_F(CardPlayTest, TricksBeyondTenChangeOnlyTurnPauseAndPage) {
  form.PlayLine("P1 3 1 7 0 0 0");
  club.RecordedCards.clear();
  form.PlayLine("P0 11 9 1 1 1 1");
  EXPECT_EQ(form.TrickText, "3/1");
  EXPECT_EQ(form.TrickImages[1], 7);
  EXPECT_TRUE(form.TrickPause);
  EXPECT_TRUE(club.RecordedCards.empty());
}

TEST_F(CardPlayTest, OutOfRangeSeatTrickAndCardAreNeverIndexes) {
  form.PlayLine("P9 0 0 99 -3 2000000000 1");
  EXPECT_FALSE(form.MyTurn);
  EXPECT_EQ(form.TrickImages[1], 99);  // drawn as the placeholder
  for (int s = 1; s <= 4; ++s) EXPECT_FALSE(form.TrickLabels[static_cast<std::size_t>(s)].Red);
  EXPECT_TRUE(club.RecordedCards.empty());  // trick 0 has no place in the record
  form.PlayLine("P-1 2 0 99 5 0 0");
  ASSERT_EQ(club.RecordedCards.size(), 3u);  // card 99 is not recorded
  EXPECT_EQ(club.RecordedCards[0], (std::array<std::int32_t, 3>{2, 2, 5}));
}

TEST_F(CardPlayTest, CompleteTrickPausesUntilGoOn) {
  form.ShowPage(2);
  club.Wakes = 0;
  form.PlayLine("P0 1 0 5 7 8 9");
  EXPECT_TRUE(form.TrickPause);
  EXPECT_TRUE(form.NextVisible);
  EXPECT_EQ(club.Alerts, 1);
  form.ShowPage(0);  // showing a visible window keeps the pause
  EXPECT_TRUE(form.TrickPause);
  form.CardSelect(0, false);  // a press on an own card goes on
  EXPECT_FALSE(form.TrickPause);
  EXPECT_EQ(club.Sent, std::vector<std::string>{"T"});
  EXPECT_EQ(club.Wakes, 1);
  form.cmNextClick();  // no pause: nothing sent
  EXPECT_EQ(club.Sent.size(), 1u);
}

TEST_F(CardPlayTest, PauseHoldsTheQueuedLinesUntilGoOn) {
  form.ShowPage(2);
  TReceiveQueue queue;
  queue.Append("#M hello#P1 2 0 0 0 0 0");
  form.PlayLine("P0 1 0 5 7 8 9");
  std::string line;
  EXPECT_FALSE(NextLine(queue, form.TrickPause, line));
  form.cmNextClick();
  ASSERT_TRUE(NextLine(queue, form.TrickPause, line));
  EXPECT_EQ(line, "M hello");
}

TEST_F(CardPlayTest, WatcherNeverPausesAndAsksForTheHands) {
  club.Seat = 0;
  form.ToggleWatch();
  club.Sent.clear();
  form.PlayLine("P0 1 0 5 7 8 9");
  EXPECT_FALSE(form.TrickPause);
  EXPECT_TRUE(form.MyTurn);  // seat 0 is the watcher's own: only the alert follows
  EXPECT_EQ(club.Alerts, 1);
  EXPECT_EQ(club.Sent, std::vector<std::string>{"H0"});
  form.TrickImageClick(1);
  EXPECT_EQ(club.Sent.size(), 1u);
}

TEST_F(CardPlayTest, ToggleWatchSwitchesLayoutAndSends) {
  form.ShowPage(1);
  form.EnableGo(true);
  EXPECT_TRUE(form.ToggleWatch());
  EXPECT_EQ(form.Layout.Width, 828);
  EXPECT_TRUE(form.Layout.SidePanels);
  EXPECT_FALSE(form.GoEnabled);
  EXPECT_FALSE(form.Visible);
  EXPECT_FALSE(form.ToggleWatch());
  EXPECT_EQ(form.Layout.Width, 597);
  EXPECT_EQ(club.Sent, (std::vector<std::string>{"K1", "K0"}));
}

TEST_F(CardPlayTest, ShowingHiddenWindowLiftsPause) {
  form.ShowPage(2);
  form.PlayLine("P0 1 0 5 7 8 9");
  form.Hide();
  form.ShowPage(0);
  EXPECT_FALSE(form.TrickPause);
}

// A complete trick that reopens a hidden window still waits for the go-on, and the go-on is sent.
TEST_F(CardPlayTest, TrickThatReopensTheWindowKeepsItsPause) {
  form.ShowPage(2);
  form.Hide();
  form.PlayLine("P0 1 0 5 7 8 9");
  EXPECT_TRUE(form.Visible);
  EXPECT_TRUE(form.TrickPause);
  EXPECT_TRUE(form.NextVisible);
  form.cmNextClick();
  EXPECT_EQ(club.Sent, std::vector<std::string>{"T"});
}

// Closing the window by hand: a pause goes on (once), no pause sends nothing.
TEST_F(CardPlayTest, ClosingByHandSendsTheGoOnOfAPause) {
  for (const bool paused : {true, false}) {
    club.Sent.clear();
    club.Wakes = 0;
    form.ShowPage(2);
    form.PlayLine(paused ? "P0 1 0 5 7 8 9" : "P3 1 0 5 7 0 0");
    form.CloseByUser();
    EXPECT_FALSE(form.Visible);
    EXPECT_FALSE(form.TrickPause);
    EXPECT_EQ(club.Sent, paused ? std::vector<std::string>{"T"} : std::vector<std::string>{}) << paused;
    EXPECT_EQ(club.Wakes, paused ? 1 : 0) << paused;
  }
}

}  // namespace
}  // namespace zn::test
