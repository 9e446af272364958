#include "deal/StrongRobot.h"

#include <algorithm>
#include <atomic>
#include <cmath>
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

bool Decided(const std::vector<std::vector<int>>& rows, int total, const EarlyStop& rule) {
  const int n = static_cast<int>(rows.size());
  if (!rule.enabled || n < std::max(rule.minLayouts, 2) || n >= total || rows[0].size() < 2) return false;
  const std::size_t cards = rows[0].size();
  std::vector<std::int64_t> sums(cards, 0);
  for (const auto& row : rows)
    for (std::size_t j = 0; j < cards; ++j) sums[j] += row[j];
  const std::size_t leader =
      static_cast<std::size_t>(std::max_element(sums.begin(), sums.end()) - sums.begin());
  const double left = std::sqrt(static_cast<double>(total - n));
  for (std::size_t j = 0; j < cards; ++j) {
    if (j == leader) continue;
    const double mean = static_cast<double>(sums[leader] - sums[j]) / n;
    double squares = 0;
    for (const auto& row : rows) {
      const double d = row[leader] - row[j] - mean;
      squares += d * d;
    }
    const double spread = std::max(std::sqrt(squares / (n - 1)), rule.leastSpread);
    if (mean * n < rule.margin * spread * left) return false;
  }
  return true;
}

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

  // Layout i's values go to rows[i]. The early stop looks only at the layouts searched without a
  // gap from the first, so without a budget the choice is the same however the layouts are split.
  std::mutex mutex;  // guards the sampler's random numbers, `drawn`, the rows and the counts
  int drawn = 0;
  int complete = 0;  // rows[0 .. complete) are all searched
  int decided = 0;   // when set, the first `decided` layouts settle the choice
  bool exhausted = false;
  std::vector<std::vector<std::pair<TCard, int>>> rows;
  std::vector<std::vector<int>> prefix;  // the values alone of rows[0 .. complete)
  // Once decided, the layouts other parts are still searching are dropped at once.
  std::atomic<bool> settled{false};
  const std::function<bool()> stop = [&] {
    return settled.load(std::memory_order_relaxed) || (expired && expired());
  };
  auto part = [&](int) {
    PlaySearch search(terms, PairOf(seat.seat), settings_.search);
    SearchStart start;
    start.table = seat.table;
    start.leader = seat.leader;
    start.played = seat.played;
    Layout layout;
    for (;;) {
      std::size_t index = 0;
      {
        std::lock_guard lock(mutex);
        if (exhausted || decided > 0 || drawn >= settings_.layouts || (drawn > 0 && expired && expired()))
          break;
        if (!sampler.Draw(random, layout)) {
          exhausted = true;
          break;
        }
        index = static_cast<std::size_t>(drawn++);
        rows.resize(static_cast<std::size_t>(drawn));
      }
      start.hands = layout.hands;
      auto values = search.CardValues(start, stop);
      if (values.empty()) break;  // the budget ran out in the middle of this layout, or it was decided
      std::lock_guard lock(mutex);
      rows[index] = std::move(values);
      ++lastLayouts_;
      // Each prefix is judged, as if its layouts had come in order.
      while (decided == 0 && complete < drawn && !rows[static_cast<std::size_t>(complete)].empty()) {
        std::vector<int> only;
        for (const auto& [card, value] : rows[static_cast<std::size_t>(complete)]) only.push_back(value);
        prefix.push_back(std::move(only));
        ++complete;
        if (Decided(prefix, settings_.layouts, settings_.early)) {
          decided = complete;
          settled = true;
        }
      }
    }
    std::lock_guard lock(mutex);
    lastNodes_ += search.Nodes();
  };
  const int parts = std::clamp(settings_.parts, 1, std::max(1, settings_.layouts));
  if (settings_.split && parts > 1)
    settings_.split(parts, part);
  else
    part(0);
  // Decided early: the first `decided` layouts; else every layout searched in full.
  std::map<TCard, std::int64_t> sums;
  const std::size_t used = decided > 0 ? static_cast<std::size_t>(decided) : rows.size();
  for (std::size_t i = 0; i < used; ++i)
    for (const auto& [card, value] : rows[i]) sums[card] += value;
  if (decided > 0) lastLayouts_ = decided;
  if (sums.empty()) return fallback_.Play(view);
  // The best sum is the best average; ties go to the lower card.
  TCard chosen = sums.begin()->first;
  for (const auto& [card, sum] : sums)
    if (sum > sums[chosen]) chosen = card;
  return chosen;
}

}  // namespace zn::deal
