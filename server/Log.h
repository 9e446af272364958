// The server's log: one line per connection, login, room change and refusal, to standard error.
#pragma once

#include <functional>
#include <string_view>

namespace zn::server {

// Writes one line (a time stamp is put in front). Text is cp1250 as it came.
void Log(std::string_view line);

// Replaces where log lines go (tests silence or capture them); an empty function restores stderr.
void SetLogSink(std::function<void(std::string_view)> sink);

}  // namespace zn::server
