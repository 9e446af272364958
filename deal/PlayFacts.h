// What the bids of a played deal are judged by: the tricks themselves, and as card masks what
// each pair took and played. A search judges many finished deals against every scoring bid; with
// the masks a bid's test is a few operations instead of a walk over the tricks. The masks are
// gathered only when a test asks: a deal bid on tricks alone never needs them.
#pragma once

#include <array>

#include "deal/CardMask.h"
#include "deal/CardPlay.h"

namespace zn::deal {

// The masks of a deal's tricks.
struct TrickTally {
  std::array<CardMask, 3> taken{};   // [pair]: the cards in the tricks it won
  std::array<CardMask, 3> played{};  // [pair]: the cards its seats played
  CardMask dealt = 0;                // every card in those tricks

  void Add(const TrickRecord& t) {
    const CardMask first = BitOf(t.cards[1]) | BitOf(t.cards[4]);  // seats 1 and 4: pair 1
    const CardMask second = BitOf(t.cards[2]) | BitOf(t.cards[3]);
    taken[static_cast<std::size_t>(PairOf(t.winner))] |= first | second;
    played[1] |= first;
    played[2] |= second;
    dealt |= first | second;
  }

 private:
  // Codes outside the deal (a damaged record) count for nothing.
  static CardMask BitOf(TCard c) { return c >= 1 && c <= kMaxCard ? Bit(c) : 0; }
};

class PlayFacts {
 public:
  // The facts read the record, which must outlive them.
  explicit PlayFacts(const PlayRecord& record);
  PlayFacts(const PlayFacts&) = delete;
  PlayFacts& operator=(const PlayFacts&) = delete;

  int Count() const { return count_; }
  // Whether the pair won trick k (false for a trick not played).
  bool Won(int k, int pair) const { return k >= 1 && k <= count_ && PairOf(Trick(k).winner) == pair; }
  int Winner(int k) const { return k >= 1 && k <= count_ ? Trick(k).winner : 0; }
  // The card that took trick k; kNoCard for a trick not played.
  TCard WonWith(int k) const;
  int Tricks(int pair) const;
  CardMask Taken(int pair) const { return Ours(pair) ? Tally().taken[static_cast<std::size_t>(pair)] : 0; }
  CardMask Played(int pair) const { return Ours(pair) ? Tally().played[static_cast<std::size_t>(pair)] : 0; }
  CardMask Dealt() const { return Tally().dealt; }

 private:
  static bool Ours(int pair) { return pair == 1 || pair == 2; }
  const TrickRecord& Trick(int k) const { return record_->tricks[static_cast<std::size_t>(k - 1)]; }
  const TrickTally& Tally() const;

  const PlayRecord* record_;
  int count_;
  mutable TrickTally tally_;  // gathered on the first ask
  mutable bool tallied_ = false;
  mutable std::array<int, 3> tricks_{};
  mutable bool counted_ = false;
};

}  // namespace zn::deal
