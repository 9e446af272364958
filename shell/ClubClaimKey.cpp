// The club window's claimed nickname: the secret kept in Zn.INI (made at the first start), the
// proof sent for the server's challenge, the request for one after a login that needed none (so a
// free nickname gets claimed), the refusal notice that asks for another nickname, and the two
// "&Külvilág" items that take the secret to another computer as a code.
#include "game/Confirm.h"
#include "game/Cp1250.h"
#include "game/Desktop.h"
#include "game/ErrorHandler.h"
#include "shell/IniFile.h"
#include "shell/Settings.h"
#include "shell/ZnCliTop.h"

namespace zn {

using namespace zn::literals;

void TZnForm::LoadClaimSecret() {
  const std::string stored = IniRead(State.SettingsPath, kSectionProgram, kClaimKey, "");
  // A damaged code is left as it is (the member may mend it, or enter his code): a new secret
  // written over it would give the name away for good.
  ClaimSecret = claim::ParseSecretCode(stored);
  ClaimDamaged = !stored.empty() && !ClaimSecret;
}

void TZnForm::MakeClaimSecret() {
  if (ClaimSecret || ClaimDamaged) return;
  const claim::TSecret secret = claim::NewSecret();
  std::string code = claim::SecretCode(secret);
  std::erase(code, ' ');
  IniWrite(State.SettingsPath, kSectionProgram, kClaimKey, code);  // throws when it cannot be written
  ClaimSecret = secret;
}

void TZnForm::ClaimNewConnection() {
  ClaimAnswered = false;
  ClaimAsked = false;
}

void TZnForm::YLine(const std::string& line) {
  const std::optional<claim::TNonce> nonce = proto::ReadChallenge(line);
  if (!nonce) throw EZnError(std::string("Hibás névigazolás-kérés érkezett a szervertől"_cp));
  ClaimAnswered = true;
  if (ClaimSecret) Send(proto::CmdProof(claim::MakeProof(*ClaimSecret, *nonce, State.Nickname)));
}

void TZnForm::ClaimAfterLobby() {
  // A login the server let in without a challenge: ask for one, so the nickname becomes ours.
  if (ClaimAnswered || ClaimAsked || !ClaimSecret) return;
  ClaimAsked = true;
  Send(proto::CmdClaimRequest());
}

bool TZnForm::IsClaimRefusal(std::string_view line) {
  const std::string_view notice = " >>>>> ";
  return line.size() == 1 + notice.size() + claim::kRefusedText.size() &&
         line.substr(1, notice.size()) == notice && line.substr(1 + notice.size()) == claim::kRefusedText;
}

void TZnForm::NicknameRefused(std::string_view why) {
  // The server closes the connection: a new nickname logs in on a new one.
  std::optional<std::string> typed = AskNickname(why, State.Nickname);
  while (typed && *typed == State.Nickname) typed = AskNickname(why, *typed);
  if (!typed) {
    // The member may bring his code first: no attempt of the way back may log in meanwhile.
    StopReturning();
    NewLink();
    const std::string notice = State.Memo.empty() ? std::string() : State.Memo.back();
    ResetToConnectPage();
    if (!notice.empty()) State.AddMemo(notice);  // it says why the member is back here
    return;
  }
  State.Nickname = *typed;
  State.StatusNick = State.Nickname;
  Notify(Aspect::Status);
  NewLink();
  State.Connect.ConnectTime = 0;  // this is no second click
  cmConnectExecute();
}

void TZnForm::cmShowCodeExecute() {
  Guarded([&] {
    MakeClaimSecret();
    if (!ClaimSecret)
      throw EZnError(
          std::string("A Zn.INI névkódja hibás; add meg a kódodat a Névkód megadása menüponttal"_cp));
    // An input box, so the code can be selected and copied; what comes back is not used.
    Desktop().InputBox(std::string("Névkód"_cp),
                       std::string("Ezzel a kóddal viheted magaddal a becenevedet egy másik gépre. "
                                   "Senkinek ne add oda!"_cp),
                       claim::SecretCode(*ClaimSecret));
  });
}

void TZnForm::cmEnterCodeExecute() {
  Guarded([&] {
    auto answer = Desktop().InputBox(std::string("Névkód megadása"_cp),
                                     std::string("A másik gépen látott névkód (14 négyes csoport):"_cp), "");
    if (!answer) return;
    const std::optional<claim::TSecret> secret = claim::ParseSecretCode(*answer);
    if (!secret)
      throw EZnError(
          std::string("Hibás névkód: 56 betű és szám kell, pontosan úgy, ahogy a másik gép mutatja"_cp));
    if (secret == ClaimSecret) {
      Desktop().ShowMessage(std::string("Ez már ennek a gépnek a névkódja."_cp));
      return;
    }
    if (ClaimSecret && !Confirm(std::string("A gép eddigi névkódja helyére ez kerül; a régi kóddal igazolt "
                                            "becenevet innen többé nem használhatod. Folytatod?"_cp)))
      return;
    std::string code = claim::SecretCode(*secret);
    std::erase(code, ' ');
    IniWrite(State.SettingsPath, kSectionProgram, kClaimKey, code);
    ClaimSecret = secret;
    ClaimDamaged = false;
    Desktop().ShowMessage(
        std::string("A névkód elmentve: a következő bejelentkezéstől ezzel igazolod a becenevedet."_cp));
  });
}

}  // namespace zn
