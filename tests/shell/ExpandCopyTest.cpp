#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>
#include <random>
#include <string>

#include "shell/ExpandCopy.h"

#include "game/ZnError.h"
#include "tests/shell/ExpandCopyTestFiles.h"

namespace zn {
namespace {

using test::ReadFile;
using test::SzddCompress;
using test::SzddHeader;
using test::TempDir;
using test::WriteFile;

// The error text ExpandCopy raises, or "" when it succeeds.
std::string CopyError(const std::string& source, const std::string& dest) {
  try {
    ExpandCopy(source, dest);
  } catch (const EZnError& e) {
    return e.what();
  }
  return "";
}

std::string Bytes(std::initializer_list<int> bytes) {
  std::string s;
  for (int b : bytes) s += static_cast<char>(b);
  return s;
}

std::string RandomBytes(std::size_t n, unsigned seed) {
  std::mt19937 gen(seed);
  std::string s(n, '\0');
  for (char& c : s) c = static_cast<char>(gen() & 0xFF);
  return s;
}

const std::string kIni =
    "[Program]\r\nNickname=K\xF5r\xF6s Ott\xF3\r\nAddress0=localhost\r\nAddress1=localhost\r\n"
    "[Personal]\r\nName=     \r\nCity=Budapest\r\nCity2=Budapest\r\n";

struct GoodCase {
  const char* name;
  std::string file;      // the source file as stored
  std::string expected;  // what Dest must hold afterwards
};

void PrintTo(const GoodCase& c, std::ostream* os) { *os << c.name; }

class ExpandCopyGood : public ::testing::TestWithParam<GoodCase> {};

TEST_P(ExpandCopyGood, WritesTheExpandedOrUnchangedContent) {
  TempDir dir;
  WriteFile(dir / "src", GetParam().file);
  WriteFile(dir / "dst", "an older file that is replaced");
  EXPECT_EQ(CopyError(dir / "src", dir / "dst"), "");
  EXPECT_EQ(ReadFile(dir / "dst"), GetParam().expected);
  EXPECT_EQ(dir.Names(), (std::vector<std::string>{"dst", "src"}));
}

std::string Repeat(char c, std::size_t n) { return std::string(n, c); }

INSTANTIATE_TEST_SUITE_P(
    Files, ExpandCopyGood,
    ::testing::Values(
        GoodCase{"EmptyPlainFile", "", ""}, GoodCase{"PlainIni", kIni, kIni},
        GoodCase{"PlainLookingLikeAHeaderStart", "SZDD\x88 plain", "SZDD\x88 plain"},
        GoodCase{"PlainBinary", RandomBytes(200000, 1), RandomBytes(200000, 1)},
        // Three literals, then six bytes from window position 4080 (where writing began).
        GoodCase{"HandMadeReference", SzddHeader(9) + Bytes({0x07, 'A', 'B', 'C', 0xF0, 0xF3}), "ABCABCABC"},
        // A reference into the initial window reads spaces.
        GoodCase{"HandMadeInitialSpaces", SzddHeader(4) + Bytes({0x02, 0x00, 0x00, 'x'}), "   x"},
        // The last flag byte announces more items than the length allows: they are not read.
        GoodCase{"LengthEndsInsideAReference", SzddHeader(5) + Bytes({0x07, 'A', 'B', 'C', 0xF0, 0xF3}),
                 "ABCAB"},
        GoodCase{"TrailingBytesAfterTheLength", SzddHeader(2) + Bytes({0xFF, 'o', 'k', 'x', 'y', 'z'}), "ok"},
        GoodCase{"CompressedEmpty", SzddHeader(0), ""}, GoodCase{"CompressedIni", SzddCompress(kIni), kIni},
        GoodCase{"CompressedLongRuns", SzddCompress(Repeat('a', 5000) + Repeat(' ', 300) + "end"),
                 Repeat('a', 5000) + Repeat(' ', 300) + "end"},
        GoodCase{"CompressedRandom", SzddCompress(RandomBytes(6000, 2)), RandomBytes(6000, 2)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ExpandCopy, TheCompressorReallyCompresses) {
  const std::string text = Repeat('a', 5000) + kIni + kIni;
  EXPECT_LT(SzddCompress(text).size(), text.size() / 4);
}

struct BadCase {
  const char* name;
  std::string file;
  const char* suffix;  // the message is the source path followed by this
};

void PrintTo(const BadCase& c, std::ostream* os) { *os << c.name; }

class ExpandCopyBad : public ::testing::TestWithParam<BadCase> {};

TEST_P(ExpandCopyBad, RaisesAndLeavesTheDestinationAsItWas) {
  TempDir dir;
  WriteFile(dir / "src", GetParam().file);
  WriteFile(dir / "dst", "good settings");
  EXPECT_EQ(CopyError(dir / "src", dir / "dst"), (dir / "src") + GetParam().suffix);
  EXPECT_EQ(ReadFile(dir / "dst"), "good settings");
  EXPECT_EQ(dir.Names(), (std::vector<std::string>{"dst", "src"}));
}

const std::string kGood = SzddCompress(kIni);

INSTANTIATE_TEST_SUITE_P(
    Files, ExpandCopyBad,
    ::testing::Values(
        BadCase{"ShorterThanItsHeader", SzddHeader(10).substr(0, 12), " file format is not valid"},
        BadCase{"MagicOnly", SzddHeader(10).substr(0, 8), " file format is not valid"},
        BadCase{"WrongMode", SzddHeader(3, 'B') + Bytes({0xFF, 'a', 'b', 'c'}), " file format is not valid"},
        BadCase{"HeaderWithoutData", SzddHeader(10), " file format is not valid"},
        BadCase{"CutAtAFlagByte", SzddHeader(9) + Bytes({0xFF, 1, 2, 3, 4, 5, 6, 7, 8}),
                " file format is not valid"},
        BadCase{"CutInsideAReference", SzddHeader(9) + Bytes({0x07, 'A', 'B', 'C', 0xF0}),
                " file format is not valid"},
        BadCase{"CutInsideALiteralRun", kGood.substr(0, kGood.size() - 1), " file format is not valid"},
        BadCase{"LengthLargerThanTheData", SzddHeader(0xFFFFFFFFu) + kGood.substr(14),
                " file format is not valid"},
        BadCase{"OtherCompressedFormat", std::string("KWAJ\x88\xF0\x27\xD1", 8) + RandomBytes(40, 3),
                " file unrecognized compression"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ExpandCopy, MissingSourceCannotBeOpened) {
  TempDir dir;
  EXPECT_EQ(CopyError(dir / "none", dir / "dst"), "Cannot open " + (dir / "none"));
  EXPECT_EQ(CopyError(dir.Path(), dir / "dst"), "Cannot open " + dir.Path());
  EXPECT_EQ(CopyError("", dir / "dst"), "Cannot open ");
  EXPECT_TRUE(dir.Names().empty());
}

TEST(ExpandCopy, DestinationThatCannotBeCreated) {
  TempDir dir;
  WriteFile(dir / "src", kIni);
  WriteFile(dir / "file", "x");
  for (const std::string& dest : {dir / "missing/Zn.INI", dir / "file/Zn.INI", std::string()})
    EXPECT_EQ(CopyError(dir / "src", dest), "Cannot create " + dest);
  // A directory in the destination's place is not replaced.
  std::filesystem::create_directory(dir / "sub");
  EXPECT_EQ(CopyError(dir / "src", dir / "sub"), "Cannot create " + (dir / "sub"));
  EXPECT_EQ(dir.Names(), (std::vector<std::string>{"file", "src", "sub"}));
  EXPECT_TRUE(std::filesystem::is_empty(dir / "sub"));
}

TEST(ExpandCopy, AFailedWriteIsInsufficientDiskSpace) {
  TempDir dir;
  WriteFile(dir / "src", RandomBytes(300000, 4));
  WriteFile(dir / "dst", "good settings");
  // A file size limit makes write() fail like a full disk.
  std::signal(SIGXFSZ, SIG_IGN);
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  rlimit small = saved;
  small.rlim_cur = 100000;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const std::string error = CopyError(dir / "src", dir / "dst");
  setrlimit(RLIMIT_FSIZE, &saved);
  EXPECT_EQ(error, "Insufficient disk space");
  EXPECT_EQ(ReadFile(dir / "dst"), "good settings");
  EXPECT_EQ(dir.Names(), (std::vector<std::string>{"dst", "src"}));
}

TEST(ExpandCopy, KeepsThePermissionsOfTheReplacedFile) {
  TempDir dir;
  WriteFile(dir / "src", kIni);
  WriteFile(dir / "dst", "old");
  ASSERT_EQ(chmod((dir / "dst").c_str(), 0640), 0);
  ExpandCopy(dir / "src", dir / "dst");
  struct stat st {};
  ASSERT_EQ(stat((dir / "dst").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
}

// Every window position and every length, with the window wrapping around: nothing is read or
// written outside the window or the promised length.
TEST(ExpandCopy, ReferencesToEveryWindowPositionStayInside) {
  std::string body;
  std::uint32_t length = 0;
  for (int offset = 0; offset < 4096; ++offset) {
    const int len = offset % 16;
    if (offset % 8 == 0) body += '\0';  // eight references follow
    body += static_cast<char>(offset & 0xFF);
    body += static_cast<char>(((offset >> 4) & 0xF0) | len);
    length += static_cast<std::uint32_t>(len + 3);
  }
  TempDir dir;
  WriteFile(dir / "src", SzddHeader(length) + body);
  EXPECT_EQ(CopyError(dir / "src", dir / "dst"), "");
  const std::string out = ReadFile(dir / "dst");
  ASSERT_EQ(out.size(), length);
  // The first reference reads the initial window: spaces.
  EXPECT_EQ(out.substr(0, 3), "   ");
}

// Random bytes after a valid header either expand to exactly the promised length or are refused.
TEST(ExpandCopy, GarbageAfterTheHeaderNeverCorruptsMemory) {
  TempDir dir;
  for (unsigned seed = 0; seed < 40; ++seed) {
    const std::uint32_t length = seed * 997 % 20000;
    WriteFile(dir / "src", SzddHeader(length) + RandomBytes(seed * 131 % 9000, seed));
    const std::string error = CopyError(dir / "src", dir / "dst");
    if (error.empty())
      EXPECT_EQ(ReadFile(dir / "dst").size(), length) << seed;
    else
      EXPECT_EQ(error, (dir / "src") + " file format is not valid") << seed;
  }
}

TEST(ExpandErrorText, EveryResultCodeHasItsMessage) {
  const std::string s = "C:\\WINDOWS\\DoZezive.INI", d = "/opt/zn/Zn.INI";
  const std::pair<int, std::string> table[] = {
      {-1, "Cannot open " + s},
      {-2, "Cannot create " + d},
      {-3, s + " file format is not valid"},
      {-4, "Insufficient disk space"},
      {-5, "Insufficient memory"},
      {-6, "Internal data structure handle invalid"},
      {-7, "Input parameter is out of range"},
      {-8, s + " file unrecognized compression"},
      {-9, "Unknown error"},
      {-1000, "Unknown error"},
  };
  for (const auto& [code, text] : table) EXPECT_EQ(ExpandErrorText(code, s, d), text) << code;
}

}  // namespace
}  // namespace zn
