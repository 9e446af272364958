#include "bench/tournament/AllSeeing.h"

#include "deal/SeatView.h"
#include "deal/Shuffle.h"
#include "game/PlayRules.h"

namespace zn::bench {

using namespace zn::deal;

TCard AllSeeingRobot::Play(const RobotView& view) {
  const SeatView seat = MakeSeatView(view);
  const CardMask legal =
      LegalCards(seat.hand, view.table[static_cast<std::size_t>(view.leader)] == kNoCard
                                ? -1
                                : SuitOf(view.table[static_cast<std::size_t>(view.leader)]));
  if (CountOf(legal) <= 1 || view.played == nullptr) return legal == 0 ? kNoCard : CardsOf(legal)[0];
  // The cards left in each hand: as dealt, less every card played (the own hand is the view's).
  const DealtCards dealt = DealCards(number_);
  CardMask gone = 0;
  for (const TCard c : seat.table) gone |= c == kNoCard ? 0 : Bit(c);
  for (int k = 1; k <= seat.played.count; ++k)
    for (const TCard c : seat.played.Trick(k)->cards) gone |= c == kNoCard ? 0 : Bit(c);
  SearchStart start;
  for (int s = 1; s <= kSeats; ++s)
    start.hands[static_cast<std::size_t>(s)] = MaskOf(dealt.hands[static_cast<std::size_t>(s)]) & ~gone;
  start.table = seat.table;
  start.leader = seat.leader;
  start.played = seat.played;
  PlaySearch search(BiddingTerms(seat.bids), PairOf(seat.seat), settings_.search);
  TCard chosen = kNoCard;
  int best = 0;
  // Ties go to the lower card, as the strong robot's do.
  for (const auto& [card, value] : search.CardValues(start))
    if (chosen == kNoCard || value > best) {
      chosen = card;
      best = value;
    }
  return chosen;
}

}  // namespace zn::bench
