#include "game/qt/Cp1250Codec.h"

#include <algorithm>
#include <array>

#include "game/Cp1250.h"

namespace zn {

namespace {

// The bytes 0x80..0xFF by the character they stand for, sorted: the way out of Qt's text is a
// search in the same table the way in reads, so no ICU converter is ever opened (it cost a
// megabyte at start).
struct TByteOf {
  char16_t unit;
  unsigned char byte;
};

const std::array<TByteOf, 128>& HighBytes() {
  static const std::array<TByteOf, 128> table = [] {
    std::array<TByteOf, 128> t{};
    for (int b = 0x80; b < 0x100; ++b)
      t[static_cast<std::size_t>(b - 0x80)] = {kCp1250ToUnicode[static_cast<std::size_t>(b)],
                                               static_cast<unsigned char>(b)};
    std::sort(t.begin(), t.end(), [](const TByteOf& a, const TByteOf& b) { return a.unit < b.unit; });
    return t;
  }();
  return table;
}

}  // namespace

// One table look-up a byte: every view converts its texts here, and opening the ICU converter
// for each of them cost more than the conversion itself.
QString ToQt(std::string_view cp1250) {
  QString text(static_cast<qsizetype>(cp1250.size()), Qt::Uninitialized);
  QChar* out = text.data();
  for (const char c : cp1250) *out++ = QChar(kCp1250ToUnicode[static_cast<unsigned char>(c)]);
  return text;
}

std::string FromQt(const QString& text) {
  const auto& high = HighBytes();
  std::string out;
  out.reserve(static_cast<std::size_t>(text.size()));
  for (qsizetype i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i].unicode();
    if (unit < 0x80) {  // the first half of the code page is ASCII
      out += static_cast<char>(unit);
      continue;
    }
    // A surrogate pair is one character, and none of those has a byte: one "?".
    if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) ++i;
    const auto it = std::lower_bound(high.begin(), high.end(), unit,
                                     [](const TByteOf& e, char16_t u) { return e.unit < u; });
    out += it != high.end() && it->unit == unit ? static_cast<char>(it->byte) : '?';
  }
  return out;
}

}  // namespace zn
