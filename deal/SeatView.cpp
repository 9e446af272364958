#include "deal/SeatView.h"

#include <algorithm>

namespace zn::deal {
namespace {

constexpr int kTarokkClass = 4;

// A seat that did not follow the led suit lacks it; one that played neither the suit nor a
// tarokk lacks the tarokks too.
void NoteVoids(SeatView& v, int leader, const std::array<TCard, kSeats + 1>& cards) {
  const TCard lead = cards[static_cast<std::size_t>(leader)];
  if (lead == kNoCard) return;
  const int led = SuitOf(lead);
  for (int s = NextSeat(leader); s != leader; s = NextSeat(s)) {
    const TCard c = cards[static_cast<std::size_t>(s)];
    if (c == kNoCard) break;
    const int own = SuitOf(c);
    auto& bits = v.voids[static_cast<std::size_t>(s)];
    if (own != led) bits = static_cast<std::uint8_t>(bits | (1u << led));
    if (own != led && own != kTarokkClass) bits = static_cast<std::uint8_t>(bits | (1u << kTarokkClass));
  }
}

std::uint64_t Mix(std::uint64_t h, std::uint64_t x) {
  h ^= x + 0x9e3779b97f4a7c15ULL + (h << 6) + (h >> 2);
  return h * 0xbf58476d1ce4e5b9ULL;
}

}  // namespace

bool SeatView::operator==(const SeatView& o) const {
  if (seat != o.seat || dealer != o.dealer || leader != o.leader || hand != o.hand || table != o.table ||
      seen != o.seen || voids != o.voids || held != o.held || played.count != o.played.count)
    return false;
  for (int k = 1; k <= played.count; ++k) {
    const TrickRecord& a = *played.Trick(k);
    const TrickRecord& b = *o.played.Trick(k);
    if (a.leader != b.leader || a.winner != b.winner || a.cards != b.cards) return false;
  }
  if (bids.size() != o.bids.size()) return false;
  for (std::size_t i = 0; i < bids.size(); ++i)
    if (bids[i].seat != o.bids[i].seat || bids[i].bids != o.bids[i].bids) return false;
  return true;
}

SeatView MakeSeatView(const RobotView& view) {
  SeatView v;
  v.seat = view.seat;
  v.dealer = view.dealer;
  v.hand = MaskOf(TCards(view.hand.begin(), view.hand.end()));
  v.bids.assign(view.bids.begin(), view.bids.end());
  v.held.fill(kHandSize);
  v.held[0] = 0;
  if (view.played == nullptr) return v;
  v.leader = view.leader;
  v.table = view.table;
  v.played.count = std::clamp(view.played->count, 0, kTricks);
  for (int k = 1; k <= v.played.count; ++k) {
    const TrickRecord& t = *view.played->Trick(k);
    v.played.tricks[static_cast<std::size_t>(k - 1)] = t;
    NoteVoids(v, t.leader, t.cards);
    for (int s = 1; s <= kSeats; ++s) {
      v.seen |= MaskOf({t.cards[static_cast<std::size_t>(s)]});
      --v.held[static_cast<std::size_t>(s)];
    }
  }
  NoteVoids(v, v.leader, v.table);
  for (int s = 1; s <= kSeats; ++s) {
    if (v.table[static_cast<std::size_t>(s)] == kNoCard) continue;
    v.seen |= MaskOf({v.table[static_cast<std::size_t>(s)]});
    --v.held[static_cast<std::size_t>(s)];
  }
  v.seen &= ~v.hand;
  v.held[static_cast<std::size_t>(v.seat)] = CountOf(v.hand);
  return v;
}

std::uint64_t ViewSeed(const SeatView& v) {
  std::uint64_t h = Mix(static_cast<std::uint64_t>(v.seat), static_cast<std::uint64_t>(v.dealer));
  h = Mix(h, v.hand);
  h = Mix(h, v.seen);
  for (const BidBlock& b : v.bids) {
    h = Mix(h, static_cast<std::uint64_t>(b.seat));
    for (const std::string& bid : b.bids)
      for (const char ch : bid) h = Mix(h, static_cast<unsigned char>(ch));
  }
  for (int k = 1; k <= v.played.count; ++k)
    for (const TCard c : v.played.Trick(k)->cards) h = Mix(h, static_cast<std::uint64_t>(c));
  for (const TCard c : v.table) h = Mix(h, static_cast<std::uint64_t>(c));
  return h;
}

}  // namespace zn::deal
