// Where Zn.INI lives: beside the program (a portable copy) or in the user's configuration folder.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/ZnError.h"
#include "shell/IniFile.h"
#include "shell/LocateSettings.h"
#include "shell/SettingsFolder.h"
#include "tests/shell/ExpandCopyTestFiles.h"

namespace zn {
namespace {

using test::ReadFile;
using test::TempDir;
using test::WriteFile;

struct FolderCase {
  const char* name;
  bool iniBeside;      // Zn.INI is already in the program folder
  bool writable;       // what the probe says of the program folder
  bool withConfigDir;  // the configuration folder is known
  bool expectProgram;  // the program folder is chosen
};

class SettingsFolderChoice : public ::testing::TestWithParam<FolderCase> {
 protected:
  TempDir program, home;
};

TEST_P(SettingsFolderChoice, ChoosesTheFolder) {
  const FolderCase& c = GetParam();
  if (c.iniBeside) WriteFile(program / "Zn.INI", "[Program]\r\n");
  const std::string config = c.withConfigDir ? home / ".config/ZnClient" : std::string();
  std::vector<std::string> probed;
  const std::string chosen = SettingsFolder(program.Path(), config, [&](const std::string& dir) {
    probed.push_back(dir);
    return c.writable;
  });
  EXPECT_EQ(chosen, c.expectProgram ? program.Path() : config);
  // The configuration folder is made only when it is the one chosen, so a first write can succeed.
  EXPECT_EQ(std::filesystem::is_directory(home / ".config/ZnClient"), !c.expectProgram);
  // An existing Zn.INI decides without asking about the folder.
  if (c.iniBeside) {
    EXPECT_TRUE(probed.empty());
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, SettingsFolderChoice,
                         ::testing::Values(FolderCase{"PortableCopy", false, true, true, true},
                                           FolderCase{"ExistingFileInReadOnlyFolder", true, false, true,
                                                      true},
                                           FolderCase{"ReadOnlyProgramFolder", false, false, true, false},
                                           FolderCase{"NoConfigFolderKnown", false, false, false, true}),
                         [](const auto& info) { return std::string(info.param.name); });

// A program under /usr belongs to the package manager: even root, who may write there, gets the
// configuration folder, while a look-alike path outside /usr does not.
TEST(SettingsFolder, AnInstalledProgramNeverWritesBesideItself) {
  TempDir home;
  const auto yes = [](const std::string&) { return true; };
  EXPECT_EQ(SettingsFolder("/usr/bin", home / "cfg", yes), home / "cfg");
  EXPECT_EQ(SettingsFolder("/usr/games/", home / "cfg", yes), home / "cfg");
  EXPECT_EQ(SettingsFolder("/usrlocal/bin", home / "cfg", yes), "/usrlocal/bin");
}

// The real probe, without relying on permission bits (root passes those): a folder that does not
// exist cannot take a file, whoever runs the test.
TEST(SettingsFolder, TheRealProbeRefusesAFolderThatIsNotThere) {
  TempDir dir;
  WriteFile(dir / "file", "x");
  EXPECT_TRUE(IsWritableFolder(dir.Path()));
  EXPECT_FALSE(IsWritableFolder(dir / "missing"));
  EXPECT_FALSE(IsWritableFolder(dir / "file/below"));
  EXPECT_FALSE(IsWritableFolder(""));

  TSettingsPlaces places{dir / "no-windows", [](const std::string&) { return true; }, dir / "cfg", {}};
  EXPECT_EQ(LocateSettings(dir / "gone/bin", places), dir / "cfg/Zn.INI");
}

// The one-time move of an old settings file lands where Zn.INI now lives.
TEST(SettingsFolder, TheOldFileMovesIntoTheConfigurationFolder) {
  TempDir program, win, home;
  WriteFile(win / "DoZezive.INI", "[Program]\r\nUser=Anna\r\n");
  TSettingsPlaces places{win.Path(), [](const std::string& p) { return std::remove(p.c_str()) == 0; },
                         home / "ZnClient", [](const std::string&) { return false; }};
  EXPECT_EQ(LocateSettings(program.Path(), places), home / "ZnClient/Zn.INI");
  EXPECT_EQ(ReadFile(home / "ZnClient/Zn.INI"), "[Program]\r\nUser=Anna\r\n");
  EXPECT_TRUE(program.Names().empty());
  EXPECT_TRUE(win.Names().empty());
}

// A configuration folder that cannot be made (a file stands in its way) loses nothing: the
// defaults are read and the first write says which file it could not write.
TEST(SettingsFolder, AnUnmakeableConfigurationFolderFailsAtTheFirstWrite) {
  TempDir program, home;
  WriteFile(home / "blocked", "a file, not a folder");
  const std::string path =
      SettingsFolder(program.Path(), home / "blocked/ZnClient", [](const std::string&) { return false; }) +
      "/Zn.INI";
  EXPECT_EQ(path, home / "blocked/ZnClient/Zn.INI");
  EXPECT_EQ(IniRead(path, "Program", "Port", "22"), "22");
  EXPECT_THROW(IniWrite(path, "Program", "Port", "7022"), EZnError);
  EXPECT_EQ(ReadFile(home / "blocked"), "a file, not a folder");
}

}  // namespace
}  // namespace zn
