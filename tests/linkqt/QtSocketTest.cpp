#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "game/Cp1250.h"
#include "link/ZnLink.h"
#include "link/qt/QtSocket.h"
#include "tests/support/FakeDesktop.h"
#include "tests/support/qt/TestApp.h"

namespace zn {
namespace {

using namespace zn::literals;
using namespace std::chrono_literals;

// Every address used here is on the loopback network: no test sends anything elsewhere.
constexpr const char* kLoopback = "127.0.0.1";

// A loopback port on which nothing listens.
quint16 ClosedPort() {
  QTcpServer probe;
  EXPECT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
  const quint16 port = probe.serverPort();
  probe.close();
  return port;
}

class QtLinkTest : public ::testing::Test {
 protected:
  QtLinkTest() : previous_(SetDesktop(&desk)) {
    test::EnsureQtApp();
    NewLink();
  }
  ~QtLinkTest() override {
    link.reset();
    QCoreApplication::processEvents();
    SetDesktop(previous_);
  }

  void NewLink(std::chrono::milliseconds timeout = kConnectTimeout) {
    link.reset();
    auto socket = std::make_unique<TQtSocket>(timeout);
    adapter = socket.get();
    link = std::make_unique<TZnLink>(queue, std::move(socket));
  }

  // Connects the link to a loopback server; returns the server's end.
  QTcpSocket* ConnectToServer() {
    if (!server.isListening()) {
      EXPECT_TRUE(server.listen(QHostAddress::LocalHost, 0));
    }
    link->Host = kLoopback;
    link->Port = server.serverPort();
    link->Open();
    EXPECT_TRUE(QTest::qWaitFor([&] { return link->Connected && server.hasPendingConnections(); }));
    return server.nextPendingConnection();
  }

  test::FakeDesktop desk;
  TReceiveQueue queue;
  QTcpServer server;
  TQtSocket* adapter = nullptr;
  std::unique_ptr<TZnLink> link;

 private:
  TDesktop* previous_;
};

// The lines taken off the queue so far are appended to lines.
bool TakeLines(TReceiveQueue& queue, std::vector<std::string>& lines, std::size_t want) {
  return QTest::qWaitFor([&] {
    std::string line;
    while (NextLine(queue, false, line)) lines.push_back(line);
    return lines.size() >= want;
  });
}

TEST_F(QtLinkTest, ConnectsWithNoDelayAndReceivesLinesInOrder) {
  QTcpSocket* peer = ConnectToServer();
  ASSERT_NE(peer, nullptr);
  EXPECT_TRUE(link->Connected);
  EXPECT_TRUE(adapter->LowDelay());

  std::vector<std::string> lines;
  peer->write("#L 1.0#M a");
  ASSERT_TRUE(TakeLines(queue, lines, 2));  // the last after the quiet time
  peer->write(QByteArray::fromStdString(std::string("#M Kőr#G"_cp)));
  ASSERT_TRUE(TakeLines(queue, lines, 4));
  EXPECT_EQ(lines, (std::vector<std::string>{"L 1.0", "M a", std::string("M Kőr"_cp), "G"}));
  EXPECT_TRUE(desk.Messages.empty());
}

// The one test on real time: a long lobby line written in three pieces over loopback.
TEST_F(QtLinkTest, ALongLineInPiecesArrivesAsOneLine) {
  QTcpSocket* peer = ConnectToServer();
  ASSERT_NE(peer, nullptr);
  std::string lobby = "I2 Lobby Kek 25000";
  for (int i = 0; lobby.size() < 200'008; ++i)
    lobby += " " + std::to_string(i % 2) + " t" + std::to_string(i % 10);
  lobby.resize(200'008);
  const std::string stream = "#G#" + lobby;
  const std::size_t cuts[] = {0, 1'400, 150'000, stream.size()};
  for (int i = 0; i < 3; ++i) {
    peer->write(stream.data() + cuts[i], static_cast<qint64>(cuts[i + 1] - cuts[i]));
    peer->flush();
    QTest::qWait(5);  // a separate read each, well within the quiet time
  }
  std::vector<std::string> lines;
  ASSERT_TRUE(TakeLines(queue, lines, 2));
  QTest::qWait(100);
  TakeLines(queue, lines, 2);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0], "G");
  EXPECT_EQ(lines[1].size(), 200'008u);
  EXPECT_TRUE(lines[1] == lobby);
}

TEST_F(QtLinkTest, SendWritesTheBytesExactly) {
  QTcpSocket* peer = ConnectToServer();
  ASSERT_NE(peer, nullptr);
  link->Send("P12");
  link->Send(std::string("M Béla#"_cp));
  EXPECT_EQ(desk.CurrentCursor, TCursor::Hourglass);
  EXPECT_EQ(desk.PendingEventRuns, 2);
  const std::string want = "P12" + std::string("M Béla#"_cp);
  QByteArray got;
  ASSERT_TRUE(QTest::qWaitFor([&] {
    got += peer->readAll();
    return got.size() >= static_cast<qsizetype>(want.size());
  }));
  EXPECT_EQ(got.toStdString(), want);
}

TEST_F(QtLinkTest, SendWhileNotConnectedShowsTheTextItself) {
  link->Send("E0");
  EXPECT_EQ(desk.Messages, std::vector<std::string>{"E0"});
  EXPECT_EQ(desk.PendingEventRuns, 0);
}

TEST_F(QtLinkTest, RefusedConnectShowsTheRefusedTextOnce) {
  for (const char* host : {kLoopback, "localhost"}) {
    desk.Messages.clear();
    link->Host = host;
    link->Port = ClosedPort();
    link->Open();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !desk.Messages.empty(); })) << host;
    QTest::qWait(50);
    EXPECT_EQ(
        desk.Messages,
        std::vector<std::string>{
            std::string("Kapcsolatfelvétel (visszautasítva, szerver nem üzemel) hibakód:10061 cím:"_cp) +
            host});
    EXPECT_FALSE(link->Connected);
  }
}

