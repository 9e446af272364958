#include "server/RateLimit.h"

namespace zn::server {

bool RateLimit::Count(SteadyTime now) {
  using std::chrono::seconds;
  if (count_ == 0 || now - second_ >= seconds(1)) {
    const bool nextSecond = count_ != 0 && now - second_ < seconds(2);
    if (nextSecond && count_ > kMaxPerSecond)
      ++busyBefore_;
    else
      busyBefore_ = 0;
    // Keep whole seconds aligned to the first command, so a steady stream is judged per second.
    second_ = count_ == 0 || !nextSecond ? now : second_ + seconds(1);
    count_ = 0;
  }
  ++count_;
  return !(count_ > kMaxPerSecond && busyBefore_ + 1 >= kBusySeconds);
}

}  // namespace zn::server
