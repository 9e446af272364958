// Every catalogue bid's test, made and failed, on hand-made tricks; the table covers the catalogue.
#include <gtest/gtest.h>

#include <array>
#include <set>

#include "deal/BidRules.h"
#include "game/BidCatalogData.h"
#include "game/Cp1250.h"
#include "tests/deal/RecordKit.h"

namespace zn::deal {
namespace {

using test::Taken;
using test::Tricks;

using namespace zn::literals;
using namespace std::literals;

Tricks Volat() { return Taken(10); }
// Volát with the birds: tricks 3 to 7 taken with XVIII, XIX, XX, XXI, Skíz.
Tricks Birds(Tricks t) { return t.Won(3, 4, 38).Won(4, 1, 39).Won(5, 4, 40).Won(6, 1, 41).Won(7, 1, 42); }
Tricks Last3(Tricks t, TCard a, TCard b, TCard c) { return t.Won(8, 1, a).Won(9, 4, b).Won(10, 1, c); }
// A Treff and a Kőr card in trick 3, lost: so those suits are not taken whole for nothing.
Tricks Lost(Tricks t) { return t.Won(3, 2, 30).Put(3, 1, 1).Put(3, 4, 11); }
Tricks Golgota(Tricks t) { return t.Put(1, 2, 41).Put(2, 3, 21); }

struct RuleCase {
  std::string bid;
  Tricks made;
  Tricks failed;
};

std::vector<RuleCase> Cases() {
  const auto n = [](std::string_view cp) { return std::string(cp); };
  std::vector<RuleCase> c = {
      {"Vizi", Tricks().Won(1, 1, 41).Put(1, 2, 38), Tricks().Won(1, 2, 42).Put(1, 1, 38)},
      {"L'amour", Tricks().Won(1, 4, 39), Tricks().Won(1, 3, 39)},
      {"Angelo", Tricks().Won(2, 1, 42).Put(2, 3, 40), Tricks().Won(2, 3, 42).Put(2, 4, 40)},
      {n("Honőr"_cp), Tricks().Won(1, 4, 41), Tricks().Won(1, 2, 41).Won(2, 3, 42)},
      {n("Köpf"_cp), Tricks().Won(1, 1, 41).Won(2, 4, 42), Tricks().Won(1, 1, 41).Won(2, 2, 42)},
      {"Trull", Tricks().Won(1, 1, 41).Won(2, 4, 42).Won(3, 1, 30).Put(3, 3, 21),
       Tricks().Won(1, 1, 41).Won(2, 4, 42).Won(3, 2, 30).Put(3, 1, 21)},
      {n("Gém"_cp), Taken(5), Taken(4)},
      {"Kassza", Taken(6), Taken(5)},
      {"Bridzs", Taken(7), Taken(6)},
      {n("Oktáv"_cp), Taken(8), Taken(7)},
      {"Mizer", Taken(9), Taken(8)},
      {n("Volát"_cp), Taken(10), Taken(9)},
      {n("Pikoló"_cp), Taken(3).Won(3, 4, 38), Taken(3).Won(3, 4, 39)},
      {"City", Taken(4).Won(4, 1, 39), Taken(4).Won(2, 2, 30).Won(4, 1, 39)},
      {"Centrum", Taken(5).Won(5, 1, 40), Taken(5).Won(5, 2, 40)},
      {n("Kismadár"_cp), Taken(6).Won(6, 4, 41), Taken(6).Won(6, 4, 42)},
      {n("Nagymadár"_cp), Taken(7).Won(7, 1, 42), Taken(7).Won(7, 1, 41)},
      {n("Pagát\u00A0ulti"_cp), Taken(2).Won(10, 4, 21), Taken(2).Won(10, 4, 22)},
      {n("Kőr\u00A0ulti"_cp), Taken(2).Won(10, 1, 13), Taken(2).Won(10, 1, 8)},
      {n("Sas\u00A0uhu"_cp), Tricks().Won(9, 1, 22), Tricks().Won(9, 2, 22)},
      {n("Kakadu\u00A0sárkány"_cp), Tricks().Won(8, 4, 23), Tricks().Won(9, 4, 23)},
      {n("Kanári\u00A0griff"_cp), Tricks().Won(7, 4, 24), Tricks().Won(7, 4, 23)},
      {n("Treff\u00A0turul"_cp), Tricks().Won(6, 1, 2), Tricks().Won(6, 1, 17)},
      {n("Pagát\u00A0fácán"_cp), Tricks().Won(1, 1, 21), Tricks().Won(2, 1, 21)},
      {n("Pikk\u00A0sólyom"_cp), Tricks().Won(2, 4, 17), Tricks().Won(2, 3, 17)},
      // Cards of the suit that were not dealt need not be taken.
      {n("Treff\u00A0banda"_cp), Tricks().Won(1, 1, 5).Put(1, 2, 1).Won(2, 4, 30).Put(2, 3, 3),
       Tricks().Won(1, 1, 5).Put(1, 2, 1).Won(2, 3, 30).Put(2, 4, 3)},
      {"Piros-fekete", Lost(Tricks().Won(1, 1, 10).Put(1, 2, 7).Won(2, 4, 20).Put(2, 3, 16)),
       Lost(Tricks().Won(1, 1, 10).Put(1, 2, 7).Won(2, 2, 20).Put(2, 3, 16))},
      {"Flotta", Tricks().Won(1, 1, 10).Put(1, 2, 7).Won(2, 4, 15).Put(2, 3, 12),
       Tricks().Won(1, 1, 10).Put(1, 2, 7).Won(2, 2, 15).Put(2, 3, 12)},
      {"Armada", Tricks().Won(1, 1, 5).Won(2, 4, 20).Put(2, 3, 16), Tricks().Won(1, 1, 5).Won(2, 2, 20)},
      {n("Légió"_cp), Tricks().Won(1, 1, 5).Won(2, 4, 20).Won(3, 1, 10).Won(4, 1, 15),
       Tricks().Won(1, 1, 5).Won(2, 4, 20).Won(3, 1, 10).Won(4, 3, 15)},
      {n("Pagátfogás"_cp), Tricks().Won(1, 1, 30).Put(1, 2, 21), Tricks().Won(1, 1, 30).Put(1, 4, 21)},
      {"Amazon", Tricks().Won(4, 4, 3), Tricks().Won(4, 4, 5)},
      {"Spadille", Tricks().Won(4, 4, 7), Tricks().Won(4, 4, 3)},
      {"Manille", Tricks().Won(4, 4, 18), Tricks().Won(4, 4, 13)},
      {"Dzsinn", Tricks().Won(10, 1, 16), Tricks().Won(10, 1, 6)},
      {n("Kőr\u00A0mariage"_cp), Tricks().Won(9, 1, 15).Won(10, 4, 14),
       Tricks().Won(9, 1, 15).Won(10, 4, 15)},
      {n("Surranó"_cp), Tricks().Won(9, 1, 22).Won(10, 4, 24), Tricks().Won(9, 1, 22).Won(10, 4, 25)},
      {n("Főnix"_cp), Tricks().Won(9, 1, 5).Won(10, 4, 20), Tricks().Won(9, 1, 5).Won(10, 2, 20)},
      {n("XXI-fogás"_cp), Tricks().Won(3, 4, 42).Put(3, 3, 41), Tricks().Won(3, 4, 42).Put(3, 1, 41)},
      {n("Héja"_cp), Tricks().Won(1, 1, 21).Won(2, 4, 24).Won(3, 1, 23),
       Tricks().Won(1, 1, 21).Won(2, 4, 24).Won(3, 1, 25)},
      {"Couleur", Last3(Tricks(), 1, 7, 20), Last3(Tricks(), 1, 7, 30)},
      {"Golgota", Golgota(Taken(3)), Taken(3).Put(1, 2, 41)},
      {"Kentaur", Taken(3).Put(1, 2, 41).Won(2, 1, 3), Taken(3).Won(2, 1, 3)},
      {"Trojka", Last3(Tricks(), 21, 22, 24), Last3(Tricks(), 21, 22, 25)},
      {"Famille", Last3(Tricks(), 11, 14, 12), Last3(Tricks(), 11, 14, 7)},
      {"Betlehem", Last3(Tricks(), 5, 10, 15), Last3(Tricks(), 5, 10, 14)},
      {"Szfinx", Tricks().Won(1, 1, 7).Won(2, 1, 3), Tricks().Won(1, 1, 7).Won(2, 1, 5)},
      {n("Skála"_cp), Birds(Volat()), Birds(Volat()).Won(3, 4, 37)},
      {"Piramis", Volat().Won(5, 1, 21).Won(6, 1, 23).Won(7, 1, 22).Won(8, 1, 24),
       Volat().Won(5, 1, 21).Won(6, 1, 23).Won(8, 1, 22).Won(9, 1, 24)},
      {"Quart", Volat().Won(1, 1, 1).Won(2, 1, 6).Won(3, 1, 11).Won(4, 1, 16),
       Taken(9).Won(1, 1, 1).Won(2, 1, 6).Won(3, 1, 11).Won(4, 1, 16)},
      {"Spektrum", Last3(Birds(Volat()), 1, 2, 3), Last3(Birds(Volat()), 1, 2, 23)},
      {"Stella", Birds(Volat()).Won(1, 1, 21).Won(2, 1, 22).Won(3, 1, 23),
       Birds(Volat()).Won(1, 1, 21).Won(2, 1, 22).Won(3, 1, 38)},
      {"Full", Last3(Birds(Volat()), 21, 22, 23), Last3(Birds(Volat()), 21, 22, 3)},
      {"Court", Last3(Birds(Volat()), 1, 2, 3), Last3(Birds(Volat()), 1, 2, 8)},
      {"Grand", Last3(Birds(Volat()), 5, 10, 15), Last3(Birds(Volat()), 5, 10, 14)},
      {n("Hárpia"_cp), Golgota(Volat()).Won(4, 1, 2), Golgota(Volat())},
      {n("Glória"_cp), Last3(Volat(), 1, 2, 3).Put(1, 2, 41), Last3(Volat(), 1, 2, 3).Put(1, 4, 41)},
      {"Triumf", Last3(Volat(), 21, 22, 23).Put(1, 2, 41), Last3(Volat(), 21, 22, 33).Put(1, 2, 41)},
      {"Zenit", Golgota(Last3(Volat(), 22, 23, 24)),
       Golgota(Last3(Volat(), 22, 23, 24)).Won(9, 1, 23)},  // seat 1 took all three
  };
  return c;
}

class EveryBid : public ::testing::TestWithParam<RuleCase> {};

TEST_P(EveryBid, IsMadeAndFailed) {
  const RuleCase& c = GetParam();
  ASSERT_NE(FindBidRule(c.bid).rule, nullptr) << c.bid;
  EXPECT_TRUE(BidMade(c.bid, c.made.r, 1)) << c.bid;
  EXPECT_FALSE(BidMade(c.bid, c.failed.r, 1)) << c.bid;
}

INSTANTIATE_TEST_SUITE_P(Catalogue, EveryBid, ::testing::ValuesIn(Cases()),
                         [](const auto& info) { return "bid" + std::to_string(info.index); });

TEST(BidRules, CoverEveryCatalogueEntryOnceAndTheCasesCoverEveryRule) {
  std::set<std::pair<int, int>> seen;
  for (const BidRule& rule : BidRules()) {
    EXPECT_TRUE(seen.insert({rule.group, rule.entry}).second) << rule.group << "/" << rule.entry;
    EXPECT_GT(rule.value, 0);
  }
  std::size_t entries = 0;
  for (int g = 1; g <= 7; ++g) entries += FixedBidEntries(g).size();
  EXPECT_EQ(seen.size(), entries);
  std::set<const BidRule*> tested;
  for (const RuleCase& c : Cases()) tested.insert(FindBidRule(c.bid).rule);
  EXPECT_EQ(tested.size(), BidRules().size());
}

TEST(BidRules, PairTwoIsScoredByItsOwnTricks) {
  const PlayRecord r = Taken(4).r;  // seats 2 and 3 took six
  EXPECT_TRUE(BidMade("Kassza", r, 2));
  EXPECT_FALSE(BidMade("Kassza", r, 1));
}

// A record from outside (a file, a test) may be damaged: every rule judges it within its tricks
// and cards, and codes outside the deal take nothing.
TEST(BidRules, ADamagedRecordIsJudgedWithinItsBounds) {
  PlayRecord r;
  r.count = 99;
  for (std::size_t k = 0; k < r.tricks.size(); ++k) {
    r.tricks[k].winner = std::array{9, -3, 0, 4, 2}[k % 5];
    r.tricks[k].cards = {2147483647, 99, -1, 43, 7};
  }
  for (const BidRule& rule : BidRules())
    for (int pair = -1; pair <= 3; ++pair)
      for (int prefix = -1; prefix <= 8; ++prefix) (void)rule.test(PlayFacts(r), pair, prefix);
  const PlayFacts facts(r);
  EXPECT_EQ(facts.Count(), kTricks);
  EXPECT_EQ(facts.Taken(1) | facts.Taken(2), Bit(7));  // only seat 4's card is one of the deal's
  EXPECT_EQ(facts.WonWith(1), kNoCard);                // won by seat 9
  EXPECT_EQ(facts.Tricks(1) + facts.Tricks(2), kTricks);
}

TEST(BidRules, NamesOutsideTheCatalogueAreWorthNothing) {
  for (std::string_view bid : {""sv, "Gem"sv, "*Kassza"sv, "Pagát\u00A0banda"_cp, "Kassza "sv}) {
    EXPECT_EQ(FindBidRule(bid).rule, nullptr) << bid;
    EXPECT_EQ(BidValue(bid), 0);
  }
  EXPECT_EQ(BidValue("Kassza"), 10);
  EXPECT_EQ(BidValue("Kanári\u00A0turul"_cp), 30);
}

}  // namespace
}  // namespace zn::deal
