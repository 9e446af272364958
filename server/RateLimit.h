// Command rate of one member as a token bucket: it starts full with burst tokens, every command
// (each of several glued into one read too) takes one, and tokens come back at perSecond. A member
// whose bucket is empty is sending faster than anyone clicks.
#pragma once

#include <chrono>
#include <cstdint>

namespace zn::server {

using SteadyTime = std::chrono::steady_clock::time_point;

class RateLimit {
 public:
  static constexpr std::uint32_t kPerSecond = 20;
  static constexpr std::uint32_t kBurst = 60;

  RateLimit() = default;
  RateLimit(std::uint32_t perSecond, std::uint32_t burst) : perSecond_(perSecond), burst_(burst) {}

  // Takes a token for one command at now; false when none was left (the command is refused).
  bool Count(SteadyTime now);

 private:
  static constexpr std::int64_t kUnit = 1'000'000;  // a token in micro-tokens

  std::uint32_t perSecond_ = kPerSecond;
  std::uint32_t burst_ = kBurst;
  bool started_ = false;
  SteadyTime last_{};
  std::int64_t tokens_ = 0;  // micro-tokens
};

}  // namespace zn::server
