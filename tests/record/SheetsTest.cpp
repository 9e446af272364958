// The game sheet and the match sheet: the bytes written, the save dialog, the eight-games rule,
// and writes that fail.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "game/Cp1250.h"
#include "game/ErrorHandler.h"
#include "record/SheetFile.h"
#include "tests/record/RecordFixture.h"

namespace zn::test {
namespace {

using namespace zn::literals;
namespace fs = std::filesystem;

constexpr std::int64_t kSavedAt = 1796591209000;  // 2026-12-06 21:06:49 UTC

std::string ReadFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class SheetTest : public RecordTest {
 protected:
  void SetUp() override {
    setenv("TZ", "UTC", 1);
    tzset();
    desk.Clock = kSavedAt;
    dir = fs::temp_directory_path() / ("znsheet-" + std::to_string(::getpid()) + "-" +
                                       ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
    form.SaveFolder = dir.string();
  }
  void TearDown() override { fs::remove_all(dir); }
  std::string File(const char* name) { return (dir / name).string(); }
  // Entries of the folder other than the given file: a temporary file left behind shows here.
  std::vector<std::string> Others(const char* name) {
    std::vector<std::string> others;
    for (const auto& e : fs::directory_iterator(dir))
      if (e.path().filename() != name) others.push_back(e.path().filename().string());
    return others;
  }
  // Eight games of which the given ones are marked, with results n:-n.
  void MarkedGames(int count, int marked) {
    Games(count, 1);
    for (int r = 1; r <= count; ++r) {
      form.Games[static_cast<std::size_t>(r - 1)].Points14 = std::to_string(r);
      form.Games[static_cast<std::size_t>(r - 1)].Points23 = std::to_string(-r);
    }
    for (int r = count; r > count - marked; --r) form.Toggle(r);  // marked from the last row up
  }
  fs::path dir;
};

TEST_F(SheetTest, GameSheetOfAFinishedGameIsByteExact) {
  Games(1, 1234);
  form.SetBids({"Trull", S("  Pagát"_cp) + "\xA0ulti"});
  const int cards[10][4] = {{3, 12, 21, 22},  {25, 30, 33, 38}, {41, 42, 1, 2},   {4, 5, 6, 7},
                            {8, 9, 10, 11},   {13, 14, 15, 16}, {17, 18, 19, 20}, {23, 24, 26, 27},
                            {28, 29, 31, 32}, {34, 35, 36, 37}};
  for (int k = 1; k <= 10; ++k)
    for (int seat = 1; seat <= 4; ++seat) form.SetTrickCard(k, seat, cards[k - 1][seat - 1]);
  form.SetTricks(
      "6\xA0:\xA0"
      "4");
  form.GameResult("F52:-52 x");
  desk.SaveAnswers = {File("game.txt")};
  form.cmSaveClick();
  std::string want =
      S("Időpont\t2026.12.06. 21:06:49\r\nLeosztás\t1234\r\nEredmény\t52\u00A0:\u00A0-52\r\n"_cp) +
      S("Ütések\t6\u00A0:\u00A0"_cp) + "4\r\nL i c i t e k\r\nTrull\r\n  Pag" + S("á"_cp) + "t\xA0ulti\r\n" +
      S("L e j á t s z á s\r\n"_cp);
  for (int k = 1; k <= 10; ++k) {
    want += std::to_string(k);
    for (int seat : {4, 1, 2, 3}) want += "\t" + CardName(cards[k - 1][seat - 1]);
    want += "\r\n";
  }
  EXPECT_EQ(ReadFile(File("game.txt")), want);
  EXPECT_NE(want.find(S("\t IIII \t"_cp)), std::string::npos) << "tarokks keep their spaces";
  EXPECT_EQ(form.Games[0].Mark, "+") << "the marks do not change";
  EXPECT_TRUE(Others("game.txt").empty());
}

TEST_F(SheetTest, GameSheetOfAnUnfinishedGameEndsWithThePlayHeading) {
  Games(1, 77);
  form.SetTrickCard(1, 1, 5);  // cards without a trick split are not written
  desk.SaveAnswers = {File("open.txt")};
  form.cmSaveClick();
  EXPECT_EQ(ReadFile(File("open.txt")),
            S("Időpont\t2026.12.06. 21:06:49\r\nLeosztás\t77\r\nEredmény\t0\u00A0:\u00A0"
              "0\r\nÜtések\t\r\nL i c i t e k\r\nL e j á t s z á s\r\n"_cp));
}

TEST_F(SheetTest, SaveDialogProposesResultsThenTheLastChoiceAndCancelWritesNothing) {
  form.cmSaveClick();  // no game yet: no dialog
  EXPECT_EQ(desk.Log, std::vector<std::string>{"beep"});
  Games(1);
  form.cmSaveClick();  // cancelled
  const std::string filter = S("Szöveges állományok (*.txt)|*.txt|Minden (*.*)|*.*"_cp);
  EXPECT_EQ(desk.Log.back(), S("save:Játszmalap mentés:"_cp) + dir.string() + ":Results.txt:" + filter);
  EXPECT_TRUE(Others("").empty());
  desk.SaveAnswers = {File("a.txt")};
  form.cmSaveClick();
  form.cmSaveClick();
  EXPECT_EQ(desk.Log.back(), S("save:Játszmalap mentés:"_cp) + File("a.txt") + "::" + filter);
}

TEST_F(SheetTest, MatchSheetListsTheEightMarkedGamesInRowOrderAndUsesThemUp) {
  MarkedGames(10, 8);
  form.Toggle(1);  // marks 1 and 3..10 = nine
  form.cmMatchClick();
  const std::string refusal =
      S("Jelöld ki (kettős kattintással) azt a 8 partit, amelyikről a meccslapot kéred!"_cp);
  EXPECT_EQ(desk.Messages, std::vector<std::string>{refusal});
  EXPECT_EQ(desk.Log.size(), 1u) << "no dialog";
  form.Toggle(4);  // eight: 1, 3, 5..10
  club.Seats = {"Anna", "Bela", "- - -", "Dani"};
  desk.SaveAnswers = {File("match.txt")};
  form.cmMatchClick();
  const std::string header3 = form.Header3, header4 = form.Header4;
  EXPECT_EQ(header3, "49");  // 1 + 3 + 5 + 6 + ... + 10
  EXPECT_EQ(
      ReadFile(File("match.txt")),
      S("Időpont\t2026.12.06. 21:06:49\r\nDani\tAnna\t49\r\nBela\t- - -\t-49\r\n\tLeosztás\tEredmény\r\n"_cp) +
          "1\t1\t1\t-1\r\n2\t3\t3\t-3\r\n3\t5\t5\t-5\r\n4\t6\t6\t-6\r\n5\t7\t7\t-7\r\n6\t8\t8\t-8\r\n"
          "7\t9\t9\t-9\r\n8\t10\t10\t-10\r\n");
  EXPECT_EQ(Marks(), (std::vector<std::string>{" -", "-", " -", " -", " -", " -", " -", " -", " -", " -"}));
  EXPECT_EQ(form.Header3, header3) << "the totals stay until a mark changes";
  EXPECT_EQ(form.Header4, header4);
  form.cmMatchClick();
  EXPECT_EQ(desk.Messages, (std::vector<std::string>{refusal, refusal}));
}

TEST_F(SheetTest, FailedMatchSheetKeepsTheMarksSoItCanBeTriedAgain) {
  MarkedGames(8, 8);
  desk.SaveAnswers = {(dir / "missing" / "match.txt").string(), File("match.txt")};
  EXPECT_FALSE(Guarded([&] { form.cmMatchClick(); }));
  ASSERT_EQ(desk.Errors.size(), 1u);
  EXPECT_EQ(
      desk.Errors[0].rfind("Cannot create file \"" + (dir / "missing" / "match.txt").string() + "\".", 0), 0u)
      << desk.Errors[0];
  EXPECT_EQ(form.MarkedCount(), 8);
  form.cmMatchClick();
  EXPECT_EQ(form.MarkedCount(), 0);
  EXPECT_FALSE(ReadFile(File("match.txt")).empty());
}

// A write that fails half-way (the file size limit) leaves the good file in place and no
// temporary file next to it.
TEST_F(SheetTest, WriteThatFailsHalfWayLeavesTheOldFileAlone) {
  WriteSheet(File("r.txt"), {"good"});
  EXPECT_EQ(ReadFile(File("r.txt")), "good\r\n");
  rlimit old{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = old;
  small.rlim_cur = 16;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  bool failed = false;
  try {
    WriteSheet(File("r.txt"), {std::string(100, 'x'), "y"});
  } catch (const EZnError&) {
    failed = true;
  }
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_TRUE(failed);
  EXPECT_EQ(ReadFile(File("r.txt")), "good\r\n");
  EXPECT_TRUE(Others("r.txt").empty());
  WriteSheet(File("r.txt"), {"two", ""});  // a written sheet replaces the old one whole
  EXPECT_EQ(ReadFile(File("r.txt")), "two\r\n\r\n");
}

// What a sheet written over an existing name leaves: the refusal of a read-only file, the file
// behind a symbolic link, and the old file's mode.
TEST_F(SheetTest, WriteHonoursReadOnlyFilesLinksAndTheOldMode) {
  struct Case {
    const char* name;
    fs::perms mode;
    bool link;  // "r.txt" is a link to "real.txt"
    bool refused;
  };
  const Case cases[] = {
      {"read-only", fs::perms::owner_read | fs::perms::group_read, false, true},
      {"read-only behind a link", fs::perms::owner_read, true, true},
      {"private", fs::perms::owner_read | fs::perms::owner_write, false, false},
      {"through a link", fs::perms::owner_read | fs::perms::owner_write, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(dir);
    fs::create_directories(dir);
    const fs::path real = dir / (c.link ? "real.txt" : "r.txt");
    std::ofstream(real, std::ios::binary) << "old";
    fs::permissions(real, c.mode);
    if (c.link) fs::create_symlink("real.txt", File("r.txt"));
    std::string error;
    try {
      WriteSheet(File("r.txt"), {"new"});
    } catch (const EZnError& e) {
      error = e.what();
    }
    EXPECT_EQ(error, c.refused ? "Cannot create file \"" + File("r.txt") + "\". Permission denied" : "");
    EXPECT_EQ(ReadFile(real), c.refused ? "old" : "new\r\n");
    EXPECT_EQ(fs::status(real).permissions(), c.mode);
    EXPECT_EQ(fs::is_symlink(File("r.txt")), c.link);
    for (const auto& e : fs::directory_iterator(dir))
      EXPECT_EQ(e.path().string().find(".tmp"), std::string::npos);
  }
}

// A link to a link is followed to the end; a dangling link gets its target created.
TEST_F(SheetTest, WriteFollowsChainedAndDanglingLinks) {
  fs::create_directories(dir / "sub");
  fs::create_symlink("sub/mid.txt", File("r.txt"));
  fs::create_symlink("end.txt", dir / "sub" / "mid.txt");  // relative to the link's own folder
  WriteSheet(File("r.txt"), {"x"});
  EXPECT_EQ(ReadFile(dir / "sub" / "end.txt"), "x\r\n");
  EXPECT_TRUE(fs::is_symlink(dir / "sub" / "mid.txt"));
}

}  // namespace
}  // namespace zn::test
