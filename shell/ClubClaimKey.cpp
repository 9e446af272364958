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
  ClaimGate.NewConnection();
}

namespace {

// The Zn.INI key of a server address: characters the file gives a meaning are left out.
std::string ClubAddressKey(const std::string& host, std::int32_t port) {
  std::string key;
  for (char c : host)
    if (c != '=' && c != '[' && c != ']' && c != ';' && static_cast<unsigned char>(c) > ' ')
      key += c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  return key + ":" + std::to_string(port);
}

}  // namespace

void TZnForm::YLine(const std::string& line) {
  const std::optional<claim::TChallenge> challenge = proto::ReadChallenge(line);
  if (!challenge) throw EZnError(std::string("Hibás névigazolás-kérés érkezett a szervertől"_cp));
  ClaimAnswered = true;
  if (!ClaimSecret) return;
  const std::string address = ClubAddressKey(Link->Host, Link->Port);
  std::optional<claim::TClubId> known;
  claim::TClubId stored{};
  const std::string hex = IniRead(State.SettingsPath, kSectionClaimClubs, address, "");
  if (claim::FromHex(hex, stored.data(), stored.size())) known = stored;
  switch (ClaimGate.Judge(known, challenge->club, Desktop().SteadyMs())) {
    case claim::TProofGate::TVerdict::Unasked:
    case claim::TProofGate::TVerdict::TooOften:
      return;  // not signed: the server refuses the login when its time runs out
    case claim::TProofGate::TVerdict::OtherClub: {
      // Another club may be passing this one's challenge on: the connection ends here.
      StopReturning();
      NewLink();
      ResetToConnectPage();
      throw EZnError(std::string("A(z) "_cp) + address +
                     std::string(" címen most nem az a klub válaszol, amelyiknek korábban igazoltad itt "
                                 "a becenevedet, ezért a program nem igazolta, és bontotta a kapcsolatot. "
                                 "Lehet, hogy valaki a klubnak adja ki magát. Ha a klub gazdája megerősíti, "
                                 "hogy a szerver valóban megváltozott, töröld a Zn.INI [ClaimClubs] "
                                 "részéből ezt a címet, és kapcsolódj újra"_cp));
    }
    case claim::TProofGate::TVerdict::Sign:
      break;
  }
  if (!known)  // the first club met at this address is the one trusted there
    IniWrite(State.SettingsPath, kSectionClaimClubs, address,
             claim::ToHex(challenge->club.data(), challenge->club.size()));
  Send(proto::CmdProof(claim::MakeProof(*ClaimSecret, *challenge, State.Nickname)));
}

void TZnForm::ClaimAfterLobby() {
  ClaimGate.LobbyReached();
  // A login the server let in without a challenge: ask for one, so the nickname becomes ours.
  if (ClaimAnswered || ClaimAsked || !ClaimSecret) return;
  ClaimAsked = true;
  ClaimGate.Requested();
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
