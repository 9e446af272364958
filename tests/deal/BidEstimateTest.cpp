// Bidding by estimate: a hand that surely makes a bid announces it, one that cannot never bids,
// a bid of the other pair that fails is kontra'd, and over many seeded deals every set the strong
// robots make passes the server's checks and comes out the same every time.
#include <gtest/gtest.h>

#include <algorithm>

#include "deal/BidEstimate.h"
#include "deal/BidNames.h"
#include "deal/BidRules.h"
#include "deal/Game.h"
#include "deal/StrongRobot.h"
#include "game/BidCatalog.h"

namespace zn::deal {
namespace {

constexpr int kGameLadder = 2;  // Gém .. Volát

std::string Volat() { return std::string(CatalogEntry(kGameLadder, 5)); }

RobotView ViewOf(int seat, int dealer, const TCards& hand, const std::vector<BidBlock>& bids) {
  RobotView v;
  v.seat = seat;
  v.dealer = dealer;
  v.hand = hand;
  v.bids = bids;
  return v;
}

bool Has(const std::vector<std::string>& set, std::string_view bid) {
  return std::find(set.begin(), set.end(), bid) != set.end();
}

TEST(BidEstimate, TheTenHighestTarokksAnnounceTheSureVolat) {
  ASSERT_EQ(BidValue(Volat()), 150);
  const TCards hand{33, 34, 35, 36, 37, 38, 39, 40, 41, 42};
  const RobotView view = ViewOf(1, 1, hand, {});
  const auto odds = EstimateBids(view, {});
  const auto volat =
      std::find_if(odds.begin(), odds.end(), [](const BidOdds& o) { return o.bid == Volat(); });
  ASSERT_NE(volat, odds.end());
  EXPECT_EQ(volat->made, volat->layouts);  // the dealer leads a winning tarokk ten times
  const auto set = BidsByEstimate(view, odds);
  EXPECT_TRUE(Has(set, Volat()));
  ASSERT_FALSE(set.empty());
  EXPECT_TRUE(TBidCatalog::IsHandSignal(set.front()));  // the signals of the hand come first
  EXPECT_FALSE(Has(set, GameBid()));                    // implied by the Volát: it would score nothing
}

TEST(BidEstimate, AHandOfSmallSuitCardsMakesNoCatalogueBid) {
  // Its partner may still hold an honőr about half the time: a coin flip is not bid.
  const TCards hand{1, 2, 3, 6, 7, 8, 11, 12, 13, 16};
  for (const int seat : {1, 2}) {
    const RobotView view = ViewOf(seat, 1, hand, {});
    for (const std::string& bid : BidsByEstimate(view, EstimateBids(view, {})))
      EXPECT_TRUE(TBidCatalog::IsHandSignal(bid)) << seat << " " << bid;
  }
}

TEST(BidEstimate, KontrasAVolatThatFails) {
  // Seat 1 announced Volát; seat 2 holds the Skíz and the XXI: the Volát fails every time.
  const TCards hand{1, 5, 10, 15, 20, 25, 30, 39, 41, 42};
  const std::vector<BidBlock> bids{{1, {Volat()}}};
  const RobotView view = ViewOf(2, 1, hand, bids);
  const auto set = BidsByEstimate(view, EstimateBids(view, {}));
  EXPECT_TRUE(Has(set, "*" + Volat()));
  // Pair 2 kontra'd it: with the Volát still sure for pair 1's hand, seat 4 rekontras.
  const std::vector<BidBlock> kontrad{{1, {Volat()}}, {2, {"*" + Volat()}}, {3, {}}};
  const TCards sure{33, 34, 35, 36, 37, 38, 39, 40, 41, 42};
  const RobotView partner = ViewOf(4, 1, sure, kontrad);
  EXPECT_TRUE(Has(BidsByEstimate(partner, EstimateBids(partner, {})), "**" + Volat()));
}

TEST(BidEstimate, TooFewLayoutsInTheTimeGiveNoBidsButTheSignals) {
  const TCards hand{33, 34, 35, 36, 37, 38, 39, 40, 41, 42};
  const RobotView view = ViewOf(1, 1, hand, {});
  int asked = 0;
  EstimateLimits limits;
  limits.expired = [&asked] { return ++asked > 3; };
  const auto odds = EstimateBids(view, limits);
  EXPECT_TRUE(odds.empty());
  for (const std::string& bid : BidsByEstimate(view, odds))
    EXPECT_TRUE(TBidCatalog::IsHandSignal(bid)) << bid;
}

TEST(BidEstimate, EverySetOfManySeededDealsPassesTheServersChecks) {
  StrongSettings settings;
  settings.budget = std::chrono::milliseconds(0);
  settings.bidLayouts = 16;
  StrongRobot robot(settings);
  int catalogueBids = 0;
  for (std::int32_t number = 1; number <= 30; ++number) {
    Game game(number);
    while (game.CurrentPhase() == Game::Phase::Bidding) {
      const int seat = game.OnTurn();
      const auto set = robot.Bid(game.ViewFor(seat));
      EXPECT_EQ(set, robot.Bid(game.ViewFor(seat))) << number;  // the same view, the same set
      for (const std::string& bid : set) catalogueBids += !TBidCatalog::IsHandSignal(bid);
      const auto refused = game.Bid(seat, set);
      ASSERT_FALSE(refused.has_value()) << "deal " << number << " seat " << seat << ": " << *refused;
    }
  }
  EXPECT_GT(catalogueBids, 0);  // the estimate does bid
}

}  // namespace
}  // namespace zn::deal
