#include "link/ClaimProofGate.h"

namespace zn::claim {

TProofGate::TVerdict TProofGate::Judge(const std::optional<TClubId>& known, const TClubId& offered,
                                       std::int64_t nowMs) {
  const TPhase phase = phase_;
  phase_ = TPhase::Idle;
  if (phase == TPhase::Idle) return TVerdict::Unasked;
  if (known && *known != offered) return TVerdict::OtherClub;
  while (!signed_.empty() && nowMs - signed_.front() >= kMinuteMs) signed_.pop_front();
  if (signed_.size() >= kSignsPerMinute) return TVerdict::TooOften;
  signed_.push_back(nowMs);
  return TVerdict::Sign;
}

}  // namespace zn::claim
