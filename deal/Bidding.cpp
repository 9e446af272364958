#include "deal/Bidding.h"

#include <algorithm>

#include "deal/BidNames.h"
#include "game/BidCatalog.h"
#include "game/Cp1250.h"

namespace zn::deal {
namespace {

bool Holds(std::span<const std::string> bids, std::string_view bid) {
  return std::any_of(bids.begin(), bids.end(), [bid](const std::string& b) { return SameText(b, bid); });
}

// The client's repeat and raise check of one bid against a list: a repeat, or Honőr after Köpf,
// or Honőr or Köpf after Trull.
bool Repeats(std::span<const std::string> list, std::string_view bid) {
  if (Holds(list, bid)) return true;
  if (bid == HonorBid() && Holds(list, KopfBid())) return true;
  return (bid == HonorBid() || bid == KopfBid()) && Holds(list, TrullBid());
}

bool InChain(std::string_view bid) { return bid == HonorBid() || bid == KopfBid() || bid == TrullBid(); }

}  // namespace

std::optional<std::string> Bidding::Refusal(std::span<const std::string> bids,
                                            std::span<const TCard> hand) const {
  const int seat = OnTurn();
  if (seat == 0) return bids.empty() ? std::string() : bids.front();
  const auto ownPair = BidsOfPair(PairOf(seat));
  const auto otherPair = BidsOfPair(OtherPair(PairOf(seat)));
  const auto ownSeat = BidsOfSeat(seat);
  bool chain = false;
  for (std::size_t i = 0; i < bids.size(); ++i) {
    const std::string& bid = bids[i];
    const std::span<const std::string> before = bids.first(i);
    if (bid.empty() || Repeats(before, bid)) return bid;
    if (TBidCatalog::IsHandSignal(bid)) {
      if (!TBidCatalog::GivesHandSignal(hand, bid) || Holds(ownSeat, bid)) return bid;
      continue;
    }
    if (!TBidCatalog::IsCatalogBid(bid) || Repeats(ownPair, bid)) return bid;
    if (InChain(bid)) {
      if (chain) return bid;
      chain = true;
    }
    // "*X" needs X among the other pair's bids; "**X" needs their kontra "*X".
    if (bid.starts_with('*') && !Holds(otherPair, std::string_view(bid).substr(1))) return bid;
  }
  return std::nullopt;
}

void Bidding::Accept(std::vector<std::string> bids) {
  if (Over()) return;
  passes_ = bids.empty() ? passes_ + 1 : 0;
  blocks_.push_back({onTurn_, std::move(bids)});
  onTurn_ = NextSeat(onTurn_);
}

std::vector<std::string> Bidding::BidsOfPair(int pair) const {
  std::vector<std::string> out;
  for (const BidBlock& b : blocks_)
    if (PairOf(b.seat) == pair) out.insert(out.end(), b.bids.begin(), b.bids.end());
  return out;
}

std::vector<std::string> Bidding::BidsOfSeat(int seat) const {
  std::vector<std::string> out;
  for (const BidBlock& b : blocks_)
    if (b.seat == seat) out.insert(out.end(), b.bids.begin(), b.bids.end());
  return out;
}

}  // namespace zn::deal
