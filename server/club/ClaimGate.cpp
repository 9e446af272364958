#include "server/club/ClaimGate.h"

#include "link/Protocol.h"
#include "server/base/Names.h"

namespace zn::server {

ClaimGate::Entry ClaimGate::AtLogin(std::string_view nickname) {
  if (mode_ == ClaimMode::Off) return Entry::Admit;
  const std::optional<claim::TPublicKey> key = names_->ClaimOf(NameKey(nickname));
  if (key) return Entry::Challenge;
  return mode_ == ClaimMode::On ? Entry::Admit : Entry::ChallengeFree;  // a free nickname: old clients too
}

claim::TNonce ClaimGate::Challenge(MemberId id, std::string_view nickname, bool free, SteadyTime now) {
  State& c = states_[id];
  c.nickname.assign(nickname);
  c.free = free;
  c.nonce = claim::NewNonce();
  c.due = now + proofTimeout_;
  deadlines_.emplace_back(c.due, id);
  return *c.nonce;
}

bool ClaimGate::MayRequest(MemberId id) const {
  if (mode_ == ClaimMode::Off) return false;
  auto it = states_.find(id);
  return it == states_.end() || (!it->second.nonce && !it->second.proven);
}

ClaimGate::Outcome ClaimGate::Prove(MemberId id, std::string_view command) {
  auto it = states_.find(id);
  if (it == states_.end() || !it->second.nonce) return {};
  State& c = it->second;
  const claim::TNonce nonce = *c.nonce;
  c.nonce.reset();  // a nonce answers once, rightly or not
  Outcome out;
  out.nickname = c.nickname;
  const std::optional<claim::TProof> proof = proto::ReadCmdProof(command);
  const std::string folded = NameKey(c.nickname);
  const std::optional<claim::TPublicKey> held = names_->ClaimOf(folded);
  out.held = held.has_value();
  if (!proof || (held && *held != proof->key) || !claim::Verify(*proof, nonce, c.nickname)) {
    out.verdict = Verdict::Bad;
    return out;
  }
  if (!held && names_->Claim(folded, proof->key) != proof->key) {
    out.verdict = Verdict::Taken;
    return out;
  }
  c.proven = true;
  out.verdict = held ? Verdict::Proven : Verdict::Claimed;
  return out;
}

// One timeout for all: the deadlines come in order.
std::vector<std::pair<MemberId, bool>> ClaimGate::TakeLapsed(SteadyTime now) {
  std::vector<std::pair<MemberId, bool>> lapsed;
  while (!deadlines_.empty() && deadlines_.front().first <= now) {
    const MemberId id = deadlines_.front().second;
    deadlines_.pop_front();
    auto it = states_.find(id);
    if (it == states_.end() || !it->second.nonce || it->second.due > now) continue;
    it->second.nonce.reset();
    lapsed.emplace_back(id, it->second.free);
  }
  return lapsed;
}

std::optional<SteadyTime> ClaimGate::NextDue() const {
  if (deadlines_.empty()) return std::nullopt;
  return deadlines_.front().first;
}

}  // namespace zn::server
