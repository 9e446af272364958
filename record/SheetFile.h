// Writing a sheet: the lines with CR LF after each, as one file that replaces any file of that
// name only once it is complete.
#pragma once

#include <string>
#include <vector>

namespace zn {

// Writes lines to a new file in the folder of path, then renames it to path. On failure nothing is
// left behind, a file already at path is untouched, and EZnError carries the system's reason.
// A symbolic link at path is written through to its target; a file that may not be written
// (read-only mark included) is refused and kept. The old file's mode stays.
// path is a local file name as the save dialog gives it.
void WriteSheet(const std::string& path, const std::vector<std::string>& lines);

}  // namespace zn
