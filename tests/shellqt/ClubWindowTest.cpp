// The club window as it first shows: frame, font, pages, menus with their items in order, the chat
// box's phrases, the status panels, the seat labels in their places.
#include <gtest/gtest.h>
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QStatusBar>
#include <QToolButton>

#include "game/Cp1250.h"
#include "game/qt/Cp1250Codec.h"
#include "tests/support/qt/WindowFixture.h"

namespace zn::test {
namespace {

using namespace zn::literals;

const std::string kIni("[Program]\r\nUser=Tesztelő\r\nPort=2222\r\n"_cp);

// "A|-|B[C|D]": items, "-" a separator, a submenu with its items in brackets.
QString Describe(const QMenu* menu) {
  QStringList parts;
  for (const QAction* a : menu->actions()) {
    if (a->isSeparator())
      parts << "-";
    else if (a->menu())
      parts << a->text() + "[" + Describe(a->menu()) + "]";
    else
      parts << a->text();
  }
  return parts.join('|');
}

class ClubWindowTest : public ::testing::Test {
 protected:
  TWindowFixture club{kIni};
  TClubWindow& w = *club.window;
};

TEST_F(ClubWindowTest, FrameFontAndCaption) {
  EXPECT_EQ(w.size(), QSize(380, 449));
  EXPECT_TRUE(w.windowFlags() & Qt::WindowMinimizeButtonHint);
  EXPECT_TRUE(w.windowFlags() & Qt::WindowCloseButtonHint);
  EXPECT_FALSE(w.windowFlags() & Qt::WindowMaximizeButtonHint);
  EXPECT_EQ(w.font().family(), "Arial");
  EXPECT_EQ(w.font().pixelSize(), 13);
  EXPECT_EQ(w.windowTitle(), "Zenit Tarokk Klub");
  auto* pages = w.findChild<QStackedWidget*>("Page");
  ASSERT_NE(pages, nullptr);
  EXPECT_EQ(pages->count(), 3);
  EXPECT_EQ(pages->currentWidget()->objectName(), "tabConnect");
}

struct TMenuCase {
  const char* caption;
  const char* items;
  bool shownAtStart;
};

class MenuTest : public ClubWindowTest, public ::testing::WithParamInterface<TMenuCase> {};

TEST_P(MenuTest, ItemsInOrder) {
  const TMenuCase& c = GetParam();
  QMenu* menu = w.Menu(QString::fromUtf8(c.caption));
  ASSERT_NE(menu, nullptr) << c.caption;
  EXPECT_EQ(Describe(menu), QString::fromUtf8(c.items));
  EXPECT_EQ(menu->menuAction()->isVisible(), c.shownAtStart);
}

INSTANTIATE_TEST_SUITE_P(
    Menus, MenuTest,
    ::testing::Values(
        TMenuCase{"&Külvilág", "&Távkapcsolat|-|&Névkód...|Névkód &megadása...|-|&Kilépés", true},
        TMenuCase{"Ü&zenetek", "&Elküld|&Töröl|-|&Válaszidő|&Közhír|-|&Bemutatkozás...", false},
        TMenuCase{"&Társalgó", "Új &terem létrehozás|&Belépés a terembe|-|A&rchívum...|&Nagy betűk", false},
        TMenuCase{"&Terem",
                  "&Leül[<< Induló &1|<< Elfogó &4|Induló >> &3|Elfogó >> &2]|&Feláll|&Robot ültetés|-|"
                  "&Vissza a társalgóba",
                  false},
        TMenuCase{"&Nézet",
                  "&Sorrend[&Normál|&Fordított|&Osztott]|&Hang|&Nagy betűk|-|"
                  "&Asztal...|&Licitek...|&Partik...|A&rchívum...|-|&Kibic...",
                  false},
        TMenuCase{"&Osztás", "Újra &játszás|&Számozott osztás|-|Új &meccs|&Következő osztás|-|&Igazítás",
                  false},
        TMenuCase{"&Súgó", "&Játékszabályok...|&Tartalom|-|&Névjegy", true}),
    [](const auto& info) { return std::to_string(info.index); });

// Alt letters: each menu shown takes its own, as does each item shown in a menu; a hidden menu
// takes none, so the letter it shares with a shown one reaches the shown one at once.
TEST_F(ClubWindowTest, AltLettersBelongToWhatIsShown) {
  auto letterOf = [](const QAction* a) {
    const qsizetype amp = a->text().indexOf(QLatin1Char('&'));
    return amp < 0 || amp + 1 >= a->text().size() ? QChar() : a->text().at(amp + 1).toLower();
  };
  auto unique = [&](const QList<QAction*>& actions, const char* where) {
    QList<QChar> seen;
    for (const QAction* a : actions) {
      if (a->isSeparator() || !a->isVisible()) continue;
      const QChar c = letterOf(a);
      EXPECT_FALSE(c.isNull() || seen.contains(c)) << where << ": " << a->text().toStdString();
      seen << c;
    }
  };
  TZnForm& f = *club.form;
  TClubState::TMenus lobby, room;
  lobby.Messages = lobby.Lobby = true;
  room.Messages = room.Room = room.View = room.Deal = true;
  for (const TClubState::TMenus& state : {TClubState::TMenus{}, lobby, room}) {
    f.State.Menus = state;
    f.State.Notify(TClubState::Aspect::Menus);
    unique(w.menuBar()->actions(), "menu bar");
    for (const QAction* a : w.menuBar()->actions()) {
      if (!a->isVisible()) {
        EXPECT_EQ(letterOf(a), QChar()) << a->text().toStdString();
      }
      if (a->menu()) unique(a->menu()->actions(), "menu");
    }
  }
}

TEST_F(ClubWindowTest, MenuBarOrderAndStartingCheckMarks) {
  QStringList captions;
  for (const QAction* a : w.menuBar()->actions()) captions << a->text();
  // The hidden ones without their Alt letters.
  EXPECT_EQ(captions,
            QStringList({"&Külvilág", "Üzenetek", "Társalgó", "Terem", "Nézet", "Osztás", "&Súgó"}));
  TZnForm& f = *club.form;
  EXPECT_TRUE(w.ActionOf(f.Actions.cmNormal)->isChecked());
  EXPECT_FALSE(w.ActionOf(f.Actions.cmReverse)->isChecked());
  EXPECT_TRUE(w.ActionOf(f.Actions.cmSound)->isChecked());
  EXPECT_TRUE(w.ActionOf(f.Actions.cmAlign)->isChecked());
  EXPECT_FALSE(w.ActionOf(f.Actions.cmKibic)->isChecked());
  EXPECT_EQ(w.ActionOf(f.Actions.cmShowBid)->toolTip(), "Megmutatja a liciteket");
}

TEST_F(ClubWindowTest, ChatBoxHoldsTheTenPhrases) {
  auto* chat = w.findChild<QComboBox*>("fdChat");
  ASSERT_NE(chat, nullptr);
  EXPECT_TRUE(chat->isEditable());
  ASSERT_EQ(chat->count(), 10);
  EXPECT_EQ(chat->itemText(0), "Sziasztok!");
  EXPECT_EQ(chat->itemText(3), "Szép volt partner! :-)");
  EXPECT_EQ(chat->itemText(9), "Ne ingereljük a fenvadat!");
  EXPECT_TRUE(chat->currentText().isEmpty());
}

TEST_F(ClubWindowTest, StatusPanels) {
  const int widths[] = {77, 66, 50};
  for (int i = 0; i < 3; ++i) {
    auto* panel = w.statusBar()->findChild<QLabel*>(QStringLiteral("Status%1").arg(i));
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->width(), widths[i]) << i;
  }
  EXPECT_EQ(w.findChild<QLabel*>("Status0")->text(), "Tesztelő");
  EXPECT_EQ(w.findChild<QLabel*>("Status0")->alignment(), Qt::AlignCenter);
  EXPECT_EQ(w.findChild<QLabel*>("Status1")->text(), "Szerver ");
  EXPECT_TRUE(w.findChild<QLabel*>("Status1")->alignment() & Qt::AlignRight);
}

TEST_F(ClubWindowTest, ConnectPageShowsTheSettings) {
  auto* list = w.findChild<QListWidget*>("adrList");
  ASSERT_NE(list, nullptr);
  ASSERT_EQ(list->count(), 5);
  EXPECT_EQ(list->item(0)->text(), "localhost");
  EXPECT_EQ(list->item(4)->text(), "???");
  EXPECT_EQ(list->currentRow(), 0);
  EXPECT_EQ(w.findChild<QLineEdit*>("fdPort")->text(), "2222");
}

TEST_F(ClubWindowTest, AddressListButtonsMoveTheSelectedEntry) {
  auto* list = w.findChild<QListWidget*>("adrList");
  list->setCurrentRow(1);  // as a click
  EXPECT_EQ(club.form->State.Connect.AddressIndex, 1);
  w.findChild<QToolButton*>("adrDown")->click();
  EXPECT_EQ(list->item(2)->text().toStdString(), ZN_DEFAULT_SERVER_HOST);
  EXPECT_EQ(list->currentRow(), 2);
  w.findChild<QToolButton*>("adrUp")->click();
  w.findChild<QToolButton*>("adrUp")->click();
  EXPECT_EQ(list->item(0)->text().toStdString(), ZN_DEFAULT_SERVER_HOST);
  w.findChild<QToolButton*>("adrUp")->click();  // first entry: copied into the address field
  EXPECT_EQ(w.findChild<QLineEdit*>("fdAddress")->text().toStdString(), ZN_DEFAULT_SERVER_HOST);
}

struct TSeatPlace {
  int seat, left, top;
  const char* caption;
};

class SeatPlaceTest : public ClubWindowTest, public ::testing::WithParamInterface<TSeatPlace> {};

TEST_P(SeatPlaceTest, LabelInItsPlace) {
  const TSeatPlace& p = GetParam();
  auto* label = w.findChild<QLabel*>(QStringLiteral("SeatLabel%1").arg(p.seat));
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->geometry(), QRect(p.left, p.top, 122, 17));
  EXPECT_EQ(label->alignment(), Qt::AlignCenter);
  EXPECT_TRUE(label->text().isEmpty());  // until the first R line
  bool captioned = false;
  for (const QLabel* other : label->parentWidget()->findChildren<QLabel*>())
    captioned |= other->text() == QString::fromUtf8(p.caption);
  EXPECT_TRUE(captioned) << p.caption;
}

