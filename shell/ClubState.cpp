// The club window's state: the chat box's phrases and the message area's cap.
#include "shell/ClubState.h"

#include "game/Cp1250.h"

namespace zn {

using namespace zn::literals;

const std::array<std::string_view, 10> TClubState::ChatPhrases = {
    "Sziasztok!"_cp,
    "Mindenkinek szép jó estét!"_cp,
    "Mindjárt visszajövök!"_cp,
    "Szép volt partner! :-)"_cp,
    "Köszönöm partner! :-)"_cp,
    "Köszönöm a játékot. Sziasztok!"_cp,
    "Lehetne egy kicsit gyorsabban! :-)"_cp,
    "Piszok nagy mázli volt!"_cp,
    "Ilyet még a legöregebb tengerészek sem láttak!"_cp,
    "Ne ingereljük a fenvadat!"_cp,
};

void TClubState::AddMemo(std::string line) {
  // Every line counts against the one cap, whoever adds it ("M", "G", "Q", the table window).
  if (Memo.size() > kMemoCap) {
    Memo.erase(Memo.begin(), Memo.begin() + kMemoTrim);
    ++MemoRewrites;
  }
  Memo.push_back(std::move(line));
  Notify(Aspect::Memo);
}

void TClubState::ClearMemo() {
  Memo.clear();
  ++MemoRewrites;
  Notify(Aspect::Memo);
}

}  // namespace zn
