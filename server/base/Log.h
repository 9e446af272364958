// The server's log: one line per connection, login, room change and refusal, to standard error.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace zn::server {

// Writes one line (a time stamp is put in front). Text is cp1250 as it came; the log gets LogText.
void Log(std::string_view line);

// A cp1250 line as the log shows it: UTF-8, with every control character (a member's name could
// carry a terminal's escape sequence) shown as "?".
std::string LogText(std::string_view line);

// Replaces where log lines go (tests silence or capture them); an empty function restores stderr.
void SetLogSink(std::function<void(std::string_view)> sink);

}  // namespace zn::server
