// The search's masks against the rules they stand for: the legal cards and the cards that beat the
// trick against MayPlay and Beats on random hands, and the search's values against a plain
// minimax over the rules (CardPlay, no table, no masks) on real deals, to the end and to a horizon
// where both play the rest out quickly.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

#include "deal/Game.h"
#include "deal/PlaySearch.h"
#include "deal/StrongRobot.h"
#include "game/PlayRules.h"

namespace zn::deal {
namespace {

TEST(SearchMasks, LegalAndBeatingCardsFollowTheRules) {
  DealRandom random(7);
  for (int round = 0; round < 400; ++round) {
    // A random hand of 1..10 cards and a random card on the table.
    CardMask hand = 0;
    const int size = 1 + static_cast<int>(random.Next() % 10);
    while (CountOf(hand) < size) hand |= Bit(static_cast<TCard>(1 + random.Next() % kMaxCard));
    const THand cards(CardsOf(hand));
    for (TCard lead = kNoCard; lead <= kMaxCard; ++lead) {
      if (hand & Bit(lead)) continue;
      const CardMask legal = LegalCards(hand, lead == kNoCard ? -1 : SuitOf(lead));
      for (const TCard c : cards.Cards)
        EXPECT_EQ((legal & Bit(c)) != 0, MayPlay(cards, lead, c)) << "lead " << lead << " card " << c;
      if (lead == kNoCard) continue;
      // `lead` as the best card so far of a trick led with each suit class it can be best in.
      for (int led = 0; led < kSuitClasses; ++led) {
        if (SuitOf(lead) != 4 && SuitOf(lead) != led) continue;
        const CardMask beating = BeatingCards(lead, led);
        for (TCard c = 1; c <= kMaxCard; ++c)
          EXPECT_EQ((beating & Bit(c)) != 0, Beats(c, lead, led)) << "best " << lead << " card " << c;
      }
    }
  }
}

int PlainValue(const PlayRecord& record, const std::array<std::vector<ScoreTerm>, 3>& terms, int pair) {
  const PlayFacts facts(record);
  int value = 0;
  for (int p = 1; p <= 2; ++p) {
    int score = TricksOfPair(record, p);
    for (const ScoreTerm& term : terms[static_cast<std::size_t>(p)]) score += term.Points(facts);
    value += p == pair ? score : -score;
  }
  return value;
}

SearchStart StartOf(const CardPlay& play) {
  SearchStart start;
  for (int s = 1; s <= kSeats; ++s) start.hands[static_cast<std::size_t>(s)] = MaskOf(play.Hand(s).Cards);
  start.table = play.Table();
  start.leader = play.Leader();
  start.played = play.Record();
  return start;
}

// Minimax over the rules to the end, or to `horizon` finished tricks and then the quick playout
// (PlayOut, which plays card by card as the search's moves do).
using Terms = std::array<std::vector<ScoreTerm>, 3>;
int Minimax(CardPlay play, const Terms& terms, int pair, int horizon = kTricks) {
  if (play.TrickComplete()) play.Continue();
  if (play.Finished()) return PlainValue(play.Record(), terms, pair);
  if (play.Record().count >= horizon) {
    PlaySearch quick(terms, pair);
    return PlainValue(quick.PlayOut(StartOf(play)), terms, pair);
  }
  const int seat = play.OnTurn();
  const bool maximise = PairOf(seat) == pair;
  int best = maximise ? std::numeric_limits<int>::min() : std::numeric_limits<int>::max();
  for (const TCard c : play.Hand(seat).Cards) {
    if (!play.MayPlayCard(seat, c)) continue;
    CardPlay next = play;
    next.Play(seat, c);
    const int v = Minimax(next, terms, pair, horizon);
    best = maximise ? std::max(best, v) : std::min(best, v);
  }
  return best;
}

struct HorizonCase {
  int trick;  // the trick in progress
  SearchLimits limits;
  int horizon;  // the tricks finished when the playout starts
};

class SearchAgainstMinimax : public ::testing::TestWithParam<HorizonCase> {};

// Deals played by simple robots into trick `trick`, 0 to 3 of its cards on the table; the search
// sees the true hands.
TEST_P(SearchAgainstMinimax, ValuesEqualAPlainMinimaxOverTheRules) {
  const HorizonCase h = GetParam();
  SimpleRobot simple;
  for (std::int32_t number = 1; number <= 16; ++number) {
    const int onTable = number % 4;
    Game game(number);
    while (game.CurrentPhase() != Game::Phase::Over) {
      if (game.OnTurn() == 0) {
        game.Continue();
        continue;
      }
      const CardPlay* play = game.Play();
      if (play && play->Record().count == h.trick - 1 && play->TrickNumber() == h.trick &&
          static_cast<int>(std::count_if(play->Table().begin(), play->Table().end(),
                                         [](TCard c) { return c != kNoCard; })) == onTable)
        break;
      game.RobotMove(simple);
    }
    ASSERT_NE(game.CurrentPhase(), Game::Phase::Over) << number;
    const CardPlay& play = *game.Play();
    const int seat = play.OnTurn();
    const auto terms = BiddingTerms(game.Bids().Blocks());
    PlaySearch search(terms, PairOf(seat), h.limits);
    for (const auto& [card, value] : search.CardValues(StartOf(play))) {
      CardPlay next = play;
      ASSERT_TRUE(next.MayPlayCard(seat, card)) << number << " " << card;
      next.Play(seat, card);
      EXPECT_EQ(value, Minimax(next, terms, PairOf(seat), h.horizon))
          << "deal " << number << " card " << card;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Positions, SearchAgainstMinimax,
    ::testing::Values(HorizonCase{8, SearchLimits{}, kTricks},  // the last three, exact
                      HorizonCase{6, SearchLimits{0, 1}, 6},    // one trick, then the playout
                      HorizonCase{8, SearchLimits{0, 2}, 9}));  // two tricks, then the playout

}  // namespace
}  // namespace zn::deal
