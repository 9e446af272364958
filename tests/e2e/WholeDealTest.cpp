// A whole deal as a member plays it: the real club and table windows (offscreen) against an
// in-process znserver on a loopback port. Log in, create a room, sit on seat 1, three robots, a
// numbered deal, bid, ten tricks with the go-on button, the score, and the written-down result.
#include <gtest/gtest.h>

#include <algorithm>

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>
#include <QToolButton>

#include "game/Cp1250.h"
#include "table/qt/BidWindow.h"
#include "table/qt/CardLabel.h"
#include "tests/e2e/DealTable.h"
#include "tests/support/TempDir.h"
#include "tests/support/gtest/ServerHarness.h"
#include "tests/support/qt/WindowFixture.h"

namespace zn::test {
namespace {

class WholeDealTest : public DealTable, public ::testing::WithParamInterface<int> {};

// Odd deals: seat 1 deals and the member bids first; even deals: seat 3, a robot, deals.
TEST_P(WholeDealTest, MemberAndThreeRobotsPlayAndWriteDownADeal) {
  const int number = GetParam();
  Connect();
  SitWithRobots();
  EXPECT_TRUE(desk->Messages.empty()) << desk->Messages.front();

  desk->InputAnswers.push_back(std::to_string(number));
  club.window->ActionOf(form.Actions.cmNumDeal)->trigger();
  ASSERT_TRUE(QTest::qWaitFor([&] { return table.isVisible() && table.HandPictures(1).size() == 10; }));
  EXPECT_EQ(form.State.Room.DealNumber, number);
  EXPECT_EQ(Club<QLabel>("lbDeal")->text(), QString::number(number));
  for (const TCardLabel* card : table.HandPictures(1))
    EXPECT_TRUE(card->Code >= 1 && card->Code <= kMaxCard) << card->Code;
  if (number == 1) Shot("e2e-bid");

  // The first turn: the first hand signal the hand gives and "Kassza", as a member composes them.
  auto* go = Table<QPushButton>("cmGo");
  ASSERT_TRUE(QTest::qWaitFor([&] { return go->isEnabled(); }));
  auto* groups = Table<QListWidget>("fdGroups");
  auto* rows = Table<QListWidget>("fdBid");
  auto* add = Table<QToolButton>("fdAdd");
  groups->setCurrentRow(0);
  std::string signal;
  if (rows->count() > 0) {
    rows->setCurrentRow(0);
    signal = bid.BidRows[0];
    add->click();
  }
  groups->setCurrentRow(2);
  rows->setCurrentRow(1);
  const std::string game = bid.BidRows[1];
  add->click();
  ASSERT_EQ(bid.SendRows.size(), signal.empty() ? 1u : 2u);
  QTest::mouseClick(go, Qt::LeftButton);
  ASSERT_TRUE(QTest::qWaitFor([&] { return bid.AllBids.size() >= 2; }));
  EXPECT_TRUE(Notices(form).empty()) << Notices(form).front();

  PassUntilPlay();
  int played = 0, acknowledged = 0;
  PlayTricks(played, acknowledged, number == 1);
  EXPECT_EQ(played, 10);
  EXPECT_EQ(acknowledged, 10);
  EXPECT_TRUE(desk->Messages.empty()) << desk->Messages.front();
  EXPECT_TRUE(desk->Errors.empty()) << desk->Errors.front();

  // The score: both pairs' items, "Ütések" first; add up and write down.
  ASSERT_TRUE(
      QTest::qWaitFor([&] { return bid.Grids[0].Rows.size() >= 3 && bid.Grids[1].Rows.size() >= 3; }));
  EXPECT_EQ(bid.Page, TBidForm::tabScore);
  for (int g = 0; g < 2; ++g) {
    EXPECT_EQ(bid.Grids[g].Rows[1][0], std::string("Ütések"_cp)) << g;
  }
  // The member's game is scored for seats 1 and 4, made or failed.
  const auto& ours = bid.Grids[0].Rows;
  EXPECT_TRUE(std::any_of(ours.begin(), ours.end(), [&](const auto& row) { return row[0] == game; })) << game;
  QTest::mouseClick(Table<QPushButton>("cmAddUp"), Qt::LeftButton);
  ASSERT_FALSE(bid.SumText.empty());
  if (number == 1) Shot("e2e-score");
  auto* fix = Table<QPushButton>("cmFix");
  ASSERT_TRUE(fix->isEnabled());
  QTest::mouseClick(fix, Qt::LeftButton);

  // The result comes back as "F": the played-games record holds the deal with both pairs' points.
  TResForm& record = *form.ResForm;
  ASSERT_TRUE(QTest::qWaitFor([&] { return record.GameCount() == 1 && record.Games[0].Marked(); }));
  const TResForm::TGame& row = record.Games[0];
  EXPECT_EQ(row.Number, std::to_string(number));
  const std::size_t colon = bid.SumText.find(':');
  EXPECT_EQ(row.Points14, bid.SumText.substr(0, colon));
  EXPECT_EQ(row.Points23, bid.SumText.substr(colon + 1));
  EXPECT_FALSE(row.Tricks.empty());
  EXPECT_FALSE(row.Bids.empty());
  // Every trick of the record holds four cards, forty different cards in all.
  std::vector<std::int32_t> seen;
  for (int k = 1; k <= kTricks; ++k)
    for (std::int32_t code : row.Trick.Trick(k).Cards) {
      EXPECT_TRUE(code >= 1 && code <= kMaxCard) << "trick " << k;
      seen.push_back(code);
    }
  std::sort(seen.begin(), seen.end());
  EXPECT_EQ(std::unique(seen.begin(), seen.end()) - seen.begin(), 40);
  EXPECT_TRUE(QTest::qWaitFor([&] { return Club<QLabel>("lbMatch")->text() == QStringLiteral("1"); }));
  EXPECT_FALSE(fix->isEnabled());
  EXPECT_TRUE(desk->Messages.empty()) << desk->Messages.front();
  EXPECT_TRUE(Notices(form).empty()) << Notices(form).front();
}

// What a seated member does next: acknowledge a finished trick or play the first legal card.
// False when nothing is to be done yet.
bool PlayStep(TBidForm& form, TBidWindow& window) {
  auto* next = window.findChild<QPushButton*>(QStringLiteral("cmNext"));
  if (next->isVisibleTo(&window)) {
    QTest::mouseClick(next, Qt::LeftButton);
    return true;
  }
  if (!form.MyTurn || form.TrickPause || form.DealOver) return false;
  for (TCardLabel* card : window.HandPictures(1))
    if (!card->Framed && form.CanPlay(card->Code)) {
      QTest::mouseDClick(card, Qt::LeftButton);
      return true;
    }
  ADD_FAILURE() << "no legal card in the shown hand";
  return false;
}

INSTANTIATE_TEST_SUITE_P(Deals, WholeDealTest, ::testing::Values(1, 2, 7, 12));

// A second member enters the room and starts watching while the cards are being played: the
// server catches them up, their table shows all four hands, and the result reaches their record.
class WatcherTest : public DealTable {
 protected:
  WatcherTest() { desk = &kibic.fake.desk; }
  TWindowFixture kibic{std::string("[Program]\r\nUser=Kibicelő\r\n"_cp)};
  TZnForm& watcher = *kibic.form;
  TBidForm& watched = *watcher.BidForm;
  TBidWindow watcherTable{watched};
};

TEST_F(WatcherTest, WatcherJoiningMidDealSeesEveryHandAndTheResult) {
  Connect();
  SitWithRobots();
  Connect(kibic);
  ASSERT_TRUE(QTest::qWaitFor([&] { return watcher.State.Lobby.Rooms.size() == 2; }));

  desk->InputAnswers.push_back(std::string("3"));
  club.window->ActionOf(form.Actions.cmNumDeal)->trigger();
  ASSERT_TRUE(QTest::qWaitFor([&] { return bid.GoEnabled && table.HandPictures(1).size() == 10; }));
  // Entering during bidding sends the room a fresh "R"; the member on turn gets "T" again.
  watcher.fdRoomsDblClick(1);
  ASSERT_TRUE(QTest::qWaitFor([&] { return watcher.State.Page == TClubState::tabRoom; }));
  PassUntilPlay();
  EXPECT_FALSE(watcherTable.isVisible()) << "a member standing without watching sees no table";

  kibic.window->ActionOf(watcher.Actions.cmKibic)->trigger();
  ASSERT_TRUE(watched.Watching);
  const auto handsShown = [&] {
    for (int p = 1; p <= TBidForm::kHandPanels; ++p)
      if (watched.Panels[static_cast<std::size_t>(p)].Images.size() != 10) return false;
    return true;
  };
  ASSERT_TRUE(QTest::qWaitFor(handsShown));
  EXPECT_EQ(watcher.State.Room.DealNumber, 3);
  EXPECT_TRUE(watcherTable.isVisible());
  // The watcher's seat-1 panel is the player's own hand, card for card.
  std::vector<TCard> mine, seen;
  for (const TCardImage& image : bid.Panels[1].Images) mine.push_back(image.Code);
  for (const TCardImage& image : watched.Panels[1].Images) seen.push_back(image.Code);
  std::sort(mine.begin(), mine.end());
  std::sort(seen.begin(), seen.end());
  EXPECT_EQ(seen, mine);
  ASSERT_TRUE(QTest::qWaitFor([&] { return watched.Page == TBidForm::tabPlay; }));
  Shot(watcherTable, "e2e-kibic");

  int played = 0, acknowledged = 0;
  PlayTricks(played, acknowledged);
  EXPECT_EQ(played, 10);
  ASSERT_TRUE(QTest::qWaitFor(
      [&] { return watched.Grids[0].Rows.size() >= 3 && watched.Grids[1].Rows.size() >= 3; }));
  EXPECT_EQ(watched.Grids[0].Rows, bid.Grids[0].Rows);
  EXPECT_FALSE(watched.TrickPause) << "a watcher never holds the lines";

  QTest::mouseClick(Table<QPushButton>("cmAddUp"), Qt::LeftButton);
  QTest::mouseClick(Table<QPushButton>("cmFix"), Qt::LeftButton);
  TResForm& record = *watcher.ResForm;
  ASSERT_TRUE(QTest::qWaitFor([&] { return record.GameCount() == 1 && record.Games[0].Marked(); }));
  EXPECT_EQ(record.Games[0].Number, "3");
  const std::size_t colon = bid.SumText.find(':');
  EXPECT_EQ(record.Games[0].Points14, bid.SumText.substr(0, colon));
  EXPECT_TRUE(Notices(watcher).empty()) << Notices(watcher).front();
  EXPECT_TRUE(desk->Messages.empty()) << desk->Messages.front();
}

}  // namespace
}  // namespace zn::test

