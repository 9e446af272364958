#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QStackedWidget>
#include <QStyle>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

#include "table/qt/BidWindow.h"
#include "table/qt/CardLabel.h"
#include "tests/table/TableFixture.h"

namespace zn::test {
namespace {

class BidWindowTest : public TableTest {
 protected:
  BidWindowTest() {
    club.Seat = 1;
    // A screen with room for the largest print: the sizes below are the designed ones.
    window.AvailableArea = [] { return QRect(0, 0, 3840, 2160); };
  }
  template <class W>
  W* Find(const char* name) {
    auto* w = window.findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  // With ZN_SHOTS set, the window as it is now goes into that folder.
  void Shot(const char* name) {
    const QByteArray dir = qgetenv("ZN_SHOTS");
    if (dir.isEmpty()) return;
    QApplication::processEvents();
    window.grab().save(QString::fromLocal8Bit(dir) + "/" + name + ".png");
  }
  // A whole deal's opening: the own hand and the bidding so far.
  void Deal() {
    form.HandLine("H1 3 7 12 16 21 22 25 30 38 42");
    form.BidLine("B1Anna 1 Trull Bela 2 Gém 4\u00A0Treff Cili 0 Dani 1 Pagát\u00A0ulti"_cp.data());
    form.TurnLine("T");
  }

  TBidWindow window{form};
};

TEST_F(BidWindowTest, BidPageComposesAndSendsThroughTheLogic) {
  Deal();
  ASSERT_TRUE(window.isVisible());
  EXPECT_EQ(window.Pages()->currentIndex(), 0);
  auto* allBid = Find<QListWidget>("fdAllBid");
  EXPECT_EQ(allBid->count(), static_cast<int>(form.AllBids.size()));
  auto* groups = Find<QListWidget>("fdGroups");
  EXPECT_EQ(groups->count(), 10);
  groups->setCurrentRow(2);  // "Ütések": the user's selection goes into the fields
  EXPECT_EQ(form.GroupIndex, 2);
  auto* bids = Find<QListWidget>("fdBid");
  ASSERT_EQ(bids->count(), 11);
  bids->setCurrentRow(1);  // Kassza
  Find<QToolButton>("fdAdd")->click();
  ASSERT_EQ(form.SendRows.size(), 1u);
  EXPECT_EQ(Find<QListWidget>("fdSend")->count(), 1);
  // A second Kassza: the refusal is shown in the error box and nothing is added.
  Find<QToolButton>("fdAdd")->click();
  ASSERT_EQ(desk.desk.Errors.size(), 1u);
  EXPECT_EQ(form.SendRows.size(), 1u);
  Shot("table-bid");
  auto* go = Find<QPushButton>("cmGo");
  EXPECT_TRUE(go->isEnabled());
  go->click();
  EXPECT_EQ(club.Sent, std::vector<std::string>{"BAnna 1 Kassza"});
  EXPECT_FALSE(go->isEnabled());
}

// A B line that makes the bidding longer than the list shows scrolls to the logic's top row, on
// the first showing and when it grows on a shown window.
TEST_F(BidWindowTest, BiddingListScrollsToTheNewestRows) {
  for (const char* line :
       {"B1A 4 a b c d B 4 e f g h C 4 i j k l", "B1A 4 a b c d B 4 e f g h C 4 i j k l D 2 m n"}) {
    form.BidLine(line);
    form.ShowPage(1);
    auto* allBid = Find<QListWidget>("fdAllBid");
    ASSERT_GT(form.AllBidsTop, 0) << line;
    const QScrollBar* bar = allBid->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0) << line;
    EXPECT_EQ(bar->value(), std::min(form.AllBidsTop, bar->maximum())) << line;
    const QRect last = allBid->visualItemRect(allBid->item(allBid->count() - 1));
    EXPECT_TRUE(allBid->viewport()->rect().contains(last)) << line;
  }
}

// Whatever face the desktop gives, the group captions fit the list's fixed width and the "<<<"
// label is as wide as its text.
TEST_F(BidWindowTest, GroupCaptionsAndTheArrowAreNotCut) {
  Deal();
  auto* groups = Find<QListWidget>("fdGroups");
  const QFontMetrics metrics(groups->font());
  // Qt's item delegate keeps the focus frame's margin and a pixel free on either side of the text.
  const int margin = groups->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, groups) + 1;
  for (int row = 0; row < groups->count(); ++row) {
    const QString text = groups->item(row)->text();
    EXPECT_LE(metrics.horizontalAdvance(text) + 2 * margin, groups->visualItemRect(groups->item(row)).width())
        << text.toStdString();
  }
  auto* arrow = Find<QLabel>("lbArrow");
  EXPECT_GE(arrow->width(), arrow->fontMetrics().horizontalAdvance(arrow->text()));
}

TEST_F(BidWindowTest, DraggingInTheComposedSetMovesTheBid) {
  Deal();
  form.SendRows = {{"a", true}, {"b", false}, {"c", false}};
  form.SendIndex = 0;
  form.Changed(TBidForm::Aspect::SendSet);
  auto* send = Find<QListWidget>("fdSend");
  QWidget* viewport = send->viewport();
  QTest::mousePress(viewport, Qt::LeftButton, {}, send->visualItemRect(send->item(0)).center());
  send->setCurrentRow(2);  // the pointer moved down to the third row with the button held
  QTest::mouseRelease(viewport, Qt::LeftButton, {}, send->visualItemRect(send->item(2)).center());
  ASSERT_EQ(form.SendRows.size(), 3u);
  EXPECT_EQ(form.SendRows[2].Bid, "a");
  EXPECT_TRUE(form.SendRows[2].PreChecked);
  EXPECT_EQ(send->item(2)->text(), QStringLiteral("a"));
}

TEST_F(BidWindowTest, TypedPrefixIsTheUsersEdit) {
  Deal();
  Find<QListWidget>("fdGroups")->setCurrentRow(3);
  auto* higher = Find<QComboBox>("fdHigher");
  EXPECT_EQ(higher->currentText(), QStringLiteral("Pagát"));
  higher->setEditText(QStringLiteral("Kis Pagát"));
  EXPECT_EQ(form.HigherIndex, -1);
  EXPECT_EQ(form.HigherText, S("Kis Pagát"_cp));
  higher->setEditText(QStringLiteral("Sas"));
  EXPECT_EQ(form.HigherIndex, 1);
}

// A click on a group, the selected one included, hides the explanation and resets the prefix.
TEST_F(BidWindowTest, ClickOnTheSelectedGroupResetsHintAndPrefix) {
  Deal();
  auto* groups = Find<QListWidget>("fdGroups");
  auto* bids = Find<QListWidget>("fdBid");
  for (const int row : {3, 3}) {
    Find<QComboBox>("fdHigher")->setEditText(QStringLiteral("Kis Pagát"));
    QTest::mouseClick(bids->viewport(), Qt::RightButton, {}, bids->visualItemRect(bids->item(0)).center());
    ASSERT_TRUE(form.HintVisible);
    QTest::mouseClick(groups->viewport(), Qt::LeftButton, {},
                      groups->visualItemRect(groups->item(row)).center());
    EXPECT_EQ(form.GroupIndex, row);
    EXPECT_FALSE(form.HintVisible);
    EXPECT_EQ(Find<QComboBox>("fdHigher")->currentText(), QStringLiteral("Pagát"));
  }
}

TEST_F(BidWindowTest, PlayPageShowsSpreadHandTrickAndPause) {
  Deal();
  form.PlayLine("P1 1 0 0 0 0 0");
  EXPECT_EQ(window.Pages()->currentIndex(), 1);
  const auto& own = window.HandPictures(1);
  ASSERT_EQ(own.size(), 10u);
  EXPECT_EQ(own[1]->x(), 53);
  EXPECT_EQ(own[0]->Code, 42);
  // A double click on the Skíz plays it.
  QTest::mouseDClick(own[0], Qt::LeftButton);
  EXPECT_EQ(club.Sent.back(), "P42");
  EXPECT_TRUE(own[0]->Framed);
  form.PlayLine("P0 1 1 42 4 26 1");
  EXPECT_EQ(window.TrickPicture(2)->Code, 4);
  auto* next = Find<QPushButton>("cmNext");
  EXPECT_TRUE(next->isVisibleTo(&window));
  EXPECT_EQ(Find<QLabel>("fdTrick")->text(), QStringLiteral("1/1"));
  Shot("table-play");
  next->click();
  EXPECT_EQ(club.Sent.back(), "T");
  EXPECT_FALSE(form.TrickPause);
  EXPECT_FALSE(next->isVisibleTo(&window));
}

TEST_F(BidWindowTest, PressBringsACardToTheFront) {
  Deal();
  const auto& own = window.HandPictures(1);
  QTest::mousePress(own[2], Qt::LeftButton);
  QTest::mouseRelease(own[2], Qt::LeftButton);
  EXPECT_EQ(window.HandPanel(1)->children().indexOf(own[2]) > window.HandPanel(1)->children().indexOf(own[9]),
            true);
}

TEST_F(BidWindowTest, ScorePageEditsAddsUpAndWritesDown) {
  Deal();
  form.DealButtonsVisible = true;  // seat 1, as the club window sets it from the room line
  form.PlayLine("P0 10 3 1 2 3 4");
  form.ScoreLine(S("X1 Ütések 2 Trull 8 Pagát\u00A0ulti 10"_cp));
  form.ScoreLine(S("X2 Ütések -2 Gém -5"_cp));
  EXPECT_EQ(window.Pages()->currentIndex(), 2);
  auto* grid1 = Find<QTableWidget>("Grid1");
  ASSERT_EQ(grid1->rowCount(), 4);
  EXPECT_EQ(grid1->item(3, 0)->text(), QStringLiteral("***** Összesen"));
  grid1->item(0, 1)->setText(QStringLiteral("3"));  // the user corrects a point
  EXPECT_EQ(form.Grids[0].Rows[1][1], "3");
  Find<QPushButton>("cmAddUp")->click();
  EXPECT_EQ(Find<QLabel>("fdSum")->text(), QStringLiteral("21:-7"));
  EXPECT_EQ(Find<QLabel>("lbOver")->text(), QString::fromUtf8("7\u00A0:\u00A03"));
  auto* fix = Find<QPushButton>("cmFix");
  EXPECT_TRUE(fix->isEnabled());
  Shot("table-score");
  fix->click();
  EXPECT_EQ(club.Sent.back(), "F21:-7");
}

TEST_F(BidWindowTest, KibitzLayoutShowsFourHands) {
  club.Seat = 0;
  form.ToggleWatch();
  form.ShowPage(0);
  form.HandLine("H1 1 2 3 4 5 6 7 8 9 10");
  form.HandLine("H2 11 12 13 14 15 16 17 18 19 20");
  form.HandLine("H3 21 22 23 24 25 26 27 28 29 30");
  form.HandLine("H4 31 32 33 34 35 36 37 38 39 40");
  form.PlayLine("P3 1 0 41 42 0 0");
  EXPECT_EQ(window.size(), QSize(820, 639));  // the message line below the cards
  EXPECT_TRUE(window.HandPanel(2)->isVisibleTo(&window));
  EXPECT_EQ(window.HandPictures(4).size(), 10u);
  EXPECT_EQ(window.HandPictures(4)[1]->y(), 40);
  EXPECT_EQ(window.Pages()->pos(), QPoint(114, 203));
  Shot("table-kibitz");
  // A watcher's pictures play nothing.
  QTest::mouseDClick(window.HandPictures(1)[0], Qt::LeftButton);
  EXPECT_EQ(club.Sent, std::vector<std::string>{"K1"});
}

TEST_F(BidWindowTest, ClosingOnlyHides) {
  form.ShowPage(1);
  window.close();
  EXPECT_FALSE(form.Visible);
}

TEST_F(BidWindowTest, ClosingDuringATrickPauseGoesOn) {
  form.PlayLine("P0 1 0 5 7 8 9");
  ASSERT_TRUE(window.isVisible());
  window.close();
  EXPECT_FALSE(form.TrickPause);
  EXPECT_EQ(club.Sent, std::vector<std::string>{"T"});
}

}  // namespace
}  // namespace zn::test
