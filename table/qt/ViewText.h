// The table window's texts for Qt. A P or B line arrives after every card and bid, and most of
// its texts are plain ASCII: those skip the code page converter.
#pragma once

#include <QString>
#include <string_view>

#include "game/qt/Cp1250Codec.h"

namespace zn {

inline QString Text(std::string_view cp1250) {
  for (const char c : cp1250)
    if (static_cast<unsigned char>(c) >= 0x80) return ToQt(cp1250);
  return QString::fromLatin1(cp1250.data(), static_cast<qsizetype>(cp1250.size()));
}

}  // namespace zn