namespace zn::test {
namespace {

// A member sits down on a robot's seat while the cards are being played: they take over its hand
// and play it to the end with the member on seat 1.
TEST_F(WatcherTest, MemberTakingARobotsSeatMidDealPlaysItsHand) {
  Connect();
  SitWithRobots();
  Connect(kibic);
  ASSERT_TRUE(QTest::qWaitFor([&] { return watcher.State.Lobby.Rooms.size() == 2; }));
  desk->InputAnswers.push_back(std::string("5"));
  club.window->ActionOf(form.Actions.cmNumDeal)->trigger();
  ASSERT_TRUE(QTest::qWaitFor([&] { return table.HandPictures(1).size() == 10; }));
  PassUntilPlay();
  // Two tricks with the robots, then the newcomer sits on seat 2.
  for (int steps = 0; steps < 200 && form.BidForm->TrickText.rfind("3/", 0) != 0; ++steps)
    if (!PlayStep(bid, table)) QTest::qWait(5);
  ASSERT_EQ(bid.TrickText.substr(0, 2), "3/");
  watcher.fdRoomsDblClick(1);
  ASSERT_TRUE(QTest::qWaitFor([&] { return watcher.State.Page == TClubState::tabRoom; }));
  kibic.window->findChild<QLabel*>("SeatLabel2")->setFocus();
  QTest::mouseClick(kibic.window->findChild<QLabel*>("SeatLabel2"), Qt::LeftButton);
  ASSERT_TRUE(QTest::qWaitFor([&] { return watcher.State.Room.MySeat == 2; }));
  ASSERT_TRUE(QTest::qWaitFor([&] {
    return watched.Panels[1].Images.size() == 8 && watched.Page == TBidForm::tabPlay &&
           watched.TrickText.rfind("3/", 0) == 0;
  }));
  EXPECT_EQ(watcher.State.Room.DealNumber, 5);
  EXPECT_EQ(watched.BiddingLine, bid.BiddingLine);
  EXPECT_EQ(watched.AllBids.size(), bid.AllBids.size());

  // Both play on to the end of the deal.
  for (int idle = 0; idle < 2000 && !(bid.DealOver && watched.DealOver);) {
    // Both take their step, whatever the first did.
    const bool player = PlayStep(bid, table);
    const bool watcher = PlayStep(watched, watcherTable);
    const bool acted = player || watcher;
    if (acted)
      idle = 0;
    else {
      ++idle;
      QTest::qWait(5);
    }
  }
  ASSERT_TRUE(bid.DealOver && watched.DealOver);
  ASSERT_TRUE(QTest::qWaitFor([&] { return watched.Grids[1].Rows.size() >= 3; }));
  EXPECT_EQ(watched.Grids[1].Rows, bid.Grids[1].Rows);
  EXPECT_TRUE(Notices(form).empty()) << Notices(form).front();
  EXPECT_TRUE(Notices(watcher).empty()) << Notices(watcher).front();
  EXPECT_TRUE(desk->Messages.empty()) << desk->Messages.front();
}

}  // namespace
}  // namespace zn::test
