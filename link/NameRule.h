// The one rule for nicknames and room names, which the client asks by and the server refuses by,
// and the notice the server refuses a nickname with.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "game/Cp1250.h"

namespace zn::proto {

using namespace zn::literals;

inline constexpr std::size_t kMinNameBytes = 4;
inline constexpr std::size_t kMaxNameBytes = 20;
// The marks a name may hold besides letters and digits.
inline constexpr std::string_view kNameMarks = "-_.!'+";

// The rule in words, for the prompts.
inline constexpr std::string_view kNicknameRule =
    "4-20 betű vagy szám, szóköz nélkül; jelek közül csak - _ . ! ' + lehet benne, kötőjellel nem kezdődhet"_cp;

// The server's notice (an "M" line after " >>>>> ") before it closes a login whose nickname it
// refuses; the nickname follows it.
inline constexpr std::string_view kBadNicknameText = "Ez a becenév nem használható: "_cp;

// True for a letter of code page 1250, accented capitals and small letters included.
bool NameLetter(unsigned char c);

// 4 to 20 bytes of letters, digits and kNameMarks, not beginning with "-" (robots' names do).
bool ValidNickname(std::string_view nickname);
// 4 to 20 bytes of letters, digits and kNameMarks.
bool ValidRoomName(std::string_view name);

// Why the nickname is refused, as a sentence to show; empty when it is valid.
std::string NicknameProblem(std::string_view nickname);

}  // namespace zn::proto
