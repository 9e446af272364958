// Start-up, the nickname prompt, closing, connecting and the address list.
#include <filesystem>
#include <fstream>
#include <iterator>

#include "link/NameRule.h"
#include "shell/IniFile.h"
#include "tests/shell/ClubFixture.h"

namespace zn::test {
namespace {

TEST_F(ClubTest, WithoutSettingsFileTheDefaultsAreShownAndTheNicknameAsked) {
  Create();
  EXPECT_EQ(form->State.Connect.AddressList,
            (std::vector<std::string>{"localhost", ZN_DEFAULT_SERVER_HOST, "?", "??", "???"}));
  EXPECT_EQ(form->State.Connect.AddressIndex, 0);
  EXPECT_EQ(form->State.Connect.PortText, "22");
  EXPECT_EQ(form->State.Memo, std::vector<std::string>{S("Üzenetek"_cp)});
  desk.desk.InputAnswers = {std::nullopt, S("Anna"_cp)};
  form->FormShow();
  ASSERT_EQ(desk.desk.Log.size(), 2u);
  // The question stands in the prompt too (a narrow box elides its title), with the rule.
  EXPECT_EQ(desk.desk.Log[0],
            S("input:Milyen néven akarsz játszani?:Milyen néven akarsz játszani?\rNév: "_cp) +
                S(proto::kNicknameRule) + ":");
  EXPECT_EQ(form->State.Nickname, "Anna");
  EXPECT_EQ(form->State.StatusNick, "Anna");
  EXPECT_TRUE(form->Dispatching);
  EXPECT_EQ(form->State.Page, TClubState::tabConnect);
  EXPECT_EQ(form->State.Connect.Address, "localhost");
  EXPECT_EQ(form->State.Caption, "Zenit Tarokk Klub");
  EXPECT_FALSE(std::filesystem::exists(Ini())) << "the file is made by the first connect";
}

TEST_F(ClubTest, StoredNicknameSkipsThePrompt) {
  IniWrite(Ini(), "Program", "User", "Bela");
  Start();
  EXPECT_EQ(form->State.Nickname, "Bela");
  EXPECT_TRUE(desk.desk.Log.empty());
}

TEST_F(ClubTest, PromptAsksAgainUntilTheNicknameIsValidPrefilledWithTheLastTyped) {
  Create();
  desk.desk.InputAnswers = {S("abc"), S("-Robi"), S("An na"), S("An#na"), S("Anna")};
  form->FormShow();
  EXPECT_EQ(form->State.Nickname, "Anna");
  ASSERT_EQ(desk.desk.Log.size(), 5u);
  // Each prompt after a refused name says why, and holds what was typed.
  const char* why[] = {"Legalább 4 betű kell.", "Kötőjellel csak", "Szóköz nem lehet",
                       "Ez a jel nem lehet a névben: #"};
  for (std::size_t i = 1; i < 5; ++i) {
    const std::string& prompt = desk.desk.Log[i];
    EXPECT_NE(prompt.find(Utf8ToCp1250(why[i - 1])), std::string::npos) << prompt;
  }
  EXPECT_TRUE(desk.desk.Log[4].ends_with(":An#na"));
}

// A nickname the server refuses (one an older client let through and saved, or one in use) asks
// for another at once and logs in with it; Cancel leaves the member on the connect page. A saved
// nickname that breaks the rule is asked for again at the start.
TEST_F(ClubTest, RefusedNicknameIsAskedAgain) {
  IniWrite(Ini(), "Program", "User", "anna@kiss");
  Create();
  desk.desk.InputAnswers = {S("Anna")};
  form->FormShow();
  EXPECT_NE(desk.desk.Log.at(0).find(S("Ez a jel nem lehet a névben: @"_cp)), std::string::npos);
  Connect();
  Greeted();
  log.sent.clear();
  desk.desk.InputAnswers = {S("Anna"), S("Bella")};  // the same name is asked for again
  desk.desk.Clock += 2000;
  Receive({proto::LineMessage(" >>>>> " + S(proto::kBadNicknameText) + "Anna")});
  log.active = false;
  form->Link->Socket().OnDisconnected();
  Pump();
  EXPECT_EQ(form->State.Nickname, "Bella");
  EXPECT_EQ(IniRead(Ini(), "Program", "User", ""), "Bella");
  log.active = true;
  form->Link->Socket().OnConnected();
  Greeted();
  EXPECT_EQ(log.sent,
            (std::vector<std::string>{proto::CmdReads(proto::kReadsKnown), proto::CmdNick("Bella")}));

  // Cancel: the connect page, the notice still in the message area.
  Receive({proto::LineMessage(" >>>>> " + S(proto::kBadNicknameText) + "Bella")});
  Pump();
  EXPECT_EQ(form->State.Nickname, "Bella");
  EXPECT_EQ(form->State.Page, TClubState::tabConnect);
  EXPECT_EQ(form->State.Memo.back(), " >>>>> " + S(proto::kBadNicknameText) + "Bella");
}

struct NickCase {
  std::string name;
  bool valid;
};
class NicknameRule : public ::testing::TestWithParam<NickCase> {};
TEST_P(NicknameRule, TravelsAsOneToken) {
  EXPECT_EQ(TZnForm::ValidNickname(GetParam().name), GetParam().valid);
}
INSTANTIATE_TEST_SUITE_P(Names, NicknameRule,
                         ::testing::Values(NickCase{"abc", false}, NickCase{"abcd", true},
                                           NickCase{"-abcd", false}, NickCase{"ab cd", false},
                                           NickCase{"ab#cd", false}, NickCase{"", false},
                                           NickCase{S("Kőrös"_cp), true}, NickCase{"a-bc", true},
                                           // The server's rule: letters, digits, a few marks, 20 bytes.
                                           NickCase{"anna@kiss", false},
                                           NickCase{"ab\xA0"
                                                    "cd",
                                                    false},
                                           NickCase{"abcdefghij0123456789", true},
                                           NickCase{"abcdefghij0123456789x", false},
                                           NickCase{"Anna!", true}));

TEST_F(ClubTest, CloseAsksOnlyWhenTheClubWindowIsActive) {
  Start();
  desk.desk.YesNoAnswers = {false};
  EXPECT_FALSE(form->CloseQuery(true));
  EXPECT_TRUE(form->Dispatching);
  EXPECT_EQ(desk.desk.Log.back(), S("ask:Jóváhagyás:Valóban elhagyod a tarokk-klubot?"_cp));
  const auto asked = desk.desk.Questions.size();
  EXPECT_TRUE(form->CloseQuery(false));
  EXPECT_EQ(desk.desk.Questions.size(), asked);
  EXPECT_FALSE(form->Dispatching) << "no line is dispatched once closing proceeds";
  Receive({"Mhello"});
  EXPECT_FALSE(form->IdleHandler());
}

TEST_F(ClubTest, TwoConnectsWithinOneSecondConnectOnce) {
  Start();
  form->cmConnectExecute();
  desk.desk.Clock += 999;
  form->cmConnectExecute();
  EXPECT_EQ(log.connects, std::vector<std::string>{"localhost:22"});
  desk.desk.Clock += 1;
  form->cmConnectExecute();
  EXPECT_EQ(log.connects.size(), 2u);
}

// The connect click's one-second guard has its own time: a ping and its answer do not move it.
TEST_F(ClubTest, PingAndItsAnswerLeaveTheConnectGuardAlone) {
  Start();
  Connect();
  desk.desk.Clock += 1000;
  form->cmPingExecute();
  form->cmConnectExecute();  // a second after the first connect, right after the ping
  EXPECT_EQ(log.connects.size(), 2u);
  Feed({proto::LinePing()});
  form->cmConnectExecute();  // within the second: the answer did not reset the guard
  EXPECT_EQ(log.connects.size(), 2u);
}

TEST_F(ClubTest, NewAddressGoesFirstAndFiveAreStored) {
  Start();
  form->State.Connect.Address = "kek.example";
  form->State.Connect.PortText = "4022";
  form->cmConnectExecute();
  EXPECT_EQ(log.connects, std::vector<std::string>{"kek.example:4022"});
  EXPECT_EQ(form->State.Connect.AddressList.front(), "kek.example");
  EXPECT_EQ(form->State.Connect.AddressList.size(), 6u);
  EXPECT_EQ(IniRead(Ini(), "Program", "User", ""), "Anna");
  const std::vector<std::string> stored = {"kek.example", "localhost", ZN_DEFAULT_SERVER_HOST, "?", "??"};
  for (std::size_t i = 0; i < stored.size(); ++i)
    EXPECT_EQ(IniRead(Ini(), "Program", "Address" + std::to_string(i), "-"), stored[i]);
  EXPECT_EQ(IniRead(Ini(), "Program", "Port", ""), "4022");
  std::ifstream in(Ini(), std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(bytes.find("???"), std::string::npos) << "the fifth old entry is no longer written";

  desk.desk.Clock += 2000;
  form->cmConnectExecute();  // the same address again: the list does not grow
  EXPECT_EQ(form->State.Connect.AddressList.size(), 6u);
}

TEST_F(ClubTest, PortThatIsNoNumberConnectsNothingAndWritesNothing) {
  Start();
  form->State.Connect.Address = "kek.example";
  form->State.Connect.PortText = "22a";
  form->cmConnectExecute();
  EXPECT_EQ(desk.desk.Errors, std::vector<std::string>{"'22a' is not a valid integer value."});
  EXPECT_TRUE(log.connects.empty());
  EXPECT_FALSE(std::filesystem::exists(Ini()));
  EXPECT_EQ(form->State.Connect.AddressList.front(), "kek.example") << "the inserted address stays";
}

TEST_F(ClubTest, SettingsThatCannotBeWrittenShowTheErrorAndKeepTheFile) {
  IniWrite(Ini(), "Program", "User", "Anna");
  std::filesystem::permissions(Ini(), std::filesystem::perms::owner_read);
  Start();
  form->State.Connect.Address = "kek.example";
  form->cmConnectExecute();
  EXPECT_EQ(log.connects, std::vector<std::string>{"kek.example:22"}) << "the connect itself went ahead";
  ASSERT_EQ(desk.desk.Errors.size(), 1u);
  EXPECT_EQ(desk.desk.Errors[0], S("A beállítási fájl írásvédett: "_cp) + Ini() + ".");
  EXPECT_EQ(IniRead(Ini(), "Program", "Address0", "none"), "none");
}

TEST_F(ClubTest, AddressListEditing) {
  Start();
  form->adrListClick(2);
  form->adrUpClick();
  EXPECT_EQ(form->State.Connect.AddressList[1], "?");
  EXPECT_EQ(form->State.Connect.AddressIndex, 1);
  form->adrUpClick();
  form->adrUpClick();  // the first entry is copied into the field
  EXPECT_EQ(form->State.Connect.AddressIndex, 0);
  EXPECT_EQ(form->State.Connect.Address, "?");
  form->adrListClick(4);
  form->adrDownClick();  // the last entry stays
  EXPECT_EQ(form->State.Connect.AddressIndex, 4);
  form->adrListDblClick(3);
  EXPECT_EQ(form->State.Connect.AddressList[0], "??");
  EXPECT_EQ(form->State.Connect.Address, "??");
  EXPECT_EQ(form->State.Connect.AddressList.size(), 5u);
}

TEST_F(ClubTest, DisconnectMakesANewLinkAndShowsTheConnectPage) {
  Start();
  Connect();
  Feed({proto::LineLobby({{S("Társalgó"_cp)}, {{0, "Anna"}}})});
  const int sockets = log.sockets;
  form->State.Connect.Address = "elsewhere";
  form->cmDisconnectExecute();
  EXPECT_EQ(log.sockets, sockets + 1);
  EXPECT_FALSE(log.active);
  EXPECT_EQ(form->State.Connect.Address, "localhost");
  EXPECT_EQ(form->State.Page, TClubState::tabConnect);
  EXPECT_EQ(form->State.Caption, "Zenit Tarokk Klub");
  EXPECT_FALSE(form->State.Menus.Messages || form->State.Menus.Lobby || form->State.Menus.Room);
  EXPECT_TRUE(form->State.Present.empty() && form->State.Lobby.Rooms.empty() && form->State.Memo.empty());
}

TEST_F(ClubTest, HelpOpensThePageAndAboutShowsTheVersion) {
  Start();
  form->Actions.cmHelp.Execute();
  EXPECT_EQ(desk.desk.Started,
            std::vector<std::string>{std::string("http://") + ZN_HELP_HOST + "/zenit/znclient.htm"});
  form->Actions.cmAbout.Execute();
  EXPECT_EQ(desk.desk.Messages.back(), "Zenit Tarokk Client\r\r        Version 0.99");
}

TEST_F(ClubTest, ActionsCarryTheirCaptionsAndStartingMarks) {
  Create();
  EXPECT_EQ(form->Actions.cmConnect.Caption, S("&Bejeletkezés"_cp));
  EXPECT_EQ(form->Actions.cmInfo.MenuText(), S("&Bemutatkozás..."_cp));
  EXPECT_EQ(form->Actions.cmInfo.Caption, S("&Bemutatás..."_cp));
  EXPECT_EQ(form->Actions.cmReplay.MenuText(), S("Újra &játszás"_cp));
  EXPECT_EQ(form->Actions.cmNextDeal.Hint, S("A következő számozott leosztás"_cp));
  EXPECT_TRUE(form->Actions.cmAlign.Checked && form->Actions.cmSound.Checked &&
              form->Actions.cmNormal.Checked);
  EXPECT_FALSE(form->Actions.cmKibic.Checked);
  for (auto& [name, action] : form->Actions.All()) EXPECT_TRUE(action->Execute) << name;
  EXPECT_EQ(form->Actions.All().size(), 35u);  // with the two name-code items and the archive
}

}  // namespace
}  // namespace zn::test

namespace zn::test {
namespace {

TEST_F(ClubTest, FailedMoveOfTheOldSettingsIsShownAndTheSettingsStillRead) {
  IniWrite(Ini(), "Program", "Port", "4022");
  locateError = "Cannot move DoZezive.INI";
  Create();
  EXPECT_EQ(desk.desk.Errors, std::vector<std::string>{"Cannot move DoZezive.INI."});
  EXPECT_EQ(form->State.SettingsPath, Ini());
  EXPECT_EQ(form->State.Connect.PortText, "4022");
}

}  // namespace
}  // namespace zn::test
