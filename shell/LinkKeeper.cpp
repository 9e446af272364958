#include "shell/LinkKeeper.h"

namespace zn {

void TLinkKeeper::Connected(std::int64_t now) {
  connected_ = true;
  nextPing_ = now + kQuietPingMs;
  awaitingSince_ = -1;
  pending_.clear();
}

bool TLinkKeeper::QuietPingDue(std::int64_t now, std::int64_t lastSend) {
  if (!connected_ || now < nextPing_) return false;
  if (lastSend >= 0 && now - lastSend < kQuietSpellMs) return false;
  nextPing_ = now + kQuietPingMs;
  if (pending_.size() >= kMaxPendingPings) return false;
  pending_.push_back(true);
  if (awaitingSince_ < 0) awaitingSince_ = now;
  return true;
}

bool TLinkKeeper::Silent(std::int64_t now) const {
  return connected_ && awaitingSince_ >= 0 && now - awaitingSince_ >= kPingAnswerMs;
}

void TLinkKeeper::MemberPing() {
  if (pending_.size() < kMaxPendingPings) pending_.push_back(false);
}

bool TLinkKeeper::QuietAnswer() {
  if (pending_.empty()) return false;
  const bool quiet = pending_.front();
  pending_.pop_front();
  return quiet;
}

std::int64_t TLinkKeeper::Backoff(int attempt) {
  if (attempt < 1) attempt = 1;
  if (attempt > 6) return kMaxBackoffMs;  // 2^5 s is past the cap already
  const std::int64_t wait = std::int64_t{1000} << (attempt - 1);
  return wait < kMaxBackoffMs ? wait : kMaxBackoffMs;
}

bool TLinkKeeper::Dropped(std::int64_t now, const TReturnPlace& place) {
  connected_ = false;
  if (stage_ == TStage::Waiting) return true;  // a second report of the same drop
  if (stage_ == TStage::Idle) {
    place_ = place;
    attempt_ = 0;
    firstDrop_ = now;
  }
  const std::int64_t due = now + Backoff(attempt_ + 1);
  if (due - firstDrop_ > kReturnWindowMs) {
    Stop();
    return false;
  }
  ++attempt_;
  due_ = due;
  stage_ = TStage::Waiting;
  return true;
}

void TLinkKeeper::Attempting(std::int64_t now) { Reached(TStage::Connecting, now); }

void TLinkKeeper::Reached(TStage s, std::int64_t now) {
  stage_ = s;
  stepDue_ = now + kReturnStepMs;
}

bool TLinkKeeper::StepOverdue(std::int64_t now) const {
  return stage_ != TStage::Idle && stage_ != TStage::Waiting && now >= stepDue_;
}

void TLinkKeeper::Stop() {
  stage_ = TStage::Idle;
  attempt_ = 0;
}

int TLinkKeeper::SecondsLeft(std::int64_t now) const {
  const std::int64_t left = due_ - now;
  if (left <= 0) return 0;
  return static_cast<int>((left + 999) / 1000);
}

}  // namespace zn
