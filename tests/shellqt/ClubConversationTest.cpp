// The window against a scripted club server on a loopback port: log in, the lobby, a room, a seat,
// chat; each step checked on what the window shows and on the exact commands the server receives.
#include <gtest/gtest.h>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QStackedWidget>
#include <QTest>
#include <utility>

#include "game/Cp1250.h"
#include "game/qt/Cp1250Codec.h"
#include "tests/support/qt/WindowFixture.h"

namespace zn::test {
namespace {

using namespace zn::literals;

const std::string kIni("[Program]\r\nUser=Tesztelő\r\n"_cp);
const std::string kNick("Tesztelő"_cp);

class ClubConversationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    w.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return club.form->Dispatching; }));  // first showing done
    ASSERT_TRUE(club.ConnectTo(server));
  }
  QString PageName() { return w.findChild<QStackedWidget*>("Page")->currentWidget()->objectName(); }
  bool MenuShown(const char* caption) {
    return w.Menu(QString::fromUtf8(caption))->menuAction()->isVisible();
  }
  QStringList Rows(const char* list) {
    QStringList rows;
    auto* l = w.findChild<QListWidget*>(list);
    for (int i = 0; i < l->count(); ++i) rows << l->item(i)->text();
    return rows;
  }
  QString Text(const char* label) { return w.findChild<QLabel*>(label)->text(); }
  QString MemoText() { return w.findChild<QPlainTextEdit*>("Memo")->toPlainText(); }
  // Logs in and shows the lobby: rooms "Társalgó", "Zöld", "Piros"; anna and the user in the lobby,
  // béla in "Piros".
  void ToLobby() {
    server.Send("#L0.99");
    ASSERT_TRUE(server.Expect("V7"));  // first the newer lines it reads, alone
    server.Send("#V7");
    ASSERT_TRUE(server.Expect("N" + kNick));
    server.Send("#I3 Társalgó Zöld Piros 3 0 Tesztelő 0 anna 2 béla"_cp);
    ASSERT_TRUE(QTest::qWaitFor([&] { return PageName() == "tabLobby"; }));
    ASSERT_TRUE(server.Expect("Y"));  // let in without a challenge: the client asks for one
  }
  void ToRoom(std::string_view rLine) {
    ToLobby();
    auto* rooms = w.findChild<QListWidget*>("fdRooms");
    const QRect zold = rooms->visualItemRect(rooms->item(1));
    QTest::mouseClick(rooms->viewport(), Qt::LeftButton, {}, zold.center());
    QTest::mouseDClick(rooms->viewport(), Qt::LeftButton, {}, zold.center());
    ASSERT_TRUE(server.Expect("E1"));
    server.Send(rLine);
    ASSERT_TRUE(QTest::qWaitFor([&] { return PageName() == "tabRoom"; }));
  }

  TWindowFixture club{kIni};
  TClubWindow& w = *club.window;
  TScriptServer server;
};

TEST_F(ClubConversationTest, LoginShowsTheLobby) {
  ToLobby();
  EXPECT_EQ(w.windowTitle(), "Társalgó");
  EXPECT_EQ(Rows("fdRooms"), QStringList({"Társalgó", "Zöld", "Piros"}));
  EXPECT_EQ(Rows("fdPresent"), QStringList({"Tesztelő", "anna"}));
  EXPECT_EQ(Rows("fdUsers"), QStringList({"Tesztelő", "anna"}));  // the lobby is selected
  EXPECT_TRUE(MenuShown("Ü&zenetek"));
  EXPECT_TRUE(MenuShown("&Társalgó"));
  EXPECT_FALSE(MenuShown("&Terem"));
  EXPECT_FALSE(MenuShown("&Osztás"));
  EXPECT_EQ(Text("Status2"), "127.0.0.1");
  auto* address = w.findChild<QLabel*>("Status2");
  EXPECT_GE(address->contentsRect().width(), address->fontMetrics().horizontalAdvance(address->text()))
      << "the server's address is cut";
  EXPECT_TRUE(club.fake.desk.Messages.empty());

  // A click on a room lists its members.
  auto* rooms = w.findChild<QListWidget*>("fdRooms");
  QTest::mouseClick(rooms->viewport(), Qt::LeftButton, {}, rooms->visualItemRect(rooms->item(2)).center());
  EXPECT_EQ(Rows("fdUsers"), QStringList({"béla"}));
  EXPECT_TRUE(server.Pending().empty());
  // Nothing waits: the dispatcher is not kept running.
  EXPECT_TRUE(QTest::qWaitFor([&] { return !w.IdleScheduled(); }));
}

