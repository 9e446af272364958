// When each member in the lobby gets the lobby line, and the one line they share. A member gets at
// most one line per interval; a crowded lobby stretches the interval so a round of lines stays
// within a byte budget. The line is built again only after a change, and each build has a
// generation, so the club can tell which members have seen a room go.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "server/base/Outbox.h"
#include "server/base/RateLimit.h"

namespace zn::server {

class LobbyPacer {
 public:
  LobbyPacer(std::chrono::milliseconds interval, std::size_t bytesPerSecond)
      : interval_(interval), bytesPerSecond_(bytesPerSecond) {}

  // The lobby changed: the line is stale and everyone in it is due a new one (at his next slot).
  void Changed(const std::vector<MemberId>& inLobby);
  // The member came into the lobby (logged in, or back from a room): due at once.
  void Arrive(MemberId id, SteadyTime now);
  void Forget(MemberId id) { pace_.erase(id); }

  // The members due a line now, in the order they became due. inLobby tells whether a member
  // still waits for it (gone, closing and in a room: the turn is dropped); busy, whether his last
  // line has not gone out yet (he stays due and is asked again at his next slot).
  std::vector<MemberId> TakeDue(SteadyTime now, const std::function<bool(MemberId)>& inLobby,
                                const std::function<bool(MemberId)>& busy = {});
  // The shared line; build makes it when the lobby changed since the last one.
  const SharedLine& Line(const std::function<std::string()>& build);
  // The member got the line now; audience: how many are in the lobby (they share the budget).
  void Sent(MemberId id, SteadyTime now, std::size_t audience);

  std::uint64_t Generation() const { return generation_; }
  // The generation of the last line the member got (0: none).
  std::uint64_t Seen(MemberId id) const;
  std::optional<SteadyTime> NextDue() const;

 private:
  struct Pace {
    SteadyTime next{};
    bool due = false;
    std::uint64_t seen = 0;
  };
  void MarkDue(MemberId id, Pace& p);
  std::chrono::milliseconds Interval(std::size_t audience) const;

  std::chrono::milliseconds interval_;
  std::size_t bytesPerSecond_;
  std::unordered_map<MemberId, Pace> pace_;
  std::vector<MemberId> waiting_;  // members with due set
  SharedLine line_;
  bool stale_ = true;
  std::uint64_t generation_ = 0;  // grows with every line built
};

}  // namespace zn::server
