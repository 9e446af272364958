// Logins under the nickname of a member online: the old connection is probed and replaced only when
// it stays silent. One probe at a time per member, none for a while after it proved alive, so
// nobody can make the server write to an active member over and over.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "server/base/Outbox.h"
#include "server/base/RateLimit.h"

namespace zn::server {

class Takeovers {
 public:
  // How long a probe waits for a sign of life.
  static constexpr std::chrono::seconds kProbeWait{5};
  // A member that proved alive is not probed again for this long (logins are refused at once).
  static constexpr std::chrono::seconds kSilentAfter{30};
  // Logins under one member's nickname from one address with no longer pause between them are one
  // series: its member is told of the first only.
  static constexpr std::chrono::minutes kSeriesGap{2};
  // Series remembered per member; an older one forgotten only costs its member one more notice.
  static constexpr std::size_t kMaxSeries = 16;

  struct Probe {
    MemberId newcomer = 0;
    MemberId old = 0;
    std::string nickname;
    SteadyTime since{};          // when the probe went out
    std::uint64_t probeEnd = 0;  // where the probe ends in the old connection's stream (Outbox::Streamed)
  };

  // Whether the old connection may be probed now (no probe open, not proved alive lately).
  bool MayProbe(MemberId old, SteadyTime now) const;
  bool Awaiting(MemberId newcomer) const;
  void Start(MemberId newcomer, MemberId old, std::string_view nickname, SteadyTime now,
             std::uint64_t probeEnd);
  // Whether the old connection's end took the probe in: its stream is acknowledged past the probe,
  // however much was queued after it (room chat to a slow reader).
  static bool TookIn(const Probe& probe, std::uint64_t streamed, std::size_t unacknowledged) {
    return streamed >= unacknowledged && streamed - unacknowledged >= probe.probeEnd;
  }
  // The probes whose wait has ended, the first sent first.
  std::vector<Probe> TakeDue(SteadyTime now);
  void ProvedAlive(MemberId old, SteadyTime now) { alive_[old] = now; }
  // Counts a login under old's nickname from the address; true when it begins a series.
  bool NewSeries(MemberId old, const std::string& addressKey, SteadyTime now);
  void Forget(MemberId id) {
    alive_.erase(id);
    series_.erase(id);
  }
  std::optional<SteadyTime> NextDue() const;

 private:
  std::vector<Probe> probes_;  // in the order they came, so the first due is the first
  std::unordered_map<MemberId, SteadyTime> alive_;
  struct Series {
    std::string addressKey;
    SteadyTime last{};  // the series' latest login
  };
  std::unordered_map<MemberId, std::vector<Series>> series_;  // by the member online, oldest first
};

}  // namespace zn::server