TEST_F(ClubConversationTest, OtherServerVersionWarnsAndStillLogsIn) {
  server.Send("#L1.0");
  ASSERT_TRUE(server.Expect("V7"));
  server.Send("#V7#I1 Társalgó 1 0 Tesztelő"_cp);
  ASSERT_TRUE(server.Expect("N" + kNick));
  ASSERT_TRUE(QTest::qWaitFor([&] { return PageName() == "tabLobby"; }));
  ASSERT_EQ(club.fake.desk.Messages.size(), 1u);
  EXPECT_EQ(club.fake.desk.Messages[0],
            "Szerver verzió (1.0) eltérő.\rAjánlatos frissíteni a Kliens programot!"_cp);
}

TEST_F(ClubConversationTest, EnteringARoomShowsTheSeats) {
  ToRoom("#R5 1 anna 3 Tesztelő 0 cili"_cp);
  ASSERT_TRUE(server.Expect("H3"));
  EXPECT_EQ(w.windowTitle(), "Zöld terem");
  EXPECT_EQ(Text("SeatLabel1"), "anna");
  EXPECT_EQ(Text("SeatLabel2"), "- - -");
  EXPECT_EQ(Text("SeatLabel3"), "Tesztelő");
  EXPECT_EQ(Text("SeatLabel4"), "- - -");
  EXPECT_EQ(Text("lbMatch"), "5");
  EXPECT_TRUE(w.findChild<QLabel*>("lbSeatDown")->isHidden());
  EXPECT_EQ(Rows("fdPresent"), QStringList({"anna", "Tesztelő", "cili"}));
  EXPECT_TRUE(MenuShown("&Terem"));
  EXPECT_TRUE(MenuShown("&Nézet"));
  EXPECT_FALSE(MenuShown("&Társalgó"));
  EXPECT_FALSE(MenuShown("&Osztás"));  // seat 3 orders no deals
  EXPECT_TRUE(club.form->BidForm->Visible);

  // Seated: a click on a free seat is refused and sends nothing.
  QTest::mouseClick(w.findChild<QLabel*>("SeatLabel2"), Qt::LeftButton);
  ASSERT_EQ(club.fake.desk.Messages.size(), 1u);
  EXPECT_EQ(club.fake.desk.Messages[0], "Előbb állj fel, ha át akarsz ülni!"_cp);
  QTest::qWait(50);
  EXPECT_TRUE(server.Pending().empty());
}

TEST_F(ClubConversationTest, StandingUserTakesAFreeSeatByClick) {
  ToRoom("#R0 2 -robot 0 Tesztelő"_cp);
  EXPECT_FALSE(w.findChild<QLabel*>("lbSeatDown")->isHidden());
  EXPECT_FALSE(club.form->BidForm->Visible);
  QTest::mouseClick(w.findChild<QLabel*>("SeatLabel2"), Qt::LeftButton);  // a robot's seat
  ASSERT_TRUE(server.Expect("S2"));
  server.Send("#R0 1 Tesztelő 2 -robot"_cp);
  ASSERT_TRUE(server.Expect("H1"));
  EXPECT_TRUE(MenuShown("&Osztás"));  // seat 1 orders the deals
  EXPECT_TRUE(w.findChild<QLabel*>("lbSeatDown")->isHidden());
}

