// The club window's first showing with the nickname prompt, and its closing.
#include "game/Confirm.h"
#include "game/Cp1250.h"
#include "game/Desktop.h"
#include "shell/ZnCliTop.h"

namespace zn {

using namespace zn::literals;

bool TZnForm::ValidNickname(std::string_view name) {
  // A space or a "#" would split every line the nickname travels in.
  return name.size() > 3 && name[0] != '-' && name.find(' ') == std::string_view::npos &&
         name.find('#') == std::string_view::npos;
}

void TZnForm::FormShow() {
  std::string typed = Nickname;
  while (!ValidNickname(Nickname)) {
    auto answer = Desktop().InputBox(std::string("Milyen néven akarsz játszani?"_cp),
                                     std::string("Név: (legalább 4 betű)"_cp), typed);
    if (!answer) continue;
    typed = *answer;
    if (ValidNickname(typed)) Nickname = typed;
  }
  if (StatusNick != Nickname) {
    StatusNick = Nickname;
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
