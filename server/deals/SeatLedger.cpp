#include "server/deals/SeatLedger.h"

#include <algorithm>

#include "server/base/ClubTexts.h"

namespace zn::server {

bool SeatLedger::Held(const Member& m, int seat) {
  bool changed = held_.emplace(m.who.folded, seat).second;  // the first seat stays the member's own
  if (const std::string key = AddressKey(m.who.address); !key.empty())
    changed = heldAddresses_.insert(key).second || changed;
  return changed;
}

bool SeatLedger::SawHands(const Member& m) {
  bool changed = saw_.insert(m.who.folded).second;
  if (const std::string key = AddressKey(m.who.address); !key.empty())
    changed = sawAddresses_.insert(key).second || changed;
  return changed;
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

// Each line: a tag, for "H" the seat digit, a space, then the name or address key to the end.
std::string SeatLedger::Save() const {
  std::string text;
  const auto line = [&](std::string_view tag, const std::string& what) {
    text.append(tag).append(" ").append(what).append("\n");
  };
  for (const auto& [name, seat] : held_) line("H" + std::to_string(seat), name);
  for (const std::string& name : saw_) line("W", name);
  for (const std::string& key : heldAddresses_) line("h", key);
  for (const std::string& key : sawAddresses_) line("w", key);
  for (const std::string& name : told_) line("t", name);
  return text;
}

SeatLedger SeatLedger::Load(std::string_view text) {
  SeatLedger ledger;
  while (!text.empty()) {
    const std::size_t end = std::min(text.find('\n'), text.size());
    const std::string_view line = text.substr(0, end);
    text.remove_prefix(std::min(end + 1, text.size()));
    const std::size_t space = line.find(' ');
    if (space == std::string_view::npos || space + 1 >= line.size()) continue;
    const std::string_view tag = line.substr(0, space);
    const std::string what(line.substr(space + 1));
    if (tag.size() == 2 && tag[0] == 'H' && tag[1] >= '1' && tag[1] <= '4')
      ledger.held_.emplace(what, tag[1] - '0');
    else if (tag == "W")
      ledger.saw_.insert(what);
    else if (tag == "h")
      ledger.heldAddresses_.insert(what);
    else if (tag == "w")
      ledger.sawAddresses_.insert(what);
    else if (tag == "t")
      ledger.told_.insert(what);
  }
  return ledger;
}

}  // namespace zn::server
