// Texts the server passes on from one member to others: "#" would cut the line, so it becomes "?".
#pragma once

#include <string>
#include <string_view>

namespace zn::server {

std::string Relayed(std::string_view text);

}  // namespace zn::server
