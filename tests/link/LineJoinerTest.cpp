// Whole lines across reads, the quiet time, and the two bounds of what the link holds.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "game/Cp1250.h"
#include "link/LineJoiner.h"
#include "link/NextLine.h"
#include "link/ZnLink.h"
#include "tests/support/FakeDesktop.h"
#include "tests/support/FakeSocket.h"

namespace zn {
namespace {

using namespace zn::literals;
using namespace std::chrono_literals;

static_assert(kQuietTime <= 50ms, "a burst's last line waits at most this long");

std::vector<std::string> Drain(TReceiveQueue& queue) {
  std::vector<std::string> lines;
  std::string line;
  while (NextLine(queue, false, line)) lines.push_back(line);
  return lines;
}

class JoinTest : public ::testing::Test {
 protected:
  // A socket whose quiet timer the test fires by hand, connected again by every connect.
  JoinTest() {
    log.active = true;
    log.hasTimer = true;
    log.duringConnect = [this](TSocketPort&) { log.active = true; };
    NewLink();
  }
  void NewLink() {
    link.reset();
    link = std::make_unique<TZnLink>(queue, std::make_unique<test::FakeSocket>(log));
    link->Host = "h";
    link->Socket().OnConnected();
  }
  void Read(const std::string& chunk) { link->Socket().OnData(chunk); }
  void Quiet() { link->Socket().OnQuiet(); }

