// Claimed nicknames on the server: the mode the operator chose, and what the store keeps of each
// claimed nickname (its public key, link/ClaimProof.h). The club's side of the exchange is in
// server/club/ClubClaimGate.cpp.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "link/ClaimProof.h"

namespace zn::server {

// --claims: Off never challenges; On challenges claimed nicknames and lets a client that asks
// claim a free one; Required admits no nickname without a proof (a free one is claimed by it).
enum class ClaimMode { Off, On, Required };
bool ParseClaimMode(std::string_view text, ClaimMode& mode);

// The claimed nicknames, by their folded key (NameKey). Failing calls throw StoreError.
class NameStore {
 public:
  virtual ~NameStore() = default;
  virtual std::optional<claim::TPublicKey> ClaimOf(std::string_view folded) = 0;
  // Claims folded for key unless it is claimed already; returns the key it is claimed for after the
  // call (key when this call claimed it).
  virtual claim::TPublicKey Claim(std::string_view folded, const claim::TPublicKey& key) = 0;
  // Frees a claimed nickname; false when it was not claimed.
  virtual bool Release(std::string_view folded) = 0;
};

// The claims of a club run without a file (tests, and a club given no store for them).
class MemoryNames : public NameStore {
 public:
  std::optional<claim::TPublicKey> ClaimOf(std::string_view folded) override;
  claim::TPublicKey Claim(std::string_view folded, const claim::TPublicKey& key) override;
  bool Release(std::string_view folded) override;

 private:
  std::map<std::string, claim::TPublicKey, std::less<>> keys_;
};

}  // namespace zn::server
