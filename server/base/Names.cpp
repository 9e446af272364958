#include "server/base/Names.h"

#include <array>

#include "game/Cp1250.h"

namespace zn::server {
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

// Shows as nothing or as blank space: never part of a name's identity.
constexpr bool Invisible(unsigned char c) {
  return c <= 0x20 || c == 0x7F || c == 0xA0 || c == 0xAD || c == 0x81 || c == 0x83 || c == 0x88 ||
         c == 0x90 || c == 0x98;
}

bool CleanName(std::string_view s) {
  if (s.size() < kMinNameBytes || s.size() > kMaxNameBytes) return false;
  for (char ch : s) {
    const auto c = static_cast<unsigned char>(ch);
    const bool digit = c >= '0' && c <= '9';
    if (!digit && !kLetters[c] && kNameMarks.find(ch) == std::string_view::npos) return false;
  }
  return true;
}

}  // namespace

bool NameLetter(unsigned char c) { return kLetters[c]; }

bool ValidNickname(std::string_view nickname) { return CleanName(nickname) && nickname.front() != '-'; }

bool ValidRoomName(std::string_view name) { return CleanName(name); }

std::string NameKey(std::string_view name) {
  std::string key;
  key.reserve(name.size());
  for (char ch : name) {
    const auto c = static_cast<unsigned char>(ch);
    if (!Invisible(c)) key.push_back(static_cast<char>(FoldCase(c)));
  }
  return key;
}

}  // namespace zn::server
