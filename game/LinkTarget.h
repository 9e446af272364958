// Where a write that replaces a file lands when the name is a symbolic link: the file behind the
// link, so the link stays a link (the sheets and the settings file are written this way).
#pragma once

#include <string>

namespace zn {

// The end of path's chain of symbolic links (a dangling link's target too, a relative link read
// from its own folder); path itself when it is no link. Returns 0, or the errno why it cannot be
// told (ELOOP for a loop of links), and then target is left empty.
int LinkTarget(const std::string& path, std::string& target);

}  // namespace zn
