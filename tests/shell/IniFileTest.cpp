#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

#include "game/Cp1250.h"
#include "game/ZnError.h"
#include "shell/IniFile.h"
#include "shell/Settings.h"
#include "tests/support/TempDir.h"

namespace zn {
namespace {

using namespace zn::literals;
namespace fs = std::filesystem;

class IniDir : public ::testing::Test {
 protected:
  IniDir() : path_(dir_ / "Zn.INI") {}
  void Put(const std::string& bytes) { std::ofstream(path_, std::ios::binary) << bytes; }
  std::string Get() const {
    std::ifstream in(path_, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }
  test::TempDir dir_;
  std::string path_;
};

TEST_F(IniDir, MissingFileGivesEveryDefault) {
  const TProgramSettings s = ReadProgramSettings(path_);
  EXPECT_EQ(s.User, "");
  EXPECT_EQ(s.Addresses[0], "localhost");
  EXPECT_EQ(s.Addresses[1], ZN_DEFAULT_SERVER_HOST);
  EXPECT_EQ(s.Addresses[2], "?");
  EXPECT_EQ(s.Addresses[3], "??");
  EXPECT_EQ(s.Addresses[4], "???");
  EXPECT_EQ(s.Port, "22");
  EXPECT_FALSE(fs::exists(path_)) << "reading never creates the file";
}

TEST_F(IniDir, MissingKeysGiveDefaultsAndEmptyValuesStayEmpty) {
  Put("[Program]\r\nAddress2=\r\nPort=2222\r\n");
  const TProgramSettings s = ReadProgramSettings(path_);
  EXPECT_EQ(s.Addresses[0], "localhost");
  EXPECT_EQ(s.Addresses[2], "") << "a key that is present counts even when empty";
  EXPECT_EQ(s.Port, "2222");
}

TEST_F(IniDir, ConnectSettingsRoundTripInCp1250) {
  const std::string nick(("Bálint_ő"_cp));
  const std::string addr(("kőr.példa.hu"_cp));
  WriteConnectSettings(path_, nick, {addr, "localhost", "x", "y", "z", "sixth"}, "4022");
  const std::string bytes = Get();
  EXPECT_NE(bytes.find(std::string("User=") + nick + "\r\n"), std::string::npos);
  EXPECT_NE(bytes.find("\xe1"), std::string::npos) << "á is stored as its cp1250 byte";
  EXPECT_EQ(bytes.find("sixth"), std::string::npos) << "only five addresses are stored";
  const TProgramSettings s = ReadProgramSettings(path_);
  EXPECT_EQ(s.User, nick);
  EXPECT_EQ(s.Addresses[0], addr);
  EXPECT_EQ(s.Addresses[4], "z");
  EXPECT_EQ(s.Port, "4022");
}

TEST_F(IniDir, EmptyNicknameIsNotWritten) {
  Put("[Program]\nUser=Anna\n");
  WriteConnectSettings(path_, "", {"a", "b", "c", "d", "e"}, "22");
  EXPECT_EQ(ReadProgramSettings(path_).User, "Anna");
}

TEST_F(IniDir, ConnectKeepsEveryOtherLineByteForByte) {
  for (const std::string eol : {"\r\n", "\n"}) {
    const std::string personal = "; own profile" + eol + "[Personal]" + eol + "Real=Vada Vivo" + eol +
                                 "Info=Szia!~" + eol + eol + "Unknown = keep me " + eol;
    Put("[Program]" + eol + "Odd key=1" + eol + "User=Anna" + eol + eol + personal);
    WriteConnectSettings(path_, "Anna", {"h0", "h1", "h2", "h3", "h4"}, "22");
    const std::string bytes = Get();
    EXPECT_NE(bytes.find(personal), std::string::npos) << bytes;
    EXPECT_NE(bytes.find("Odd key=1" + eol), std::string::npos);
    EXPECT_NE(bytes.find("Address4=h4" + eol + "Port=22" + eol + eol + "; own profile"), std::string::npos)
        << "new keys go after the section's last line, before its blank lines: " << bytes;
    if (eol == "\n") {
      EXPECT_EQ(bytes.find('\r'), std::string::npos);
    }
  }
}

struct EditCase {
  const char* name;
  std::string before;
  std::string section, key, value;
  std::string after;
};
void PrintTo(const EditCase& c, std::ostream* os) { *os << c.name; }

class IniEdit : public ::testing::TestWithParam<EditCase> {};

TEST_P(IniEdit, ChangesOnlyWhatItMust) {
  const EditCase& c = GetParam();
  TIniText text(c.before);
  text.Set(c.section, c.key, c.value);
  EXPECT_EQ(text.Bytes(), c.after);
  EXPECT_EQ(TIniText(text.Bytes()).Get(c.section, c.key, "<none>"),
            c.value.find('\n') == std::string::npos ? c.value : std::string("a b"));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IniEdit,
    ::testing::Values(
        EditCase{"EmptyFile", "", "Program", "Port", "22", "[Program]\r\nPort=22\r\n"},
        EditCase{"ReplaceKeepsKeySpellingAndBlanks", "[program]\r\n  PORT = 21\r\nx=1\r\n", "Program", "Port",
                 "22", "[program]\r\n  PORT = 22\r\nx=1\r\n"},
        EditCase{"FirstOfTwoKeysCounts", "[A]\nk=1\nk=2\n", "a", "K", "3", "[A]\nk=3\nk=2\n"},
        EditCase{"FirstOfTwoSectionsCounts", "[A]\nk=1\n[B]\n[A]\nk=2\n", "A", "k", "9",
                 "[A]\nk=9\n[B]\n[A]\nk=2\n"},
        EditCase{"AddedBeforeNextSection", "[A]\nk=1\n\n[B]\nm=2\n", "A", "n", "5",
                 "[A]\nk=1\nn=5\n\n[B]\nm=2\n"},
        EditCase{"NewSectionAfterLastLineWithoutEnd", "[A]\nk=1", "B", "m", "2", "[A]\nk=1\n[B]\nm=2\n"},
        EditCase{"KeyAfterLastLineWithoutEnd", "[A]\r\nk=1", "A", "m", "2", "[A]\r\nk=1\r\nm=2\r\n"},
        // A file cut after the CR of its last line: the section is that line's, not a new one.
        EditCase{"KeyAfterHeaderCutAfterItsCr", "x\n[Program\r", "Program", "Port", "22",
                 "x\n[Program\nPort=22\n"},
        EditCase{"KeyAfterHeaderWithTwoCrs", "x\n[Program\r\r", "Program", "Port", "22",
                 "x\n[Program\r\nPort=22\n"},
        EditCase{"NewSectionAfterLineCutAfterItsCr", "[A]\r\nk=1\r", "B", "m", "2",
                 "[A]\r\nk=1\r\n[B]\r\nm=2\r\n"},
        EditCase{"CommentedKeyIsNotTheKey", "[A]\n;k=1\n", "A", "k", "2", "[A]\nk=2\n;k=1\n"},
        EditCase{"AccentedSectionFoldsCase", std::string("[ÁRVÍZ]\nk=1\n"_cp), std::string("árvíz"_cp), "k",
                 "2", std::string("[ÁRVÍZ]\nk=2\n"_cp)},
        EditCase{"LineEndInValueCannotAddALine", "[A]\n", "A", "k", "a\nb", "[A]\nk=a b\n"}),
    [](const ::testing::TestParamInfo<EditCase>& info) { return std::string(info.param.name); });

TEST(IniGet, ReadsValuesTrimmedAndIgnoresLinesBeforeTheFirstSection) {
  const TIniText t("k=0\r\n[S]\r\n k = v w \r\nempty=\r\n[T]\r\nk=t\r\n");
  EXPECT_EQ(t.Get("S", "k", "d"), "v w");
  EXPECT_EQ(t.Get("s", "EMPTY", "d"), "");
  EXPECT_EQ(t.Get("T", "k", "d"), "t");
  EXPECT_EQ(t.Get("U", "k", "d"), "d");
  EXPECT_EQ(t.Get("S", "none", "d"), "d");
}

TEST_F(IniDir, ReadOnlyFileIsRefusedAndKeptIntact) {
  Put("[Program]\nUser=Anna\n");
  fs::permissions(path_, fs::perms::owner_read | fs::perms::group_read);
  try {
    WriteConnectSettings(path_, "Béla", {"a", "b", "c", "d", "e"}, "22");
    FAIL() << "no error";
  } catch (const EZnError& e) {
    EXPECT_EQ(std::string(e.what()), std::string("A beállítási fájl írásvédett: "_cp) + path_);
  }
  EXPECT_EQ(Get(), "[Program]\nUser=Anna\n");
}

TEST_F(IniDir, MissingDirectoryGivesTheWriteError) {
  const std::string path = dir_ / "gone/Zn.INI";
  try {
    IniWrite(path, "Program", "Port", "22");
    FAIL() << "no error";
  } catch (const EZnError& e) {
    EXPECT_EQ(std::string(e.what()), std::string("A beállítási fájl nem írható: "_cp) + path);
  }
}

TEST_F(IniDir, FailedTemporaryWriteLeavesTheOldFile) {
  Put("[Program]\nPort=21\n");
  fs::create_directory(path_ + ".new");  // the temporary file cannot be made
  EXPECT_THROW(IniWrite(path_, "Program", "Port", "22"), EZnError);
  EXPECT_EQ(Get(), "[Program]\nPort=21\n");
  EXPECT_TRUE(fs::is_directory(path_ + ".new")) << "only its own temporary file is ever removed";
}

TEST_F(IniDir, ReplacingKeepsTheFileModeAndLeavesNoTemporaryFile) {
  Put("[Program]\nPort=21\n");
  fs::permissions(path_, fs::perms::owner_read | fs::perms::owner_write);
  IniWrite(path_, "Program", "Port", "22");
  EXPECT_EQ(fs::status(path_).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_FALSE(fs::exists(path_ + ".new"));
  EXPECT_EQ(IniRead(path_, "program", "port", ""), "22");
}

// A Zn.INI that is a symbolic link (kept in a synchronised folder, say): the connect's write goes to
// the file behind it and the link stays; what cannot be written is refused with the settings
// file's message and changes nothing.
TEST_F(IniDir, SymbolicLinksAreWrittenThroughAndStayLinks) {
  struct Case {
    const char* name;
    std::function<void(const fs::path& dir)> make;  // makes Zn.INI (and what it points to)
    std::string error;                              // the message's start; empty: written
    const char* written;                            // the file the settings land in, from dir
  };
  const std::string old = "[Program]\r\nUser=Anna\r\nPort=21\r\n";
  auto file = [&](const fs::path& p, fs::perms mode = fs::perms::owner_read | fs::perms::owner_write) {
    fs::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << old;
    fs::permissions(p, mode);
  };
  const Case cases[] = {
      {"absolute link to another folder",
       [&](const fs::path& d) {
         file(d / "sync/Zn.INI");
         fs::create_symlink(d / "sync/Zn.INI", d / "Zn.INI");
       },
       "", "sync/Zn.INI"},
      {"relative chain",
       [&](const fs::path& d) {
         file(d / "sync/real.ini");
         fs::create_symlink("sync/mid.ini", d / "Zn.INI");
         fs::create_symlink("real.ini", d / "sync/mid.ini");  // relative to its own folder
       },
       "", "sync/real.ini"},
      {"dangling link", [&](const fs::path& d) { fs::create_symlink("new.ini", d / "Zn.INI"); }, "",
       "new.ini"},
      {"read-only behind the link",
       [&](const fs::path& d) {
         file(d / "ro.ini", fs::perms::owner_read);
         fs::create_symlink("ro.ini", d / "Zn.INI");
       },
       std::string("A beállítási fájl írásvédett: "_cp), "ro.ini"},
      {"loop of links",
       [&](const fs::path& d) {
         fs::create_symlink("b.ini", d / "Zn.INI");
         fs::create_symlink("Zn.INI", d / "b.ini");
       },
       std::string("A beállítási fájl nem írható: "_cp), nullptr},
      {"a link at the temporary name",
       [&](const fs::path& d) {
         file(d / "Zn.INI");
         file(d / "elsewhere.ini");
         fs::create_symlink("elsewhere.ini", d / "Zn.INI.new");
       },
       std::string("A beállítási fájl nem írható: "_cp), "Zn.INI"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path d = fs::path(dir_.Path()) / c.name;
    fs::create_directories(d);
    c.make(d);
    const std::string path = d / "Zn.INI";
    const bool wasLink = fs::is_symlink(path);
    std::string error;
    try {
      WriteConnectSettings(path, "Bela", {"a", "b", "c", "d", "e"}, "22");
    } catch (const EZnError& e) {
      error = e.what();
    }
    EXPECT_EQ(error, c.error.empty() ? "" : c.error + path);
    EXPECT_EQ(fs::is_symlink(path), wasLink);
    for (const auto& e : fs::recursive_directory_iterator(d)) {
      if (!e.is_symlink() && e.path().string().ends_with(".new")) ADD_FAILURE() << e.path();
    }
    if (!c.written) continue;
    EXPECT_EQ(IniRead(d / c.written, "Program", "Port", ""), c.error.empty() ? "22" : "21");
    EXPECT_EQ(IniRead(d / c.written, "Program", "User", ""), c.error.empty() ? "Bela" : "Anna");
  }
  EXPECT_EQ(IniRead(fs::path(dir_.Path()) / "a link at the temporary name" / "elsewhere.ini", "Program",
                    "Port", ""),
            "21");
}

}  // namespace
}  // namespace zn
