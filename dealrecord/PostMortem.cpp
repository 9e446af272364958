#include "dealrecord/PostMortem.h"

#include <algorithm>

#include "deal/StrongRobot.h"

namespace zn::dealrecord {

std::vector<CardVerdict> Analyse(const DealRecord& deal, const deal::SearchLimits& limits,
                                 const std::function<bool()>& stop) {
  std::vector<deal::BidBlock> blocks;
  for (const BidRecord& b : deal.bids) blocks.push_back({b.seat, b.bids});
  const auto terms = deal::BiddingTerms(blocks);
  // One search for each pair, each counting from its own pair's side.
  std::array<deal::PlaySearch, 2> searches{deal::PlaySearch(terms, 1, limits),
                                           deal::PlaySearch(terms, 2, limits)};
  deal::SearchStart start;
  for (int seat = 1; seat <= kSeats; ++seat)
    start.hands[static_cast<std::size_t>(seat)] = deal::MaskOf(deal.hands[static_cast<std::size_t>(seat)]);
  std::vector<CardVerdict> verdicts;
  for (std::size_t k = 0; k < deal.tricks.size(); ++k) {
    const TrickRecord& trick = deal.tricks[k];
    start.table = {};
    start.leader = trick.leader;
    for (int i = 0; i < kSeats; ++i) {
      const int seat = trick.SeatAt(i);
      const TCard card = trick.cards[static_cast<std::size_t>(i)];
      const auto values = searches[static_cast<std::size_t>(PairOf(seat) - 1)].CardValues(start, stop);
      if (values.empty()) return {};  // stopped
      CardVerdict v{static_cast<int>(k) + 1, seat, card, 0, 0, kNoCard};
      const auto best = std::max_element(values.begin(), values.end(),
                                         [](const auto& a, const auto& b) { return a.second < b.second; });
      v.before = best->second;
      v.best = best->first;
      const auto played =
          std::find_if(values.begin(), values.end(), [card](const auto& p) { return p.first == card; });
      v.after = played == values.end() ? v.before : played->second;  // a card the rules refuse: no verdict
      if (v.after == v.before) v.best = card;
      verdicts.push_back(v);
      start.hands[static_cast<std::size_t>(seat)] &= ~deal::Bit(card);
      start.table[static_cast<std::size_t>(seat)] = card;
    }
    deal::TrickRecord done;
    done.leader = trick.leader;
    done.winner = trick.Winner();
    done.cards = start.table;
    start.played.tricks[k] = done;
    start.played.count = static_cast<int>(k) + 1;
  }
  return verdicts;
}

}  // namespace zn::dealrecord
