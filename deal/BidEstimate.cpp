#include "deal/BidEstimate.h"

#include <algorithm>

#include "deal/BidRules.h"
#include "deal/LayoutSampler.h"
#include "deal/PlaySearch.h"
#include "deal/Scoring.h"
#include "game/BidCatalog.h"
#include "game/BidCatalogData.h"

namespace zn::deal {
namespace {

struct Candidate {
  std::string bid;
  BidRuleMatch match;
  int pair;
};

// Every catalogue bid a pair could announce: the fixed entries, and the prefixed ones with each
// prefix word they take.
void AddCatalogue(std::vector<Candidate>& out, int pair) {
  for (const BidRule& rule : BidRules()) {
    if (rule.value <= 0) continue;
    const TBidEntry& entry = FixedBidEntries(rule.group)[static_cast<std::size_t>(rule.entry)];
    if (entry.Prefix == TPrefixKind::None) {
      out.push_back({std::string(entry.Text), {&rule, -1}, pair});
      continue;
    }
    const int first = entry.Prefix == TPrefixKind::SuitWord ? kFirstSuitPrefix : 0;
    for (int p = first; p < kPrefixCount; ++p)
      out.push_back({std::string(PrefixWord(p)) + std::string(entry.Text), {&rule, p}, pair});
  }
}

// The plain bids of the other pair and the own pair's bids the other pair kontra'd: their odds
// decide a kontra or a rekontra.
void AddMade(std::vector<Candidate>& out, const RobotView& view) {
  const int own = PairOf(view.seat);
  for (const BidBlock& b : view.bids)
    for (const std::string& bid : b.bids) {
      if (bid.starts_with('*') || PairOf(b.seat) == own) continue;
      const BidRuleMatch m = FindBidRule(bid);
      if (m.rule && m.rule->value > 0) out.push_back({bid, m, PairOf(b.seat)});
    }
}

Bidding Replay(const RobotView& view) {
  Bidding bidding(view.dealer);
  for (const BidBlock& b : view.bids) bidding.Accept(b.bids);
  return bidding;
}

// Adds bid to the set when the server would still accept the set.
void TryAdd(std::vector<std::string>& set, const Bidding& bidding, std::span<const TCard> hand,
            std::string bid) {
  if (std::find(set.begin(), set.end(), bid) != set.end()) return;
  set.push_back(std::move(bid));
  if (bidding.Refusal(set, hand)) set.pop_back();
}

}  // namespace

std::vector<BidOdds> EstimateBids(const RobotView& view, const EstimateLimits& limits) {
  if (!ValidSeat(view.seat) || !ValidSeat(view.dealer)) return {};
  std::vector<Candidate> candidates;
  AddCatalogue(candidates, PairOf(view.seat));
  AddMade(candidates, view);
  RobotView dealt = view;
  dealt.played = nullptr;  // the estimate starts from the deal as dealt
  const SeatView seat = MakeSeatView(dealt);
  const LayoutSampler sampler(seat);
  DealRandom random(ViewSeed(seat));
  PlaySearch search({}, PairOf(view.seat));
  std::vector<int> made(candidates.size());
  SearchStart start;
  start.leader = view.dealer;
  Layout layout;
  int layouts = 0;
  while (layouts < limits.layouts && !(limits.expired && limits.expired())) {
    if (!sampler.Draw(random, layout)) break;
    start.hands = layout.hands;
    const PlayFacts facts(search.PlayOut(start));
    for (std::size_t i = 0; i < candidates.size(); ++i) {
      const Candidate& c = candidates[i];
      made[i] += c.match.rule->test(facts, c.pair, c.match.prefix);
    }
    ++layouts;
  }
  if (layouts < std::max(limits.minLayouts, 1)) return {};
  std::vector<BidOdds> odds;
  for (std::size_t i = 0; i < candidates.size(); ++i)
    odds.push_back({candidates[i].bid, candidates[i].pair, made[i], layouts});
  return odds;
}

std::vector<std::string> BidsByEstimate(const RobotView& view, const std::vector<BidOdds>& odds) {
  if (!ValidSeat(view.seat) || !ValidSeat(view.dealer)) return {};
  const Bidding bidding = Replay(view);
  if (bidding.OnTurn() != view.seat) return {};
  std::vector<std::string> set;
  const bool spoke =
      std::any_of(view.bids.begin(), view.bids.end(), [&](const BidBlock& b) { return b.seat == view.seat; });
  if (!spoke)
    for (const std::string& signal : TBidCatalog::HandSignals(view.hand))
      TryAdd(set, bidding, view.hand, signal);
  // Each bid with its expected points for the pair (in layouts times points), the best first.
  const int own = PairOf(view.seat);
  std::vector<std::pair<std::int64_t, std::string>> worth;
  for (const BidOdds& o : odds) {
    if (!o.Clear()) continue;
    const std::int64_t edge = o.Edge();
    const std::int64_t value = BidValue(o.bid);
    if (o.pair == own && edge > 0) {
      worth.emplace_back(edge * value, o.bid);         // a bid of the own pair, or
      worth.emplace_back(edge * value, "**" + o.bid);  // a rekontra when they kontra'd it
    } else if (o.pair != own && edge < 0) {
      worth.emplace_back(-edge * value, "*" + o.bid);
    }
  }
  std::stable_sort(worth.begin(), worth.end(),
                   [](const auto& a, const auto& b) { return a.first > b.first; });
  // A bid is kept only when it adds a term to the pair's score: the cleaning keeps one bid of a
  // ladder (Gém .. Volát) and of the chain, so the better one, met first, stays.
  std::vector<std::string> pairBids = bidding.BidsOfPair(own);
  std::size_t terms = ScoreTerms(pairBids, own).size();
  for (auto& [points, bid] : worth) {
    const std::size_t before = set.size();
    TryAdd(set, bidding, view.hand, bid);
    if (set.size() == before) continue;
    pairBids.push_back(bid);
    const std::size_t now = ScoreTerms(pairBids, own).size();
    if (now == terms + 1) {
      terms = now;
      continue;
    }
    pairBids.pop_back();
    set.pop_back();
  }
  return set;
}

}  // namespace zn::deal
