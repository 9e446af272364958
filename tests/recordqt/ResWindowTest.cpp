// The played-games window on screen: the list follows the record, a double click toggles a mark,
// the context menu deletes, and the pages show the selected game.
#include <gtest/gtest.h>
#include <QAction>
#include <QHeaderView>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <functional>
#include <vector>

#include "game/Cp1250.h"
#include "game/qt/Cp1250Codec.h"
#include "record/qt/ResWindow.h"
#include "tests/support/ClubPortFake.h"
#include "tests/support/FakeDesktop.h"

namespace zn::test {
namespace {

using namespace zn::literals;

class ResWindowTest : public ::testing::Test {
 protected:
  ScopedFakeDesktop fake;
  ClubPortFake club;
  TResForm form{club};
  TResWindow window{form};
  QTableWidget* played = window.findChild<QTableWidget*>("Played");
  QTableWidget* game = window.findChild<QTableWidget*>("Game");
  QTabWidget* pages = window.findChild<QTabWidget*>("Pages");

  QString Cell(QTableWidget* grid, int row, int col) {
    const QTableWidgetItem* item = grid->item(row, col);
    return item ? item->text() : QString();
  }
  QString Head(QTableWidget* grid, int col) { return grid->horizontalHeaderItem(col)->text(); }
  void DoubleClickRow(int row) {
    const QRect rect = played->visualItemRect(played->item(row, 2));
    QTest::mouseClick(played->viewport(), Qt::LeftButton, {}, rect.center());
    QTest::mouseDClick(played->viewport(), Qt::LeftButton, {}, rect.center());
  }
  QAction* PopupAction(const char* name) { return window.PopupMenu()->findChild<QAction*>(name); }
  // Three games; the first played its ten tricks and got its result, the third is going on.
  void ThreeGames() {
    form.NewGame(11);
    for (int k = 1; k <= 10; ++k)
      for (int seat = 1; seat <= 4; ++seat) form.SetTrickCard(k, seat, (k - 1) * 4 + seat);
    form.SetBids({"Trull", "Passz"});
    form.SetTricks(
        "6\xA0:\xA0"
        "4");
    form.GameResult("F52:-52");
    form.NewGame(12);
    form.GameResult("F-10:10");
    form.NewGame(13);
  }
};

TEST_F(ResWindowTest, ListShowsTheGamesAndTheTotalsAndAResultBringsItUp) {
  EXPECT_FALSE(window.isVisible());
  EXPECT_EQ(played->rowCount(), 1) << "one empty row before the first game";
  ThreeGames();
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(window.windowTitle(), "Lejátszott partik");
  EXPECT_TRUE(window.windowFlags() & Qt::WindowStaysOnTopHint);
  ASSERT_EQ(played->rowCount(), 3);
  EXPECT_EQ(Cell(played, 0, 0), "+");
  EXPECT_EQ(Cell(played, 0, 1), "3");
  EXPECT_EQ(Cell(played, 0, 2), "11");
  EXPECT_EQ(Cell(played, 0, 5), QString::fromUtf8("6\u00A0:\u00A04"));
  EXPECT_EQ(Cell(played, 2, 0), "-");
  EXPECT_EQ(Head(played, 3), "42");
  EXPECT_EQ(Head(played, 4), "-42");
  EXPECT_EQ(Head(played, 2), "Parti szám");
  EXPECT_EQ(played->currentRow(), 2) << "the new game is selected";
  window.close();  // closing only hides it
  EXPECT_FALSE(form.Visible);
}

// The list drawn row by row as deals come, marks change and games go shows what a window drawing
// the whole record at once shows.
TEST_F(ResWindowTest, RowByRowDrawingMatchesAWholeDrawing) {
  const auto grid = [](QTableWidget* g) {
    QStringList cells;
    for (int c = 0; c < g->columnCount(); ++c) cells << g->horizontalHeaderItem(c)->text();
    for (int r = 0; r < g->rowCount(); ++r)
      for (int c = 0; c < g->columnCount(); ++c) cells << (g->item(r, c) ? g->item(r, c)->text() : "");
    cells << QString::number(g->currentRow());
    return cells;
  };
  const std::vector<std::function<void()>> steps = {
      [&] { ThreeGames(); },       [&] { form.SetTricks("7:3"); },    [&] { form.Toggle(1); },
      [&] { form.DeleteGame(2); }, [&] { form.GameResult("F4:-4"); }, [&] { form.NewGame(14); },
      [&] { DoubleClickRow(0); },
  };
  const auto drawInWindow = form.Changed;
  for (std::size_t i = 0; i < steps.size(); ++i) {
    steps[i]();
    {
      TResWindow whole(form);  // draws everything when made
      EXPECT_EQ(grid(played), grid(whole.findChild<QTableWidget*>("Played"))) << "after step " << i;
    }
    form.Changed = drawInWindow;
  }
}

// The headings of both grids fit their fixed column widths whatever face the desktop gives.
TEST_F(ResWindowTest, HeadingsAreNotCut) {
  ThreeGames();
  form.PlayedSelect(1);
  form.PagesChange(TResForm::tabPlay);
  for (QTableWidget* grid : {played, game}) {
    const QFontMetrics metrics(grid->horizontalHeader()->font());
    for (int c = 0; c < grid->columnCount(); ++c)
      EXPECT_LE(metrics.horizontalAdvance(Head(grid, c)), grid->columnWidth(c))
          << Head(grid, c).toStdString();
  }
}

TEST_F(ResWindowTest, DoubleClickTogglesAndTheMenuDeletes) {
  ThreeGames();
  DoubleClickRow(0);
  EXPECT_EQ(form.Games[0].Mark, " -");
  EXPECT_EQ(Cell(played, 0, 0), " -");
  EXPECT_EQ(Head(played, 3), "-10");
  EXPECT_EQ(PopupAction("cmChange")->text(), "&Vált");
  EXPECT_EQ(PopupAction("cmDelAll")->text(), "&Töröl (- mind)");
  fake.desk.YesNoAnswers = {true};
  PopupAction("cmDelete")->trigger();  // row 1 is selected
  EXPECT_EQ(fake.desk.Questions.back(), std::string("Törölhető ez a parti?"_cp));
  ASSERT_EQ(played->rowCount(), 2);
  EXPECT_EQ(Cell(played, 0, 2), "12");
  EXPECT_EQ(Head(played, 3), "-10") << "deleting leaves the totals";
}

TEST_F(ResWindowTest, PagesShowTheBidsAndThePlayOfTheSelectedGame) {
  ThreeGames();
  played->setCurrentCell(0, 2);  // the user selects the first game
  EXPECT_EQ(form.Selected, 1);
  pages->setCurrentIndex(TResForm::tabPlay);
  EXPECT_EQ(form.Page, TResForm::tabPlay);
  EXPECT_EQ(Head(game, 1), "<< Elfogó");
  EXPECT_EQ(Cell(game, 0, 0), "1");
  EXPECT_EQ(Cell(game, 0, 1), ToQt(CardName(4))) << "seat 4's card first";
  EXPECT_EQ(Cell(game, 0, 2), ToQt(CardName(1)));
  EXPECT_EQ(Cell(game, 9, 4), ToQt(CardName(39)));
  pages->setCurrentIndex(TResForm::tabBid);
  EXPECT_EQ(window.findChild<QPlainTextEdit*>("BidList")->toPlainText(), "Trull\nPassz");
  played->setCurrentCell(2, 2);
  pages->setCurrentIndex(TResForm::tabPlay);
  EXPECT_EQ(Cell(game, 0, 1), "") << "a game going on shows no play";
  form.ShowGames();
  EXPECT_EQ(pages->currentIndex(), TResForm::tabHand);
  if (const QByteArray shots = qgetenv("ZN_SHOTS"); !shots.isEmpty()) {
    played->setCurrentCell(0, 2);
    window.grab().save(QString::fromLocal8Bit(shots) + "/played-list.png");
    pages->setCurrentIndex(TResForm::tabPlay);
    window.grab().save(QString::fromLocal8Bit(shots) + "/played-play.png");
  }
}

}  // namespace
}  // namespace zn::test

namespace zn::test {
namespace {

// "&Megőriz" is the window's default button: Enter on the list asks where to save the selected
// game, and on a list without games only beeps, as a click does.
TEST_F(ResWindowTest, EnterOnTheListPressesTheSaveButton) {
  window.show();
  played->setFocus();
  QTest::keyClick(played, Qt::Key_Return);
  EXPECT_EQ(fake.desk.Beeps, 1);
  EXPECT_EQ(fake.desk.Boxes, 0);
  ThreeGames();
  form.PlayedSelect(1);
  QTest::keyClick(played, Qt::Key_Enter);
  EXPECT_EQ(fake.desk.Boxes, 1);
}

}  // namespace
}  // namespace zn::test
