#include "server/deals/SeatLedger.h"

#include <algorithm>

#include "server/base/ClubTexts.h"

namespace zn::server {

void SeatLedger::Held(const Member& m, int seat) {
  held_.emplace(m.folded, seat);  // the first seat stays the member's own
  if (const std::string key = AddressKey(m.address); !key.empty()) heldAddresses_.insert(key);
}

void SeatLedger::SawHands(const Member& m) {
  saw_.insert(m.folded);
  if (const std::string key = AddressKey(m.address); !key.empty()) sawAddresses_.insert(key);
}

std::string_view SeatLedger::SitRefusal(const Member& m, int seat, bool sameAddressRule) const {
  if (saw_.count(m.folded)) return text::kWatchedThisDeal;
  if (auto it = held_.find(m.folded); it != held_.end() && it->second != seat) return text::kOwnSeatOnly;
  if (sameAddressRule) {
    const std::string key = AddressKey(m.address);
    if (!key.empty() && sawAddresses_.count(key)) return text::kWatchedFromAddress;
  }
  return {};
}

std::string_view SeatLedger::WatchRefusal(const Member& m) const {
  return held_.count(m.folded) ? text::kSatThisDeal : std::string_view();
}

bool SeatLedger::Limited(const Member& m, bool sameAddressRule) const {
  if (!sameAddressRule) return false;
  const std::string key = AddressKey(m.address);
  return !key.empty() && heldAddresses_.count(key) != 0;
}

bool SeatLedger::FirstToldLimited(const Member& m) { return told_.insert(m.folded).second; }

}  // namespace zn::server
