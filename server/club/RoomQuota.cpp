#include "server/club/RoomQuota.h"

namespace zn::server {

bool RoomQuota::Within(Times& created, const std::string& key, std::size_t limit, SteadyTime now) {
  const auto old = [&](SteadyTime t) { return now - t >= std::chrono::hours(1); };
  if (created.size() > maxKeys_)  // forget keys whose hour has passed
    std::erase_if(created, [&](const auto& e) { return e.second.empty() || old(e.second.back()); });
  auto& times = created[key];
  std::erase_if(times, old);
  return times.size() < limit;
}

// Fresh nicknames from one address must not get round the limit: the address has one of its own.
bool RoomQuota::May(const std::string& folded, const std::string& addressKey, SteadyTime now) {
  return Within(byMember_, folded, perMember_, now) &&
         (addressKey.empty() || Within(byAddress_, addressKey, perAddress_, now));
}

void RoomQuota::Count(const std::string& folded, const std::string& addressKey, SteadyTime now) {
  byMember_[folded].push_back(now);
  if (!addressKey.empty()) byAddress_[addressKey].push_back(now);
}

}  // namespace zn::server
