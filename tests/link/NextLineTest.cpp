#include <gtest/gtest.h>

#include <deque>
#include <random>
#include <string>
#include <vector>

#include "game/Cp1250.h"
#include "link/NextLine.h"

namespace zn {
namespace {

using namespace zn::literals;

const std::string kBroken = std::string(" >>>>> Adatátviteli hiba. Lépj ki és indítsd újra!"_cp);

// The cutting as the club has always described it: copy the rest of the entry at every cut.
bool NaiveNextLine(std::deque<std::string>& queue, bool paused, std::string& line) {
  if (paused || queue.empty()) return false;
  std::string s = queue.front();
  if (s.size() < 2) s = s + " >>>>>" + std::string(" Adatátviteli hiba. Lépj ki és indítsd újra!"_cp);
  if (s[0] == '#') s.erase(0, 1);
  const auto p = s.find('#');
  if (p != std::string::npos) {
    queue.front() = s.substr(p);
    line = s.substr(0, p);
  } else {
    queue.pop_front();
    line = s;
  }
  return true;
}

std::vector<std::string> Drain(TReceiveQueue& queue) {
  std::vector<std::string> lines;
  std::string line;
  while (NextLine(queue, false, line)) lines.push_back(line);
  return lines;
}

struct CutCase {
  const char* name;
  std::vector<std::string> chunks;
  std::vector<std::string> lines;
};

void PrintTo(const CutCase& c, std::ostream* os) { *os << c.name; }

class NextLineCut : public ::testing::TestWithParam<CutCase> {};

TEST_P(NextLineCut, YieldsTheLinesInOrder) {
  TReceiveQueue queue;
  for (const auto& chunk : GetParam().chunks) queue.Append(chunk);
  EXPECT_EQ(Drain(queue), GetParam().lines);
  EXPECT_TRUE(queue.Empty());
}

INSTANTIATE_TEST_SUITE_P(
    Chunks, NextLineCut,
    ::testing::Values(
        CutCase{"TwoLines", {"M hello#M two"}, {"M hello", "M two"}},
        CutCase{"LeadingHash", {"#M one"}, {"M one"}},
        CutCase{"LeadingHashTwoLines", {"#A1#D5"}, {"A1", "D5"}},
        CutCase{"SingleLetterLine", {"G"}, {"G" + kBroken}}, CutCase{"PlainLine", {"L 2.1"}, {"L 2.1"}},
        CutCase{"TrailingHash", {"M x#"}, {"M x", kBroken}}, CutCase{"EmptyEntry", {""}, {kBroken}},
        CutCase{"HashAlone", {"#"}, {kBroken}}, CutCase{"OneCharacter", {"x"}, {"x" + kBroken}},
        CutCase{"DoubleHash", {"##"}, {"", kBroken}},
        CutCase{"EmptyLineBetween", {"A1##D5"}, {"A1", "", "D5"}},
        CutCase{"ShortRestAfterCut", {"ab#c"}, {"ab", "c"}},
        CutCase{"CutOnlyInsideAnEntry", {"M a#M", "b#G1"}, {"M a", "M", "b", "G1"}},
        CutCase{"LineSplitOverTwoReads", {"M hel", "lo#G1"}, {"M hel", "lo", "G1"}},
        CutCase{"NulBytes", {std::string("A\0B#C\0", 6)}, {std::string("A\0B", 3), std::string("C\0", 2)}},
        CutCase{"Cp1250Text",
                {std::string("#M Kőr ász#M Skíz"_cp)},
                {std::string("M Kőr ász"_cp), std::string("M Skíz"_cp)}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(NextLine, EmptyQueueGivesNothingAndLeavesTheLine) {
  TReceiveQueue queue;
  std::string line = "kept";
  EXPECT_FALSE(NextLine(queue, false, line));
  EXPECT_EQ(line, "kept");
}

TEST(NextLine, PauseLeavesTheQueueUntouched) {
  TReceiveQueue queue;
  queue.Append("A1#D5");
  queue.Append("#");
  std::string line;
  ASSERT_TRUE(NextLine(queue, false, line));
  EXPECT_EQ(line, "A1");

  EXPECT_FALSE(NextLine(queue, true, line));
  EXPECT_EQ(line, "A1");
  ASSERT_EQ(queue.Entries(), 2u);
  EXPECT_EQ(queue.Entry(0), "#D5");
  EXPECT_EQ(queue.Entry(1), "#");
  EXPECT_EQ(queue.Entry(2), "");

  EXPECT_EQ(Drain(queue), (std::vector<std::string>{"D5", kBroken}));
}

TEST(NextLine, HugeChunkWithoutHashIsOnePlainLine) {
  TReceiveQueue queue;
  std::string chunk(10u << 20, 'x');
  chunk[12345] = '\0';
  queue.Append(chunk);
  std::string line;
  ASSERT_TRUE(NextLine(queue, false, line));
  EXPECT_EQ(line, chunk);
  EXPECT_TRUE(queue.Empty());
}

// Random chunks over a small alphabet that makes "#", short rests and empty entries common; chunks
// are appended between the cuts and some calls are paused. Every answer, every returned line and
// the unread queue must match the naive cutting.
TEST(NextLine, MatchesTheNaiveCuttingOnRandomChunks) {
  std::mt19937 rng(20261207);
  const std::string alphabet = std::string("##ab M") + '\0' + "\xE1";
  std::uniform_int_distribution<int> letter(0, static_cast<int>(alphabet.size()) - 1);
  std::uniform_int_distribution<int> length(0, 9);
  std::uniform_int_distribution<int> action(0, 9);

  for (int round = 0; round < 2000; ++round) {
    TReceiveQueue queue;
    std::deque<std::string> naive;
    for (int step = 0; step < 40; ++step) {
      const int a = action(rng);
      if (a < 3) {
        std::string chunk;
        for (int n = length(rng); n > 0; --n) chunk += alphabet[letter(rng)];
        queue.Append(chunk);
        naive.push_back(chunk);
        continue;
      }
      const bool paused = a == 3;
      std::string got = "?", want = "?";
      const bool gotOk = NextLine(queue, paused, got);
      const bool wantOk = NaiveNextLine(naive, paused, want);
      ASSERT_EQ(gotOk, wantOk) << "round " << round << " step " << step;
      ASSERT_EQ(got, want) << "round " << round << " step " << step;
      ASSERT_EQ(queue.Entries(), naive.size());
      for (std::size_t i = 0; i < naive.size(); ++i) ASSERT_EQ(queue.Entry(i), naive[i]);
    }
  }
}

}  // namespace
}  // namespace zn
