#include <limits>

#include "game/Tokenizer.h"
#include "game/ZnError.h"

namespace zn {

std::string_view CutToken(std::string_view& line, char delimiter) {
  const std::size_t p = line.find(delimiter);
  std::string_view token;
  if (p == std::string_view::npos) {
    token = line;
    line = {};
  } else {
    token = line.substr(0, p);
    line.remove_prefix(p + 1);
  }
  return token;
}

std::string_view CutWord(std::string_view& line) { return CutToken(line, ' '); }

bool TryStrToInt(std::string_view token, std::int32_t& value) {
  std::size_t i = 0;
  bool negative = false;
  if (i < token.size() && (token[i] == '-' || token[i] == '+')) negative = token[i++] == '-';
  if (i == token.size()) return false;
  // Accumulate as a negative number so that INT32_MIN is reachable without overflow.
  std::int64_t acc = 0;
  for (; i < token.size(); ++i) {
    const char c = token[i];
    if (c < '0' || c > '9') return false;
    acc = acc * 10 - (c - '0');
    if (acc < std::numeric_limits<std::int32_t>::min()) return false;
  }
  if (!negative) {
    acc = -acc;
    if (acc > std::numeric_limits<std::int32_t>::max()) return false;
  }
  value = static_cast<std::int32_t>(acc);
  return true;
}

std::string NotAnInteger(std::string_view token) {
  return "'" + std::string(token) + "' is not a valid integer value";
}

std::int32_t StrToInt(std::string_view token) {
  std::int32_t value = 0;
  if (!TryStrToInt(token, value)) throw EZnError(NotAnInteger(token));
  return value;
}

std::int32_t CutInt(std::string_view& line) { return StrToInt(CutWord(line)); }

}  // namespace zn
