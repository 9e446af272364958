#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "game/ZnError.h"
#include "shell/LocateSettings.h"
#include "tests/shell/ExpandCopyTestFiles.h"

namespace zn {
namespace {

using test::ReadFile;
using test::SzddCompress;
using test::SzddHeader;
using test::TempDir;
using test::WriteFile;

using Names = std::vector<std::string>;

// Sets an environment variable for the lifetime of the object (nullptr: unset).
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    value ? ::setenv(name, value, 1) : ::unsetenv(name);
  }
  ~ScopedEnv() { old_ ? ::setenv(name_, old_->c_str(), 1) : ::unsetenv(name_); }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  const char* name_;
  std::optional<std::string> old_;
};

struct EnvCase {
  const char* windir;
  const char* wineprefix;
  const char* home;
  const char* expected;
};

class WindowsDirectoryTest : public ::testing::TestWithParam<EnvCase> {};

TEST_P(WindowsDirectoryTest, FollowsWindirThenTheWinePrefix) {
  ScopedEnv a("WINDIR", GetParam().windir), b("WINEPREFIX", GetParam().wineprefix),
      c("HOME", GetParam().home);
  EXPECT_EQ(WindowsDirectory(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Env, WindowsDirectoryTest,
    ::testing::Values(EnvCase{"/w", "/p", "/h", "/w"}, EnvCase{"", "/p", "/h", "/p/drive_c/windows"},
                      EnvCase{nullptr, "/p/", "/h", "/p/drive_c/windows"},
                      EnvCase{nullptr, "", "/h", "/h/.wine/drive_c/windows"},
                      EnvCase{nullptr, nullptr, "/home/x", "/home/x/.wine/drive_c/windows"},
                      EnvCase{nullptr, nullptr, nullptr, ""}, EnvCase{"", "", "", ""}));

TEST(LocateSettings, NamesZnIniInTheProgramDirectory) {
  TempDir win;
  TSettingsPlaces places{win.Path(), [](const std::string&) { return true; }};
  EXPECT_EQ(LocateSettings("/opt/zn/", places), "/opt/zn/Zn.INI");
  EXPECT_EQ(LocateSettings("/opt/zn", places), "/opt/zn/Zn.INI");
  EXPECT_EQ(LocateSettings("", places), "Zn.INI");
}

// The real file removal, counting the calls.
struct Remover {
  int calls = 0;
  bool fail = false;
  bool operator()(const std::string& path) {
    ++calls;
    return !fail && std::remove(path.c_str()) == 0;
  }
};

class LocateSettingsMove : public ::testing::Test {
 protected:
  TSettingsPlaces Places() {
    return {win.Path(), [this](const std::string& p) { return remover(p); }};
  }
  std::string Locate() { return LocateSettings(program.Path(), Places()); }

  TempDir program, win;
  Remover remover;
  const std::string ini = "[Program]\r\nNickname=Old\r\n";
};

TEST_F(LocateSettingsMove, NoOldFileTouchesNothing) {
  WriteFile(win / "Other.INI", "x");
  WriteFile(program / "Zn.INI", "mine");
  EXPECT_EQ(Locate(), program / "Zn.INI");
  EXPECT_EQ(ReadFile(program / "Zn.INI"), "mine");
  EXPECT_EQ(program.Names(), Names{"Zn.INI"});
  EXPECT_EQ(win.Names(), Names{"Other.INI"});
  EXPECT_EQ(remover.calls, 0);
}

TEST_F(LocateSettingsMove, ADirectoryOfThatNameIsNoOldFile) {
  std::filesystem::create_directory(win / "DoZezive.INI");
  EXPECT_EQ(Locate(), program / "Zn.INI");
  EXPECT_TRUE(program.Names().empty());
}

TEST_F(LocateSettingsMove, MissingWindowsDirectoryTouchesNothing) {
  TSettingsPlaces places{win / "no-such-dir", [this](const std::string& p) { return remover(p); }};
  EXPECT_EQ(LocateSettings(program.Path(), places), program / "Zn.INI");
  EXPECT_TRUE(program.Names().empty());
}

struct MoveCase {
  const char* name;  // the old file's name in the Windows directory
  bool compressed;
  bool settingsExist;  // Zn.INI is there already (it is overwritten)
};

class LocateSettingsMoves : public LocateSettingsMove, public ::testing::WithParamInterface<MoveCase> {};

TEST_P(LocateSettingsMoves, MovesTheOldFileNextToTheProgram) {
  WriteFile(win / GetParam().name, GetParam().compressed ? SzddCompress(ini) : ini);
  if (GetParam().settingsExist) WriteFile(program / "Zn.INI", "newer but overwritten");
  EXPECT_EQ(Locate(), program / "Zn.INI");
  EXPECT_EQ(ReadFile(program / "Zn.INI"), ini);
  EXPECT_EQ(program.Names(), Names{"Zn.INI"});
  EXPECT_TRUE(win.Names().empty());
}

INSTANTIATE_TEST_SUITE_P(Cases, LocateSettingsMoves,
                         ::testing::Values(MoveCase{"DoZezive.INI", false, false},
                                           MoveCase{"DoZezive.INI", true, true},
                                           MoveCase{"dozezive.ini", false, true},
                                           MoveCase{"DOZEZIVE.INI", true, false}));

TEST_F(LocateSettingsMove, ExactNameIsPreferredAndOthersStay) {
  WriteFile(win / "dozezive.ini", "lower");
  WriteFile(win / "DoZezive.INI", ini);
  Locate();
  EXPECT_EQ(ReadFile(program / "Zn.INI"), ini);
  EXPECT_EQ(win.Names(), Names{"dozezive.ini"});
}

TEST_F(LocateSettingsMove, AFailedCopyKeepsTheOldFileAndRaises) {
  const std::string truncated = SzddHeader(500) +
                                "\xFF"
                                "abc";
  WriteFile(win / "DoZezive.INI", truncated);
  WriteFile(program / "Zn.INI", "mine");
  try {
    Locate();
    FAIL() << "no error";
  } catch (const EZnError& e) {
    EXPECT_EQ(std::string(e.what()), (win / "DoZezive.INI") + " file format is not valid");
  }
  EXPECT_EQ(ReadFile(win / "DoZezive.INI"), truncated);
  EXPECT_EQ(ReadFile(program / "Zn.INI"), "mine");
  EXPECT_EQ(program.Names(), Names{"Zn.INI"});
  EXPECT_EQ(remover.calls, 0);
}

TEST_F(LocateSettingsMove, AFailedCreateNamesTheSettingsFile) {
  WriteFile(win / "DoZezive.INI", ini);
  TSettingsPlaces places = Places();
  const std::string programDir = program / "missing";
  try {
    LocateSettings(programDir, places);
    FAIL() << "no error";
  } catch (const EZnError& e) {
    EXPECT_EQ(std::string(e.what()), "Cannot create " + programDir + "/Zn.INI");
  }
  EXPECT_EQ(win.Names(), Names{"DoZezive.INI"});
}

// An old file that cannot be deleted would otherwise be copied over Zn.INI at every start,
// undoing every change made since. It is copied once; a marker beside Zn.INI names it.
TEST_F(LocateSettingsMove, AnUndeletableOldFileIsCopiedOnlyOnce) {
  remover.fail = true;
  WriteFile(win / "DoZezive.INI", ini);
  Locate();
  EXPECT_EQ(ReadFile(program / "Zn.INI"), ini);
  EXPECT_EQ(program.Names(), (Names{"Zn.INI", "Zn.INI.moved"}));

  WriteFile(program / "Zn.INI", "changed since");
  Locate();
  EXPECT_EQ(ReadFile(program / "Zn.INI"), "changed since");
  EXPECT_EQ(remover.calls, 2);  // deleting is tried again at each start

  // A different old file (written again by an older client) is moved once more.
  WriteFile(win / "DoZezive.INI", "[Program]\r\nNickname=Again\r\n");
  Locate();
  EXPECT_EQ(ReadFile(program / "Zn.INI"), "[Program]\r\nNickname=Again\r\n");
  WriteFile(program / "Zn.INI", "changed again");
  Locate();
  EXPECT_EQ(ReadFile(program / "Zn.INI"), "changed again");

  // Once it can be deleted, the old file and the marker go.
  remover.fail = false;
  Locate();
  EXPECT_EQ(ReadFile(program / "Zn.INI"), "changed again");
  EXPECT_EQ(program.Names(), Names{"Zn.INI"});
  EXPECT_TRUE(win.Names().empty());
}

TEST(LocateSettingsWindir, MovesTheOldFileFromWindir) {
  TempDir program, win;
  WriteFile(win / "dozezive.ini", SzddCompress("[Personal]\r\nCity=Szeged\r\n"));
  ScopedEnv windir("WINDIR", win.Path().c_str());
  EXPECT_EQ(LocateSettings(program.Path() + "/"), program / "Zn.INI");
  EXPECT_EQ(ReadFile(program / "Zn.INI"), "[Personal]\r\nCity=Szeged\r\n");
  EXPECT_TRUE(win.Names().empty());
  // The second start finds nothing to move.
  WriteFile(program / "Zn.INI", "kept");
  EXPECT_EQ(LocateSettings(program.Path()), program / "Zn.INI");
  EXPECT_EQ(ReadFile(program / "Zn.INI"), "kept");
}

}  // namespace
}  // namespace zn
