// A token bucket: it starts full with burst tokens, and tokens come back at perSecond. For the
// command rate of a member every command (each of several glued into one read too) takes one, and a
// member whose bucket is empty is sending faster than anyone clicks; for chat a token is a byte.
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
  bool Count(SteadyTime now) { return Take(now, 1); }
  // Whether amount tokens are there at now, without taking them.
  bool Has(SteadyTime now, std::uint32_t amount);
  // Takes amount tokens at now; false (and nothing taken) when fewer are left.
  bool Take(SteadyTime now, std::uint32_t amount);

 private:
  static constexpr std::int64_t kUnit = 1'000'000;  // a token in micro-tokens

  void Refill(SteadyTime now);

  std::uint32_t perSecond_ = kPerSecond;
  std::uint32_t burst_ = kBurst;
  bool started_ = false;
  SteadyTime last_{};
  std::int64_t tokens_ = 0;  // micro-tokens
};

}  // namespace zn::server
