// The whole-deal fixture: the real club and table windows (offscreen) against an in-process
// znserver with robots on a loopback port; the tests that play a deal share it.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>
#include <QToolButton>

#include "game/Cp1250.h"
#include "server/base/ClubTexts.h"
#include "table/qt/BidWindow.h"
#include "table/qt/CardLabel.h"
#include "tests/support/TempDir.h"
#include "tests/support/gtest/ServerHarness.h"
#include "tests/support/qt/WindowFixture.h"

namespace zn::test {

using namespace zn::literals;
using server::test::RunningServer;

// The simple robots answer at once, so the windows, not the robots' thinking, set the pace.
inline server::ServerOptions SimpleRobots() {
  server::ServerOptions options;
  options.robots.kind = server::RobotKind::Simple;
  // Every client here comes from loopback, as in one household: the watcher sees the hands (the
  // address rule has its own tests in tests/server).
  options.kibitzSameAddressOpen = true;
  return options;
}

inline const std::string kNick("Játékos"_cp);
inline const std::string kIni("[Program]\r\nUser=Játékos\r\n"_cp);

// The server's notices ("M >>>>> ...") in the message area: none is expected in a sound deal but
// the turn clock's at the start of a deal and the one that says a first login claimed the nickname.
inline std::vector<std::string> Notices(const TZnForm& form) {
  std::vector<std::string> notices;
  for (const std::string& line : form.State.Memo)
    if (line.find(">>>>>") != std::string::npos && line.find(server::text::kTurnLimit) == std::string::npos &&
        line.find("mostantól a tiéd"_cp) == std::string::npos)
      notices.push_back(line);
  return notices;
}

class DealTable : public ::testing::Test {
 protected:
  DealTable() {
    table.SetActions(
        {[this] { form.Actions.cmReplay.Execute(); }, [this] { form.Actions.cmMatch.Execute(); },
         [this] { form.Actions.cmNextDeal.Execute(); }, [this] { form.Actions.cmShowBid.Execute(); },
         [this] { form.Actions.cmResults.Execute(); }, [this] { return form.Actions.cmMatch.Enabled; }});
  }
  template <class W>
  W* Club(const char* name) {
    return club.window->findChild<W*>(QString::fromLatin1(name));
  }
  template <class W>
  W* Table(const char* name) {
    return table.findChild<W*>(QString::fromLatin1(name));
  }
  void Shot(const char* name) { Shot(table, name); }
  static void Shot(QWidget& window, const char* name) {
    const QByteArray dir = qgetenv("ZN_SHOTS");
    if (dir.isEmpty()) return;
    QApplication::processEvents();
    window.grab().save(QString::fromLocal8Bit(dir) + "/" + name + ".png");
  }
  void Connect() { Connect(club); }
  void Connect(TWindowFixture& client) {
    client.window->show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return client.form->Dispatching; }));
    auto* address = client.window->findChild<QLineEdit*>("fdAddress");
    auto* port = client.window->findChild<QLineEdit*>("fdPort");
    address->clear();
    QTest::keyClicks(address, "127.0.0.1");
    port->clear();
    QTest::keyClicks(port, QString::number(running.Port()));
    QTest::mouseClick(client.window->findChild<QPushButton*>("btnConnect"), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return client.form->State.Page == TClubState::tabLobby; }));
  }
  // Creates the room, enters it, sits on seat 1 and fills seats 2..4 with robots.
  void SitWithRobots() {
    desk->InputAnswers.push_back(std::string("Asztal"));
    club.window->ActionOf(form.Actions.cmNewRoom)->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return form.State.Lobby.Rooms.size() == 2; }));
    auto* rooms = Club<QListWidget>("fdRooms");
    const QPoint at = rooms->visualItemRect(rooms->item(1)).center();
    QTest::mouseClick(rooms->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(rooms->viewport(), Qt::LeftButton, {}, at);
    ASSERT_TRUE(QTest::qWaitFor([&] { return form.State.Page == TClubState::tabRoom; }));
    QTest::mouseClick(Club<QLabel>("SeatLabel1"), Qt::LeftButton);
    ASSERT_TRUE(QTest::qWaitFor([&] { return form.State.Room.MySeat == 1; }));
    for (int seat = 2; seat <= 4; ++seat) {
      club.window->ActionOf(form.Actions.cmRobot)->trigger();
      ASSERT_TRUE(QTest::qWaitFor([&] {
        return Club<QLabel>(("SeatLabel" + std::to_string(seat)).c_str())->text() ==
               QStringLiteral("-Robot%1").arg(seat);
      })) << seat;
    }
  }

  // Bidding: pass whenever it is the member's turn, until the play page opens.
  void PassUntilPlay() {
    auto* go = Table<QPushButton>("cmGo");
    int passes = 0;
    while (bid.Page == TBidForm::tabBid) {
      ASSERT_TRUE(QTest::qWaitFor([&] { return go->isEnabled() || bid.Page != TBidForm::tabBid; }));
      if (bid.Page != TBidForm::tabBid) break;
      ASSERT_LT(++passes, 9) << "bidding never ends";
      QTest::mouseClick(go, Qt::LeftButton);
    }
    EXPECT_TRUE(Notices(form).empty()) << Notices(form).front();
  }
  // Ten tricks: the first card the follow rule allows, then the go-on button after each trick.
  void PlayTricks(int& played, int& acknowledged, bool shots = false) {
    auto* next = Table<QPushButton>("cmNext");
    while (!bid.DealOver) {
      ASSERT_TRUE(QTest::qWaitFor([&] {
        return (bid.MyTurn && !bid.TrickPause) || next->isVisibleTo(&table) || bid.DealOver;
      })) << "stuck after "
          << played << " cards and " << acknowledged << " tricks";
      if (next->isVisibleTo(&table)) {
        if (acknowledged == 4 && shots) Shot("e2e-trick");
        QTest::mouseClick(next, Qt::LeftButton);
        ++acknowledged;
        ASSERT_LE(acknowledged, 10);
      } else if (bid.MyTurn) {
        const auto& cards = table.HandPictures(1);
        auto it = std::find_if(cards.begin(), cards.end(),
                               [&](const TCardLabel* c) { return !c->Framed && bid.CanPlay(c->Code); });
        ASSERT_NE(it, cards.end()) << "no legal card in the shown hand";
        QTest::mouseDClick(*it, Qt::LeftButton);
        ++played;
        ASSERT_FALSE(bid.MyTurn);
      }
    }
  }

  TempDir temp;
  std::string dir = temp.Path();
  RunningServer running{dir + "/zn.db", SimpleRobots()};
  TWindowFixture club{kIni};
  TZnForm& form = *club.form;
  TBidForm& bid = *form.BidForm;
  TBidWindow table{bid};
  // The boxes of the client made last (each client installs its own scripted desktop).
  FakeDesktop* desk = &club.fake.desk;
};

}  // namespace zn::test
