#include "server/Relay.h"

namespace zn::server {

std::string Relayed(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c == '#') c = '?';
  return out;
}

}  // namespace zn::server
