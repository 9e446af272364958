#include "deal/StrongRobot.h"

#include <algorithm>
#include <map>
#include <mutex>

#include "deal/BidEstimate.h"
#include "deal/LayoutSampler.h"
#include "game/PlayRules.h"

namespace zn::deal {
namespace {

// The part of the budget the search may use.
std::chrono::microseconds SearchTime(std::chrono::milliseconds budget) {
  return std::chrono::duration_cast<std::chrono::microseconds>(budget) * 4 / 5;
}

}  // namespace

std::array<std::vector<ScoreTerm>, 3> BiddingTerms(std::span<const BidBlock> bids) {
  std::array<std::vector<ScoreTerm>, 3> terms;
  for (int p = 1; p <= 2; ++p) {
    std::vector<std::string> pairBids;
    for (const BidBlock& b : bids)
      if (PairOf(b.seat) == p) pairBids.insert(pairBids.end(), b.bids.begin(), b.bids.end());
    terms[static_cast<std::size_t>(p)] = ScoreTerms(pairBids, p);
  }
  return terms;
}

std::vector<std::string> StrongRobot::Bid(const RobotView& view) {
  EstimateLimits limits;
  limits.layouts = settings_.bidLayouts;
  limits.minLayouts = std::min(limits.minLayouts, limits.layouts);
  if (settings_.budget.count() > 0) {
    const auto deadline = settings_.now() + SearchTime(settings_.budget);
    limits.expired = [this, deadline] { return settings_.now() >= deadline; };
  }
  return BidsByEstimate(view, EstimateBids(view, limits));
}

// The layouts are drawn one at a time, in the seeded order, by whichever part asks next; each part
// searches its own and their values are added up.
TCard StrongRobot::Play(const RobotView& view) {
  lastLayouts_ = 0;
  lastNodes_ = 0;
  const THand hand(TCards(view.hand.begin(), view.hand.end()));
  const TCard lead = view.table[static_cast<std::size_t>(view.leader)];
  TCards legal;
  for (const TCard c : view.hand)
    if (MayPlay(hand, lead, c)) legal.push_back(c);
  if (legal.size() <= 1 || view.played == nullptr) return legal.empty() ? fallback_.Play(view) : legal[0];

  const SeatView seat = MakeSeatView(view);
  const LayoutSampler sampler(seat);
  DealRandom random(ViewSeed(seat));
  const auto terms = BiddingTerms(seat.bids);
  const auto deadline = settings_.now() + SearchTime(settings_.budget);
  // When the budget runs out before the first layout is searched, the simple robot's card is played.
  std::function<bool()> expired;
  if (settings_.budget.count() > 0) expired = [&] { return settings_.now() >= deadline; };

  std::mutex mutex;  // guards the sampler's random numbers, `drawn`, `sums` and the counts
  int drawn = 0;
  bool exhausted = false;
  std::map<TCard, std::int64_t> sums;
  auto part = [&](int) {
    PlaySearch search(terms, PairOf(seat.seat), settings_.search);
    SearchStart start;
    start.table = seat.table;
    start.leader = seat.leader;
    start.played = seat.played;
    Layout layout;
    for (;;) {
      {
        std::lock_guard lock(mutex);
        if (exhausted || drawn >= settings_.layouts || (drawn > 0 && expired && expired())) break;
        if (!sampler.Draw(random, layout)) {
          exhausted = true;
          break;
        }
        ++drawn;
      }
      start.hands = layout.hands;
      const auto values = search.CardValues(start, expired);
      if (values.empty()) break;  // the budget ran out in the middle of this layout
      std::lock_guard lock(mutex);
      for (const auto& [card, value] : values) sums[card] += value;
      ++lastLayouts_;
    }
    std::lock_guard lock(mutex);
    lastNodes_ += search.Nodes();
  };
  const int parts = std::clamp(settings_.parts, 1, std::max(1, settings_.layouts));
  if (settings_.split && parts > 1)
    settings_.split(parts, part);
  else
    part(0);
  if (sums.empty()) return fallback_.Play(view);
  // The best sum is the best average; ties go to the lower card.
  TCard chosen = sums.begin()->first;
  for (const auto& [card, sum] : sums)
    if (sum > sums[chosen]) chosen = card;
  return chosen;
}

}  // namespace zn::deal
