#include "deal/Robot.h"

#include <algorithm>

#include "deal/BidNames.h"
#include "game/BidCatalog.h"
#include "game/Cp1250.h"
#include "game/PlayRules.h"

namespace zn::deal {
namespace {

constexpr int kGameTarokks = 8;

}  // namespace

std::vector<std::string> SimpleRobot::Bid(const RobotView& view) {
  bool spoke = false;  // the robot has had a turn already
  bool pairHasGame = false;
  for (const BidBlock& b : view.bids) {
    spoke = spoke || b.seat == view.seat;
    if (PairOf(b.seat) != PairOf(view.seat)) continue;
    for (const std::string& bid : b.bids) pairHasGame = pairHasGame || SameText(bid, GameBid());
  }
  if (spoke) return {};
  // A hand may give "Flush" or "Vannak" twice; a set holds each bid once.
  std::vector<std::string> bids;
  for (std::string& signal : TBidCatalog::HandSignals(view.hand))
    if (std::find(bids.begin(), bids.end(), signal) == bids.end()) bids.push_back(std::move(signal));
  int tarokks = 0;
  for (const TCard c : view.hand) tarokks += c >= kFirstTarokk;
  if (tarokks >= kGameTarokks && !pairHasGame) bids.emplace_back(GameBid());
  return bids;
}

TCard SimpleRobot::Play(const RobotView& view) {
  const TCard lead = view.table[static_cast<std::size_t>(view.leader)];
  // The card winning the trick so far: the table in playing order from the leader.
  TCard best = kNoCard;
  for (int i = 0, s = view.leader; i < kSeats && lead != kNoCard; ++i, s = NextSeat(s)) {
    const TCard c = view.table[static_cast<std::size_t>(s)];
    if (c != kNoCard && Beats(c, best, SuitOf(lead))) best = c;
  }
  const THand hand(TCards(view.hand.begin(), view.hand.end()));
  TCard lowestLegal = kNoCard;
  for (const TCard c : view.hand) {  // ascending: the first that fits is the lowest
    if (!MayPlay(hand, lead, c)) continue;
    if (lowestLegal == kNoCard) lowestLegal = c;
    if (lead != kNoCard && Beats(c, best, SuitOf(lead))) return c;
  }
  return lowestLegal;
}

}  // namespace zn::deal
