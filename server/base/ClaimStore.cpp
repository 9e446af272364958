#include "server/base/ClaimStore.h"

#include <ctime>

namespace zn::server {

bool ParseClaimMode(std::string_view text, ClaimMode& mode) {
  if (text == "off")
    mode = ClaimMode::Off;
  else if (text == "on")
    mode = ClaimMode::On;
  else if (text == "required")
    mode = ClaimMode::Required;
  else
    return false;
  return true;
}

std::int64_t MemoryNames::Now() const {
  return now_ ? now_() : static_cast<std::int64_t>(std::time(nullptr));
}

claim::TClubId MemoryNames::ClubIdentity() {
  if (!identity_) identity_ = claim::NewClubId();
  return *identity_;
}

std::optional<claim::TPublicKey> MemoryNames::ClaimOf(std::string_view folded) {
  auto it = keys_.find(folded);
  if (it == keys_.end()) return std::nullopt;
  return it->second.key;
}

claim::TPublicKey MemoryNames::Claim(std::string_view folded, const claim::TPublicKey& key) {
  return keys_.emplace(std::string(folded), Held{key, Now()}).first->second.key;
}

bool MemoryNames::Release(std::string_view folded) {
  auto it = keys_.find(folded);
  if (it == keys_.end()) return false;
  keys_.erase(it);
  return true;
}

void MemoryNames::MarkUsed(std::string_view folded) {
  auto it = keys_.find(folded);
  if (it != keys_.end()) it->second.used = Now();
}

std::size_t MemoryNames::ReleaseUnused(std::int64_t unusedSeconds) {
  const std::int64_t before = Now() - unusedSeconds;
  return std::erase_if(keys_, [&](const auto& entry) { return entry.second.used < before; });
}

}  // namespace zn::server
