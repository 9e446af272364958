#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>

#include "dealrecord/DealFormat.h"
#include "dealrecord/PostMortem.h"
#include "tests/dealrecord/DealKit.h"

namespace zn::dealrecord {
namespace {

using test::PlayedDeal;

// Where the search is exact (the last tricks), the value after a card is the value before the
// next one, seen from the other side when the other pair plays it; and no card is worth more than
// the best one.
TEST(PostMortem, ValuesChainFromCardToCardWhereTheSearchIsExact) {
  const deal::SearchLimits limits{4, 2};
  for (const std::int32_t n : {11, 222, 3333, 44444}) {
    SCOPED_TRACE(n);
    const DealRecord deal = PlayedDeal(n);
    const std::vector<CardVerdict> v = Analyse(deal, limits);
    ASSERT_EQ(v.size(), 40u);
    for (std::size_t i = 0; i < v.size(); ++i) {
      EXPECT_EQ(v[i].card, deal.tricks[i / 4].cards[i % 4]);
      EXPECT_LE(v[i].after, v[i].before);
      EXPECT_EQ(v[i].best == v[i].card, v[i].after == v[i].before);
      if (v[i].trick == 10) {
        EXPECT_EQ(v[i].Cost(), 0);  // one card left: no choice
      }
      if (v[i].trick > kTricks - limits.exactTricks && i + 1 < v.size()) {
        const int same = PairOf(v[i].seat) == PairOf(v[i + 1].seat) ? 1 : -1;
        EXPECT_EQ(v[i].after, same * v[i + 1].before) << "card " << i;
      }
    }
  }
}

// The worked example of docs/deal-format.md, played for the tricks alone (each trick is worth 2 to
// the pair's value). Before trick 9 seat 1 holds XVI, XXI; seat 2 Kőr K, XX; seat 3 IIII, XVIII;
// seat 4 Kőr B, XIII. Seat 2 leads the Kőr K: with the XVIII seat 3 would force out the XXI and
// the XX would take the last trick, but seat 3 plays the IIII, the XVI takes the trick and the
// XXI the last one. Everything else from trick 8 on costs nothing: pair 1 takes one of the last
// three tricks against the best defence whatever it plays.
constexpr std::string_view kWorkedExample = R"(zenit-deal 1
room Kékterem
time 2025-12-08T13:51:48Z
deal 1042
dealer 3
seat 1 Árvíztűrő
seat 2 -Robot2 robot
seat 3 béla
seat 4 -Robot4 robot
hand 1 Treff L, Treff K, Káró B, Káró L, Pikk T, Pikk K, III, IX, XVI, XXI
hand 2 Treff D, Kőr A, Kőr K, Pikk B, V, X, XI, XII, XIX, XX
hand 3 Treff B, Kőr L, Pikk D, I, IIII, VI, XIV, XV, XVII, XVIII
hand 4 Káró A, Káró K, Kőr B, Kőr D, Pikk L, II, VII, VIII, XIII, Skíz
out Treff T, Káró D
bid 3 Matador
bid 4 2 Káró, 2 Kőr, Matador
bid 1 2 Treff, 2 Káró, 2 Pikk, Matador
bid 2 2 Kőr
bid 3 -
bid 4 -
bid 1 -
bid 2 -
trick 1 lead 3 won 4: Treff B, II, Treff L, Treff D
trick 2 lead 4 won 3: Káró A, Káró B, V, VI
trick 3 lead 3 won 1: Kőr L, Kőr D, III, Kőr A
trick 4 lead 1 won 4: Treff K, X, XIV, Skíz
trick 5 lead 4 won 3: Káró K, Káró L, XI, XV
trick 6 lead 3 won 1: Pikk D, Pikk L, Pikk K, Pikk B
trick 7 lead 1 won 3: Pikk T, XII, XVII, VII
trick 8 lead 3 won 2: I, VIII, IX, XIX
trick 9 lead 2 won 1: Kőr K, IIII, Kőr B, XVI
trick 10 lead 1 won 1: XXI, XX, XVIII, XIII
taken 6 4
result 12:-12
end
)";

std::string Replaced(std::string text, std::string_view from, std::string_view to) {
  const auto at = text.find(from);
  if (at == std::string::npos)
    ADD_FAILURE() << "no " << from;
  else
    text.replace(at, from.size(), to);
  return text;
}

struct Costly {
  int trick, seat;
  const char* card;  // cp1250 names
  const char* best;
  int cost;
};

// A hand-made ending whose best play is known: exactly the cards listed cost their pair points
// from trick 8 on, each naming the card that would have kept them, and a forced card (the only
// one the rules allow) costs nothing anywhere in the deal. The reader checks that every card is
// legal and that `won` and `taken` agree.
TEST(PostMortem, MarksTheCardThatGaveATrickAway) {
  const struct {
    const char* name;
    std::string record;
    std::vector<Costly> costly;
  } rows[] = {
      {"the IIII under the Kőr K", std::string(kWorkedExample), {{9, 3, "IIII", "XVIII", 2}}},
      // After the IIII seat 1 spends the XXI on a trick its XVI takes, and the XX takes the last.
      {"and the XXI on a trick the XVI takes",
       Replaced(Replaced(Replaced(std::string(kWorkedExample), "Kőr B, XVI\n", "Kőr B, XXI\n"),
                         "trick 10 lead 1 won 1: XXI, XX, XVIII, XIII",
                         "trick 10 lead 1 won 2: XVI, XX, XVIII, XIII"),
                "taken 6 4", "taken 5 5"),
       {{9, 3, "IIII", "XVIII", 2}, {9, 1, "XXI", "XVI", 2}}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    std::vector<DealRecord> deals;
    ASSERT_NO_THROW(deals = ReadDeals(row.record));
    ASSERT_EQ(deals.size(), 1u);
    const DealRecord& record = deals[0];
    const std::vector<CardVerdict> v = Analyse(record, {3, 1});  // exact from trick 8 on
    ASSERT_EQ(v.size(), 40u);
    std::array<deal::CardMask, kSeats + 1> hands{};
    for (int seat = 1; seat <= kSeats; ++seat)
      hands[static_cast<std::size_t>(seat)] = deal::MaskOf(record.hands[static_cast<std::size_t>(seat)]);
    int forced = 0;
    for (const CardVerdict& c : v) {
      SCOPED_TRACE("trick " + std::to_string(c.trick) + ", seat " + std::to_string(c.seat));
      const TrickRecord& trick = record.tricks[static_cast<std::size_t>(c.trick - 1)];
      deal::CardMask& hand = hands[static_cast<std::size_t>(c.seat)];
      const int led = c.seat == trick.leader ? -1 : SuitOf(trick.cards[0]);
      if (deal::CountOf(deal::LegalCards(hand, led)) == 1) {
        ++forced;
        EXPECT_EQ(c.Cost(), 0);
        EXPECT_EQ(c.best, c.card);
      }
      hand &= ~deal::Bit(c.card);
      if (c.trick <= kTricks - 3) continue;
      const auto expected = std::find_if(row.costly.begin(), row.costly.end(), [&](const Costly& k) {
        return k.trick == c.trick && k.seat == c.seat;
      });
      if (expected == row.costly.end()) {
        EXPECT_EQ(c.Cost(), 0) << FormatCardName(c.card);
        continue;
      }
      EXPECT_EQ(c.card, CardOfName(expected->card));
      EXPECT_EQ(c.Cost(), expected->cost);
      EXPECT_EQ(c.best, CardOfName(expected->best));
    }
    EXPECT_GE(forced, 5);  // the last trick's four cards and seat 4's Kőr B in trick 9 at least
  }
}

TEST(PostMortem, AStoppedAnalysisGivesNothing) {
  EXPECT_TRUE(Analyse(PlayedDeal(5), kPostMortemLimits, [] { return true; }).empty());
}

}  // namespace
}  // namespace zn::dealrecord
