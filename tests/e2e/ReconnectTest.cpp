// A dropped connection mid-deal: a member plays through a small TCP relay to the in-process
// znserver; the relay cuts the connection, and the client is back on its seat with its cards by
// itself, then plays the deal to its end. The windows' logic is driven through its handlers; the
// Qt club windows run the dispatcher and the link timer on the real event loop.
#include <gtest/gtest.h>

#include <QDateTime>
#include <QElapsedTimer>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <iostream>
#include <memory>
#include <vector>

#include "game/Cp1250.h"
#include "tests/support/TempDir.h"
#include "tests/support/gtest/ServerHarness.h"
#include "tests/support/qt/WindowFixture.h"

namespace zn::test {
namespace {

using namespace zn::literals;

// Passes every byte both ways between a client and the server; Cut drops every connection at
// once, as a broken network would, and later connections pass again.
class Relay {
 public:
  explicit Relay(std::uint16_t server) : server_(server) {
    listener_.listen(QHostAddress::LocalHost, 0);
    QObject::connect(&listener_, &QTcpServer::newConnection, [this] {
      while (QTcpSocket* down = listener_.nextPendingConnection()) {
        auto* up = new QTcpSocket(down);
        ++connections_;
        pairs_.push_back({down, up});
        QObject::connect(down, &QTcpSocket::readyRead, up, [down, up] { up->write(down->readAll()); });
        QObject::connect(up, &QTcpSocket::readyRead, down, [down, up] { down->write(up->readAll()); });
        QObject::connect(up, &QTcpSocket::disconnected, down, [down] { down->disconnectFromHost(); });
        QObject::connect(down, &QTcpSocket::disconnected, up, [up] { up->disconnectFromHost(); });
        up->connectToHost(QHostAddress::LocalHost, server_);
      }
    });
  }
  std::uint16_t Port() const { return listener_.serverPort(); }
  int Connections() const { return connections_; }
  void Cut() {
    for (auto& [down, up] : std::exchange(pairs_, {})) {
      up->abort();
      down->abort();
      down->deleteLater();
    }
  }

 private:
  std::uint16_t server_;
  QTcpServer listener_;
  std::vector<std::pair<QTcpSocket*, QTcpSocket*>> pairs_;
  int connections_ = 0;
};

server::ServerOptions SimpleRobots() {
  server::ServerOptions options;
  options.robots.kind = server::RobotKind::Simple;
  return options;
}

// One step of a seated member: acknowledge a trick, or play the first card the rule allows.
bool Act(TBidForm& f) {
  if (f.NextVisible && f.TrickPause) {
    f.cmNextClick();
    return true;
  }
  if (f.Page == TBidForm::tabBid && f.GoEnabled) {
    f.BidSendClick();  // a pass
    return true;
  }
  if (!f.MyTurn || f.TrickPause || f.DealOver || f.Page != TBidForm::tabPlay) return false;
  const auto& images = f.Panels[1].Images;
  for (std::size_t i = 0; i < images.size(); ++i)
    if (!images[i].Framed && f.CanPlay(images[i].Code)) {
      f.CardSend(static_cast<int>(i));
      return true;
    }
  return false;
}

std::vector<TCard> Hand(const TBidForm& f) {
  std::vector<TCard> cards;
  for (const TCardImage& image : f.Panels[1].Images) cards.push_back(image.Code);
  std::sort(cards.begin(), cards.end());
  return cards;
}

class ReconnectTest : public ::testing::Test {
 protected:
  ReconnectTest() {
    // The scripted desktop's clock is the test's: here it follows the real one.
    clock_.setInterval(10);
    QObject::connect(&clock_, &QTimer::timeout,
                     [this] { desk->Clock = QDateTime::currentMSecsSinceEpoch(); });
    clock_.start();
  }
  static void Connect(TWindowFixture& client, std::uint16_t port) {
    client.window->show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return client.form->Dispatching; }));
    client.form->State.Connect.Address = "127.0.0.1";
    client.form->State.Connect.PortText = std::to_string(port);
    client.form->cmConnectExecute();
    ASSERT_TRUE(QTest::qWaitFor([&] { return client.form->State.Page == TClubState::tabLobby; }));
  }

  TempDir temp;
  server::test::RunningServer running{temp.Path() + "/zn.db", SimpleRobots()};
  Relay relay{running.Port()};
  TWindowFixture host{std::string("[Program]\r\nUser=Házigazda\r\n"_cp)};
  TWindowFixture guest{std::string("[Program]\r\nUser=Vendég\r\n"_cp)};
  FakeDesktop* desk = &guest.fake.desk;  // the one installed last
  TZnForm& first = *host.form;
  TZnForm& second = *guest.form;
  TBidForm& firstTable = *first.BidForm;
  TBidForm& secondTable = *second.BidForm;
  QTimer clock_;
};

