// Small free routines the windows share: the Yes/No question box, Min and Max.
#pragma once

#include <string>

namespace zn {

inline int Min(int a, int b) { return a < b ? a : b; }
inline int Max(int a, int b) { return a > b ? a : b; }

// Yes/No question box captioned "Jóváhagyás"; the cursor is the arrow while it is open.
bool Confirm(const std::string& question);

}  // namespace zn
