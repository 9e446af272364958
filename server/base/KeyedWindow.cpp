#include "server/base/KeyedWindow.h"

namespace zn::server {

bool KeyedWindow::Below(const std::string& key, std::size_t limit, SteadyTime now) {
  const auto old = [&](SteadyTime t) { return now - t >= window_; };
  if (times_.size() > maxKeys_)
    std::erase_if(times_, [&](const auto& e) { return e.second.empty() || old(e.second.back()); });
  auto& times = times_[key];
  std::erase_if(times, old);
  return times.size() < limit;
}

}  // namespace zn::server
