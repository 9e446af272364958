#include "record/Trick.h"

#include "game/ZnError.h"

namespace zn {

TTrick::TTrick() : tricks_(kTricks, THand{0, 0, 0, 0}) {}

THand& TTrick::Trick(int k) {
  if (k < 1 || k > kTricks) throw EZnError(ListIndexError(k));
  return tricks_[static_cast<std::size_t>(k - 1)];
}

const THand& TTrick::Trick(int k) const { return const_cast<TTrick*>(this)->Trick(k); }

bool TTrick::SetCard(int k, int seat, std::int32_t card) {
  if (k < 1 || k > kTricks || !ValidSeat(seat) || card < kNoCard || card > kMaxCard) return false;
  Trick(k).SetCard(seat % kSeats, card);
  return true;
}

}  // namespace zn
