#include "deal/CardPlay.h"

#include "game/Assert.h"
#include "game/PlayRules.h"

namespace zn::deal {

int TrickRecord::SeatOf(TCard card) const {
  for (int seat = 1; seat <= kSeats; ++seat)
    if (cards[static_cast<std::size_t>(seat)] == card) return seat;
  return 0;
}

CardPlay::CardPlay(const std::array<TCards, kSeats + 1>& hands, int leader)
    : leader_(leader), onTurn_(leader) {
  for (int seat = 1; seat <= kSeats; ++seat)
    hands_[static_cast<std::size_t>(seat)] = THand(hands[static_cast<std::size_t>(seat)]);
}

int CardPlay::TakenByPair(int pair) const {
  int n = 0;
  for (int seat = 1; seat <= kSeats; ++seat)
    if (PairOf(seat) == pair) n += taken_[static_cast<std::size_t>(seat)];
  return n;
}

bool CardPlay::MayPlayCard(int seat, TCard card) const {
  if (!ValidSeat(seat) || seat != onTurn_) return false;
  const THand& hand = Hand(seat);
  return hand.Has(card) && MayPlay(hand, played_ == 0 ? kNoCard : Lead(), card);
}

int TrickWinnerSeat(const std::array<TCard, kSeats + 1>& cards, int leader) {
  // The trick in playing order, from the leader round the table.
  std::array<TCard, kSeats> order{};
  for (int i = 0, s = leader; i < kSeats; ++i, s = NextSeat(s))
    order[static_cast<std::size_t>(i)] = cards[static_cast<std::size_t>(s)];
  int winner = leader;
  for (int i = TrickWinner(order); i > 0; --i) winner = NextSeat(winner);
  return winner;
}

void CardPlay::Play(int seat, TCard card) {
  ZN_ASSERT(MayPlayCard(seat, card));  // else the erase below runs before the hand's first card
  THand& hand = hands_[static_cast<std::size_t>(seat)];
  hand.Cards.erase(hand.Cards.begin() + hand.IndexOf(card));
  table_[static_cast<std::size_t>(seat)] = card;
  if (++played_ < kSeats) {
    onTurn_ = NextSeat(seat);
    return;
  }
  const int winner = TrickWinnerSeat(table_, leader_);
  ++taken_[static_cast<std::size_t>(winner)];
  ZN_ASSERT(record_.count < kTricks);
  record_.tricks[static_cast<std::size_t>(record_.count++)] = {leader_, winner, table_};
  onTurn_ = 0;
}

void CardPlay::Continue() {
  if (!TrickComplete()) return;
  const int winner = record_.tricks[static_cast<std::size_t>(record_.count - 1)].winner;
  played_ = 0;
  table_ = {};
  if (record_.count == kTricks) return;
  ++trick_;
  leader_ = onTurn_ = winner;
}

}  // namespace zn::deal
