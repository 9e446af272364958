// Events counted per key over a sliding window (an hour, a day): how many rooms an address made,
// how many nicknames a network claimed. Keys whose window has passed are forgotten once there are
// more than maxKeys, so a flood of addresses cannot grow it without end.
#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <unordered_map>
#include <vector>

#include "server/base/RateLimit.h"

namespace zn::server {

class KeyedWindow {
 public:
  KeyedWindow(std::chrono::seconds window, std::size_t maxKeys) : window_(window), maxKeys_(maxKeys) {}

  // Whether key has had fewer than limit events in the window ending at now.
  bool Below(const std::string& key, std::size_t limit, SteadyTime now);
  void Count(const std::string& key, SteadyTime now) { times_[key].push_back(now); }

 private:
  std::chrono::seconds window_;
  std::size_t maxKeys_;
  std::unordered_map<std::string, std::vector<SteadyTime>> times_;
};

}  // namespace zn::server
