#include "server/base/RateLimit.h"

#include <algorithm>

namespace zn::server {

void RateLimit::Refill(SteadyTime now) {
  const std::int64_t full = static_cast<std::int64_t>(burst_) * kUnit;
  if (!started_) {
    started_ = true;
    tokens_ = full;
  } else if (now > last_) {
    // A pause longer than an hour refills any bucket; the cap keeps the product in 64 bits.
    const auto us = std::min<std::int64_t>(
        std::chrono::duration_cast<std::chrono::microseconds>(now - last_).count(), 3'600'000'000LL);
    tokens_ = std::min(full, tokens_ + us * static_cast<std::int64_t>(perSecond_));
  }
  last_ = std::max(last_, now);
}

bool RateLimit::Has(SteadyTime now, std::uint32_t amount) {
  Refill(now);
  return tokens_ >= static_cast<std::int64_t>(amount) * kUnit;
}

bool RateLimit::Take(SteadyTime now, std::uint32_t amount) {
  if (!Has(now, amount)) return false;
  tokens_ -= static_cast<std::int64_t>(amount) * kUnit;
  return true;
}

}  // namespace zn::server
