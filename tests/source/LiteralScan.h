// Finds the string literals of a C++ source that hold bytes above 127 and are not turned into
// cp1250 by the "_cp" literal: such a text would reach the wire, a box or a file as UTF-8.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zn::test {

struct TRawLiteral {
  int line;          // 1-based line of the opening quote
  std::string text;  // the literal as written, prefix and quotes included
};

// Comments, character literals and numbers (with ' separators) are skipped; raw strings and
// prefixed literals (u8, u, U, L) are read whole.
std::vector<TRawLiteral> UnconvertedLiterals(std::string_view source);

}  // namespace zn::test
