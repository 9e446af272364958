// The claimed nickname in the club window: the secret made at the first start, the proof sent for
// a challenge, the request after a free login, the refusal that asks for another nickname, and the
// code that takes the secret to another computer.
#include <gmock/gmock.h>

#include "shell/IniFile.h"
#include "shell/Settings.h"
#include "tests/shell/ClubFixture.h"

namespace zn::test {
namespace {

using ::testing::ElementsAre;

class ClubClaimKeyTest : public ClubTest {
 protected:
  std::string StoredCode() const { return IniRead(Ini(), "Program", "ClaimCode", ""); }
  // Logged in by "N" on a fresh connection; what was sent so far is dropped.
  void LoggedIn() {
    Start();
    Connect();
    Greeted();
    log.sent.clear();
  }
};

TEST_F(ClubClaimKeyTest, FirstConnectMakesTheSecretAndLaterStartsKeepIt) {
  Start();
  EXPECT_FALSE(form->ClaimSecret);
  Connect();
  ASSERT_TRUE(form->ClaimSecret);
  EXPECT_EQ(claim::ParseSecretCode(StoredCode()), form->ClaimSecret);
  const claim::TSecret first = *form->ClaimSecret;
  form.reset();
  Start();
  Connect();
  EXPECT_EQ(form->ClaimSecret, first);
}

TEST_F(ClubClaimKeyTest, DamagedCodeIsKeptAndProvesNothing) {
  IniWrite(Ini(), "Program", "ClaimCode", "ABCD");
  LoggedIn();
  EXPECT_FALSE(form->ClaimSecret);
  Feed({proto::LineChallenge(claim::NewNonce()), proto::LineLobby({{"Lobby"}, {}})});
  EXPECT_THAT(log.sent, ::testing::IsEmpty()) << "no proof";
  EXPECT_EQ(StoredCode(), "ABCD");
}

TEST_F(ClubClaimKeyTest, ChallengeIsAnsweredWithAProofForTheNickname) {
  LoggedIn();
  const claim::TNonce nonce = claim::NewNonce();
  Feed({proto::LineChallenge(nonce), proto::LineLobby({{"Lobby"}, {}})});
  ASSERT_EQ(log.sent.size(), 1u);  // no request after a challenged login: the proof alone
  const auto proof = proto::ReadCmdProof(log.sent[0]);
  ASSERT_TRUE(proof);
  EXPECT_EQ(proof->key, claim::PublicKeyOf(*form->ClaimSecret));
  EXPECT_TRUE(claim::Verify(*proof, nonce, "Anna"));
}

TEST_F(ClubClaimKeyTest, FreeLoginAsksOnceForAChallenge) {
  LoggedIn();
  Feed({proto::LineLobby({{"Lobby"}, {}}), proto::LineLobby({{"Lobby"}, {}})});
  EXPECT_THAT(log.sent, ElementsAre("Y"));
}

TEST_F(ClubClaimKeyTest, RefusalAsksForAnotherNicknameAndLogsInWithIt) {
  LoggedIn();
  desk.desk.InputAnswers = {std::string("Anna"), std::string("x"), std::string("Bella")};
  Feed({"M >>>>> " + S(claim::kRefusedText)});
  EXPECT_EQ(form->State.Nickname, "Bella");
  EXPECT_EQ(form->State.StatusNick, "Bella");
  EXPECT_EQ(IniRead(Ini(), "Program", "User", ""), "Bella");
  EXPECT_EQ(form->State.Memo.back(), " >>>>> " + S(claim::kRefusedText));
  // Cancel leaves the nickname for the member to enter his code first.
  Feed({"M >>>>> " + S(claim::kRefusedText)});
  EXPECT_EQ(form->State.Nickname, "Bella");
}

TEST_F(ClubClaimKeyTest, CodeShownAndEnteredElsewhere) {
  Create();
  form->cmShowCodeExecute();
  ASSERT_FALSE(desk.desk.Log.empty());
  EXPECT_NE(desk.desk.Log.back().find(claim::SecretCode(*form->ClaimSecret)), std::string::npos);

  const claim::TSecret other = claim::NewSecret();
  desk.desk.InputAnswers = {std::string("1234 5678"), claim::SecretCode(other)};
  form->cmEnterCodeExecute();  // a wrong code changes nothing
  ASSERT_EQ(desk.desk.Errors.size(), 1u);
  EXPECT_NE(desk.desk.Errors[0].find(S("Hibás névkód"_cp)), std::string::npos);
  EXPECT_NE(form->ClaimSecret, other);
  form->cmEnterCodeExecute();
  EXPECT_EQ(form->ClaimSecret, other);
  EXPECT_EQ(claim::ParseSecretCode(StoredCode()), other);
}

}  // namespace
}  // namespace zn::test
