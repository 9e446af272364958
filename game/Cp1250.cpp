#include "game/Cp1250.h"

#include <algorithm>

namespace zn {

int CompareText(std::string_view a, std::string_view b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    const int x = FoldCase(static_cast<unsigned char>(a[i]));
    const int y = FoldCase(static_cast<unsigned char>(b[i]));
    if (x != y) return x - y;
  }
  return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

bool SameText(std::string_view a, std::string_view b) {
  return a.size() == b.size() && CompareText(a, b) == 0;
}

std::string Utf8ToCp1250(std::string_view utf8) {
  std::string out;
  for (std::size_t i = 0; i < utf8.size();) {
    char32_t cp = 0;
    unsigned char byte = '?';
    if (!NextUtf8(utf8, i, cp) || !TryEncodeCp1250(cp, byte)) byte = '?';
    out += static_cast<char>(byte);
  }
  return out;
}

std::string Cp1250ToUtf8(std::string_view cp1250) {
  std::string out;
  out.reserve(cp1250.size());
  for (const char c : cp1250) {
    const char32_t cp = kCp1250ToUnicode[static_cast<unsigned char>(c)];
    if (cp < 0x80) {
      out += static_cast<char>(cp);
    } else if (cp < 0x800) {
      out += static_cast<char>(0xC0 | (cp >> 6));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      out += static_cast<char>(0xE0 | (cp >> 12));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    }
  }
  return out;
}

std::string LowerText(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(FoldCase(static_cast<unsigned char>(c)));
  return out;
}

}  // namespace zn
