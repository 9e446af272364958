#include "server/club/Takeovers.h"

#include <algorithm>

namespace zn::server {

bool Takeovers::MayProbe(MemberId old, SteadyTime now) const {
  if (std::any_of(probes_.begin(), probes_.end(), [&](const Probe& p) { return p.old == old; })) return false;
  auto it = alive_.find(old);
  return it == alive_.end() || now - it->second >= kSilentAfter;
}

bool Takeovers::Awaiting(MemberId newcomer) const {
  return std::any_of(probes_.begin(), probes_.end(), [&](const Probe& p) { return p.newcomer == newcomer; });
}

void Takeovers::Start(MemberId newcomer, MemberId old, std::string_view nickname, SteadyTime now,
                      std::uint64_t probeEnd) {
  probes_.push_back({newcomer, old, std::string(nickname), now, probeEnd});
}

bool Takeovers::NewSeries(MemberId old, const std::string& addressKey, SteadyTime now) {
  std::vector<Series>& all = series_[old];
  std::erase_if(all, [&](const Series& s) { return now - s.last >= kSeriesGap; });
  auto it = std::find_if(all.begin(), all.end(), [&](const Series& s) { return s.addressKey == addressKey; });
  const bool fresh = it == all.end();
  if (!fresh) all.erase(it);
  if (all.size() >= kMaxSeries) all.erase(all.begin());
  all.push_back({addressKey, now});
  return fresh;
}

std::vector<Takeovers::Probe> Takeovers::TakeDue(SteadyTime now) {
  auto end = std::find_if(probes_.begin(), probes_.end(),
                          [&](const Probe& p) { return p.since + kProbeWait > now; });
  std::vector<Probe> due(std::make_move_iterator(probes_.begin()), std::make_move_iterator(end));
  probes_.erase(probes_.begin(), end);
  return due;
}

std::optional<SteadyTime> Takeovers::NextDue() const {
  if (probes_.empty()) return std::nullopt;
  return probes_.front().since + kProbeWait;
}

}  // namespace zn::server
