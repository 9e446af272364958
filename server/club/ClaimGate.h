// The gate of claimed nicknames: which logins need a proof, the challenges open (one per
// connection, with a deadline), and the check of a proof against the claim the store keeps.
// The club turns its verdicts into notices and closes.
//
// Every failed or missing proof ends the connection, so a member gets at most one signature check
// for each challenge and one outstanding challenge at a time: a flood of "Y" commands costs the
// server what any flood of commands costs (the rate limit), never a check per command.
#pragma once

#include <chrono>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "server/base/ClaimStore.h"
#include "server/base/KeyedWindow.h"
#include "server/base/Outbox.h"
#include "server/base/RateLimit.h"

namespace zn::server {

// How many nicknames may be claimed from where, and when an unused claim is freed.
struct ClaimPolicy {
  std::size_t perHourPerAddress = 3;
  std::size_t perDayPerNetwork = 10;
  std::chrono::hours releaseUnused{365 * 24};  // 0: never
  std::size_t maxKeys = 1000;                  // addresses remembered before old ones are forgotten
};

class ClaimGate {
 public:
  ClaimGate(ClaimMode mode, std::chrono::seconds proofTimeout, const ClaimPolicy& policy = {})
      : mode_(mode),
        proofTimeout_(proofTimeout),
        policy_(policy),
        byAddress_(std::chrono::hours(1), policy.maxKeys),
        byNetwork_(std::chrono::hours(24), policy.maxKeys) {}

  // Where claimed nicknames and the club's identity are kept (not owned); nullptr: in memory, for
  // this run only. Throws StoreError when the identity cannot be read or made.
  void SetNames(NameStore* names);
  ClaimMode Mode() const { return mode_; }

  // What a login under nickname needs. Throws StoreError when the claims cannot be read.
  enum class Entry { Admit, Challenge, ChallengeFree };
  Entry AtLogin(std::string_view nickname);
  // Opens a challenge for the connection: a fresh nonce and the club's identity, for the client.
  // Throws StoreError when the identity cannot be read.
  claim::TChallenge Challenge(MemberId id, std::string_view nickname, bool free, SteadyTime now);
  // Whether the member (logged in) may ask for a challenge now: none open, not yet proven.
  bool MayRequest(MemberId id) const;
  bool Challenged(MemberId id) const { return states_.count(id) > 0; }

  enum class Verdict {
    NoChallenge,  // a proof with no challenge open (a replayed one among them)
    Bad,          // wrong signature, or a key other than the claim's
    Taken,        // the nickname was claimed by another key meanwhile
    Limited,      // the nickname was free, but its address or network has claimed too many
    Proven,       // the nickname's claim is proved
    Claimed,      // the nickname was free and is now claimed by this key
  };
  struct Outcome {
    Verdict verdict = Verdict::NoChallenge;
    std::string nickname;  // the nickname the challenge was for
    bool held = false;     // the nickname was claimed when the proof came
  };
  // Whether a free nickname may be claimed from address now: one address, and one network, may
  // claim only a few, so nobody can squat names by the dozen from a pool of addresses.
  bool MayClaim(std::string_view address, SteadyTime now);
  // A "Y" with a proof from address. The open challenge is spent, rightly or not. A proven claim
  // counts as the nickname's use. Throws StoreError.
  Outcome Prove(MemberId id, std::string_view command, std::string_view address, SteadyTime now);
  // Frees the claims not used for the policy's time, at the first call and then once a day;
  // returns how many were freed. Not a due time of its own: a club nobody visits claims nothing,
  // so the next turn of the loop is soon enough. Throws StoreError.
  std::size_t ReleaseUnused(SteadyTime now);

  // Challenges whose time ran out (each then has none open): the member and whether the nickname
  // was free when challenged.
  std::vector<std::pair<MemberId, bool>> TakeLapsed(SteadyTime now);
  void Forget(MemberId id) { states_.erase(id); }
  std::optional<SteadyTime> NextDue() const;

 private:
  struct State {
    std::string nickname;                        // the nickname the proof is for
    std::optional<claim::TChallenge> challenge;  // not yet answered
    SteadyTime due{};                            // when the answer is too late
    bool proven = false;                         // this connection proved the nickname's secret
    bool free = false;                           // nobody had claimed the nickname when challenged
  };

  ClaimMode mode_;
  std::chrono::seconds proofTimeout_;
  ClaimPolicy policy_;
  KeyedWindow byAddress_;
  KeyedWindow byNetwork_;
  std::optional<SteadyTime> nextRelease_;  // none yet: the first Flush releases
  MemoryNames memoryNames_;
  NameStore* names_ = &memoryNames_;
  std::optional<claim::TClubId> identity_;  // read at the first challenge
  std::map<MemberId, State> states_;
  std::deque<std::pair<SteadyTime, MemberId>> deadlines_;  // in the order sent (one timeout)
};

}  // namespace zn::server
