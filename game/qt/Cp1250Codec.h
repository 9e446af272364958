// The views' conversion between the program's cp1250 bytes and Qt's text.
#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace zn {

// Every one of the 256 bytes has its character, so nothing is lost on the way in.
QString ToQt(std::string_view cp1250);
// A character without a cp1250 byte (a Chinese letter, an emoji, "õ") becomes one "?".
std::string FromQt(const QString& text);

}  // namespace zn
