// Claimed nicknames on the server: the mode the operator chose, and what the store keeps of each
// claimed nickname (its public key, link/ClaimProof.h). The club's side of the exchange is in
// server/club/ClubClaimGate.cpp.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
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

// The claimed nicknames, by their folded key (NameKey), with when each was last used, and the
// club's identity. Failing calls throw StoreError.
class NameStore {
 public:
  virtual ~NameStore() = default;
  // Made from the system's random source at the first call on a new store, the same for ever after:
  // a changed identity would make every member's client refuse the club.
  virtual claim::TClubId ClubIdentity() = 0;
  virtual std::optional<claim::TPublicKey> ClaimOf(std::string_view folded) = 0;
  // Claims folded for key unless it is claimed already; returns the key it is claimed for after the
  // call (key when this call claimed it).
  virtual claim::TPublicKey Claim(std::string_view folded, const claim::TPublicKey& key) = 0;
  // Frees a claimed nickname; false when it was not claimed.
  virtual bool Release(std::string_view folded) = 0;
  // The nickname's owner logged in now (a claim is used from when it is made).
  virtual void MarkUsed(std::string_view folded) = 0;
  // Frees every claim not used for unusedSeconds; returns how many.
  virtual std::size_t ReleaseUnused(std::int64_t unusedSeconds) = 0;
};

// The claims of a club run without a file (tests, and a club given no store for them).
class MemoryNames : public NameStore {
 public:
  // Seconds since the epoch; tests move it.
  using NowFn = std::function<std::int64_t()>;
  explicit MemoryNames(NowFn now = {}) : now_(std::move(now)) {}

  claim::TClubId ClubIdentity() override;
  std::optional<claim::TPublicKey> ClaimOf(std::string_view folded) override;
  claim::TPublicKey Claim(std::string_view folded, const claim::TPublicKey& key) override;
  bool Release(std::string_view folded) override;
  void MarkUsed(std::string_view folded) override;
  std::size_t ReleaseUnused(std::int64_t unusedSeconds) override;

 private:
  struct Held {
    claim::TPublicKey key{};
    std::int64_t used = 0;
  };
  std::int64_t Now() const;

  NowFn now_;
  std::optional<claim::TClubId> identity_;
  std::map<std::string, Held, std::less<>> keys_;
};

}  // namespace zn::server
