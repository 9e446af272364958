#include "game/Hands.h"

#include <string>
#include <string_view>
#include <utility>

#include "game/Cp1250.h"
#include "game/ZnError.h"

namespace zn {

using namespace zn::literals;

namespace {

constexpr std::string_view kSuitWords[4] = {"Treff", "Káró"_cp, "Kőr"_cp, "Pikk"};

// The Roman numeral of tarokk n (1..21). Tarokk 4 alone is written with four strokes; XIV keeps
// the subtractive form.
std::string TarokkNumeral(int n) {
  if (n == 4) return "IIII";
  static constexpr std::string_view kUnits[10] = {"", "I", "II", "III", "IV", "V", "VI", "VII", "VIII", "IX"};
  std::string s(static_cast<std::size_t>(n / 10), 'X');
  s += kUnits[n % 10];
  return s;
}

}  // namespace

int SuitOf(TCard code) { return code >= 1 && code <= 20 ? (code - 1) / 5 : 4; }

std::string CardName(TCard code) {
  if (code == 6) return std::string("Káró A"_cp);
  if (code == 11) return std::string("Kőr A"_cp);
  if (code >= 1 && code <= 20) {
    std::string s(kSuitWords[SuitOf(code)]);
    s += ' ';
    s += "KTBLD"[code % 5];
    return s;
  }
  if (code >= kFirstTarokk && code < kSkiz) {
    std::string s(1, ' ');
    s += TarokkNumeral(code - 20);
    s += ' ';
    return s;
  }
  if (code == kSkiz) return std::string(" Skíz "_cp);
  return {};
}

std::string CardSpokenName(TCard code) {
  const std::string shown = CardName(code);
  if (shown.empty()) return {};
  if (code >= kFirstTarokk && code < kSkiz) return "Tarokk " + shown.substr(1, shown.size() - 2);
  if (code == kSkiz) return shown.substr(1, shown.size() - 2);
  // A suit card: its suit word, then the word of the letter after the space.
  static constexpr std::pair<char, std::string_view> kWords[] = {{'A', "ász"_cp},  {'T', "tízes"_cp},
                                                                 {'B', "bubi"},    {'L', "lovas"},
                                                                 {'D', "dáma"_cp}, {'K', "király"_cp}};
  const char letter = shown.back();
  std::string spoken = shown.substr(0, shown.size() - 1);
  for (const auto& [l, word] : kWords)
    if (l == letter) spoken += word;
  return spoken;
}

std::string ListIndexError(int index) { return "List index out of bounds (" + std::to_string(index) + ")"; }

std::int32_t THand::Card(int i) const {
  if (i < 0 || i >= Count()) throw EZnError(ListIndexError(i));
  return Cards[static_cast<std::size_t>(i)];
}

void THand::SetCount(int n) { Cards.resize(n > 0 ? static_cast<std::size_t>(n) : 0); }

void THand::SetCard(int i, std::int32_t code) {
  if (i < 0) throw EZnError(ListIndexError(i));
  if (i >= Count()) Cards.resize(static_cast<std::size_t>(i) + 1, 0);
  Cards[static_cast<std::size_t>(i)] = code;
}

void THand::Exchange(int i, int j) {
  if (i < 0 || i >= Count()) throw EZnError(ListIndexError(i));
  if (j < 0 || j >= Count()) throw EZnError(ListIndexError(j));
  std::swap(Cards[static_cast<std::size_t>(i)], Cards[static_cast<std::size_t>(j)]);
}

// The quadratic exchange sort the hand has always used; hands hold at most a dozen entries.
void THand::Sort() {
  const int n = Count();
  for (int i = 0; i < n; ++i)
    for (int j = i + 1; j < n; ++j)
      if (Cards[static_cast<std::size_t>(j)] < Cards[static_cast<std::size_t>(i)]) Exchange(i, j);
}

void THand::CountSuits(THand& target) const {
  // Counted first, so that a hand may count into itself.
  TCards counters(5, 0);
  for (const std::int32_t code : Cards) ++counters[static_cast<std::size_t>(SuitOf(code))];
  target.Cards = std::move(counters);
}

int THand::IndexOf(std::int32_t code) const {
  for (int i = 0; i < Count(); ++i)
    if (Cards[static_cast<std::size_t>(i)] == code) return i;
  return -1;
}

std::string THand::AsText() const {
  std::string s;
  for (const std::int32_t code : Cards) {
    s += ' ';
    s += std::to_string(code);
  }
  return s;
}

}  // namespace zn
