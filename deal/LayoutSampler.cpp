#include "deal/LayoutSampler.h"

#include <algorithm>

namespace zn::deal {

LayoutSampler::LayoutSampler(const SeatView& view)
    : viewer_(view.seat), unseen_(kAllCards & ~view.hand & ~view.seen), own_(view.hand) {
  int toPlace = CountOf(unseen_);
  for (int s = 1; s <= kSeats; ++s) {
    if (s == viewer_) continue;
    capacity_[static_cast<std::size_t>(s)] = std::clamp(view.held[static_cast<std::size_t>(s)], 0, kHandSize);
    voids_[static_cast<std::size_t>(s)] = view.voids[static_cast<std::size_t>(s)];
    toPlace -= capacity_[static_cast<std::size_t>(s)];
  }
  capacity_[0] = std::max(toPlace, 0);
  // Cards of a suit some seat lacks have fewer places: placing them first keeps dead ends rare.
  std::vector<std::pair<int, TCard>> ranked;
  for (const TCard c : CardsOf(unseen_)) {
    int places = 1;
    for (int s = 1; s <= kSeats; ++s)
      if (s != viewer_ && !((voids_[static_cast<std::size_t>(s)] >> SuitOf(c)) & 1)) ++places;
    ranked.emplace_back(places, c);
  }
  std::stable_sort(ranked.begin(), ranked.end(), [](auto& a, auto& b) { return a.first < b.first; });
  for (const auto& [places, c] : ranked) order_.push_back(c);
}

bool LayoutSampler::Draw(DealRandom& random, Layout& layout) const {
  layout = {};
  layout.hands[static_cast<std::size_t>(viewer_)] = own_;
  std::array<int, kSeats + 1> room = capacity_;
  int steps = 0;
  return Place(random, 0, room, layout, steps);
}

// Randomised backtracking: a holder is drawn with odds by the room it has left; a dead end tries
// the next one, so every agreeing layout can come out and an agreeing view always gives one.
bool LayoutSampler::Place(DealRandom& random, std::size_t i, std::array<int, kSeats + 1>& room,
                          Layout& layout, int& steps) const {
  if (i == order_.size()) return true;
  if (++steps > kMaxSteps) return false;
  const TCard card = order_[i];
  const int suit = SuitOf(card);
  std::array<int, kSeats + 1> holders{};
  std::array<int, kSeats + 1> weights{};
  int n = 0;
  int total = 0;
  for (int h = 0; h <= kSeats; ++h) {
    const auto hs = static_cast<std::size_t>(h);
    if (h == viewer_ || room[hs] == 0 || (h != 0 && ((voids_[hs] >> suit) & 1))) continue;
    holders[static_cast<std::size_t>(n)] = h;
    weights[static_cast<std::size_t>(n++)] = room[hs];
    total += room[hs];
  }
  while (n > 0) {
    auto pick = static_cast<int>(random.Below(static_cast<std::uint64_t>(total)));
    int j = 0;
    while (pick >= weights[static_cast<std::size_t>(j)]) pick -= weights[static_cast<std::size_t>(j++)];
    const auto h = static_cast<std::size_t>(holders[static_cast<std::size_t>(j)]);
    --room[h];
    (h == 0 ? layout.out : layout.hands[h]) |= Bit(card);
    if (Place(random, i + 1, room, layout, steps)) return true;
    if (steps > kMaxSteps) return false;
    ++room[h];
    (h == 0 ? layout.out : layout.hands[h]) &= ~Bit(card);
    total -= weights[static_cast<std::size_t>(j)];
    holders[static_cast<std::size_t>(j)] = holders[static_cast<std::size_t>(n - 1)];
    weights[static_cast<std::size_t>(j)] = weights[static_cast<std::size_t>(n - 1)];
    --n;
  }
  return false;
}

}  // namespace zn::deal
