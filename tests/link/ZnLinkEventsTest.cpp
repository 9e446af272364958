// The link's events: how its owner hears of the connection and the stream it alone reads.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "link/ZnLink.h"
#include "tests/support/FakeDesktop.h"
#include "tests/support/FakeSocket.h"

namespace zn {
namespace {

using test::FakeSocket;
using test::SocketLog;

class ZnLinkEventsTest : public ::testing::Test {
 protected:
  ZnLinkEventsTest() : previous_(SetDesktop(&desk)) { Make(); }
  ~ZnLinkEventsTest() override {
    link.reset();
    SetDesktop(previous_);
  }

  // A new link whose events are written to heard.
  void Make() {
    link.reset();
    link = std::make_unique<TZnLink>(queue, std::make_unique<FakeSocket>(log));
    link->OnConnected = [this] { heard.push_back("connected"); };
    link->OnClosed = [this](TLinkEnd end) {
      ends.push_back(end);
      heard.push_back("closed");
    };
    link->OnReceived = [this] { heard.push_back("received"); };
    link->OnLines = [this] { heard.push_back("lines"); };
  }
  void Connect() {
    link->Host = "localhost";
    link->Port = 22;
    link->Open();
    heard.clear();  // the fake port reports the close Open makes
    log.active = true;
    link->Socket().OnConnected();
  }

  test::FakeDesktop desk;
  TReceiveQueue queue;
  SocketLog log;
  std::unique_ptr<TZnLink> link;
  std::vector<std::string> heard;
  std::vector<TLinkEnd> ends;

 private:
  TDesktop* previous_;
};

enum class Close { ByPeer, Reopen };

struct EndCase {
  const char* name;
  bool holdsLastLine;  // the socket has a quiet timer: a read's last line waits for more
  std::vector<std::string> chunks;
  Close close;
  TLinkEnd end;
};

class LinkEndTest : public ZnLinkEventsTest, public ::testing::WithParamInterface<EndCase> {};

TEST_P(LinkEndTest, TellsHowTheConnectionEnded) {
  const EndCase& c = GetParam();
  log.hasTimer = c.holdsLastLine;
  Connect();
  for (const std::string& chunk : c.chunks) link->Socket().OnData(chunk);
  if (c.close == Close::ByPeer) {
    log.active = false;
    link->Socket().OnDisconnected();
  } else {
    link->Open();  // the fake socket reports the close Open makes
  }
  EXPECT_EQ(ends, std::vector<TLinkEnd>{c.end});
  EXPECT_FALSE(link->Connected);
}

INSTANTIATE_TEST_SUITE_P(
    Ends, LinkEndTest,
    ::testing::Values(
        EndCase{"RefusedBeforeTheLobby", false, {"#L1.0", "#Mnem"}, Close::ByPeer, TLinkEnd::ByServer},
        EndCase{"LostAfterTheLobby", false, {"#L1.0#I x"}, Close::ByPeer, TLinkEnd::Dropped},
        EndCase{"ClosingLineAfterTheLobby", false, {"#I x", "#C1"}, Close::ByPeer, TLinkEnd::ByServer},
        // The closing line is still held when the close comes: it is seen before the close is told.
        EndCase{"ClosingLineHeldAtTheClose", true, {"#I x#C1"}, Close::ByPeer, TLinkEnd::ByServer},
        EndCase{"LobbyHeldAtTheClose", true, {"#L1.0#I x"}, Close::ByPeer, TLinkEnd::Dropped},
        EndCase{"ChatQuotingAClosingLine", false, {"#I x#MBela: C1"}, Close::ByPeer, TLinkEnd::Dropped},
        EndCase{"OpenedAgainWhileLoggedIn", false, {"#I x"}, Close::Reopen, TLinkEnd::Reopened},
        EndCase{"OpenedAgainBeforeTheLobby", false, {}, Close::Reopen, TLinkEnd::Reopened}),
    [](const ::testing::TestParamInfo<EndCase>& i) { return std::string(i.param.name); });

TEST_F(ZnLinkEventsTest, ACloseWithoutAConnectionTellsNoEnd) {
  link->Host = "localhost";
  link->Open();
  heard.clear();
  link->Socket().OnDisconnected();
  EXPECT_TRUE(ends.empty());
  EXPECT_EQ(heard, std::vector<std::string>{"lines"});
}

TEST_F(ZnLinkEventsTest, TheOwnerHearsEachNotificationAfterTheLinkTookItsPart) {
  log.hasTimer = true;
  std::vector<std::size_t> queued;  // entries in the queue when the owner looked
  link->Host = "localhost";
  link->Open();
  heard.clear();
  link->OnLines = [&] {
    heard.push_back("lines");
    queued.push_back(queue.Entries());
  };
  log.active = true;
  link->Socket().OnConnected();
  link->Socket().OnData("#M a#M b");  // "M b" waits for more
  link->Socket().OnQuiet();
  log.active = false;
  link->Socket().OnDisconnected();
  EXPECT_EQ(heard, (std::vector<std::string>{"connected", "lines", "received", "lines", "lines", "closed",
                                             "lines"}));
  EXPECT_EQ(queued, (std::vector<std::size_t>{0, 1, 2, 2}));
}

TEST_F(ZnLinkEventsTest, AnErrorTheOwnerHandlesShowsNoBox) {
  std::vector<TSocketErrorKind> errors;
  for (const bool handled : {true, false}) {
    link->OnError = [&, handled](TSocketErrorKind kind) {
      errors.push_back(kind);
      return handled;
    };
    link->Socket().OnError(TSocketErrorKind::Connect, kErrConnectionRefused);
  }
  EXPECT_EQ(errors, std::vector<TSocketErrorKind>(2, TSocketErrorKind::Connect));
  EXPECT_EQ(desk.Messages.size(), 1u);
}

// The owner may replace the link from these events: the link touches nothing of itself afterwards
// (the sanitizer sees it), and the wake copied before still reaches the owner.
TEST_F(ZnLinkEventsTest, TheLinkMayBeReplacedFromItsEvents) {
  using Replace = std::function<void()>;
  struct Case {
    std::function<void(TZnLink&, Replace)> arm;
    bool connected;                          // before the notification
    std::function<void(TSocketPort&)> fire;  // as the real port does: a copy is called
  };
  const std::vector<Case> cases = {
      {[](TZnLink& l, Replace r) { l.OnConnected = r; }, false,
       [](TSocketPort& s) {
         auto cb = s.OnConnected;
         cb();
       }},
      {[](TZnLink& l, Replace r) { l.OnClosed = [r](TLinkEnd) { r(); }; }, true,
       [](TSocketPort& s) {
         auto cb = s.OnDisconnected;
         cb();
       }},
      {[](TZnLink& l, Replace r) { l.OnLines = r; }, true,
       [](TSocketPort& s) {
         auto cb = s.OnData;
         cb("#M a");
       }},
  };
  for (std::size_t i = 0; i < cases.size(); ++i) {
    SCOPED_TRACE(i);
    Make();
    if (cases[i].connected) Connect();
    if (!cases[i].connected) link->Open();
    const int sockets = log.sockets;
    heard.clear();
    cases[i].arm(*link, [this] { Make(); });
    cases[i].fire(link->Socket());
    EXPECT_EQ(log.sockets, sockets + 1);
    EXPECT_FALSE(link->Connected);
    if (i < 2) {
      EXPECT_EQ(heard, std::vector<std::string>{"lines"});
    }
  }
}

}  // namespace
}  // namespace zn
