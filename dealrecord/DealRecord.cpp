#include "dealrecord/DealRecord.h"

#include "game/PlayRules.h"

namespace zn::dealrecord {

int TrickRecord::Winner() const {
  const int at = TrickWinner(cards);
  return at < 0 ? 0 : SeatAt(at);
}

int DealRecord::TakenBy(int pair) const {
  int n = 0;
  for (const TrickRecord& t : tricks) {
    const int w = t.Winner();
    n += w != 0 && PairOf(w) == pair;
  }
  return n;
}

}  // namespace zn::dealrecord
