#include "deal/PlayFacts.h"

#include <algorithm>

namespace zn::deal {

PlayFacts::PlayFacts(const PlayRecord& record)
    : record_(&record), count_(std::clamp(record.count, 0, kTricks)) {}

TCard PlayFacts::WonWith(int k) const {
  if (k < 1 || k > count_) return kNoCard;
  const TrickRecord& t = Trick(k);
  return t.winner >= 0 && t.winner <= kSeats ? t.WinningCard() : kNoCard;
}

int PlayFacts::Tricks(int pair) const {
  if (!Ours(pair)) return 0;
  if (!counted_) {
    for (int k = 1; k <= count_; ++k) ++tricks_[static_cast<std::size_t>(PairOf(Trick(k).winner))];
    counted_ = true;
  }
  return tricks_[static_cast<std::size_t>(pair)];
}

const TrickTally& PlayFacts::Tally() const {
  if (!tallied_) {
    for (int k = 1; k <= count_; ++k) tally_.Add(Trick(k));
    tallied_ = true;
  }
  return tally_;
}

}  // namespace zn::deal
