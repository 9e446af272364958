#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/BidCatalog.h"
#include "game/BidList.h"
#include "game/ZnError.h"

namespace zn {
namespace {

using Bids = std::vector<std::string>;

std::string S(std::string_view text) { return std::string(text); }

const std::string kBlocks = S("Anna 2 Trull Gém Béla 1 Vizi Cili 0 Dani 1 Kassza"_cp);
const std::string kDealer1 = "#B1" + kBlocks;
const std::string kDealer3 = "#B3" + kBlocks;
// Two cycles: the second round's blocks follow the first's.
const std::string kTwoCycles = "#B1A 1 a B 1 b C 1 c D 1 d A 1 e B 0 C 2 f g D 1 h";

struct FilterCase {
  const char* what;
  std::string text;
  int seat;
  Bids result;
  const char* error = nullptr;  // the conversion error Filter lets through, if any
};

void PrintTo(const FilterCase& c, std::ostream* os) { *os << c.what << ", seat " << c.seat; }

class FilterTest : public ::testing::TestWithParam<FilterCase> {};

TEST_P(FilterTest, PicksTheBidsOfOneSeatOrPair) {
  const FilterCase& c = GetParam();
  TBidList list;
  list.Add("stale");
  if (c.error) {
    try {
      list.Filter(c.text, c.seat);
      FAIL() << "no error";
    } catch (const EZnError& e) {
      EXPECT_STREQ(e.what(), c.error);
    }
  } else {
    list.Filter(c.text, c.seat);
  }
  EXPECT_EQ(list.Entries(), c.result);
}

// S() first: clang 14 crashes while noting why a braced list that reaches a cp1250 literal's
// accented bytes is no constant expression; S is not constexpr, so it stops before them.
const Bids kTrullGem = {S("Trull"), S("Gém"_cp)};
const Bids kPair14 = {S("Trull"), S("Gém"_cp), "Kassza"};

INSTANTIATE_TEST_SUITE_P(
    DealerOne, FilterTest,
    ::testing::Values(
        FilterCase{"seat 1", kDealer1, 1, kTrullGem}, FilterCase{"seat 2", kDealer1, 2, {"Vizi"}},
        FilterCase{"seat 3 made no bid", kDealer1, 3, {}}, FilterCase{"seat 4", kDealer1, 4, {"Kassza"}},
        FilterCase{"pair of 1", kDealer1, -1, kPair14}, FilterCase{"pair of 4", kDealer1, -4, kPair14},
        FilterCase{"pair of 2", kDealer1, -2, {"Vizi"}}, FilterCase{"pair of 3", kDealer1, -3, {"Vizi"}},
        FilterCase{"no seat counts as seat 1's pair", kDealer1, 0, kPair14}));

INSTANTIATE_TEST_SUITE_P(DealerThree, FilterTest,
                         ::testing::Values(FilterCase{"seat 3 opens", kDealer3, 3, kTrullGem},
                                           FilterCase{"seat 4", kDealer3, 4, {"Vizi"}},
                                           FilterCase{"seat 1 made no bid", kDealer3, 1, {}},
                                           FilterCase{"seat 2", kDealer3, 2, {"Kassza"}},
                                           FilterCase{"pair of 2", kDealer3, -2, kPair14},
                                           FilterCase{"pair of 3", kDealer3, -3, kPair14},
                                           FilterCase{"pair of 1", kDealer3, -1, {"Vizi"}},
                                           FilterCase{"pair of 4", kDealer3, -4, {"Vizi"}},
                                           FilterCase{"no seat", kDealer3, 0, {"Vizi"}}));

INSTANTIATE_TEST_SUITE_P(Cycles, FilterTest,
                         ::testing::Values(FilterCase{"own blocks of both rounds", kTwoCycles, 1, {"a", "e"}},
                                           FilterCase{
                                               "pair in line order", kTwoCycles, -2, {"b", "c", "f", "g"}},
                                           FilterCase{"last position", kTwoCycles, 4, {"d", "h"}},
                                           FilterCase{"joined names stay one bid",
                                                      S("#B1Anna 1 Pagát\u00A0ulti Béla 0"_cp),
                                                      1,
                                                      {S("Pagát\u00A0ulti"_cp)}}));

INSTANTIATE_TEST_SUITE_P(
    MalformedText, FilterTest,
    ::testing::Values(FilterCase{"no block yet keeps the list", "#B1", 1, {"stale"}},
                      FilterCase{"no block yet, pair", "#B3", -2, {"stale"}},
                      FilterCase{"no block yet, any seat", "#B1", 9, {"stale"}},
                      FilterCase{"block without bids", "#B1Anna 0", 1, {}},
                      FilterCase{"short block keeps what is there", "#B1Anna 3 Trull", 1, {"Trull"}},
                      FilterCase{"short last block", "#B1Anna 1 Trull Béla 5 Vizi", 2, {"Vizi"}},
                      FilterCase{"count of two billion", "#B1Anna 2000000000 Trull", 1, {"Trull"}},
                      FilterCase{"largest count", "#B1Anna 2147483647 Trull Vizi", -1, {"Trull", "Vizi"}},
                      FilterCase{"negative count reads no bids", "#B1Anna -1 Béla 1 Vizi", 2, {"Vizi"}},
                      FilterCase{"negative count, own seat", "#B1Anna -2147483648 Béla 1 Vizi", 1, {}},
                      FilterCase{"non-numeric count keeps the bids before it", kDealer1 + " Anna x Vizi", -1,
                                 kPair14, "'x' is not a valid integer value"},
                      FilterCase{"count beyond 32 bits",
                                 "#B1Anna 2147483648 Trull",
                                 1,
                                 {},
                                 "'2147483648' is not a valid integer value"},
                      FilterCase{"no bidding line yet", "", 1, {}, "'' is not a valid integer value"},
                      FilterCase{"two characters", "#B", -1, {}, "'' is not a valid integer value"},
                      FilterCase{"name without count", "#B1Anna", 1, {}, "'' is not a valid integer value"},
                      FilterCase{"seat 5", kDealer1, 5, {}}, FilterCase{"seat -5", kDealer3, -5, {}},
                      FilterCase{"seat far out", kDealer3, 2000000000, {}},
                      FilterCase{"seat far out, negative", kDealer1, -2147483647 - 1, {}}));

TEST(FilterThenContest, TheOtherPairsBidsGiveTheCandidates) {
  // The member on seat 1: the other pair is seats 2 and 3.
  const std::string line =
      S("#B1Anna 2 Trull Gém Béla 3 *Gém Vizi 8\u00A0Tarokk Cili 2 **Trull Matador Dani 1 *Vizi"_cp);
  TBidList other;
  other.Filter(line, -2);
  TBidCatalog catalog;
  catalog.MakeContestCandidates(other.Entries());
  EXPECT_EQ(catalog.GroupEntries(kKontraGroup), Bids{"*Vizi"});
  EXPECT_EQ(catalog.GroupEntries(kRekontraGroup), Bids{S("**Gém"_cp)});
}

}  // namespace
}  // namespace zn
