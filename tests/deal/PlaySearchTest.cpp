// The open-hand search on hand-made end positions with a known best card, one of them a trick
// given away now so that a bid is made in the last trick.
#include <gtest/gtest.h>

#include <map>

#include "deal/PlaySearch.h"
#include "game/Cp1250.h"

namespace zn::deal {
namespace {

using namespace zn::literals;

// The tricks before the end position: the cards in no hand, four a trick, the first `pairOne`
// tricks won by seat 1 and the rest by seat 2 (middle tarokks never make a bid of the tests).
SearchStart EndPosition(std::array<CardMask, kSeats + 1> hands, int tricksBefore, int pairOne) {
  SearchStart s;
  s.hands = hands;
  s.leader = 1;
  CardMask rest = kAllCards;
  for (const CardMask h : hands) rest &= ~h;
  TCards pool = CardsOf(rest);
  for (int k = 1; k <= tricksBefore; ++k) {
    TrickRecord& t = s.played.tricks[static_cast<std::size_t>(k - 1)];
    t.leader = t.winner = k <= pairOne ? 1 : 2;
    for (int seat = 1; seat <= kSeats; ++seat) {
      t.cards[static_cast<std::size_t>(seat)] = pool.back();
      pool.pop_back();
    }
  }
  s.played.count = tricksBefore;
  return s;
}

std::map<TCard, int> Values(PlaySearch& search, const SearchStart& start) {
  std::map<TCard, int> values;
  for (const auto& [card, value] : search.CardValues(start)) values[card] = value;
  return values;
}

TEST(PlaySearch, GivesATrickAwayToTakeTheLastWithThePagat) {
  // Pair 1 bid Pagát ulti. Leading the Pagát wins trick 9 but seat 3's Treff 4 then takes trick 10;
  // leading the Treff 2 loses trick 9 to seat 3, and the Pagát trumps its Kőr lead in trick 10.
  const SearchStart start =
      EndPosition({0, MaskOf({2, 21}), MaskOf({3, 6}), MaskOf({4, 11}), MaskOf({7, 12})}, 8, 4);
  std::array<std::vector<ScoreTerm>, 3> terms;
  terms[1] = ScoreTerms(std::vector<std::string>{std::string("Pagát\u00A0ulti"_cp)}, 1);
  ASSERT_EQ(terms[1].size(), 1u);
  PlaySearch search(terms, 1);
  const auto values = Values(search, start);
  ASSERT_EQ(values.size(), 2u);
  EXPECT_EQ(values.at(2), 10);    // five tricks each, the ulti made
  EXPECT_EQ(values.at(21), -10);  // five tricks each, the ulti failed
  // Seen from pair 2 (the same deal, its own value) the signs turn.
  PlaySearch other(terms, 2);
  EXPECT_EQ(Values(other, start).at(2), -10);
}

TEST(PlaySearch, ATableKeptFromAnEarlierSearchChangesNoValue) {
  // A thread reuses its search tables. The other pair's search of the same position reaches the
  // same keys with the signs turned, so an entry left from the first search must count as empty.
  const SearchStart start = EndPosition({0, MaskOf({1, 2, 6, 11, 21, 30}), MaskOf({3, 7, 12, 16, 22, 31}),
                                         MaskOf({4, 8, 13, 17, 23, 32}), MaskOf({5, 9, 14, 18, 24, 33})},
                                        4, 2);
  const SearchLimits toTheEnd{6, 2};
  std::map<TCard, int> first;
  {
    PlaySearch search({}, 1, toTheEnd);
    first = Values(search, start);
  }
  ASSERT_EQ(first.size(), 6u);
  for (int round = 0; round < 3; ++round) {
    PlaySearch other({}, 2, toTheEnd);
    const auto values = Values(other, start);
    for (const auto& [card, value] : first) EXPECT_EQ(values.at(card), -value) << card << " round " << round;
  }
}

TEST(PlaySearch, CashesTheSkizBeforeTheSuitTheOpponentsTrump) {
  // Seat 3 lacks Treff and holds the 22: a Treff lead is trumped. The Skíz first draws seat 2's
  // XXI and seat 3's 22; then both Treffs stand. Seven tricks to three.
  const SearchStart start = EndPosition(
      {0, MaskOf({4, 5, 42}), MaskOf({1, 11, 41}), MaskOf({12, 13, 22}), MaskOf({2, 6, 7})}, 7, 4);
  PlaySearch search({}, 1);
  const auto values = Values(search, start);
  ASSERT_EQ(values.size(), 3u);
  EXPECT_EQ(values.at(42), 7 - 3);
  EXPECT_LT(values.at(5), values.at(42));
  EXPECT_LT(values.at(4), values.at(42));
  EXPECT_GT(search.Nodes(), 0);
}

TEST(PlaySearch, AShallowSearchStillValuesEveryLegalCard) {
  // Far from the end the search looks two tricks ahead and plays the rest out: every legal card
  // gets a value within the range a deal can score.
  const SearchStart start = EndPosition({0, MaskOf({1, 2, 6, 11, 21, 30}), MaskOf({3, 7, 12, 16, 22, 31}),
                                         MaskOf({4, 8, 13, 17, 23, 32}), MaskOf({5, 9, 14, 18, 24, 33})},
                                        4, 2);
  PlaySearch search({}, 1, SearchLimits{3, 2});
  const auto values = Values(search, start);
  EXPECT_EQ(values.size(), 6u);
  for (const auto& [card, value] : values) {
    EXPECT_GE(value, -10) << card;
    EXPECT_LE(value, 10) << card;
  }
}

}  // namespace
}  // namespace zn::deal
