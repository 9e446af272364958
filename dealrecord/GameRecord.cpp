#include "dealrecord/GameRecord.h"

#include <algorithm>

namespace zn::dealrecord {

DealRecord RecordOfGame(const deal::Game& game) {
  DealRecord r;
  r.number = game.Number();
  r.dealer = game.Dealer();
  const deal::DealtCards& dealt = game.Dealt();
  for (int seat = 1; seat <= kSeats; ++seat) {
    TCards& hand = r.hands[static_cast<std::size_t>(seat)];
    hand = dealt.hands[static_cast<std::size_t>(seat)];
    std::sort(hand.begin(), hand.end());
  }
  r.out.assign(dealt.out.begin(), dealt.out.end());
  std::sort(r.out.begin(), r.out.end());
  for (const deal::BidBlock& b : game.Bids().Blocks()) r.bids.push_back({b.seat, b.bids});
  if (const deal::CardPlay* play = game.Play()) {
    const deal::PlayRecord& played = play->Record();
    for (int k = 1; k <= played.count; ++k) {
      const deal::TrickRecord& t = *played.Trick(k);
      TrickRecord trick;
      trick.leader = t.leader;
      for (int i = 0; i < kSeats; ++i)
        trick.cards[static_cast<std::size_t>(i)] = t.cards[static_cast<std::size_t>(trick.SeatAt(i))];
      r.tricks.push_back(trick);
    }
  }
  return r;
}

}  // namespace zn::dealrecord