TEST_F(ReconnectTest, BackOnTheSeatWithItsCardsAfterTheRelayIsCut) {
  Connect(host, running.Port());
  desk->InputAnswers.push_back(std::string("Asztal"));
  first.cmNewRoomExecute();
  ASSERT_TRUE(QTest::qWaitFor([&] { return first.State.Lobby.Rooms.size() == 2; }));
  first.fdRoomsDblClick(1);
  ASSERT_TRUE(QTest::qWaitFor([&] { return first.State.Page == TClubState::tabRoom; }));
  first.fdSeatClick(1);
  ASSERT_TRUE(QTest::qWaitFor([&] { return first.State.Room.MySeat == 1; }));
  for (int seat = 2; seat <= 4; ++seat) {
    first.cmRobotExecute();
    ASSERT_TRUE(QTest::qWaitFor([&] {
      return first.State.Room.SeatLabels[static_cast<std::size_t>(seat)][0] == '-' &&
             first.State.Room.SeatLabels[static_cast<std::size_t>(seat)] != "- - -";
    }));
  }
  Connect(guest, relay.Port());
  ASSERT_TRUE(QTest::qWaitFor([&] { return second.State.Lobby.Rooms.size() == 2; }));

  desk->InputAnswers.push_back(std::string("5"));
  first.cmNumDealExecute();
  ASSERT_TRUE(QTest::qWaitFor([&] { return firstTable.Panels[1].Images.size() == 10; }));
  for (int i = 0; i < 2000 && firstTable.Page != TBidForm::tabPlay; ++i)
    if (!Act(firstTable)) QTest::qWait(5);
  ASSERT_EQ(firstTable.Page, TBidForm::tabPlay);

  // The guest takes the robot's seat 2 during the play, and one trick goes by.
  second.fdRoomsDblClick(1);
  ASSERT_TRUE(QTest::qWaitFor([&] { return second.State.Page == TClubState::tabRoom; }));
  second.fdSeatClick(2);
  ASSERT_TRUE(QTest::qWaitFor(
      [&] { return second.State.Room.MySeat == 2 && secondTable.Page == TBidForm::tabPlay; }));
  for (int i = 0; i < 2000 && firstTable.TrickText.rfind("2/", 0) != 0; ++i) {
    const bool acted = Act(firstTable);  // both tables act each round: no short circuit
    if (!(Act(secondTable) || acted)) QTest::qWait(5);
  }
  ASSERT_EQ(firstTable.TrickText.substr(0, 2), "2/");
  const std::vector<TCard> before = Hand(secondTable);
  ASSERT_FALSE(before.empty());

  // The connection breaks: nobody clicks anything until the guest is back on seat 2.
  QElapsedTimer since;
  since.start();
  relay.Cut();
  ASSERT_TRUE(QTest::qWaitFor([&] { return second.Keeper.Returning(); }, 2000));
  EXPECT_FALSE(second.State.StatusReturn.empty());
  ASSERT_TRUE(QTest::qWaitFor(
      [&] {
        return relay.Connections() == 2 && !second.Keeper.Returning() && second.State.Room.MySeat == 2 &&
               second.Link->Connected && secondTable.Visible && !Hand(secondTable).empty() &&
               secondTable.TrickText == firstTable.TrickText;
      },
      10000));
  const qint64 backMs = since.elapsed();
  std::cout << "[ reconnect ] back on the seat " << backMs << " ms after the cut\n";
  EXPECT_LT(backMs, 5000);
  EXPECT_EQ(second.State.Room.DealNumber, 5);
  EXPECT_EQ(second.ResForm->GameCount(), 1) << "the deal goes on in its own row";
  // Its own cards: those it held, less the one a robot may have played for it meanwhile.
  const std::vector<TCard> after = Hand(secondTable);
  EXPECT_TRUE(std::includes(before.begin(), before.end(), after.begin(), after.end()));
  EXPECT_GE(after.size() + 1, before.size());

  // Both play the deal to its end.
  for (int idle = 0; idle < 2000 && !(firstTable.DealOver && secondTable.DealOver);) {
    const bool acted = Act(firstTable);
    if (Act(secondTable) || acted) {
      idle = 0;
    } else {
      ++idle;
      QTest::qWait(5);
    }
  }
  EXPECT_TRUE(firstTable.DealOver && secondTable.DealOver);
  EXPECT_TRUE(second.State.StatusReturn.empty()) << second.State.StatusReturn;
  EXPECT_TRUE(desk->Messages.empty()) << desk->Messages.front();
  EXPECT_TRUE(desk->Errors.empty()) << desk->Errors.front();
}

}  // namespace
}  // namespace zn::test
