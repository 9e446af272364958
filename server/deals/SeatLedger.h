// One seat's view per deal. While a deal runs, its table keeps a ledger: who held a seat in it
// (and which), who got the other seats' hands as a watcher, and the addresses of both. From it:
// a member who watched the deal may not sit in it, one who sat may not watch it nor take another
// seat, and a watcher at the address of a member who held a seat sees only what the public sees
// (unless the club opens that rule). Members are known by their folded nickname, so logging in
// again changes nothing. When the deal ends the table drops its ledger and everyone is free again.
// The journal keeps the ledger with its deal (Save, Load), so a restart forgets nobody.
#pragma once

#include <map>
#include <set>
#include <string>
#include <string_view>

#include "server/base/Addresses.h"  // AddressKey: what counts as one address
#include "server/base/ClubTypes.h"

namespace zn::server {

class SeatLedger {
 public:
  // The member holds seat in this deal (at the deal's start or on taking a seat during it); true
  // when the ledger changed.
  bool Held(const Member& m, int seat);
  // The member got the hands of seats other than their own; true when the ledger changed.
  bool SawHands(const Member& m);

  // The notice that refuses m the seat, or empty when m may take it.
  std::string_view SitRefusal(const Member& m, int seat, bool sameAddressRule) const;
  // The notice that refuses m watching, or empty when m may watch.
  std::string_view WatchRefusal(const Member& m) const;
  // A watcher who sees only the public lines of this deal.
  bool Limited(const Member& m, bool sameAddressRule) const;
  // True once per member and deal: the limited watcher is told why.
  bool FirstToldLimited(const Member& m);

  // The ledger as text (a line per entry), and back; a line that does not read is left out.
  std::string Save() const;
  static SeatLedger Load(std::string_view text);
  bool operator==(const SeatLedger&) const = default;

 private:
  std::map<std::string, int> held_;  // folded nickname -> the seat held
  std::set<std::string> saw_;        // folded nicknames that got the other hands
  std::set<std::string> heldAddresses_, sawAddresses_;
  std::set<std::string> told_;
};

}  // namespace zn::server
