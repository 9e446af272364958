// The line tokenizer: every incoming line is taken apart from the front.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zn {

// The line tokenizer. The line is a view that the call advances past what it took, so a parser
// reads its fields from the front; consecutive delimiters yield empty tokens.
//
// CutToken: the text before the first delimiter (removed with the delimiter), or the whole line.
std::string_view CutToken(std::string_view& line, char delimiter);
// CutToken with the space as delimiter.
std::string_view CutWord(std::string_view& line);
// CutWord, then the token as a signed decimal 32-bit integer; anything else (empty, a sign alone,
// other characters, out of range) throws EZnError "'<token>' is not a valid integer value".
std::int32_t CutInt(std::string_view& line);
// The conversion CutInt applies to one token.
std::int32_t StrToInt(std::string_view token);
// The same conversion without the error: false when token is not a valid integer.
bool TryStrToInt(std::string_view token, std::int32_t& value);
// The message of the conversion error for token.
std::string NotAnInteger(std::string_view token);

}  // namespace zn
