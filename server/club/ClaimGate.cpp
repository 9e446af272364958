#include "server/club/ClaimGate.h"

#include "link/Protocol.h"
#include "server/base/Addresses.h"
#include "server/base/Names.h"

namespace zn::server {

ClaimGate::Entry ClaimGate::AtLogin(std::string_view nickname) {
  if (mode_ == ClaimMode::Off) return Entry::Admit;
  const std::optional<claim::TPublicKey> key = names_->ClaimOf(NameKey(nickname));
  if (key) return Entry::Challenge;
  return mode_ == ClaimMode::On ? Entry::Admit : Entry::ChallengeFree;  // a free nickname: old clients too
}

void ClaimGate::SetNames(NameStore* names) {
  names_ = names ? names : &memoryNames_;
  identity_.reset();
}

claim::TChallenge ClaimGate::Challenge(MemberId id, std::string_view nickname, bool free, SteadyTime now) {
  if (!identity_) identity_ = names_->ClubIdentity();
  State& c = states_[id];
  c.nickname.assign(nickname);
  c.free = free;
  c.challenge = claim::TChallenge{claim::NewNonce(), *identity_};
  c.due = now + proofTimeout_;
  deadlines_.emplace_back(c.due, id);
  return *c.challenge;
}

bool ClaimGate::MayRequest(MemberId id) const {
  if (mode_ == ClaimMode::Off) return false;
  auto it = states_.find(id);
  return it == states_.end() || (!it->second.challenge && !it->second.proven);
}

bool ClaimGate::MayClaim(std::string_view address, SteadyTime now) {
  const std::string network = PrefixKey(address);
  return byAddress_.Below(AddressKey(address), policy_.perHourPerAddress, now) &&
         (network.empty() || byNetwork_.Below(network, policy_.perDayPerNetwork, now));
}

ClaimGate::Outcome ClaimGate::Prove(MemberId id, std::string_view command, std::string_view address,
                                    SteadyTime now) {
  auto it = states_.find(id);
  if (it == states_.end() || !it->second.challenge) return {};
  State& c = it->second;
  const claim::TChallenge challenge = *c.challenge;
  c.challenge.reset();  // a nonce answers once, rightly or not
  Outcome out;
  out.nickname = c.nickname;
  const std::optional<claim::TProof> proof = proto::ReadCmdProof(command);
  const std::string folded = NameKey(c.nickname);
  const std::optional<claim::TPublicKey> held = names_->ClaimOf(folded);
  out.held = held.has_value();
  if (!proof || (held && *held != proof->key) || !claim::Verify(*proof, challenge, c.nickname)) {
    out.verdict = Verdict::Bad;
    return out;
  }
  if (!held && !MayClaim(address, now)) {
    out.verdict = Verdict::Limited;
    return out;
  }
  if (!held && names_->Claim(folded, proof->key) != proof->key) {
    out.verdict = Verdict::Taken;
    return out;
  }
  if (held) {
    names_->MarkUsed(folded);
  } else {
    byAddress_.Count(AddressKey(address), now);
    if (const std::string network = PrefixKey(address); !network.empty()) byNetwork_.Count(network, now);
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
    if (it == states_.end() || !it->second.challenge || it->second.due > now) continue;
    it->second.challenge.reset();
    lapsed.emplace_back(id, it->second.free);
  }
  return lapsed;
}

std::size_t ClaimGate::ReleaseUnused(SteadyTime now) {
  if (mode_ == ClaimMode::Off || policy_.releaseUnused.count() <= 0) return 0;
  if (nextRelease_ && now < *nextRelease_) return 0;
  nextRelease_ = now + std::chrono::hours(24);  // a store that fails is tried again tomorrow
  return names_->ReleaseUnused(
      std::chrono::duration_cast<std::chrono::seconds>(policy_.releaseUnused).count());
}

std::optional<SteadyTime> ClaimGate::NextDue() const {
  if (deadlines_.empty()) return std::nullopt;
  return deadlines_.front().first;
}

}  // namespace zn::server
