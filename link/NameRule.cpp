#include "link/NameRule.h"

#include <array>
#include <cstdint>

namespace zn::proto {
namespace {

// A byte is a letter when folding changes it (a capital) or some other byte folds to it (a small
// letter); "ß" has no capital in the code page and is added by hand.
constexpr std::array<bool, 256> MakeLetters() {
  std::array<bool, 256> letters{};
  for (std::size_t c = 0; c < 256; ++c) {
    const std::uint8_t lower = kCp1250Fold[c];
    if (lower != c) letters[c] = letters[lower] = true;
  }
  letters[0xDF] = true;
  return letters;
}
constexpr std::array<bool, 256> kLetters = MakeLetters();

bool NameByte(char ch) {
  const auto c = static_cast<unsigned char>(ch);
  return (c >= '0' && c <= '9') || kLetters[c] || kNameMarks.find(ch) != std::string_view::npos;
}

bool CleanName(std::string_view s) {
  if (s.size() < kMinNameBytes || s.size() > kMaxNameBytes) return false;
  for (char ch : s)
    if (!NameByte(ch)) return false;
  return true;
}

}  // namespace

bool NameLetter(unsigned char c) { return kLetters[c]; }

bool ValidNickname(std::string_view nickname) { return CleanName(nickname) && nickname.front() != '-'; }

bool ValidRoomName(std::string_view name) { return CleanName(name); }

std::string NicknameProblem(std::string_view nickname) {
  if (nickname.size() < kMinNameBytes) return std::string("Legalább 4 betű kell."_cp);
  if (nickname.size() > kMaxNameBytes) return std::string("Legfeljebb 20 betű lehet."_cp);
  if (nickname.front() == '-') return std::string("Kötőjellel csak a robotok neve kezdődik."_cp);
  for (char ch : nickname) {
    if (NameByte(ch)) continue;
    if (ch == ' ' || static_cast<unsigned char>(ch) == 0xA0)
      return std::string("Szóköz nem lehet a névben."_cp);
    return std::string("Ez a jel nem lehet a névben: "_cp) + ch;
  }
  return {};
}

}  // namespace zn::proto
