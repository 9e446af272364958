// The journal's row fields, alike in every backend: a move's bids joined by spaces (a bid name
// holds none), the held seats as lines of seat, end (milliseconds since the epoch) and folded
// nickname, which ends the line (it holds no line break).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "server/base/Journal.h"

namespace zn::server {

std::string JoinBids(const std::vector<std::string>& bids);
std::vector<std::string> SplitBids(const std::string& joined);
std::string WriteHolds(const std::vector<JournaledHold>& holds);
// A line that does not read is left out: its seat is not held.
std::vector<JournaledHold> ReadHolds(std::string_view text);

}  // namespace zn::server
