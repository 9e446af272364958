#include "server/deals/SeatLedger.h"

#include <algorithm>

#include "server/base/ClubTexts.h"

namespace zn::server {

void SeatLedger::Held(const Member& m, int seat) {
  held_.emplace(m.who.folded, seat);  // the first seat stays the member's own
  if (const std::string key = AddressKey(m.who.address); !key.empty()) heldAddresses_.insert(key);
}

void SeatLedger::SawHands(const Member& m) {
  saw_.insert(m.who.folded);
  if (const std::string key = AddressKey(m.who.address); !key.empty()) sawAddresses_.insert(key);
}

std::string_view SeatLedger::SitRefusal(const Member& m, int seat, bool sameAddressRule) const {
  if (saw_.count(m.who.folded)) return text::kWatchedThisDeal;
  if (auto it = held_.find(m.who.folded); it != held_.end() && it->second != seat) return text::kOwnSeatOnly;
  if (sameAddressRule) {
    const std::string key = AddressKey(m.who.address);
    if (!key.empty() && sawAddresses_.count(key)) return text::kWatchedFromAddress;
  }
  return {};
}

std::string_view SeatLedger::WatchRefusal(const Member& m) const {
  return held_.count(m.who.folded) ? text::kSatThisDeal : std::string_view();
}

bool SeatLedger::Limited(const Member& m, bool sameAddressRule) const {
  if (!sameAddressRule) return false;
  const std::string key = AddressKey(m.who.address);
  return !key.empty() && heldAddresses_.count(key) != 0;
}

bool SeatLedger::FirstToldLimited(const Member& m) { return told_.insert(m.who.folded).second; }

}  // namespace zn::server
