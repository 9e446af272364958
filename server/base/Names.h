// The rules for nicknames and room names, and the key by which two names count as the same.
#pragma once

#include <string>
#include <string_view>

namespace zn::server {

inline constexpr std::size_t kMinNameBytes = 4;
inline constexpr std::size_t kMaxNameBytes = 20;
// The marks a name may hold besides letters and digits.
inline constexpr std::string_view kNameMarks = "-_.!'+";

// True for a letter of code page 1250, accented capitals and small letters included.
bool NameLetter(unsigned char c);

// 4 to 20 bytes of letters, digits and kNameMarks, not beginning with "-" (robots' names do).
bool ValidNickname(std::string_view nickname);
// 4 to 20 bytes of letters, digits and kNameMarks.
bool ValidRoomName(std::string_view name);

// Two names are the same when their keys are: case folded, and every byte that shows as nothing
// or as a space (space, no-break space, soft hyphen, control bytes, bytes cp1250 leaves undefined)
// left out, so "Anna" + no-break space is "anna". Names stored before these rules compare so too.
std::string NameKey(std::string_view name);

}  // namespace zn::server
