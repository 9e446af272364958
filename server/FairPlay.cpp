#include "server/FairPlay.h"

#include <arpa/inet.h>

#include <algorithm>

#include <array>
#include <cstdio>

#include "server/ClubTexts.h"

namespace zn::server {

std::string AddressKey(std::string_view address) {
  if (address.empty() || address.size() > 64) return std::string(address);
  const std::string text(address);
  std::array<unsigned char, 16> bytes{};
  if (inet_pton(AF_INET, text.c_str(), bytes.data()) == 1) return text;
  if (inet_pton(AF_INET6, text.c_str(), bytes.data()) != 1) return text;  // compared as it stands
  static constexpr unsigned char kMapped[12] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xff, 0xff};
  char buffer[64];
  if (std::equal(bytes.begin(), bytes.begin() + 12, kMapped)) {
    std::snprintf(buffer, sizeof buffer, "%u.%u.%u.%u", bytes[12], bytes[13], bytes[14], bytes[15]);
    return buffer;
  }
  std::snprintf(buffer, sizeof buffer, "%02x%02x:%02x%02x:%02x%02x:%02x%02x::/64", bytes[0], bytes[1],
                bytes[2], bytes[3], bytes[4], bytes[5], bytes[6], bytes[7]);
  return buffer;
}

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
