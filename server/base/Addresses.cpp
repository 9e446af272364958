#include "server/base/Addresses.h"

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

std::string PrefixKey(std::string_view address) {
  const std::string text(address);
  std::array<unsigned char, 16> b{};
  if (inet_pton(AF_INET, text.c_str(), b.data()) == 1)
    return std::to_string(b[0]) + "." + std::to_string(b[1]) + "." + std::to_string(b[2]) + ".0/24";
  if (inet_pton(AF_INET6, text.c_str(), b.data()) != 1) return {};
  static constexpr unsigned char kMapped[12] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0xff, 0xff};
  if (std::equal(std::begin(kMapped), std::end(kMapped), b.begin()))
    return std::to_string(b[12]) + "." + std::to_string(b[13]) + "." + std::to_string(b[14]) + ".0/24";
  char key[40];
  std::snprintf(key, sizeof key, "%x:%x:%x::/48", b[0] << 8 | b[1], b[2] << 8 | b[3], b[4] << 8 | b[5]);
  return key;
}

bool MinuteWindow::Take(SteadyTime now, std::uint32_t limit, std::uint64_t* lastDropped) {
  if (taken == 0 || Quiet(now)) {
    if (lastDropped) *lastDropped = dropped;
    start = now;
    taken = 0;
    dropped = 0;
  }
  if (taken >= limit) {
    ++dropped;
    return false;
  }
  ++taken;
  return true;
}

bool Addresses::CountConnect(const std::string& key, SteadyTime now, std::uint32_t connectsPerMinute) {
  return entries_[key].connects.Take(now, connectsPerMinute);
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
  dropped = 0;
  return entries_[key].logged.Take(now, kLoggedPerMinute, &dropped);
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
    if (e.open > 0 || !e.connects.Quiet(now) || !e.logged.Quiet(now)) return false;
    dropped += e.logged.dropped;
    return true;
  });
  return dropped;
}

}  // namespace zn::server
