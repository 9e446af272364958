#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/BidCatalog.h"

namespace zn {
namespace {

std::string S(std::string_view text) { return std::string(text); }

struct SignalCase {
  const char* what;
  std::vector<TCard> hand;
  std::vector<std::string> signals;
};

void PrintTo(const SignalCase& c, std::ostream* os) { *os << c.what; }

class HandSignalsTest : public ::testing::TestWithParam<SignalCase> {};

TEST_P(HandSignalsTest, GivesTheSignalsInGroupOrder) {
  const SignalCase& c = GetParam();
  TBidCatalog catalog;
  catalog.MakeContestCandidates(std::vector<std::string>{"Trull"});
  catalog.MakeHandSignals(c.hand);
  EXPECT_EQ(catalog.GroupEntries(kSignalGroup), c.signals);
  EXPECT_EQ(catalog.GroupEntries(kKontraGroup).size(), 1u) << "only group 0 changes";
  for (const std::string& signal : c.signals) {
    EXPECT_TRUE(TBidCatalog::IsHandSignal(signal)) << signal;
    EXPECT_TRUE(TBidCatalog::GivesHandSignal(c.hand, signal)) << signal;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Hands, HandSignalsTest,
    ::testing::Values(
        SignalCase{"seven tarokks give no count",
                   {1, 2, 6, 21, 22, 25, 30, 35, 40, 42},
                   {S("2\u00A0Treff"_cp), "Matador"}},
        SignalCase{"eight tarokks first", {1, 6, 25, 26, 27, 28, 29, 30, 31, 32}, {S("8\u00A0Tarokk"_cp)}},
        SignalCase{
            "ten tarokks", {21, 22, 23, 24, 25, 26, 27, 28, 29, 42}, {S("10\u00A0Tarokk"_cp), "Matador"}},
        SignalCase{"Treff and Pikk whole", {1, 2, 3, 4, 5, 16, 17, 18, 19, 20}, {"Flush", "Flush"}},
        SignalCase{"four Káró is whole", {6, 7, 8, 9, 21, 30, 31, 32, 33, 34}, {"Flush", "Matador"}},
        SignalCase{"three Káró", {6, 7, 8, 24, 30, 31, 32, 33, 34, 35}, {S("3\u00A0Káró"_cp), "Matador"}},
        SignalCase{
            "five Káró and four Kőr", {6, 7, 8, 9, 10, 11, 12, 13, 14, 42}, {S("5\u00A0Káró"_cp), "Flush"}},
        SignalCase{"one card of a suit says nothing", {1, 6, 11, 16, 25, 26, 27, 28, 29, 30}, {}},
        SignalCase{"lowest tarokk V gives no Matador", {1, 6, 11, 16, 25, 26, 27, 28, 29, 42}, {}},
        SignalCase{"lowest tarokk IIII gives Matador", {1, 6, 11, 16, 24, 26, 27, 28, 29, 42}, {"Matador"}},
        SignalCase{"B and D of every suit",
                   {2, 4, 7, 9, 12, 14, 17, 19, 22, 42},
                   {S("2\u00A0Treff"_cp), S("2\u00A0Káró"_cp), S("2\u00A0Kőr"_cp), S("2\u00A0Pikk"_cp),
                    "Matador", "Vannak", "Vannak"}},
        SignalCase{"all L cards", {3, 8, 13, 18, 30, 31, 32, 33, 34, 35}, {"Vannak"}},
        SignalCase{"four kings give no Vannak", {5, 10, 15, 20, 30, 31, 32, 33, 34, 35}, {}},
        SignalCase{"four T/A cards give no Vannak", {1, 6, 11, 16, 30, 31, 32, 33, 34, 35}, {}},
        SignalCase{"order of the cards does not matter",
                   {42, 19, 2, 14, 9, 7, 22, 4, 17, 12},
                   {S("2\u00A0Treff"_cp), S("2\u00A0Káró"_cp), S("2\u00A0Kőr"_cp), S("2\u00A0Pikk"_cp),
                    "Matador", "Vannak", "Vannak"}},
        SignalCase{"codes outside the pack count for nothing",
                   {0, -1, 43, 2147483647, 1, 2},
                   {S("2\u00A0Treff"_cp)}},
        SignalCase{"empty hand", {}, {}}));

TEST(HandSignals, GivesHandSignalRefusesWhatTheHandDoesNotGive) {
  const std::vector<TCard> hand = {1, 2, 3, 4, 5, 16, 17, 18, 19, 20};
  EXPECT_TRUE(TBidCatalog::GivesHandSignal(hand, "Flush"));
  EXPECT_FALSE(TBidCatalog::GivesHandSignal(hand, "Matador"));
  EXPECT_FALSE(TBidCatalog::GivesHandSignal(hand, "5\u00A0Treff"_cp));
  EXPECT_FALSE(TBidCatalog::GivesHandSignal(hand, "flush"));
  EXPECT_FALSE(TBidCatalog::GivesHandSignal(hand, "Trull"));
}

TEST(HandSignals, IsHandSignalKnowsTheForms) {
  EXPECT_TRUE(TBidCatalog::IsHandSignal("9\u00A0Tarokk"_cp));
  EXPECT_TRUE(TBidCatalog::IsHandSignal("Vannak"));
  EXPECT_FALSE(TBidCatalog::IsHandSignal("0\u00A0Tarokk"_cp));
  EXPECT_FALSE(TBidCatalog::IsHandSignal("*Matador"));
  EXPECT_FALSE(TBidCatalog::IsHandSignal(""));
  EXPECT_FALSE(TBidCatalog::IsHandSignal("Gém"_cp));
}

}  // namespace
}  // namespace zn
