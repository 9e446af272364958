// "Ü&zenetek": chat, clearing, ping, news and introductions; the present list; the "G" (ping
// answer) and "M" (message) lines.
#include <algorithm>
#include <cstdio>

#include "game/Cp1250.h"
#include "game/Desktop.h"
#include "game/ErrorHandler.h"
#include "link/NameRule.h"
#include "shell/ZnCliTop.h"

namespace zn {

using namespace zn::literals;

void TZnForm::cmMsgExecute() {
  Guarded([&] {
    if (State.ChatText.empty()) {
      Desktop().ShowMessage(std::string("Nincs üzenet!"_cp));
      return;
    }
    const std::string text = std::move(State.ChatText);
    State.ChatText.clear();
    Send(proto::CmdChat(text));
    Notify(Aspect::Chat);
  });
}

void TZnForm::fdChatEnter() { cmMsgExecute(); }

void TZnForm::cmClearExecute() { State.ClearMemo(); }

void TZnForm::cmPingExecute() {
  Guarded([&] {
    State.PingTime = Now();
    if (Link->Socket().Active()) Keeper.MemberPing();  // before the send: its answer may come inside
    Send(proto::CmdPing());
  });
}

void TZnForm::cmLogMsgExecute() {
  Guarded([&] { Send(proto::CmdNews()); });
}

void TZnForm::cmInfoExecute() {
  Guarded([&] {
    if (State.PresentIndex < 0 || State.PresentIndex >= static_cast<int>(State.Present.size())) {
      Desktop().ShowMessage(std::string("Előbb válassz valakit a jelenlevők közül!"_cp));
      return;
    }
    if (State.InfoThrottle >= 1) {
      Desktop().Beep();
      --State.InfoThrottle;
      return;
    }
    State.InfoThrottle = 3;
    InfoForm->ShowProfile(State.Present[static_cast<std::size_t>(State.PresentIndex)]);
  });
}

void TZnForm::fdPresentClick(int index) {
  State.PresentIndex = index >= 0 && index < static_cast<int>(State.Present.size()) ? index : -1;
  Notify(Aspect::Present);
}

void TZnForm::fdPresentDblClick(int index) {
  fdPresentClick(index);
  cmInfoExecute();
}

void TZnForm::GLine(const std::string&) {
  const std::optional<std::int64_t> arrived = Link->TakePingArrival();
  if (Keeper.QuietAnswer()) return;  // the link timer's own ping: nothing to show
  State.PingSeconds = (Now() - State.PingTime) * 86400.0;
  // Timed when its bytes came: a last line waits the quiet time, and any line the trick pause.
  if (arrived)
    State.PingSeconds -=
        static_cast<double>(std::max<std::int64_t>(0, Desktop().SteadyMs() - *arrived)) / 1000.0;
  char number[64];
  std::snprintf(number, sizeof number, "%0.3f", State.PingSeconds);  // the locale's decimal separator
  State.AddMemo(std::string(" >>>>> Válaszidő "_cp) + number + " sec");
  Alert();
}

void TZnForm::MLine(const std::string& line) {
  Alert();
  State.AddMemo(line.empty() ? std::string() : line.substr(1));
  if (IsClaimRefusal(line))
    NicknameRefused(
        "Ez a becenév egy másik tagé. Ha a tiéd, a másik gépeden a Külvilág > Névkód... "
        "mutatja a kódját: a Mégse után a Külvilág > Névkód megadása... kéri, aztán "
        "jelentkezz be újra. Vagy adj meg új nevet."_cp);
  else if (line == "M >>>>> " + std::string(proto::kBadNicknameText) + State.Nickname)
    NicknameRefused(
        std::string("A szerver ezt a nevet nem fogadta el (rossz név, vagy most is bent van "
                    "valaki ezzel a névvel)."_cp));
}

}  // namespace zn
