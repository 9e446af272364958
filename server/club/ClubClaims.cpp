// Claimed nicknames: the challenge a login gets for a claimed nickname (or for any under
// --claims required), the proof that admits it, and the claim a client asks for after a login that
// needed none. The store keeps only the public key of each claimed nickname.
//
// Every failed or missing proof ends the connection, so a member gets at most one signature check
// for each challenge and one outstanding challenge at a time: a flood of "Y" commands costs the
// server what any flood of commands costs (the rate limit), never a check per command.
#include "link/Protocol.h"
#include "server/base/ClubTexts.h"
#include "server/base/Log.h"
#include "server/base/Names.h"
#include "server/club/Club.h"

namespace zn::server {

void Club::SetNames(NameStore* names) { names_ = names ? names : &memoryNames_; }

bool Club::ClaimGate(Member& m, std::string_view nickname) {
  if (limits_.claims == ClaimMode::Off) return true;
  std::optional<claim::TPublicKey> key;
  try {
    key = names_->ClaimOf(NameKey(nickname));
  } catch (const StoreError& e) {
    Log(std::string("claims: ") + e.what());
    RefuseClaim(m, "claims cannot be read", text::kClaimsUnavailable);
    return false;
  }
  if (!key && limits_.claims == ClaimMode::On) return true;  // a free nickname: old clients too
  Challenge(m, nickname, !key);
  return false;
}

void Club::Challenge(Member& m, std::string_view nickname, bool free) {
  ClaimState& c = claims_[m.id];
  c.nickname.assign(nickname);
  c.free = free;
  c.nonce = claim::NewNonce();
  c.due = now_() + limits_.proofTimeout;
  proofDeadlines_.emplace_back(c.due, m.id);
  out_.Send(m.id, proto::LineChallenge(*c.nonce));
}

void Club::RefuseClaim(Member& m, std::string_view why, std::string_view text) {
  Refuse(m, why, text);
  Closing(m, proto::TCloseReason::ClaimFailed);
  claims_.erase(m.id);
  m.closing = true;
  out_.Close(m.id);
}

void Club::ClaimCommand(Member& m, std::string_view command) {
  auto it = claims_.find(m.id);
  const bool pending = it != claims_.end() && it->second.nonce;
  if (command.size() == 1) {  // a request: one challenge at a time, none once proven or when off
    if (m.LoggedIn() && !pending && limits_.claims != ClaimMode::Off &&
        (it == claims_.end() || !it->second.proven))
      Challenge(m, m.nickname, true);
    return;
  }
  if (!pending) {  // a proof with no challenge open, a replayed one among them
    Refuse(m, "proof without a challenge", text::kNoChallenge);
    return;
  }
  ClaimState& c = it->second;
  const claim::TNonce nonce = *c.nonce;
  c.nonce.reset();  // a nonce answers once, rightly or not
  const std::optional<claim::TProof> proof = proto::ReadCmdProof(command);
  const std::string folded = NameKey(c.nickname);
  try {
    const std::optional<claim::TPublicKey> held = names_->ClaimOf(folded);
    if (!proof || (held && *held != proof->key) || !claim::Verify(*proof, nonce, c.nickname)) {
      RefuseClaim(m, "bad proof for " + c.nickname,
                  held || m.LoggedIn() ? text::kClaimRefused : text::kClaimNeeded);
      return;
    }
    if (!held && names_->Claim(folded, proof->key) != proof->key) {
      RefuseClaim(m, "claimed meanwhile: " + c.nickname, text::kClaimRefused);
      return;
    }
    c.proven = true;
    if (!held) {
      LogAddress(m, "claim #" + std::to_string(m.id) + " " + c.nickname);
      Notice(m, text::kClaimed);
    }
  } catch (const StoreError& e) {
    Log(std::string("claims: ") + e.what());
    RefuseClaim(m, "claims cannot be written", text::kClaimsUnavailable);
    return;
  }
  if (!m.LoggedIn()) Admit(m, c.nickname);
}

// A challenged login that stays silent is refused; a member already in who asked for a challenge
// and let it lapse only loses that challenge. One timeout for all: the deadlines come in order.
void Club::CloseUnproven(SteadyTime now) {
  while (!proofDeadlines_.empty() && proofDeadlines_.front().first <= now) {
    const MemberId id = proofDeadlines_.front().second;
    proofDeadlines_.pop_front();
    Member* m = Get(id);
    auto it = claims_.find(id);
    if (!m || m->closing || it == claims_.end() || !it->second.nonce || it->second.due > now) continue;
    if (m->LoggedIn()) {
      it->second.nonce.reset();
      continue;
    }
    RefuseClaim(*m, "no proof in time", it->second.free ? text::kClaimNeeded : text::kClaimRefused);
  }
}

}  // namespace zn::server
