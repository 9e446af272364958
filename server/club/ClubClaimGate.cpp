// The club's side of claimed nicknames: a login meets the claims gate (ClaimGate.h), a member
// logged in may claim his free nickname, and the gate's verdicts become notices and closes.
#include "link/Protocol.h"
#include "server/base/ClubTexts.h"
#include "server/base/Log.h"
#include "server/club/Club.h"

namespace zn::server {

void Club::SetNames(NameStore* names) { claims_.SetNames(names); }

bool Club::PassClaimGate(Member& m, std::string_view nickname) {
  ClaimGate::Entry entry = ClaimGate::Entry::Admit;
  try {
    entry = claims_.AtLogin(nickname);
  } catch (const StoreError& e) {
    Log(std::string("claims: ") + e.what());
    RefuseClaim(m, "claims cannot be read", text::kClaimsUnavailable);
    return false;
  }
  if (entry == ClaimGate::Entry::Admit) return true;
  const bool free = entry == ClaimGate::Entry::ChallengeFree;
  // A client that did not say it reads "Y" would show the challenge in a box and could not answer.
  if (!(m.link.reads & proto::kReadsClaims)) {
    RefuseClaim(m, "no claims announced for " + std::string(nickname),
                free ? text::kClaimNeeded : text::kClaimRefused);
    return false;
  }
  // A free nickname where no login goes without a proof: its claim must be allowed from here.
  if (free && !claims_.MayClaim(m.who.address, now_())) {
    RefuseClaim(m, "too many claims from " + m.who.address, text::kClaimsTooMany);
    return false;
  }
  Challenge(m, nickname, free);
  return false;
}

void Club::Challenge(Member& m, std::string_view nickname, bool free) {
  try {
    out_.Send(m.id, proto::LineChallenge(claims_.Challenge(m.id, nickname, free, now_())));
  } catch (const StoreError& e) {
    Log(std::string("claims: ") + e.what());
    if (m.LoggedIn())  // a member in the club only loses his claim's request
      Refuse(m, "club identity cannot be read", text::kClaimsUnavailable);
    else
      RefuseClaim(m, "club identity cannot be read", text::kClaimsUnavailable);
  }
}

void Club::RefuseClaim(Member& m, std::string_view why, std::string_view text) {
  Refuse(m, why, text);
  Closing(m, proto::TCloseReason::ClaimFailed);
  claims_.Forget(m.id);
  m.link.closing = true;
  out_.Close(m.id);
}

void Club::ClaimCommand(Member& m, std::string_view command) {
  if (command.size() == 1) {  // a request: one challenge at a time, none once proven or when off
    if (!m.LoggedIn() || !(m.link.reads & proto::kReadsClaims) || !claims_.MayRequest(m.id)) return;
    if (!claims_.MayClaim(m.who.address, now_())) return Notice(m, text::kClaimsTooMany);
    Challenge(m, m.who.nickname, true);
    return;
  }
  ClaimGate::Outcome outcome;
  try {
    outcome = claims_.Prove(m.id, command, m.who.address, now_());
  } catch (const StoreError& e) {
    Log(std::string("claims: ") + e.what());
    RefuseClaim(m, "claims cannot be written", text::kClaimsUnavailable);
    return;
  }
  switch (outcome.verdict) {
    case ClaimGate::Verdict::NoChallenge:
      return Refuse(m, "proof without a challenge", text::kNoChallenge);
    case ClaimGate::Verdict::Bad:
      return RefuseClaim(m, "bad proof for " + outcome.nickname,
                         outcome.held || m.LoggedIn() ? text::kClaimRefused : text::kClaimNeeded);
    case ClaimGate::Verdict::Limited:  // a member already in keeps his connection, unclaimed
      if (m.LoggedIn()) return Notice(m, text::kClaimsTooMany);
      return RefuseClaim(m, "too many claims from " + m.who.address, text::kClaimsTooMany);
    case ClaimGate::Verdict::Taken:
      return RefuseClaim(m, "claimed meanwhile: " + outcome.nickname, text::kClaimRefused);
    case ClaimGate::Verdict::Claimed:
      LogAddress(m, "claim #" + std::to_string(m.id) + " " + outcome.nickname);
      Notice(m, text::kClaimed);
      break;
    case ClaimGate::Verdict::Proven:
      break;
  }
  if (!m.LoggedIn()) Admit(m, outcome.nickname);
}

// A challenged login that stays silent is refused; a member already in who asked for a challenge
// and let it lapse only loses that challenge.
void Club::CloseUnproven(SteadyTime now) {
  try {
    if (const std::size_t freed = claims_.ReleaseUnused(now))
      Log("claims: " + std::to_string(freed) + " nicknames unused for long freed");
  } catch (const StoreError& e) {
    Log(std::string("claims: unused nicknames not freed: ") + e.what());
  }
  for (const auto& [id, free] : claims_.TakeLapsed(now)) {
    Member* m = Get(id);
    if (!m || m->link.closing || m->LoggedIn()) continue;
    RefuseClaim(*m, "no proof in time", free ? text::kClaimNeeded : text::kClaimRefused);
  }
}

}  // namespace zn::server