INSTANTIATE_TEST_SUITE_P(Seats, SeatPlaceTest,
                         ::testing::Values(TSeatPlace{1, 122, 120, "<< Induló"},
                                           TSeatPlace{2, 242, 84, "Elfogó >>"},
                                           TSeatPlace{3, 122, 48, "Induló >>"},
                                           TSeatPlace{4, 2, 84, "<< Elfogó"}),
                         [](const auto& info) { return "Seat" + std::to_string(info.param.seat); });

TEST_F(ClubWindowTest, RoomPageMarksStartHidden) {
  auto* room = w.findChild<QWidget*>("tabRoom");
  ASSERT_NE(room, nullptr);
  EXPECT_EQ(room->size(), QSize(372, 185));
  EXPECT_TRUE(w.findChild<QLabel*>("lbDealer1")->isHidden());
  EXPECT_TRUE(w.findChild<QLabel*>("lbDealer3")->isHidden());
  EXPECT_EQ(w.findChild<QLabel*>("lbDealer1")->text(), " Osztó ");
  EXPECT_EQ(w.findChild<QLabel*>("lbDeal")->toolTip(), "Leosztás azonosítószáma");
}

TEST_F(ClubWindowTest, HelpAndAboutGoThroughTheDesktop) {
  w.ActionOf(club.form->Actions.cmHelp)->trigger();
  ASSERT_EQ(club.fake.desk.Started.size(), 1u);
  EXPECT_NE(club.fake.desk.Started[0].find("/zenit/znclient.htm"), std::string::npos);
  w.ActionOf(club.form->Actions.cmAbout)->trigger();
  ASSERT_EQ(club.fake.desk.Messages.size(), 1u);
  EXPECT_EQ(club.fake.desk.Messages[0].rfind("Zenit Tarokk Client\r\r        Version 0.99", 0), 0u);
}

}  // namespace
}  // namespace zn::test

namespace zn::test {
namespace {

// The message area draws appends alone: through trims and clears it must still show exactly the
// form's lines.
TEST_F(ClubWindowTest, MessageAreaShowsTheLinesThroughAppendsTrimsAndClears) {
  auto* memo = w.findChild<QPlainTextEdit*>("Memo");
  ASSERT_NE(memo, nullptr);
  auto shown = [&] {
    QStringList lines;
    for (const std::string& line : club.form->State.Memo) lines << ToQt(line);
    return lines.join('\n');
  };
  for (int i = 0; i < 230; ++i) {
    club.form->Dispatch("Mline " + std::to_string(i));
    ASSERT_EQ(memo->toPlainText(), shown()) << "after line " << i;
  }
  EXPECT_EQ(memo->blockCount(), static_cast<int>(club.form->State.Memo.size()));
  club.form->cmClearExecute();
  EXPECT_EQ(memo->toPlainText(), QString());
  club.form->Dispatch("Mfirst");
  EXPECT_EQ(memo->toPlainText(), QStringLiteral("first"));
}

}  // namespace
}  // namespace zn::test