  test::ScopedFakeDesktop desk;
  TReceiveQueue queue;
  test::SocketLog log;
  std::unique_ptr<TZnLink> link;
};

// Every cut of "#G#" + a line of n bytes into two and into three reads gives the same two lines,
// the long one only after the quiet time.
class SplitLine : public JoinTest, public ::testing::WithParamInterface<std::size_t> {
 protected:
  void ExpectWhole(const std::string& line, const std::vector<std::size_t>& cuts) {
    const std::string stream = "#G#" + line;
    std::size_t from = 0;
    for (std::size_t cut : cuts) {
      Read(stream.substr(from, cut - from));
      from = cut;
    }
    Read(stream.substr(from));
    std::vector<std::string> early = Drain(queue);
    ASSERT_LE(early.size(), 1u);
    if (!early.empty()) {
      ASSERT_EQ(early[0], "G");
    }
    Quiet();
    std::vector<std::string> lines = Drain(queue);
    if (early.empty()) {
      ASSERT_EQ(lines.size(), 2u);
      EXPECT_EQ(lines[0], "G");
      lines.erase(lines.begin());
    }
    ASSERT_EQ(lines.size(), 1u) << "cuts at " << ::testing::PrintToString(cuts);
    ASSERT_EQ(lines[0].size(), line.size());
    EXPECT_TRUE(lines[0] == line);
  }
};

// Cut positions: all of them for short lines, a dense sample with the edges for long ones.
std::vector<std::size_t> Cuts(std::size_t size) {
  std::vector<std::size_t> cuts;
  const std::size_t step = size <= 600 ? 1 : size / 300 + 1;
  for (std::size_t at = 1; at < size; at += step) cuts.push_back(at);
  for (std::size_t at : {std::size_t{2}, std::size_t{3}, std::size_t{4}, size - 1})
    if (at > 0 && at < size) cuts.push_back(at);
  return cuts;
}

TEST_P(SplitLine, ArrivesAsOneLineInTwoAndThreeReads) {
  const std::size_t n = GetParam();
  std::string line = "I";
  for (std::size_t i = 1; i < n; ++i) line.push_back(static_cast<char>(i % 7 ? 'a' + i % 26 : ' '));
  const std::size_t size = line.size() + 3;
  const std::vector<std::size_t> cuts = Cuts(size);
  for (std::size_t a : cuts) {
    ExpectWhole(line, {a});
    if (HasFatalFailure()) return;
  }
  // Three reads: every pair for short lines, pairs around a sample for long ones.
  for (std::size_t i = 0; i < cuts.size(); i += n <= 40 ? 1 : 17)
    for (std::size_t j = i + 1; j < cuts.size(); j += n <= 40 ? 1 : 13) {
      if (cuts[j] <= cuts[i]) continue;
      ExpectWhole(line, {cuts[i], cuts[j]});
      if (HasFatalFailure()) return;
    }
}

INSTANTIATE_TEST_SUITE_P(Lengths, SplitLine,
                         ::testing::Values(1, 2, 3, 5, 17, 40, 1400, 1401, 65536, 200008, 300000));

TEST_F(JoinTest, LinesFollowedByAHashNeverWaitAndTheLastWaitsForTheQuietTime) {
  Read("#M a#M b#M c");
  EXPECT_EQ(Drain(queue), (std::vector<std::string>{"M a", "M b"}));
  EXPECT_EQ(log.last, kQuietTime);
  Quiet();
  EXPECT_EQ(Drain(queue), std::vector<std::string>{"M c"});
}

TEST_F(JoinTest, AReadStartingWithAHashEndsTheHeldLine) {
  Read(std::string("#QBé"_cp));
  Read("la Anna");  // the measured case: one inquiry, not a request from "Bé"
  Read("#G");
  EXPECT_EQ(Drain(queue), std::vector<std::string>{std::string("QBéla Anna"_cp)});
  Quiet();
  EXPECT_EQ(Drain(queue), std::vector<std::string>{"G"});
}

TEST_F(JoinTest, ADisconnectOrAReplacedLinkHandsOverTheHeldLine) {
  Read("#M x#M y");
  link->Socket().OnDisconnected();
  EXPECT_EQ(Drain(queue), (std::vector<std::string>{"M x", "M y"}));
  NewLink();
  Read("#M z");
  NewLink();
  EXPECT_EQ(Drain(queue), std::vector<std::string>{"M z"});
  Read("#M w");
  link->Open();  // a new connection: the old stream's line is complete
  Read("M v");
  Quiet();
  EXPECT_EQ(Drain(queue), (std::vector<std::string>{"M w", "M v"}));
}

TEST_F(JoinTest, WithoutATimerEveryReadIsWholeAsBefore) {
  log.hasTimer = false;
  Read("#L 1.0#M a");
  Read("M b");
  Read("#");  // a read that ends in "#" still reads as a transmission error
  EXPECT_EQ(Drain(queue), (std::vector<std::string>{"L 1.0", "M a", "M b", TransmissionErrorLine()}));
}

TEST_F(JoinTest, AQuietTimeWithNothingHeldAddsNothing) {
  Quiet();
  Read("#G");
  Quiet();
  Quiet();
  EXPECT_EQ(Drain(queue), std::vector<std::string>{"G"});
  EXPECT_EQ(queue.Bytes(), 0u);
}

struct LongCase {
  const char* name;
  std::size_t size;  // of the long line
  std::size_t read;  // bytes per read
  bool dropped;
};
void PrintTo(const LongCase& c, std::ostream* os) { *os << c.name; }

class LongLine : public JoinTest, public ::testing::WithParamInterface<LongCase> {};

TEST_P(LongLine, IsDroppedWithOneNoticeAndTheNextLinesStillCome) {
  const LongCase& c = GetParam();
  const std::string stream = "#M before#W" + std::string(c.size - 1, 'x') + "#M after";
  for (std::size_t at = 0; at < stream.size(); at += c.read) Read(stream.substr(at, c.read));
  Read("#G");
  Quiet();
  const std::vector<std::string> lines = Drain(queue);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0], "M before");
  if (c.dropped) {
    EXPECT_EQ(lines[1], std::string(kLineTooLongText));
  } else {
    EXPECT_EQ(lines[1].size(), c.size);
  }
  EXPECT_EQ(lines[2], "M after");
  EXPECT_EQ(lines[3], "G");
  EXPECT_TRUE(desk.desk.Messages.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, LongLine,
    ::testing::Values(LongCase{"AtTheLimitInOneRead", kMaxLineBytes, 1 << 24, false},
                      LongCase{"AtTheLimitInSmallReads", kMaxLineBytes, 14000, false},
                      LongCase{"OverTheLimitInOneRead", kMaxLineBytes + 1, 1 << 24, true},
                      LongCase{"OverTheLimitInSmallReads", kMaxLineBytes + 1, 14000, true},
                      LongCase{"FiftyMegabytes", 50 << 20, 1 << 20, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(JoinTest, AnOverlongLineCutByTheQuietTimeGivesOneNotice) {
  Read("#W" + std::string(kMaxLineBytes + 10, 'x'));
  Read(std::string(1000, 'y'));
  Quiet();
  Read("#G");
  Quiet();
  EXPECT_EQ(Drain(queue), (std::vector<std::string>{std::string(kLineTooLongText), "G"}));
}

TEST_F(JoinTest, UnreadDataOverTheBoundClosesTheLinkAsBrokenAndKeepsWhatCame) {
  const std::string line = "#M " + std::string(1021, 'm');
  std::string block;
  while (block.size() < (8 << 20)) block += line;
  for (std::size_t sent = 0; sent + block.size() <= kMaxQueueBytes; sent += block.size()) Read(block);
  EXPECT_TRUE(desk.desk.Messages.empty());
  Read("#M over");
  EXPECT_EQ(desk.desk.Messages, std::vector<std::string>{TransmissionErrorLine()});
  EXPECT_FALSE(link->Connected);
  EXPECT_FALSE(log.active);
  EXPECT_LE(queue.Bytes(), kMaxQueueBytes);
  EXPECT_EQ(Drain(queue).size(), kMaxQueueBytes / line.size()) << "every line that came is kept";
  // The member connects again and the club answers as ever.
  link->Host = "h";
  link->Open();
  link->Socket().OnConnected();
  Read("#G");
  Quiet();
  EXPECT_EQ(Drain(queue), std::vector<std::string>{"G"});
}

TEST_F(JoinTest, OneHugeReadOverTheBoundIsRefusedWhole) {
  Read(std::string(kMaxQueueBytes + 1, 'x'));
  EXPECT_EQ(desk.desk.Messages.size(), 1u);
  EXPECT_TRUE(queue.Empty());
}

TEST(ReceiveQueue, BytesCountWhatIsUnread) {
  TReceiveQueue queue;
  queue.Append("#A1#B22");
  queue.Append("#");
  queue.Append("");
  EXPECT_EQ(queue.Bytes(), 8u);
  std::string line;
  std::size_t lines = 0;
  while (NextLine(queue, false, line)) {
    ++lines;
    std::size_t unread = 0;
    for (std::size_t i = 0; i < queue.Entries(); ++i) unread += queue.Entry(i).size();
    EXPECT_EQ(queue.Bytes(), unread) << "after line " << lines;
  }
  EXPECT_EQ(lines, 4u);
  EXPECT_EQ(queue.Bytes(), 0u);
}

}  // namespace
}  // namespace zn
