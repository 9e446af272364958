// What the club keeps per address: open connections, new connections in the current minute and the
// log lines written for it. An address is counted as a whole IPv4 address or as the /64 network of
// an IPv6 one (what one subscriber gets), so one household cannot pose as many.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "server/base/RateLimit.h"

namespace zn::server {

// The key an address is counted by: "1.2.3.4" as it stands, an IPv4-mapped IPv6 address as its
// IPv4 address, any other IPv6 address as its first 64 bits ("2001:db8:1:2::/64"). Text that is no
// address is its own key.
std::string AddressKey(std::string_view address);
// The wider network an address belongs to, the second tier of the reserved places: an IPv4
// address's /24 ("1.2.3.0/24"), an IPv6 address's /48 ("2001:db8:1::/48"). Empty for text that is no
// address.
std::string PrefixKey(std::string_view address);

// Events counted in a minute that begins with its first event; those over the limit are counted as
// dropped until the next minute begins.
struct MinuteWindow {
  SteadyTime start{};
  std::uint32_t taken = 0;
  std::uint64_t dropped = 0;
  // True when one more event fits the limit. When a new minute begins, lastDropped (if given) gets
  // what the one before dropped.
  bool Take(SteadyTime now, std::uint32_t limit, std::uint64_t* lastDropped = nullptr);
  bool Quiet(SteadyTime now) const { return now - start >= std::chrono::minutes(1); }
};

class Addresses {
 public:
  // Lines about connections, logins and closes one address may put in the log in a minute.
  static constexpr std::uint32_t kLoggedPerMinute = 10;

  // Counts a new connection from key; false when the address opened connectsPerMinute already in
  // the current minute (the connection is then not counted).
  bool CountConnect(const std::string& key, SteadyTime now, std::uint32_t connectsPerMinute);
  void Open(const std::string& key) { ++entries_[key].open; }
  void Close(const std::string& key);
  std::size_t OpenFrom(const std::string& key) const;

  // Whether a line about key may go to the log now. When a new minute begins for the address and
  // lines were held back in the last one, dropped tells how many (to be logged first).
  bool MayLog(const std::string& key, SteadyTime now, std::uint64_t& dropped);

  // Takes bytes of relayed chat from the address's bucket (perSecond, burst); false when it has
  // fewer left (nothing taken). Has only looks.
  bool HasChat(const std::string& key, SteadyTime now, std::uint32_t bytes, std::uint32_t perSecond,
               std::uint32_t burst);
  void TakeChat(const std::string& key, SteadyTime now, std::uint32_t bytes);

  // Forgets addresses with nothing open whose minute has passed; keeps the table bounded by the
  // open connections. Returns the lines held back for the addresses forgotten, for one log line.
  std::uint64_t Sweep(SteadyTime now);
  std::size_t Size() const { return entries_.size(); }

 private:
  struct Entry {
    std::size_t open = 0;
    MinuteWindow connects;
    MinuteWindow logged;
    std::optional<RateLimit> chat;  // made at the first chat line
  };
  std::unordered_map<std::string, Entry> entries_;
};

}  // namespace zn::server
