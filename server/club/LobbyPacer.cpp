#include "server/club/LobbyPacer.h"

#include <algorithm>

namespace zn::server {

void LobbyPacer::MarkDue(MemberId id, Pace& p) {
  if (p.due) return;
  p.due = true;
  waiting_.push_back(id);
}

void LobbyPacer::Changed(const std::vector<MemberId>& inLobby) {
  stale_ = true;
  for (MemberId id : inLobby) MarkDue(id, pace_[id]);
}

void LobbyPacer::Arrive(MemberId id, SteadyTime now) {
  Pace& p = pace_[id];
  p.next = now;  // a newcomer gets the lobby at once
  MarkDue(id, p);
}

std::vector<MemberId> LobbyPacer::TakeDue(SteadyTime now, const std::function<bool(MemberId)>& inLobby,
                                          const std::function<bool(MemberId)>& busy) {
  std::vector<MemberId> due;
  std::vector<MemberId> later;
  for (MemberId id : waiting_) {
    auto it = pace_.find(id);
    if (it == pace_.end()) continue;
    Pace& p = it->second;
    if (!inLobby(id)) {
      p.due = false;
    } else if (p.next > now) {
      later.push_back(id);
    } else if (busy && busy(id)) {
      p.next = now + interval_;  // one line at a time: the changes go out together later
      later.push_back(id);
    } else {
      p.due = false;
      due.push_back(id);
    }
  }
  waiting_ = std::move(later);
  return due;
}

const SharedLine& LobbyPacer::Line(const std::function<std::string()>& build) {
  if (stale_ || !line_) {
    line_ = std::make_shared<const std::string>(build());
    ++generation_;
    stale_ = false;
  }
  return line_;
}

std::chrono::milliseconds LobbyPacer::Interval(std::size_t audience) const {
  if (!line_ || bytesPerSecond_ == 0) return interval_;
  const std::uint64_t round = static_cast<std::uint64_t>(line_->size()) * audience;
  const auto byBudget = std::chrono::milliseconds(round * 1000 / bytesPerSecond_);
  return byBudget > interval_ ? byBudget : interval_;
}

// Members' next lines fall on a grid of an eighth of the interval, so those due together share one
// line instead of each turn of the loop building a new one.
void LobbyPacer::Sent(MemberId id, SteadyTime now, std::size_t audience) {
  Pace& p = pace_[id];
  p.seen = generation_;
  const auto interval = Interval(audience);
  const auto grid = std::max<SteadyTime::duration>(interval / 8, std::chrono::milliseconds(1));
  const auto t = (now + interval).time_since_epoch();
  p.next = SteadyTime((t + grid - SteadyTime::duration(1)) / grid * grid);
}

std::uint64_t LobbyPacer::Seen(MemberId id) const {
  auto it = pace_.find(id);
  return it == pace_.end() ? 0 : it->second.seen;
}

std::optional<SteadyTime> LobbyPacer::NextDue() const {
  std::optional<SteadyTime> due;
  for (MemberId id : waiting_) {
    auto it = pace_.find(id);
    if (it != pace_.end() && (!due || it->second.next < *due)) due = it->second.next;
  }
  return due;
}

}  // namespace zn::server
