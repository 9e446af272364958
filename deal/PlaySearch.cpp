#include "deal/PlaySearch.h"

#include <algorithm>
#include <bit>
#include <limits>

namespace zn::deal {
namespace {

constexpr int kInfinity = std::numeric_limits<int>::max() / 2;
constexpr std::size_t kTableSize = std::size_t{1} << 14;
enum Bound : std::uint8_t { kEmpty, kExact, kLower, kUpper };

constexpr std::uint64_t Mix(std::uint64_t x) {
  x += 0x9e3779b97f4a7c15ULL;
  x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ULL;
  x = (x ^ (x >> 27)) * 0x94d049bb133111ebULL;
  return x ^ (x >> 31);
}

// The Zobrist numbers of a card taken by pair 1 or pair 2.
struct TakenKeys {
  std::array<std::array<std::uint64_t, kMaxCard + 1>, 3> keys{};
  constexpr TakenKeys() {
    for (std::size_t p = 1; p <= 2; ++p)
      for (std::size_t c = 1; c <= kMaxCard; ++c) keys[p][c] = Mix(p << 8 | c);
  }
};
constexpr TakenKeys kTaken;

// The number of trick k won by seat with card.
std::uint64_t TrickKey(int k, int seat, TCard card) {
  return Mix(0x5a17ULL << 32 | static_cast<std::uint64_t>(k * 64 + seat) << 8 |
             static_cast<std::uint64_t>(card));
}

TCard Lowest(CardMask m) { return static_cast<TCard>(std::countr_zero(m)); }
// SuitOf for a card of the deal, inline.
int SuitClass(TCard c) { return c <= 20 ? (c - 1) / 5 : 4; }

}  // namespace

PlaySearch::PlaySearch(std::array<std::vector<ScoreTerm>, 3> terms, int pair, SearchLimits limits)
    : terms_(std::move(terms)), pair_(pair), limits_(limits) {}

namespace {
// The tables this thread's finished searches gave back.
template <class Table>
std::vector<std::unique_ptr<Table>>& SpareTables() {
  thread_local std::vector<std::unique_ptr<Table>> spare;
  return spare;
}
}  // namespace

PlaySearch::~PlaySearch() {
  if (!tt_) return;
  tt_->generation = generation_;
  auto& spare = SpareTables<Table>();
  if (spare.size() < 4) spare.push_back(std::move(tt_));
}

void PlaySearch::LoadPosition(const SearchStart& start) {
  masks_ = start.hands;
  table_ = start.table;
  leader_ = start.leader;
  record_ = start.played;
  onTable_ = 0;
  onTurn_ = leader_;
  best_ = kNoCard;
  holder_ = 0;
  led_ = SuitOf(table_[static_cast<std::size_t>(leader_)]);
  for (int i = 0; i < kSeats && table_[static_cast<std::size_t>(onTurn_)] != kNoCard; ++i) {
    const TCard c = table_[static_cast<std::size_t>(onTurn_)];
    if (Bit(c) & BeatingCards(best_, led_)) {
      best_ = c;
      holder_ = onTurn_;
    }
    ++onTable_;
    onTurn_ = NextSeat(onTurn_);
  }
  key_ = 0;
  const int left = kTricks - record_.count;
  cutoff_ = left <= limits_.exactTricks ? kTricks : record_.count + std::max(limits_.aheadTricks, 1);
  depth_ = 0;
}

const PlayRecord& PlaySearch::PlayOut(const SearchStart& start) {
  LoadPosition(start);
  while (record_.count < kTricks) Do(PlayoutCard());
  return record_;
}

std::vector<std::pair<TCard, int>> PlaySearch::CardValues(const SearchStart& start,
                                                          const std::function<bool()>& expired) {
  LoadPosition(start);
  // Values depend on the layout (who played which card), so nothing carries over: a new
  // generation empties the table without clearing it.
  if (!tt_) {
    auto& spare = SpareTables<Table>();
    if (spare.empty()) {
      tt_ = std::make_unique<Table>();
      tt_->entries.resize(kTableSize);
    } else {
      tt_ = std::move(spare.back());
      spare.pop_back();
    }
    table_tt_ = tt_->entries.data();
    generation_ = tt_->generation;
  }
  if (++generation_ == 0) {
    std::fill(tt_->entries.begin(), tt_->entries.end(), Entry{});
    generation_ = 1;
  }
  expired_ = expired ? &expired : nullptr;
  stopped_ = false;
  std::vector<std::pair<TCard, int>> values;
  for (CardMask moves = Legal(); moves != 0; moves &= moves - 1) {
    const TCard c = Lowest(moves);
    Do(c);
    values.emplace_back(c, Search(-kInfinity, kInfinity));
    Takeback();
  }
  expired_ = nullptr;
  if (stopped_) values.clear();
  return values;
}

void PlaySearch::Do(TCard card) {
  const auto seat = static_cast<std::size_t>(onTurn_);
  undo_[static_cast<std::size_t>(depth_++)] = {key_, best_, holder_, leader_, onTurn_, onTable_, led_};
  masks_[seat] &= ~Bit(card);
  table_[seat] = card;
  if (onTable_ == 0) led_ = SuitClass(card);
  if (Bit(card) & BeatingCards(best_, led_)) {
    best_ = card;
    holder_ = onTurn_;
  }
  if (++onTable_ < kSeats) {
    onTurn_ = NextSeat(onTurn_);
    return;
  }
  const int winner = holder_;
  const std::size_t pair = static_cast<std::size_t>(PairOf(winner));
  std::uint64_t key = key_ ^ TrickKey(record_.count + 1, winner, best_);
  for (std::size_t s = 1; s <= kSeats; ++s) key ^= kTaken.keys[pair][static_cast<std::size_t>(table_[s])];
  key_ = key;
  record_.tricks[static_cast<std::size_t>(record_.count++)] = {leader_, winner, table_};
  table_ = {};
  leader_ = onTurn_ = winner;
  onTable_ = 0;
  best_ = kNoCard;
  holder_ = 0;
}

void PlaySearch::Takeback() {
  const Undo& u = undo_[static_cast<std::size_t>(--depth_)];
  if (onTable_ == 0) table_ = record_.tricks[static_cast<std::size_t>(--record_.count)].cards;
  key_ = u.key;
  best_ = u.best;
  holder_ = u.holder;
  leader_ = u.leader;
  onTurn_ = u.onTurn;
  onTable_ = u.onTable;
  led_ = u.led;
  const auto seat = static_cast<std::size_t>(onTurn_);
  masks_[seat] |= Bit(table_[seat]);
  table_[seat] = kNoCard;
}

int PlaySearch::Finish() const {
  const PlayFacts facts(record_);
  int value = 0;
  for (int p = 1; p <= 2; ++p) {
    int score = facts.Tricks(p);
    for (const ScoreTerm& term : terms_[static_cast<std::size_t>(p)]) score += term.Points(facts);
    value += p == pair_ ? score : -score;
  }
  return value;
}

// The quick playout: a player whose partner holds the trick plays low; otherwise the lowest card
// that takes the trick, else the lowest card.
TCard PlaySearch::PlayoutCard() const {
  const CardMask moves = Legal();
  if (onTable_ > 0 && PairOf(holder_) != PairOf(onTurn_))
    if (const CardMask beating = moves & BeatingCards(best_, led_)) return Lowest(beating);
  return Lowest(moves);
}

// The horizon's playout, from the start of a trick: the same play as PlayoutCard, on local masks
// and without the undo stack; the tricks are written past the record's count and dropped after.
int PlaySearch::Playout() {
  std::array<CardMask, kSeats + 1> masks = masks_;
  const int count = record_.count;
  int leader = leader_;
  while (record_.count < kTricks) {
    TrickRecord& t = record_.tricks[static_cast<std::size_t>(record_.count++)];
    t.leader = leader;
    TCard best = kNoCard;
    int holder = 0;
    int led = -1;
    for (int i = 0, seat = leader; i < kSeats; ++i, seat = NextSeat(seat)) {
      CardMask& hand = masks[static_cast<std::size_t>(seat)];
      const CardMask moves = LegalCards(hand, led);
      const CardMask beating = moves & BeatingCards(best, led < 0 ? 4 : led);
      const TCard c = i > 0 && PairOf(holder) != PairOf(seat) && beating ? Lowest(beating) : Lowest(moves);
      hand &= ~Bit(c);
      t.cards[static_cast<std::size_t>(seat)] = c;
      if (i == 0) led = SuitClass(c);
      if (i == 0 || (Bit(c) & BeatingCards(best, led))) {
        best = c;
        holder = seat;
      }
    }
    t.winner = leader = holder;
  }
  const int value = Finish();
  record_.count = count;
  return value;
}

int PlaySearch::Search(int alpha, int beta) {
  // A node takes well under a microsecond (a playout at the horizon more): asking the clock every
  // 256 nodes stops the search well within a millisecond of the deadline.
  constexpr std::int64_t kClockEvery = 256;
  if (++nodes_ % kClockEvery == 0 && expired_ && (*expired_)()) stopped_ = true;
  if (stopped_) return 0;  // unwinding: the caller drops the values
  Entry* entry = nullptr;
  TCard hint = kNoCard;
  if (onTable_ == 0) {
    if (record_.count == kTricks) return Finish();
    entry = &table_tt_[key_ & (kTableSize - 1)];
    if (entry->generation == generation_ && entry->key == key_) {
      if (entry->bound == kExact) return entry->value;
      if (entry->bound == kLower) alpha = std::max(alpha, entry->value);
      if (entry->bound == kUpper) beta = std::min(beta, entry->value);
      if (alpha >= beta) return entry->value;
      hint = entry->best;
    }
    // The horizon: the same tricks reached in another order (the key is the same, and so are the
    // hands left) are played out once.
    if (record_.count >= cutoff_) {
      const int value = Playout();
      *entry = {key_, value, generation_, kExact, kNoCard};
      return value;
    }
  }
  const int alpha0 = alpha;
  const int beta0 = beta;
  // Ordering: the remembered best card, then the cards that take the trick so far (cheapest
  // first), then the rest from the lowest.
  CardMask rest = Legal();
  CardMask first = 0;
  if (hint != kNoCard && (rest & Bit(hint))) {
    first = Bit(hint);
    rest &= ~first;
  }
  CardMask beating = onTable_ > 0 ? rest & BeatingCards(best_, led_) : 0;
  rest &= ~beating;
  const bool maximise = PairOf(onTurn_) == pair_;
  int value = maximise ? -kInfinity : kInfinity;
  TCard chosen = kNoCard;
  while (alpha < beta) {
    CardMask& from = first ? first : beating ? beating : rest;
    if (from == 0) break;
    const TCard c = Lowest(from);
    from &= from - 1;
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
    entry->key = key_;
    entry->value = value;
    entry->generation = generation_;
    entry->best = static_cast<std::uint8_t>(chosen);
    entry->bound = value <= alpha0 ? kUpper : value >= beta0 ? kLower : kExact;
  }
  return value;
}

}  // namespace zn::deal
