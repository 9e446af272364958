// Command rate of one member: more than kMaxPerSecond commands in each of kBusySeconds seconds in a
// row is abuse. Counted per whole second since the member's first command of the run.
#pragma once

#include <chrono>
#include <cstdint>

namespace zn::server {

using SteadyTime = std::chrono::steady_clock::time_point;

class RateLimit {
 public:
  static constexpr std::uint32_t kMaxPerSecond = 20;
  static constexpr std::uint32_t kBusySeconds = 5;

  // Counts one command at now; false when the member has now been busy for kBusySeconds seconds.
  bool Count(SteadyTime now);

 private:
  SteadyTime second_{};           // start of the current second
  std::uint32_t count_ = 0;       // commands in it
  std::uint32_t busyBefore_ = 0;  // busy seconds right before it
};

}  // namespace zn::server
