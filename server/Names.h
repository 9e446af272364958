// The rules for nicknames and room names.
#pragma once

#include <string_view>

namespace zn::server {

inline constexpr std::size_t kMinNameBytes = 4;
inline constexpr std::size_t kMaxNameBytes = 20;

// 4 to 20 bytes, no space, no "#", no control byte, not beginning with "-" (robots' names do).
bool ValidNickname(std::string_view nickname);
// 4 to 20 bytes, no space, no "#", no control byte.
bool ValidRoomName(std::string_view name);

}  // namespace zn::server
