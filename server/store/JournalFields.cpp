#include "server/store/JournalFields.h"

#include <algorithm>
#include <cstdio>

namespace zn::server {

std::string JoinBids(const std::vector<std::string>& bids) {
  std::string joined;
  for (const std::string& bid : bids) joined += (joined.empty() ? "" : " ") + bid;
  return joined;
}

std::vector<std::string> SplitBids(const std::string& joined) {
  std::vector<std::string> bids;
  std::size_t start = 0;
  while (start < joined.size()) {
    std::size_t end = joined.find(' ', start);
    if (end == std::string::npos) end = joined.size();
    if (end > start) bids.push_back(joined.substr(start, end - start));
    start = end + 1;
  }
  return bids;
}

std::string WriteHolds(const std::vector<JournaledHold>& holds) {
  std::string text;
  for (const JournaledHold& h : holds)
    text += std::to_string(h.seat) + " " + std::to_string(h.untilMs) + " " + h.folded + "\n";
  return text;
}

std::vector<JournaledHold> ReadHolds(std::string_view text) {
  std::vector<JournaledHold> holds;
  while (!text.empty()) {
    const std::size_t end = std::min(text.find('\n'), text.size());
    const std::string line(text.substr(0, end));
    text.remove_prefix(std::min(end + 1, text.size()));
    JournaledHold h;
    long long until = 0;
    int used = 0;
    if (std::sscanf(line.c_str(), "%d %lld %n", &h.seat, &until, &used) != 2 || used <= 0) continue;
    h.untilMs = until;
    h.folded = line.substr(static_cast<std::size_t>(used));
    if (h.seat >= 1 && h.seat <= 4 && !h.folded.empty()) holds.push_back(std::move(h));
  }
  return holds;
}

}  // namespace zn::server
