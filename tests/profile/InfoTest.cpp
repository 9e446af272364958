// The personal-data window: storing the own profile, showing others', and the Q/W exchange.
#include <gtest/gtest.h>

#include "game/Cp1250.h"
#include "game/ErrorHandler.h"
#include "profile/ZnInfo.h"
#include "tests/support/ClubPortFake.h"
#include "tests/support/FakeDesktop.h"

namespace zn::test {
namespace {

using namespace zn::literals;
using Lines = std::vector<std::string>;
std::string S(std::string_view v) { return std::string(v); }

class InfoTest : public ::testing::Test {
 protected:
  InfoTest() {
    club.Ini[{"Personal", "Real"}] = "Vada Vivo";
    club.Ini[{"Personal", "Info"}] = "Szia!~";
    info = std::make_unique<TInfo>(club);
  }
  ScopedFakeDesktop fake;
  FakeDesktop& desk = fake.desk;
  ClubPortFake club;
  std::unique_ptr<TInfo> info;

  void OpenOwn(const std::string& real, const Lines& lines = {}) {
    info->ShowProfile(club.Nick);
    info->fdReal = real;
    info->fdInfo = lines;
  }
};

struct JoinCase {
  Lines lines;
  std::string joined;
};

class LineJoined : public ::testing::TestWithParam<JoinCase> {};

TEST_P(LineJoined, JoinsEveryLineWithATildeAndCutsItBack) {
  EXPECT_EQ(TInfo::JoinLines(GetParam().lines), GetParam().joined);
  EXPECT_EQ(TInfo::SplitJoined(GetParam().joined), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(Texts, LineJoined,
                         ::testing::Values(JoinCase{{"abc", "de"}, "abc~de~"}, JoinCase{{}, ""},
                                           JoinCase{{"a", "", "b"}, "a~~b~"}, JoinCase{{""}, "~"},
                                           JoinCase{{"", ""}, "~~"}));

struct SaveCase {
  const char* name;
  std::string nick, real;
  std::string message;  // empty: stored
};
void PrintTo(const SaveCase& c, std::ostream* os) { *os << c.name; }

class SaveChecks : public InfoTest, public ::testing::WithParamInterface<SaveCase> {};

TEST_P(SaveChecks, RefuseShortNamesAndKeepTheDialogOpen) {
  OpenOwn(GetParam().real, {"a", "", "b"});
  info->fdName = GetParam().nick;
  info->cmSaveClick();
  const bool stored = GetParam().message.empty();
  EXPECT_EQ(info->Visible, !stored);
  EXPECT_EQ(club.Ini.count({"Personal", "Work"}), stored ? 1u : 0u);
  if (stored) {
    EXPECT_TRUE(desk.Messages.empty());
    EXPECT_EQ(club.ReadSetting("Personal", "Info"), "a~~b~");
    EXPECT_EQ(info->Real, GetParam().real);
  } else {
    EXPECT_EQ(desk.Messages, Lines{GetParam().message});
    EXPECT_EQ(info->fdReal, GetParam().real) << "the content stays";
    EXPECT_EQ(info->Real, "Vada Vivo");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Lengths, SaveChecks,
    ::testing::Values(SaveCase{"Exact", "Anna", "Vada Viv", ""},
                      SaveCase{"ShortNick", "Ann", "Vada Viv", S("A becenév nincs kitöltve"_cp)},
                      SaveCase{"ShortReal", "Anna", "Vada Vi", S("A teljes név nincs kitöltve"_cp)},
                      SaveCase{"NickFirst", "Ann", "Vada Vi", S("A becenév nincs kitöltve"_cp)},
                      SaveCase{"AccentsAreOneByte", "Anna", S("Őrző Éde"_cp), ""}),
    [](const auto& i) { return std::string(i.param.name); });

TEST_F(InfoTest, StoredProfileIsReadBackAndANewNicknameIsNoticedAfterHiding) {
  OpenOwn("Kiss Anna", {"a", "", "b"});
  info->fdWork = S("tűzoltó"_cp);
  info->fdBid = {"Trull"};
  info->fdName = "Annuska";
  info->cmSaveClick();
  EXPECT_FALSE(info->Visible);
  EXPECT_EQ(club.ThrottleResets, 1);
  EXPECT_EQ(desk.Messages, Lines{S("Az új becenév csak a következő programindításkor lesz érvényes"_cp)});
  EXPECT_EQ(club.ReadSetting("Program", "User"), "Annuska");
  EXPECT_EQ(club.Nick, "Anna") << "the nickname in use changes only at the next start";
  // A new window reads the same values and shows the three lines again.
  TInfo again(club);
  EXPECT_EQ(again.Info, "a~~b~");
  again.ShowProfile("Anna");
  EXPECT_EQ(again.fdInfo, (Lines{"a", "", "b"}));
  EXPECT_EQ(again.fdWork, S("tűzoltó"_cp));
  EXPECT_EQ(again.fdBid, Lines{"Trull"});
  EXPECT_TRUE(again.OwnProfile);
}

TEST_F(InfoTest, FailingSettingsWriteIsShownAndKeepsTheDialogOpen) {
  OpenOwn("Kiss Anna", {"uj"});
  info->fdName = "Annuska";
  club.FailingKey = "Info";
  info->cmSaveClick();
  EXPECT_EQ(desk.Errors, Lines{"Cannot write the settings file."});
  EXPECT_TRUE(desk.Messages.empty()) << "no nickname notice for a profile that was not stored";
  EXPECT_TRUE(info->Visible);
  EXPECT_EQ(info->fdReal, "Kiss Anna");
  EXPECT_EQ(info->fdInfo, Lines{"uj"});
  EXPECT_EQ(info->Real, "Vada Vivo") << "inquiries are still answered with what was stored";
  club.FailingKey.clear();
  info->cmSaveClick();  // tried again
  EXPECT_FALSE(info->Visible);
  EXPECT_EQ(info->Real, "Kiss Anna");
}

TEST_F(InfoTest, InquiryIsAnsweredAtOnceWithTheStoredValues) {
  OpenOwn("unsaved edit");
  info->AnswerInquiry("QBela Anna");
  EXPECT_EQ(club.Sent, Lines{"WBela Anna 9 0 6 0 Vada VivoSzia!~"});
  EXPECT_EQ(club.Memo, Lines{S(" >>>>> Bela érdeklődött irántad"_cp)});
  EXPECT_TRUE(desk.Questions.empty());
  club.Ini.clear();
  TInfo empty(club);
  empty.AnswerInquiry("QCili Anna x");
  EXPECT_EQ(club.Sent.back(), "WCili Anna x 0 0 0 0 ");
  EXPECT_EQ(club.Memo.back(), S(" >>>>> Cili érdeklődött irántad"_cp));
}

TEST_F(InfoTest, OwnAndRobotProfilesSendNothingOthersAreAskedFor) {
  info->ShowProfile("Anna");
  EXPECT_TRUE(info->OwnProfile && info->Visible);
  EXPECT_EQ(info->fdReal, "Vada Vivo");
  EXPECT_EQ(info->fdInfo, Lines{"Szia!"});
  info->ShowProfile("-Robot3");
  EXPECT_FALSE(info->OwnProfile);
  EXPECT_EQ(info->fdBid, Lines{S("Honőr (Skíz vagy XXI), Angeló (XVII), L'amour (XVI), Matador"_cp)});
  EXPECT_TRUE(club.Sent.empty());
  info->cmCancelClick();
  EXPECT_FALSE(info->Visible);
  info->ShowProfile("anna");  // the comparison is exact
  EXPECT_EQ(club.Sent, Lines{"QAnna anna"});
  EXPECT_FALSE(info->Visible);
  EXPECT_EQ(info->fdName, "anna");
}

TEST_F(InfoTest, AnswerArrivingAfterTheOwnProfileWasOpenedIsShownReadOnly) {
  info->ShowProfile("Bela");
  info->ShowProfile("Anna");
  ASSERT_TRUE(info->OwnProfile);
  info->ReceiveProfile("WAnna Bela 4 0 0 0 Bela");
  EXPECT_FALSE(info->OwnProfile);
  EXPECT_EQ(info->fdName, "Bela");
  info->fdReal = "Bela Bela Bela";
  info->cmSaveClick();  // "OK" is hidden; even when reached it stores nothing
  EXPECT_TRUE(club.Ini.count({"Personal", "Work"}) == 0);
  EXPECT_EQ(info->Real, "Vada Vivo");
}

TEST_F(InfoTest, ProfileWithALengthThatIsNoNumberChangesNothing) {
  info->ShowProfile("Bela");
  EXPECT_FALSE(Guarded([&] { info->ReceiveProfile("WAnna Bela 4 x 0 0 Vada"); }));
  EXPECT_EQ(desk.Errors, Lines{"'x' is not a valid integer value."});
  EXPECT_FALSE(info->Visible);
  EXPECT_EQ(info->fdName, "Bela");
  EXPECT_TRUE(info->fdReal.empty());
  EXPECT_FALSE(Guarded([&] { info->ReceiveProfile("W"); }));
  info->ReceiveProfile("WAnna Bela 4 99 2147483647 5 Vada Vivo");  // lengths past the data
  EXPECT_TRUE(info->Visible);
  EXPECT_EQ(info->fdReal, "Vada");
  EXPECT_EQ(info->fdWork, " Vivo");
  EXPECT_TRUE(info->fdInfo.empty() && info->fdBid.empty());
}

}  // namespace
}  // namespace zn::test
