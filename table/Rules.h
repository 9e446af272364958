// The rules of the game as the client ships them: the Hungarian part of the rules document.
#pragma once

#include <string>
#include <string_view>

namespace zn {

// The document's title and its Hungarian section ("## Magyarul" up to the next section of that
// level); the whole text when it has no such section.
std::string HungarianRules(std::string_view markdown);

}  // namespace zn