TEST_F(ClubConversationTest, ChatEnterSendsAndMessagesReachTheMemo) {
  ToLobby();
  auto* chat = w.findChild<QComboBox*>("fdChat");
  w.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
  chat->setFocus();
  // Keys go where the focus really is, as a member's keyboard sends them.
  QWidget* focus = QApplication::focusWidget();
  ASSERT_NE(focus, nullptr);
  QTest::keyClicks(focus, "Jo");
  chat->lineEdit()->insert(QStringLiteral(" estét"));  // typed keys stop at ASCII in QTest
  QTest::keyClick(focus, Qt::Key_Return);
  ASSERT_TRUE(server.Expect(std::string("MJo estét"_cp)));
  EXPECT_TRUE(chat->currentText().isEmpty());
  EXPECT_EQ(chat->count(), 10);  // the sent text is not added to the phrases

  server.Send("#Manna: szia"_cp);
  ASSERT_TRUE(QTest::qWaitFor([&] { return MemoText().endsWith("anna: szia"); }));
  EXPECT_TRUE(w.Flashing());  // the alert flashes for about 0.6 s, then stops
  EXPECT_TRUE(QTest::qWaitFor([&] { return !w.Flashing(); }, 3000));
  EXPECT_FALSE(club.form->State.FlashOn);

  // An empty box is refused; so is Enter on the keypad.
  QTest::keyClick(focus, Qt::Key_Enter);
  ASSERT_EQ(club.fake.desk.Messages.size(), 1u);
  EXPECT_EQ(club.fake.desk.Messages[0], "Nincs üzenet!"_cp);
}

TEST_F(ClubConversationTest, PauseHoldsLinesUntilLifted) {
  ToLobby();
  club.form->BidForm->TrickPause = true;
  server.Send("#Mfirst#Msecond"_cp);
  QTest::qWait(200);
  EXPECT_FALSE(MemoText().contains("first"));
  EXPECT_FALSE(w.IdleScheduled());  // no busy loop while paused
  club.form->BidForm->TrickPause = false;
  club.form->WakeIdle();
  ASSERT_TRUE(QTest::qWaitFor([&] { return MemoText().endsWith("first\nsecond"); }));
}

TEST_F(ClubConversationTest, BadLinesAreShownAndTheClientGoesOn) {
  ToLobby();
  server.Send("#Ix Társalgó#zzz#Mstill here"_cp);
  ASSERT_TRUE(QTest::qWaitFor([&] { return MemoText().endsWith("still here"); }));
  ASSERT_EQ(club.fake.desk.Errors.size(), 1u);
  EXPECT_EQ(club.fake.desk.Errors[0], "'x' is not a valid integer value.");
  ASSERT_EQ(club.fake.desk.Messages.size(), 1u);
  EXPECT_EQ(club.fake.desk.Messages[0], "zzz");
}

// A box a line shows runs the event loop; lines arriving meanwhile wait for it to close and then come
// in their order, never dispatched inside the box.
TEST_F(ClubConversationTest, LinesWaitWhileABoxOfAnEarlierLineIsOpen) {
  ToLobby();
  FakeDesktop modal;
  bool dispatchedInside = false;
  modal.InsideBox = [&] {
    server.Send("#Mafter");
    QTest::qWait(300);  // the box is open: the socket delivers, the timers run
    dispatchedInside = MemoText().contains("after");
  };
  TDesktop* previous = SetDesktop(&modal);
  server.Send("#zzz");
  const bool arrived = QTest::qWaitFor([&] { return MemoText().endsWith("after"); });
  SetDesktop(previous);
  EXPECT_TRUE(arrived);
  EXPECT_FALSE(dispatchedInside);
  EXPECT_EQ(modal.Messages, std::vector<std::string>{"zzz"});
}

TEST_F(ClubConversationTest, DisconnectReturnsToTheConnectPage) {
  ToLobby();
  w.ActionOf(club.form->Actions.cmDisconnect)->trigger();
  EXPECT_EQ(PageName(), "tabConnect");
  EXPECT_EQ(w.windowTitle(), "Zenit Tarokk Klub");
  EXPECT_FALSE(MenuShown("Ü&zenetek"));
  EXPECT_TRUE(Rows("fdPresent").isEmpty());
  EXPECT_TRUE(QTest::qWaitFor([&] { return Text("Status2") == " nincs"; }));
}

}  // namespace
}  // namespace zn::test
