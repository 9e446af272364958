#include "bench/OldSearch.h"

#include <algorithm>
#include <limits>
#include <map>

#include "deal/LayoutSampler.h"
#include "deal/SeatView.h"
#include "deal/StrongRobot.h"

#include "game/PlayRules.h"

namespace zn::bench {

using namespace zn::deal;

namespace {

constexpr int kInfinity = std::numeric_limits<int>::max() / 2;
constexpr std::size_t kTableSize = std::size_t{1} << 14;
enum Bound : std::uint8_t { kEmpty, kExact, kLower, kUpper };

std::uint64_t Mix(std::uint64_t h, std::uint64_t x) {
  x += 0x9e3779b97f4a7c15ULL + h;
  x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ULL;
  x = (x ^ (x >> 27)) * 0x94d049bb133111ebULL;
  return x ^ (x >> 31);
}

}  // namespace

OldPlaySearch::OldPlaySearch(std::array<std::vector<ScoreTerm>, 3> terms, int pair, SearchLimits limits)
    : terms_(std::move(terms)), pair_(pair), limits_(limits), table_tt_(kTableSize) {
  undo_.reserve(kTricks * kSeats);
}

void OldPlaySearch::Load(const SearchStart& start) {
  LoadPosition(start);
  // Values depend on the layout (who played which card), so nothing carries over.
  std::fill(table_tt_.begin(), table_tt_.end(), Entry{});
}

void OldPlaySearch::LoadPosition(const SearchStart& start) {
  for (int s = 1; s <= kSeats; ++s) {
    const auto i = static_cast<std::size_t>(s);
    masks_[i] = start.hands[i];
    hands_[i].Cards = CardsOf(start.hands[i]);
    hands_[i].Cards.reserve(kTricks);
  }
  table_ = start.table;
  leader_ = start.leader;
  record_ = start.played;
  onTable_ = 0;
  onTurn_ = leader_;
  for (int i = 0; i < kSeats && table_[static_cast<std::size_t>(onTurn_)] != kNoCard; ++i) {
    ++onTable_;
    onTurn_ = NextSeat(onTurn_);
  }
  startCount_ = record_.count;
  const int left = kTricks - record_.count;
  cutoff_ = left <= limits_.exactTricks ? kTricks : record_.count + std::max(limits_.aheadTricks, 1);
  undo_.clear();
}

const PlayRecord& OldPlaySearch::PlayOut(const SearchStart& start) {
  LoadPosition(start);
  while (record_.count < kTricks) Do(PlayoutCard());
  return record_;
}

std::vector<std::pair<TCard, int>> OldPlaySearch::CardValues(const SearchStart& start,
                                                             const std::function<bool()>& expired) {
  Load(start);
  expired_ = expired ? &expired : nullptr;
  stopped_ = false;
  std::vector<std::pair<TCard, int>> values;
  std::array<TCard, kTricks> moves{};
  const int n = Legal(moves);
  for (int i = 0; i < n; ++i) {
    Do(moves[static_cast<std::size_t>(i)]);
    values.emplace_back(moves[static_cast<std::size_t>(i)], Search(-kInfinity, kInfinity));
    Takeback();
  }
  expired_ = nullptr;
  if (stopped_) values.clear();
  return values;
}

int OldPlaySearch::Legal(std::array<TCard, kTricks>& moves) const {
  const THand& hand = hands_[static_cast<std::size_t>(onTurn_)];
  const TCard lead = onTable_ == 0 ? kNoCard : table_[static_cast<std::size_t>(leader_)];
  int n = 0;
  for (const TCard c : hand.Cards)
    if (n < kTricks && MayPlay(hand, lead, c)) moves[static_cast<std::size_t>(n++)] = c;
  return n;
}

TCard OldPlaySearch::BestOnTable(int* holder) const {
  TCard best = kNoCard;
  const TCard lead = table_[static_cast<std::size_t>(leader_)];
  for (int i = 0, s = leader_; i < onTable_; ++i, s = NextSeat(s)) {
    const TCard c = table_[static_cast<std::size_t>(s)];
    if (Beats(c, best, SuitOf(lead))) {
      best = c;
      *holder = s;
    }
  }
  return best;
}

void OldPlaySearch::Do(TCard card) {
  const auto seat = static_cast<std::size_t>(onTurn_);
  THand& hand = hands_[seat];
  const int index = hand.IndexOf(card);
  undo_.push_back({table_, leader_, onTurn_, onTable_, index, card});
  hand.Cards.erase(hand.Cards.begin() + index);
  masks_[seat] &= ~Bit(card);
  table_[seat] = card;
  if (++onTable_ < kSeats) {
    onTurn_ = NextSeat(onTurn_);
    return;
  }
  const int winner = TrickWinnerSeat(table_, leader_);
  record_.tricks[static_cast<std::size_t>(record_.count++)] = {leader_, winner, table_};
  table_ = {};
  leader_ = onTurn_ = winner;
  onTable_ = 0;
}

void OldPlaySearch::Takeback() {
  const Undo u = undo_.back();
  undo_.pop_back();
  if (onTable_ == 0) --record_.count;  // the card had completed a trick
  table_ = u.table;
  leader_ = u.leader;
  onTurn_ = u.onTurn;
  onTable_ = u.onTable;
  const auto seat = static_cast<std::size_t>(onTurn_);
  hands_[seat].Cards.insert(hands_[seat].Cards.begin() + u.index, u.card);
  masks_[seat] |= Bit(u.card);
}

// What the value of the rest depends on: the hands left (so who played what, the layout being
// fixed), and for the tricks of the search their winners, winning cards and the cards each pair took.
std::uint64_t OldPlaySearch::Key() const {
  std::uint64_t h = 0;
  for (int s = 1; s <= kSeats; ++s) h = Mix(h, masks_[static_cast<std::size_t>(s)]);
  std::array<CardMask, 3> taken{};
  for (int k = startCount_ + 1; k <= record_.count; ++k) {
    const TrickRecord& t = *record_.Trick(k);
    h = Mix(h,
            static_cast<std::uint64_t>(k * 64 + t.winner) << 8 | static_cast<std::uint64_t>(t.WinningCard()));
    for (int s = 1; s <= kSeats; ++s)
      taken[static_cast<std::size_t>(PairOf(t.winner))] |= MaskOf({t.cards[static_cast<std::size_t>(s)]});
  }
  return Mix(Mix(h, taken[1]), taken[2]);
}

// The bids are judged by today's rules (the old ones walked the tricks per bid), so the side-by-side
// ratio understates the new search's gain.
int OldPlaySearch::Finish() {
  const PlayFacts facts(record_);
  int value = 0;
  for (int p = 1; p <= 2; ++p) {
    int score = TricksOfPair(record_, p);
    for (const ScoreTerm& term : terms_[static_cast<std::size_t>(p)]) score += term.Points(facts);
    value += p == pair_ ? score : -score;
  }
  return value;
}

// The quick playout: a player whose partner holds the trick plays low; otherwise the lowest card
// that takes the trick, else the lowest card.
TCard OldPlaySearch::PlayoutCard() const {
  std::array<TCard, kTricks> moves{};
  const int n = Legal(moves);
  int holder = 0;
  const TCard best = BestOnTable(&holder);
  const bool partner = onTable_ > 0 && PairOf(holder) == PairOf(onTurn_);
  if (onTable_ > 0 && !partner) {
    const int led = SuitOf(table_[static_cast<std::size_t>(leader_)]);
    for (int i = 0; i < n; ++i)
      if (Beats(moves[static_cast<std::size_t>(i)], best, led)) return moves[static_cast<std::size_t>(i)];
  }
  return moves[0];
}

int OldPlaySearch::Playout() {
  const std::size_t depth = undo_.size();
  while (record_.count < kTricks) Do(PlayoutCard());
  const int value = Finish();
  while (undo_.size() > depth) Takeback();
  return value;
}

int OldPlaySearch::Search(int alpha, int beta) {
  // A node takes about two microseconds (a playout at the horizon more): asking the clock every
  // 256 nodes stops the search within about a millisecond of the deadline.
  constexpr std::int64_t kClockEvery = 256;
  if (++nodes_ % kClockEvery == 0 && expired_ && (*expired_)()) stopped_ = true;
  if (stopped_) return 0;  // unwinding: the caller drops the values
  Entry* entry = nullptr;
  std::uint64_t key = 0;
  TCard hint = kNoCard;
  if (onTable_ == 0) {
    if (record_.count == kTricks) return Finish();
    if (record_.count >= cutoff_) return Playout();
    key = Key();
    entry = &table_tt_[key & (kTableSize - 1)];
    if (entry->bound != kEmpty && entry->key == key) {
      if (entry->bound == kExact) return entry->value;
      if (entry->bound == kLower) alpha = std::max(alpha, entry->value);
      if (entry->bound == kUpper) beta = std::min(beta, entry->value);
      if (alpha >= beta) return entry->value;
      hint = entry->best;
    }
  }
  const int alpha0 = alpha;
  const int beta0 = beta;
  std::array<TCard, kTricks> moves{};
  const int n = Legal(moves);
  // Ordering: the remembered best card, then the cards that take the trick so far (cheapest
  // first), then the rest from the lowest.
  std::array<std::pair<int, TCard>, kTricks> ordered{};
  int holder = 0;
  const TCard best = onTable_ > 0 ? BestOnTable(&holder) : kNoCard;
  const int led = onTable_ > 0 ? SuitOf(table_[static_cast<std::size_t>(leader_)]) : 4;
  for (int i = 0; i < n; ++i) {
    const TCard c = moves[static_cast<std::size_t>(i)];
    const int rank = c == hint ? 0 : (onTable_ > 0 && Beats(c, best, led) ? 1 : 2);
    ordered[static_cast<std::size_t>(i)] = {rank * 64 + c, c};
  }
  std::sort(ordered.begin(), ordered.begin() + n);
  const bool maximise = PairOf(onTurn_) == pair_;
  int value = maximise ? -kInfinity : kInfinity;
  TCard chosen = kNoCard;
  for (int i = 0; i < n && alpha < beta; ++i) {
    const TCard c = ordered[static_cast<std::size_t>(i)].second;
    Do(c);
    const int v = Search(alpha, beta);
    Takeback();
    if (maximise ? v > value : v < value) {
      value = v;
      chosen = c;
    }
    if (maximise)
      alpha = std::max(alpha, v);
    else
      beta = std::min(beta, v);
  }
  if (entry && !stopped_) {
    entry->key = key;
    entry->value = value;
    entry->best = chosen;
    entry->bound = value <= alpha0 ? kUpper : value >= beta0 ? kLower : kExact;
  }
  return value;
}

TCard OldStrongPlay(const RobotView& view, int layouts) {
  const THand hand(TCards(view.hand.begin(), view.hand.end()));
  const TCard lead = view.table[static_cast<std::size_t>(view.leader)];
  TCards legal;
  for (const TCard c : view.hand)
    if (MayPlay(hand, lead, c)) legal.push_back(c);
  if (legal.size() <= 1 || view.played == nullptr) return legal.empty() ? kNoCard : legal[0];
  const SeatView seat = MakeSeatView(view);
  const LayoutSampler sampler(seat);
  DealRandom random(ViewSeed(seat));
  OldPlaySearch search(BiddingTerms(seat.bids), PairOf(seat.seat));
  SearchStart start;
  start.table = seat.table;
  start.leader = seat.leader;
  start.played = seat.played;
  std::map<TCard, std::int64_t> sums;
  Layout layout;
  for (int i = 0; i < layouts && sampler.Draw(random, layout); ++i) {
    start.hands = layout.hands;
    for (const auto& [card, value] : search.CardValues(start)) sums[card] += value;
  }
  if (sums.empty()) return kNoCard;
  TCard chosen = sums.begin()->first;
  for (const auto& [card, sum] : sums)
    if (sum > sums[chosen]) chosen = card;
  return chosen;
}

}  // namespace zn::bench
