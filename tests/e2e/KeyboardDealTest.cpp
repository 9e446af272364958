// A whole deal by keys alone against three robots, and what a screen reader finds on the way:
// every control named, every card picture named by its card, in every window.
#include <gtest/gtest.h>

#include <QApplication>
#include <functional>

#include "profile/qt/InfoWindow.h"
#include "record/qt/ResWindow.h"
#include "tests/e2e/AccessTree.h"
#include "tests/e2e/DealTable.h"

namespace zn::test {
namespace {

class KeyboardDealTest : public DealTable {
 protected:
  // A key as the member types it: to the widget that has the keys.
  void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* to = QApplication::focusWidget();
    QTest::keyClick(to ? to : &table, static_cast<Qt::Key>(key), modifiers);
  }
  // A button's accelerator presses it a moment later, as a click would.
  void Accelerator(int key, const std::function<bool()>& done) {
    Key(key, Qt::AltModifier);
    ASSERT_TRUE(QTest::qWaitFor(done)) << "Alt+" << static_cast<char>(key);
  }
  void ExpectNamed(QWidget* window, const char* when) {
    const auto faults = UnnamedIn(window);
    std::string all;
    for (const std::string& fault : faults) all += "\n  " + fault;
    EXPECT_TRUE(faults.empty()) << when << ":" << all;
  }
  TResWindow games{*form.ResForm};
  TInfoWindow info{*form.InfoForm};
};

TEST_F(KeyboardDealTest, MemberPlaysAWholeDealByKeysAlone) {
  Connect();
  SitWithRobots();
  ExpectNamed(club.window.get(), "room page");
  desk->InputAnswers.push_back(std::string("1"));
  club.window->ActionOf(form.Actions.cmNumDeal)->trigger();
  ASSERT_TRUE(QTest::qWaitFor([&] { return table.isVisible() && bid.GoEnabled; }));
  table.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&table));
  ExpectNamed(&table, "bid page");

  // The first turn: "Kassza" from the second group, composed and sent by keys.
  ASSERT_EQ(QApplication::focusWidget(), Table<QWidget>("fdGroups"));
  Key(Qt::Key_Down);
  Key(Qt::Key_Down);
  ASSERT_EQ(bid.GroupIndex, 2);
  Key(Qt::Key_Tab);
  Key(Qt::Key_Down);
  const std::string game = bid.BidRows[1];
  Key(Qt::Key_Return);
  ASSERT_EQ(bid.SendRows.size(), 1u);
  Accelerator(Qt::Key_M, [&] { return !bid.GoEnabled; });
  // Then a pass whenever it is the member's turn, until the play page opens.
  for (int passes = 0; bid.Page == TBidForm::tabBid;) {
    ASSERT_TRUE(QTest::qWaitFor([&] { return bid.GoEnabled || bid.Page != TBidForm::tabBid; }));
    if (bid.Page != TBidForm::tabBid) break;
    ASSERT_LT(++passes, 9) << "bidding never ends";
    Accelerator(Qt::Key_M, [&] { return !bid.GoEnabled; });
  }

  // Ten tricks: Space plays the card the focus starts on, Enter goes on after each trick.
  ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == table.HandPanel(1); }));
  int played = 0, acknowledged = 0;
  while (!bid.DealOver) {
    ASSERT_TRUE(QTest::qWaitFor([&] {
      return (bid.MyTurn && !bid.TrickPause) || bid.NextVisible || bid.DealOver;
    })) << "stuck after "
        << played << " cards and " << acknowledged << " tricks";
    if (bid.DealOver) break;
    if (bid.NextVisible) {
      if (acknowledged == 4) ExpectNamed(&table, "a whole trick");
      Key(Qt::Key_Return);
      ASSERT_FALSE(bid.TrickPause);
      ++acknowledged;
    } else {
      Key(Qt::Key_Space);
      ASSERT_FALSE(bid.MyTurn) << "the focus did not start on a card that may be played";
      ++played;
    }
    ASSERT_LE(acknowledged, 10);
  }
  EXPECT_EQ(played, 10);
  EXPECT_EQ(acknowledged, 10);

  // The score: adding up and writing down by their accelerators.
  ASSERT_TRUE(
      QTest::qWaitFor([&] { return bid.Grids[0].Rows.size() >= 3 && bid.Grids[1].Rows.size() >= 3; }));
  ExpectNamed(&table, "score page");
  Accelerator(Qt::Key_S, [&] { return !bid.SumText.empty(); });
  EXPECT_NE(bid.Spoken.find(bid.SumText), std::string::npos);
  Accelerator(Qt::Key_F, [&] { return form.ResForm->GameCount() == 1 && form.ResForm->Games[0].Marked(); });
  const auto& ours = bid.Grids[0].Rows;
  EXPECT_TRUE(std::any_of(ours.begin(), ours.end(), [&](const auto& row) { return row[0] == game; })) << game;
  EXPECT_TRUE(desk->Errors.empty()) << desk->Errors.front();
  EXPECT_TRUE(Notices(form).empty()) << Notices(form).front();

  // The other windows as a screen reader finds them, with the deal in them.
  form.ResForm->ShowGames();
  info.show();
  ExpectNamed(&games, "played games");
  ExpectNamed(&info, "personal data");
  bid.SetLargePrint(true);
  ExpectNamed(&table, "large print");
}

}  // namespace
}  // namespace zn::test
