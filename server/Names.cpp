#include "server/Names.h"

namespace zn::server {
namespace {

// Control bytes would break the client's lists and the log; space and "#" break the lines.
bool CleanToken(std::string_view s) {
  if (s.size() < kMinNameBytes || s.size() > kMaxNameBytes) return false;
  for (char ch : s) {
    const auto c = static_cast<unsigned char>(ch);
    if (c <= 0x20 || c == 0x7F || c == '#') return false;
  }
  return true;
}

}  // namespace

bool ValidNickname(std::string_view nickname) { return CleanToken(nickname) && nickname.front() != '-'; }

bool ValidRoomName(std::string_view name) { return CleanToken(name); }

}  // namespace zn::server
