// The rules for nicknames and room names, and the key by which two names count as the same.
#pragma once

#include <string>
#include <string_view>

#include "link/NameRule.h"

namespace zn::server {

// The rule itself is the client's too (link/NameRule.h).
using proto::kMaxNameBytes;
using proto::kMinNameBytes;
using proto::kNameMarks;
using proto::NameLetter;
using proto::ValidNickname;
using proto::ValidRoomName;

// Two names are the same when their keys are: case folded, and every byte that shows as nothing
// or as a space (space, no-break space, soft hyphen, control bytes, bytes cp1250 leaves undefined)
// left out, so "Anna" + no-break space is "anna". Names stored before these rules compare so too.
std::string NameKey(std::string_view name);

}  // namespace zn::server
