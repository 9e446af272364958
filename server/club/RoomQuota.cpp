#include "server/club/RoomQuota.h"

namespace zn::server {

// Fresh nicknames from one address must not get round the limit: the address has one of its own.
bool RoomQuota::May(const std::string& folded, const std::string& addressKey, SteadyTime now) {
  return byMember_.Below(folded, perMember_, now) &&
         (addressKey.empty() || byAddress_.Below(addressKey, perAddress_, now));
}

void RoomQuota::Count(const std::string& folded, const std::string& addressKey, SteadyTime now) {
  byMember_.Count(folded, now);
  if (!addressKey.empty()) byAddress_.Count(addressKey, now);
}

}  // namespace zn::server
