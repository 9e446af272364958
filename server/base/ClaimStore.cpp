#include "server/base/ClaimStore.h"

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

std::optional<claim::TPublicKey> MemoryNames::ClaimOf(std::string_view folded) {
  auto it = keys_.find(folded);
  if (it == keys_.end()) return std::nullopt;
  return it->second;
}

claim::TPublicKey MemoryNames::Claim(std::string_view folded, const claim::TPublicKey& key) {
  return keys_.emplace(std::string(folded), key).first->second;
}

bool MemoryNames::Release(std::string_view folded) {
  auto it = keys_.find(folded);
  if (it == keys_.end()) return false;
  keys_.erase(it);
  return true;
}

}  // namespace zn::server
