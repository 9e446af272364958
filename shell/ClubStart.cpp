// The club window's first showing with the nickname prompt, and its closing.
#include "game/Confirm.h"
#include "game/Cp1250.h"
#include "game/Desktop.h"
#include "link/NameRule.h"
#include "shell/ZnCliTop.h"

namespace zn {

using namespace zn::literals;

bool TZnForm::ValidNickname(std::string_view name) { return proto::ValidNickname(name); }

std::optional<std::string> TZnForm::AskNickname(std::string_view why, std::string typed) {
  std::string problem(why);
  for (;;) {
    std::string prompt = problem;
    if (!prompt.empty()) prompt += "\r";
    prompt += "Milyen néven akarsz játszani?\rNév: "_cp;
    prompt += proto::kNicknameRule;
    auto answer = Desktop().InputBox(std::string("Milyen néven akarsz játszani?"_cp), prompt, typed);
    if (!answer) return std::nullopt;
    typed = *answer;
    problem = proto::NicknameProblem(typed);
    if (problem.empty()) return typed;
  }
}

void TZnForm::FormShow() {
  // No way past the first prompt without a valid nickname: Cancel asks again.
  std::string typed = State.Nickname;
  std::string why = State.Nickname.empty() ? std::string() : proto::NicknameProblem(State.Nickname);
  while (!ValidNickname(State.Nickname)) {
    if (auto answer = AskNickname(why, typed)) State.Nickname = *answer;
    why.clear();
  }
  if (State.StatusNick != State.Nickname) {
    State.StatusNick = State.Nickname;
    Notify(Aspect::Status);
  }
  Dispatching = true;
  cmDisconnectExecute();
}

bool TZnForm::CloseQuery(bool clubWindowActive) {
  if (clubWindowActive && !Confirm(std::string("Valóban elhagyod a tarokk-klubot?"_cp))) return false;
  Dispatching = false;
  return true;
}

}  // namespace zn
