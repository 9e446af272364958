#include "server/Addresses.h"

#include <arpa/inet.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <iterator>

namespace zn::server {

std::string AddressKey(std::string_view address) {
  const std::string text(address);
  std::array<unsigned char, 16> b{};
  if (text.find(':') == std::string::npos || inet_pton(AF_INET6, text.c_str(), b.data()) != 1) return text;
  static constexpr unsigned char kMapped[12] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xff, 0xff};
  if (std::equal(std::begin(kMapped), std::end(kMapped), b.begin()))
    return std::to_string(b[12]) + "." + std::to_string(b[13]) + "." + std::to_string(b[14]) + "." +
           std::to_string(b[15]);
  char key[48];
  std::snprintf(key, sizeof key, "%x:%x:%x:%x::/64", b[0] << 8 | b[1], b[2] << 8 | b[3], b[4] << 8 | b[5],
                b[6] << 8 | b[7]);
  return key;
}

bool Addresses::CountConnect(const std::string& key, SteadyTime now, std::uint32_t connectsPerMinute) {
  Entry& e = entries_[key];
  if (e.connects == 0 || now - e.connectMinute >= std::chrono::minutes(1)) {
    e.connectMinute = now;
    e.connects = 0;
  }
  if (e.connects >= connectsPerMinute) return false;
  ++e.connects;
  return true;
}

void Addresses::Close(const std::string& key) {
  auto it = entries_.find(key);
  if (it != entries_.end() && it->second.open > 0) --it->second.open;
}

std::size_t Addresses::OpenFrom(const std::string& key) const {
  auto it = entries_.find(key);
  return it == entries_.end() ? 0 : it->second.open;
}

bool Addresses::MayLog(const std::string& key, SteadyTime now, std::uint64_t& dropped) {
  Entry& e = entries_[key];
  dropped = 0;
  if (e.logged == 0 || now - e.logMinute >= std::chrono::minutes(1)) {
    dropped = e.dropped;
    e.dropped = 0;
    e.logged = 0;
    e.logMinute = now;
  }
  if (e.logged >= kLoggedPerMinute) {
    ++e.dropped;
    return false;
  }
  ++e.logged;
  return true;
}

bool Addresses::HasChat(const std::string& key, SteadyTime now, std::uint32_t bytes, std::uint32_t perSecond,
                        std::uint32_t burst) {
  Entry& e = entries_[key];
  if (!e.chat) e.chat.emplace(perSecond, burst);
  return e.chat->Has(now, bytes);
}

void Addresses::TakeChat(const std::string& key, SteadyTime now, std::uint32_t bytes) {
  auto it = entries_.find(key);
  if (it != entries_.end() && it->second.chat) it->second.chat->Take(now, bytes);
}

std::uint64_t Addresses::Sweep(SteadyTime now) {
  std::uint64_t dropped = 0;
  std::erase_if(entries_, [&](const auto& entry) {
    const Entry& e = entry.second;
    const bool quiet =
        now - e.connectMinute >= std::chrono::minutes(1) && now - e.logMinute >= std::chrono::minutes(1);
    if (e.open > 0 || !quiet) return false;
    dropped += e.dropped;
    return true;
  });
  return dropped;
}

}  // namespace zn::server