TEST_F(QtLinkTest, PortOutsideTheSixteenBitRangeIsRefusedNotWrapped) {
  for (int port : {0, 65536 + 22, -1}) {
    desk.Messages.clear();
    link->Host = kLoopback;
    link->Port = port;
    link->Open();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !desk.Messages.empty(); }));
    EXPECT_EQ(desk.Messages[0],
              std::string("Kapcsolatfelvétel (a cím nem elérhető) hibakód:10049 cím:"_cp) + kLoopback);
  }
}

TEST_F(QtLinkTest, OpenWithEmptyHostOnlyCloses) {
  QTcpSocket* peer = ConnectToServer();
  ASSERT_NE(peer, nullptr);
  link->Host = "";
  link->Open();
  EXPECT_FALSE(link->Connected);
  EXPECT_FALSE(link->Socket().Active());
  EXPECT_TRUE(QTest::qWaitFor([&] { return peer->state() == QAbstractSocket::UnconnectedState; }));
  QTest::qWait(50);
  EXPECT_FALSE(link->Connected);
  EXPECT_TRUE(desk.Messages.empty());
  EXPECT_FALSE(server.hasPendingConnections());
}

TEST_F(QtLinkTest, ServerClosingIsADisconnectNotAnError) {
  QTcpSocket* peer = ConnectToServer();
  ASSERT_NE(peer, nullptr);
  peer->write("M bye");
  peer->disconnectFromHost();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !link->Connected; }));
  std::string line;
  ASSERT_TRUE(NextLine(queue, false, line)) << "the held line is complete once the server is gone";
  EXPECT_EQ(line, "M bye");
  EXPECT_TRUE(desk.Messages.empty());
}

// A listening socket that never accepts and has its queue full: the kernel drops further SYNs,
// so a connect to it gets no answer at all.
class SilentListener {
 public:
  SilentListener() {
    fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    if (::bind(fd_, reinterpret_cast<sockaddr*>(&addr), len) != 0 || ::listen(fd_, 0) != 0 ||
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&addr), &len) != 0)
      return;
    port_ = ntohs(addr.sin_port);
    for (int i = 0; i < 3; ++i) {
      const int filler = ::socket(AF_INET, SOCK_STREAM, 0);
      ::fcntl(filler, F_SETFL, O_NONBLOCK);
      ::connect(filler, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
      fillers_.push_back(filler);
    }
    ::usleep(50'000);
  }
  ~SilentListener() {
    for (int f : fillers_) ::close(f);
    ::close(fd_);
  }
  quint16 Port() const { return port_; }

 private:
  int fd_ = -1;
  quint16 port_ = 0;
  std::vector<int> fillers_;
};

TEST_F(QtLinkTest, ConnectWithoutAnswerEndsAsATimeout) {
  SilentListener silent;
  ASSERT_NE(silent.Port(), 0);
  NewLink(200ms);
  link->Host = kLoopback;
  link->Port = silent.Port();
  link->Open();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !desk.Messages.empty(); }, 3000));
  EXPECT_EQ(desk.Messages,
            std::vector<std::string>{std::string("Kapcsolatfelvétel hibakód:10060 cím:"_cp) + kLoopback});
  EXPECT_FALSE(link->Connected);
  EXPECT_FALSE(link->Socket().Active());
}

TEST_F(QtLinkTest, TimeoutDoesNotEndAnEstablishedConnection) {
  NewLink(100ms);
  QTcpSocket* peer = ConnectToServer();
  ASSERT_NE(peer, nullptr);
  QTest::qWait(300);
  EXPECT_TRUE(link->Connected);
  EXPECT_TRUE(desk.Messages.empty());
}

