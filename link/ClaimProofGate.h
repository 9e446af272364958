// When the client signs a claim's challenge. A signature opens a login as the member, so the client
// gives one only where it asked for it: while logging in (after its "N", before the lobby) or as the
// answer to its own request after the lobby; once each, a few times a minute at most, and only for
// the club it met first at that address (trust on first use), so a club the member also visits
// cannot pass another club's challenge on to him and log in there in his name.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>

#include "link/ClaimProof.h"

namespace zn::claim {

class TProofGate {
 public:
  static constexpr std::size_t kSignsPerMinute = 3;
  static constexpr std::int64_t kMinuteMs = 60'000;

  enum class TVerdict {
    Sign,       // sign it
    Unasked,    // no login or request of ours waits for a challenge
    TooOften,   // kSignsPerMinute signatures in the last minute
    OtherClub,  // the address answered for another club before
  };

  void NewConnection() { phase_ = TPhase::Idle; }
  void LoginSent() { phase_ = TPhase::LoggingIn; }
  // The lobby came: the login is over (a request made after it still waits).
  void LobbyReached() {
    if (phase_ == TPhase::LoggingIn) phase_ = TPhase::Idle;
  }
  // The client asked for a challenge, to claim the nickname it is logged in with.
  void Requested() { phase_ = TPhase::Requested; }
  // A "Y" line: whether to sign it. known: the identity this address gave before (none: the first
  // time). Any verdict ends the wait: one challenge a login or request is signed at most.
  TVerdict Judge(const std::optional<TClubId>& known, const TClubId& offered, std::int64_t nowMs);

 private:
  enum class TPhase { Idle, LoggingIn, Requested };
  TPhase phase_ = TPhase::Idle;
  std::deque<std::int64_t> signed_;  // when the signatures of the last minute were given
};

}  // namespace zn::claim
