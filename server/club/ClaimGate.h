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
#include "server/base/Outbox.h"
#include "server/base/RateLimit.h"

namespace zn::server {

class ClaimGate {
 public:
  ClaimGate(ClaimMode mode, std::chrono::seconds proofTimeout) : mode_(mode), proofTimeout_(proofTimeout) {}

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
    Proven,       // the nickname's claim is proved
    Claimed,      // the nickname was free and is now claimed by this key
  };
  struct Outcome {
    Verdict verdict = Verdict::NoChallenge;
    std::string nickname;  // the nickname the challenge was for
    bool held = false;     // the nickname was claimed when the proof came
  };
  // A "Y" with a proof. The open challenge is spent, rightly or not. Throws StoreError.
  Outcome Prove(MemberId id, std::string_view command);

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
  MemoryNames memoryNames_;
  NameStore* names_ = &memoryNames_;
  std::optional<claim::TClubId> identity_;  // read at the first challenge
  std::map<MemberId, State> states_;
  std::deque<std::pair<SteadyTime, MemberId>> deadlines_;  // in the order sent (one timeout)
};

}  // namespace zn::server
