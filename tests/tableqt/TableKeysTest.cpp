// The table window by keys alone and in large print: what the keys reach, the names a screen
// reader gets, and a doubled window in which every caption still fits.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>
#include <map>

#include "table/qt/BidWindow.h"
#include "table/qt/CardLabel.h"
#include "tests/table/TableFixture.h"

namespace zn::test {
namespace {

class TableKeysTest : public TableTest {
 protected:
  TableKeysTest() {
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
  void Deal() {
    form.HandLine("H1 3 7 12 16 21 22 25 30 38 42");
    form.BidLine("B1Anna 1 Trull"_cp.data());
    form.TurnLine("T");
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  }
  QWidget* Focus() { return QApplication::focusWidget(); }
  // "<<<" drawn whole in the gap between the composed set and the catalogue.
  void ExpectArrowWhole() {
    auto* arrow = Find<QLabel>("lbArrow");
    const QRect a = arrow->geometry();
    EXPECT_GE(a.width(), arrow->fontMetrics().horizontalAdvance(arrow->text()));
    EXPECT_GT(a.left(), Find<QListWidget>("fdSend")->geometry().right());
    EXPECT_LT(a.right(), Find<QListWidget>("fdBid")->geometry().left());
  }
  // Captions that do not fit their control, and controls reaching out of their parent.
  std::vector<std::string> Cut() {
    std::vector<std::string> cut;
    for (QWidget* w : window.findChildren<QWidget*>()) {
      if (!w->isVisible() || dynamic_cast<TCardLabel*>(w)) continue;  // a trick's top card is half hidden
      QString text;
      if (auto* label = qobject_cast<QLabel*>(w); label && !label->wordWrap()) text = label->text();
      if (auto* button = qobject_cast<QAbstractButton*>(w)) text = button->text().remove(QLatin1Char('&'));
      const int need = w->fontMetrics().horizontalAdvance(text);
      if (!text.isEmpty() && need > w->width())
        cut.push_back(w->objectName().toStdString() + " " + std::to_string(need) + ">" +
                      std::to_string(w->width()));
      if (w->parentWidget() && w->parentWidget() != &window &&
          w->objectName().startsWith(QLatin1String("cm")) &&
          !w->parentWidget()->rect().contains(w->geometry()))
        cut.push_back(w->objectName().toStdString() + " outside");
    }
    return cut;
  }
  TBidWindow window{form};
};

TEST_F(TableKeysTest, BidPageByKeysAddsAndDeletes) {
  Deal();
  EXPECT_EQ(Focus(), Find<QListWidget>("fdGroups")) << "the bid page opens on the catalogue";
  QTest::keyClick(Focus(), Qt::Key_Down);  // group 1
  QTest::keyClick(Focus(), Qt::Key_Tab);
  ASSERT_EQ(Focus(), Find<QListWidget>("fdBid"));
  QTest::keyClick(Focus(), Qt::Key_Down);
  QTest::keyClick(Focus(), Qt::Key_Return);
  QTest::keyClick(Focus(), Qt::Key_Down);
  QTest::keyClick(Focus(), Qt::Key_Enter);
  ASSERT_EQ(form.SendRows.size(), 2u);
  EXPECT_EQ(form.SendRows[0].Bid, form.BidRows[1]);
  // Tab on to the composed set; Delete takes its selected row.
  for (int i = 0; i < 3; ++i) QTest::keyClick(Focus(), Qt::Key_Tab);
  ASSERT_EQ(Focus(), Find<QListWidget>("fdSend"));
  QTest::keyClick(Focus(), Qt::Key_Delete);
  ASSERT_EQ(form.SendRows.size(), 1u);
  EXPECT_EQ(form.SendRows[0].Bid, form.BidRows[1]);
  // The "&Mehet" accelerator sends the set: the keyboard deal of tests/e2e presses it every turn.
}

TEST_F(TableKeysTest, OwnHandByKeysPlaysAndGoesOn) {
  Deal();
  form.PlayLine("P1 1 0 0 0 0 0");
  auto* hand = window.HandPanel(1);
  ASSERT_EQ(Focus(), hand) << "the play page opens on the own hand";
  auto* frame = Find<QWidget>("FocusFrame");
  const auto& cards = window.HandPictures(1);
  EXPECT_TRUE(frame->isVisible());
  // The frame marks the part of the card that shows, never the index of the card lying on it.
  const auto shownPart = [&](int i) {
    QRect r = cards[static_cast<std::size_t>(i)]->geometry();
    r.setRight(cards[static_cast<std::size_t>(i) + 1]->geometry().left() - 1);
    return r;
  };
  EXPECT_EQ(frame->geometry(), shownPart(0));
  QTest::keyClick(hand, Qt::Key_Right);
  QTest::keyClick(hand, Qt::Key_Right);
  EXPECT_EQ(frame->geometry(), shownPart(2));
  QTest::keyClick(hand, Qt::Key_End);
  EXPECT_EQ(frame->geometry(), cards.back()->geometry()) << "the last card shows whole";
  QTest::keyClick(hand, Qt::Key_Left);
  QTest::keyClick(hand, Qt::Key_Left);
  QTest::keyClick(hand, Qt::Key_Left);
  QTest::keyClick(hand, Qt::Key_Left);
  QTest::keyClick(hand, Qt::Key_Left);
  QTest::keyClick(hand, Qt::Key_Left);
  QTest::keyClick(hand, Qt::Key_Left);
  EXPECT_EQ(cards[2]->accessibleName(), QStringLiteral("Tarokk X"));
  QTest::keyClick(hand, Qt::Key_Space);
  EXPECT_EQ(club.Sent.back(), "P30");
  form.PlayLine("P0 1 1 30 4 26 1");
  EXPECT_NE(Find<QLabel>("lbSpoken")->text().indexOf(QStringLiteral("Enter")), -1);
  // Enter goes on from the hand, and from anywhere in the window: the go-on button is its default.
  QTest::keyClick(hand, Qt::Key_Return);
  EXPECT_EQ(club.Sent.back(), "T");
  form.PlayLine("P0 2 2 0 5 27 2");
  Find<QWidget>("cmLast")->setFocus();
  QTest::keyClick(&window, Qt::Key_Enter);
  EXPECT_EQ(club.Sent.back(), "T");
  EXPECT_FALSE(form.TrickPause);
  Find<QWidget>("fdTrick")->setFocus();
  EXPECT_FALSE(frame->isVisible()) << "the frame shows only while the hand has the keys";
}

// Each card of a full trick lies whole on the play page, and no card or name lies over another
// card's index (its top left corner).
TEST_F(TableKeysTest, EveryCardOnTheTableShowsItsIndexWhole) {
  Deal();
  form.PlayLine("P0 1 0 11 12 13 14");
  auto* page = Find<QWidget>("TrickImage1")->parentWidget();
  const QObjectList stack = page->children();  // later children lie over earlier ones
  for (int seat = 1; seat <= 4; ++seat) {
    auto* card = Find<QWidget>(("TrickImage" + std::to_string(seat)).c_str());
    EXPECT_TRUE(page->rect().contains(card->geometry())) << "seat " << seat << " cut";
    const QRect index(card->geometry().topLeft(), QSize(26, 44));
    for (auto i = stack.indexOf(card) + 1; i < stack.size(); ++i) {
      auto* over = qobject_cast<QWidget*>(stack[i]);
      if (over && over->isVisible() && over->geometry().intersects(index))
        ADD_FAILURE() << over->objectName().toStdString() << " covers the index of seat " << seat;
    }
  }
}

// Large print doubles the window, the cards and the fonts; every caption still fits, and going
// back gives every control its place again.
TEST_F(TableKeysTest, LargePrintDoublesAndComesBack) {
  Deal();
  form.PlayLine("P2 1 0 7 0 0 0");
  std::map<QWidget*, QRect> before;
  for (QWidget* w : window.findChildren<QWidget*>()) before[w] = w->geometry();
  const QSize size = window.size();
  const QSize card = window.HandPictures(1)[0]->pixmap().size();
  ASSERT_TRUE(Cut().empty()) << Cut().front();

  for (auto page : {TBidForm::tabBid, TBidForm::tabPlay, TBidForm::tabScore}) {
    form.SetLargePrint(true);
    form.Page = page;
    form.ShowPage(page == TBidForm::tabScore ? 0 : page);
    if (page == TBidForm::tabScore) form.ScoreLine("X1 " + S("Ütések"_cp) + " 4 Trull 10 *Ulti 5");
    EXPECT_EQ(window.size(), size * 2);
    EXPECT_EQ(window.HandPictures(1)[0]->pixmap().size(), card * 2);
    const auto cut = Cut();
    EXPECT_TRUE(cut.empty()) << page << ": " << cut.front();
    for (auto* button : window.findChildren<QAbstractButton*>())  // style-sheet buttons grow too
      if (button->isVisible() && !button->text().isEmpty()) {
        EXPECT_GE(button->fontInfo().pixelSize(), 24) << button->objectName().toStdString();
      }
  }
  form.SetLargePrint(false);
  form.ShowPage(TBidForm::tabPlay);
  EXPECT_EQ(window.size(), size);
  for (const auto& [w, g] : before) {
    // Our own controls; a list's parts and the hidden pages are placed by their owners when shown.
    const QString name = w->objectName();
    if (!dynamic_cast<TCardLabel*>(w) && !name.isEmpty() && !name.startsWith(QLatin1String("qt_")) &&
        !qobject_cast<QStackedWidget*>(w->parentWidget())) {
      EXPECT_EQ(w->geometry(), g) << name.toStdString();
    }
  }
}

// Large print on a screen too small for the doubled window: the window takes the largest print
// size the screen's free area holds, its controls inside it and their captions whole, and ordinary
// print gives every control its place again (from a size that is no whole multiple).
struct ScreenCase {
  const char* name;
  QRect area;
  bool watching;
};
class LargePrintScreens : public TableKeysTest, public ::testing::WithParamInterface<ScreenCase> {};

TEST_P(LargePrintScreens, FitsTheFreeAreaAndComesBack) {
  const ScreenCase& c = GetParam();
  window.AvailableArea = [area = c.area] { return area; };
  if (c.watching) {
    club.Seat = 0;
    form.ToggleWatch();
    form.ShowPage(0);
    for (int seat = 1; seat <= 4; ++seat) {
      std::string hand = "H" + std::to_string(seat);
      for (int card = 1; card <= 10; ++card) hand += " " + std::to_string((seat - 1) * 10 + card);
      form.HandLine(hand);
    }
  } else {
    Deal();
  }
  form.PlayLine("P3 1 0 41 42 0 0");
  std::map<QWidget*, QRect> before;
  for (QWidget* w : window.findChildren<QWidget*>()) before[w] = w->geometry();
  const QSize ordinary = window.size();

  ExpectArrowWhole();
  form.SetLargePrint(true);
  ExpectArrowWhole();
  const QRect frame = window.frameGeometry();
  EXPECT_TRUE(c.area.contains(frame))
      << frame.x() << "," << frame.y() << " " << frame.width() << "x" << frame.height();
  EXPECT_GT(window.width(), ordinary.width());
  const auto cut = Cut();
  EXPECT_TRUE(cut.empty()) << cut.front();
  for (auto* button : window.findChildren<QAbstractButton*>()) {
    if (!button->isVisible()) continue;
    const QRect at(button->mapTo(&window, QPoint(0, 0)), button->size());
    EXPECT_TRUE(window.rect().contains(at)) << button->objectName().toStdString();
  }

  form.SetLargePrint(false);
  EXPECT_EQ(window.size(), ordinary);
  for (const auto& [w, g] : before) {
    const QString name = w->objectName();
    if (!dynamic_cast<TCardLabel*>(w) && !name.isEmpty() && !name.startsWith(QLatin1String("qt_")) &&
        !qobject_cast<QStackedWidget*>(w->parentWidget())) {
      EXPECT_EQ(w->geometry(), g) << name.toStdString();
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Screens, LargePrintScreens,
                         ::testing::Values(ScreenCase{"Playing1600x1200", QRect(0, 0, 1600, 1200), false},
                                           ScreenCase{"Watching1600x1200", QRect(0, 0, 1600, 1200), true},
                                           ScreenCase{"Playing1280x800", QRect(0, 0, 1280, 800), false},
                                           ScreenCase{"Watching1280x800", QRect(0, 0, 1280, 800), true},
                                           ScreenCase{"Playing1024x600", QRect(0, 0, 1024, 600), false}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zn::test
