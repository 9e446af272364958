#include "server/base/Names.h"

#include "game/Cp1250.h"

namespace zn::server {
namespace {

// Shows as nothing or as blank space: never part of a name's identity.
constexpr bool Invisible(unsigned char c) {
  return c <= 0x20 || c == 0x7F || c == 0xA0 || c == 0xAD || c == 0x81 || c == 0x83 || c == 0x88 ||
         c == 0x90 || c == 0x98;
}

}  // namespace

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