TEST_F(QtLinkTest, LinkDestroyedWithNotificationsPendingHearsNothing) {
  link->Host = kLoopback;
  link->Port = ClosedPort();
  link->Open();  // a refused connect may already be waiting in the event queue
  link.reset();
  QTest::qWait(100);
  EXPECT_TRUE(desk.Messages.empty());
}

TEST_F(QtLinkTest, LinkReplacedInsideTheErrorBox) {
  desk.InsideBox = [this] { NewLink(); };
  link->Host = kLoopback;
  link->Port = ClosedPort();
  link->Open();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !desk.Messages.empty(); }));
  QTest::qWait(50);
  EXPECT_EQ(desk.Messages.size(), 1u);
  EXPECT_EQ(link->Host, "");
  // The new link works as the old one did.
  QTcpSocket* peer = ConnectToServer();
  EXPECT_NE(peer, nullptr);
}

TEST_F(QtLinkTest, LinkReplacedInsideSendWhileDataArrives) {
  QTcpSocket* peer = ConnectToServer();
  ASSERT_NE(peer, nullptr);
  peer->write("M a#M b");
  peer->flush();
  QTest::qWait(20);
  std::vector<std::function<void()>> hooks{[this] { NewLink(); }};
  desk.PendingHooks = &hooks;
  link->Send("G");
  QTest::qWait(50);
  EXPECT_FALSE(link->Connected);
}

// The port's own contract: a notification never arrives inside Connect or Close, and Close is
// followed by none at all.
TEST(QtSocket, NotificationsNeverArriveInsideACallAndNoneAfterClose) {
  test::EnsureQtApp();
  QTcpServer server;
  ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
  TQtSocket socket;
  bool inside = false;
  std::vector<std::string> heard;
  auto note = [&](const std::string& what) { heard.push_back((inside ? "inside " : "") + what); };
  socket.OnConnected = [&] { note("connected"); };
  socket.OnDisconnected = [&] { note("disconnected"); };
  socket.OnData = [&](std::string chunk) { note("data " + chunk); };
  socket.OnError = [&](TSocketErrorKind kind, int code) {
    note("error " + std::to_string(static_cast<int>(kind)) + " " + std::to_string(code));
  };

  inside = true;
  socket.Connect(kLoopback, ClosedPort());
  inside = false;
  ASSERT_TRUE(QTest::qWaitFor([&] { return !heard.empty(); }));
  EXPECT_EQ(heard, std::vector<std::string>{"error 2 10061"});

  heard.clear();
  socket.Connect(kLoopback, server.serverPort());
  ASSERT_TRUE(QTest::qWaitFor([&] { return !heard.empty() && server.hasPendingConnections(); }));
  QTcpSocket* peer = server.nextPendingConnection();
  peer->write("M x");
  ASSERT_TRUE(QTest::qWaitFor([&] { return heard.size() == 2; }));
  inside = true;
  socket.Close();
  inside = false;
  peer->write("M y");
  QTest::qWait(100);
  EXPECT_EQ(heard, (std::vector<std::string>{"connected", "data M x"}));
  EXPECT_FALSE(socket.Active());
}

TEST(QtSocket, HostNameDecodesTheTypedCp1250Bytes) {
  EXPECT_EQ(HostName(std::string("kőr-ász.example"_cp)), QString::fromUtf8("kőr-ász.example"));
  EXPECT_EQ(HostName("127.0.0.1"), QStringLiteral("127.0.0.1"));
}

struct CodeCase {
  QAbstractSocket::SocketError error;
  int code;
};

class WinSockCodeTest : public ::testing::TestWithParam<CodeCase> {};

TEST_P(WinSockCodeTest, MapsTheQtError) { EXPECT_EQ(WinSockCode(GetParam().error), GetParam().code); }

INSTANTIATE_TEST_SUITE_P(Errors, WinSockCodeTest,
                         ::testing::Values(CodeCase{QAbstractSocket::ConnectionRefusedError, 10061},
                                           CodeCase{QAbstractSocket::AddressInUseError, 10048},
                                           CodeCase{QAbstractSocket::SocketAddressNotAvailableError, 10049},
                                           CodeCase{QAbstractSocket::NetworkError, 10051},
                                           CodeCase{QAbstractSocket::SocketTimeoutError, 10060},
                                           CodeCase{QAbstractSocket::RemoteHostClosedError, 10054},
                                           CodeCase{QAbstractSocket::HostNotFoundError, 11001},
                                           CodeCase{QAbstractSocket::ProxyNotFoundError, 10000},
                                           CodeCase{QAbstractSocket::UnknownSocketError, 10000}));

}  // namespace
}  // namespace zn
