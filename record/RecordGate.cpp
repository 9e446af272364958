#include "record/RecordGate.h"

#include <algorithm>

namespace zn {

void TRecordGate::Reset() {
  seen_.clear();
  admitted_ = 0;
}

void TRecordGate::DealSeen(std::int32_t number) {
  if (std::find(seen_.begin(), seen_.end(), number) != seen_.end()) return;
  seen_.push_back(number);
  if (seen_.size() > kRemembered) seen_.pop_front();
}

bool TRecordGate::Admit(std::int32_t number) {
  const auto it = std::find(seen_.begin(), seen_.end(), number);
  if (it == seen_.end() || admitted_ >= kMaxPerConnection) return false;
  seen_.erase(it);
  ++admitted_;
  return true;
}

}  // namespace zn
