#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "game/Cp1250.h"
#include "link/ZnLink.h"
#include "tests/support/FakeDesktop.h"
#include "tests/support/FakeSocket.h"

namespace zn {
namespace {

using namespace zn::literals;

using test::FakeSocket;
using test::SocketLog;

class ZnLinkTest : public ::testing::Test {
 protected:
  ZnLinkTest() : previous_(SetDesktop(&desk)) {
    link = std::make_unique<TZnLink>(queue, std::make_unique<FakeSocket>(log));
  }
  ~ZnLinkTest() override {
    link.reset();
    SetDesktop(previous_);
  }

  void Connect(const std::string& host = "localhost", int port = 22) {
    link->Host = host;
    link->Port = port;
    link->Open();
    log.active = true;
    link->Socket().OnConnected();
  }

  test::FakeDesktop desk;
  TReceiveQueue queue;
  SocketLog log;
  std::unique_ptr<TZnLink> link;

 private:
  TDesktop* previous_;
};

struct ClosedState {
  const char* name;
  std::function<void(ZnLinkTest&)> reach;
};

TEST_F(ZnLinkTest, CreatingAttemptsNoConnection) {
  EXPECT_TRUE(log.connects.empty());
  EXPECT_FALSE(link->Connected);
}

TEST_F(ZnLinkTest, SendWhileNeverConnectedShowsTheTextAndSendsNothing) {
  link->Send("E0");
  EXPECT_EQ(desk.Messages, std::vector<std::string>{"E0"});
  EXPECT_EQ(log.written, "");
  EXPECT_EQ(desk.CurrentCursor, TCursor::Normal);
  EXPECT_EQ(desk.PendingEventRuns, 0);
}

TEST_F(ZnLinkTest, SendWhileConnectingShowsTheText) {
  link->Host = "localhost";
  link->Open();
  link->Send("N Béla"_cp);
  EXPECT_EQ(desk.Messages, std::vector<std::string>{std::string("N Béla"_cp)});
  EXPECT_EQ(log.written, "");
}

TEST_F(ZnLinkTest, SendAfterTheConnectionWasLostShowsTheText) {
  Connect();
  log.active = false;
  link->Socket().OnDisconnected();
  EXPECT_FALSE(link->Connected);
  link->Send("G");
  EXPECT_EQ(desk.Messages, std::vector<std::string>{"G"});
  EXPECT_EQ(log.written, "");
}

TEST_F(ZnLinkTest, SendWritesTheBytesExactlyWithHourglassAndOnePassOfEvents) {
  Connect();
  const std::string bid = std::string("B Béla 2 Négy\u00A0tarokk Pagát#x"_cp);
  link->Send(bid);
  EXPECT_EQ(log.written, bid);
  EXPECT_EQ(desk.CurrentCursor, TCursor::Hourglass);
  EXPECT_EQ(desk.PendingEventRuns, 1);
  link->Send("T");
  EXPECT_EQ(log.written, bid + "T");  // no terminator, no separator
  EXPECT_EQ(desk.PendingEventRuns, 2);
  EXPECT_TRUE(desk.Messages.empty());
}

TEST_F(ZnLinkTest, DataArrivingInsideSendGoesToTheQueue) {
  Connect();
  std::vector<std::function<void()>> hooks{[this] { link->Socket().OnData("P1 2#G"); }};
  desk.PendingHooks = &hooks;
  link->Send("P12");
  ASSERT_EQ(queue.Entries(), 2u);
  EXPECT_EQ(queue.Entry(0), "#P1 2");
  EXPECT_EQ(queue.Entry(1), "#G");
}

TEST_F(ZnLinkTest, LinkReplacedInsideSendIsNotTouchedAgain) {
  Connect();
  std::vector<std::function<void()>> hooks{[this] {
    link.reset();
    link = std::make_unique<TZnLink>(queue, std::make_unique<FakeSocket>(log));
  }};
  desk.PendingHooks = &hooks;
  link->Send("E0");
  EXPECT_EQ(log.written, "E0");
  EXPECT_FALSE(link->Connected);
}

TEST_F(ZnLinkTest, NotificationsSetConnectedAndQueueTheLinesOfEveryRead) {
  link->Host = "10.1.2.3";
  link->Port = 2222;
  link->Open();
  EXPECT_EQ(log.connects, std::vector<std::string>{"10.1.2.3:2222"});
  EXPECT_FALSE(link->Connected);
  link->Socket().OnConnected();
  EXPECT_TRUE(link->Connected);
  // This socket has no quiet timer: every read is taken as whole lines at once.
  link->Socket().OnData("#L 1.0#M a");
  link->Socket().OnData(std::string("b\0#M c", 6));
  std::vector<std::string> lines;
  std::string line;
  while (NextLine(queue, false, line)) lines.push_back(line);
  EXPECT_EQ(lines, (std::vector<std::string>{"L 1.0", "M a", std::string("b\0", 2), "M c"}));
  link->Socket().OnDisconnected();
  EXPECT_FALSE(link->Connected);
  EXPECT_TRUE(desk.Messages.empty());
}

TEST_F(ZnLinkTest, OpenClosesFirstAndEmptyHostOnlyCloses) {
  Connect("a.example", 22);
  const int closesBefore = log.closes;
  link->Host = "";
  link->Open();
  EXPECT_EQ(log.closes, closesBefore + 1);
  EXPECT_FALSE(link->Connected);
  EXPECT_EQ(log.connects, std::vector<std::string>{"a.example:22"});
}

TEST_F(ZnLinkTest, ErrorIsShownWithTheHostAndNotRaised) {
  link->Host = "localhost";
  link->Open();
  EXPECT_NO_THROW(link->Socket().OnError(TSocketErrorKind::Connect, kErrConnectionRefused));
  EXPECT_EQ(desk.Messages,
            std::vector<std::string>{std::string(
                "Kapcsolatfelvétel (visszautasítva, szerver nem üzemel) hibakód:10061 cím:localhost"_cp)});
  EXPECT_FALSE(link->Connected);
  EXPECT_TRUE(desk.Errors.empty());
}

TEST_F(ZnLinkTest, ErrorReportedInsideConnectIsShownOnceAndTheLinkCanRetry) {
  log.duringConnect = [](TSocketPort& s) {
    auto cb = s.OnError;
    cb(TSocketErrorKind::Connect, kErrConnectionRefused);
  };
  link->Host = "127.0.0.1";
  link->Port = 1;
  EXPECT_NO_THROW(link->Open());
  EXPECT_EQ(desk.Messages.size(), 1u);
  EXPECT_FALSE(link->Connected);

  log.duringConnect = nullptr;
  link->Open();
  log.active = true;
  link->Socket().OnConnected();
  EXPECT_TRUE(link->Connected);
  EXPECT_EQ(log.connects.size(), 2u);
}

TEST_F(ZnLinkTest, LinkReplacedInsideTheErrorBoxOfASynchronousConnectError) {
  log.duringConnect = [](TSocketPort& s) {
    auto cb = s.OnError;
    cb(TSocketErrorKind::Connect, kErrConnectionRefused);
  };
  desk.InsideBox = [this] {
    link.reset();
    link = std::make_unique<TZnLink>(queue, std::make_unique<FakeSocket>(log));
  };
  link->Host = "127.0.0.1";
  link->Open();
  ASSERT_EQ(desk.Messages.size(), 1u);
  EXPECT_EQ(link->Host, "");
}

TEST_F(ZnLinkTest, DestroyClosesTheSocketKeepsTheQueueAndIsNotReachedByTheClose) {
  Connect();
  link->Socket().OnData("M x#M y");
  const int closesBefore = log.closes;
  const int reportsBefore = log.notificationsDuringClose;
  link.reset();
  EXPECT_EQ(log.closes, closesBefore + 1);
  EXPECT_EQ(log.notificationsDuringClose, reportsBefore);
  EXPECT_EQ(queue.Entry(0), "#M x");
  EXPECT_EQ(queue.Entry(1), "#M y");
}

struct ErrorCase {
  TSocketErrorKind kind;
  int code;
  const char* host;
  std::string_view text;
};

void PrintTo(const ErrorCase& c, std::ostream* os) { *os << static_cast<int>(c.kind) << "/" << c.code; }

class ErrorTextTest : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(ErrorTextTest, JoinsKindDetailCodeAndHost) {
  const ErrorCase& c = GetParam();
  EXPECT_EQ(TZnLink::ErrorText(c.kind, c.code, c.host), std::string(c.text));
}

using K = TSocketErrorKind;
INSTANTIATE_TEST_SUITE_P(
    KindsAndCodes, ErrorTextTest,
    ::testing::Values(
        ErrorCase{K::Connect, 10061, "localhost",
                  "Kapcsolatfelvétel (visszautasítva, szerver nem üzemel) hibakód:10061 cím:localhost"_cp},
        ErrorCase{K::Connect, 10048, "h", "Kapcsolatfelvétel (a cím foglalt) hibakód:10048 cím:h"_cp},
        ErrorCase{K::Connect, 10049, "h", "Kapcsolatfelvétel (a cím nem elérhető) hibakód:10049 cím:h"_cp},
        ErrorCase{K::Connect, 10051, "h",
                  "Kapcsolatfelvétel (a hálózat nem elérhető) hibakód:10051 cím:h"_cp},
        ErrorCase{K::Connect, 10060, "1.2.3.4", "Kapcsolatfelvétel hibakód:10060 cím:1.2.3.4"_cp},
        ErrorCase{K::Connect, 11001, "", "Kapcsolatfelvétel hibakód:11001 cím:"_cp},
        ErrorCase{K::Send, 10061, "h", "Üzenetküldés hibakód:10061 cím:h"_cp},
        ErrorCase{K::Receive, 10054, "h", "Üzenetfogadás hibakód:10054 cím:h"_cp},
        ErrorCase{K::Disconnect, 10048, "h", "Kapcsolatlebontás hibakód:10048 cím:h"_cp},
        ErrorCase{K::Accept, 10049, "h", "Accept hibakód:10049 cím:h"_cp},
        ErrorCase{K::General, 10051, "h", "Általános hibakód:10051 cím:h"_cp},
        ErrorCase{K::General, -1, "h", "Általános hibakód:-1 cím:h"_cp},
        ErrorCase{static_cast<K>(99), 7, "h", "Általános hibakód:7 cím:h"_cp}));

}  // namespace
}  // namespace zn
