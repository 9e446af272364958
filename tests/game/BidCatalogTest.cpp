#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/BidCatalog.h"
#include "game/ZnError.h"

namespace zn {
namespace {

// ---- Composing a bid name ----

struct ComposeCase {
  const char* what;
  int group;
  int entryCount;
  int entryIndex;
  std::string_view entryText;
  std::string_view prefixText;
  int prefixIndex;
  std::string_view result;  // the bid name, or the refusal when refused is set
  bool refused = false;
};

void PrintTo(const ComposeCase& c, std::ostream* os) { *os << c.what; }

class ComposeBidTest : public ::testing::TestWithParam<ComposeCase> {};

TEST_P(ComposeBidTest, BuildsTheNameOrRefuses) {
  const ComposeCase& c = GetParam();
  if (!c.refused) {
    EXPECT_EQ(TBidCatalog::ComposeBid(c.group, c.entryCount, c.entryIndex, c.entryText, c.prefixText,
                                      c.prefixIndex),
              c.result);
    return;
  }
  try {
    TBidCatalog::ComposeBid(c.group, c.entryCount, c.entryIndex, c.entryText, c.prefixText, c.prefixIndex);
    FAIL() << "not refused";
  } catch (const EZnError& e) {
    EXPECT_EQ(std::string_view(e.what()), c.result);
  }
}

INSTANTIATE_TEST_SUITE_P(
    EveryGroup, ComposeBidTest,
    ::testing::Values(
        ComposeCase{"signal", 0, 3, 0, "8\u00A0Tarokk"_cp, "Pagát"_cp, 0, "8\u00A0Tarokk"_cp},
        ComposeCase{"biztató ignores prefix", 1, 6, 5, "Trull", "Kőr"_cp, 6, "Trull"},
        ComposeCase{"ütés", 2, 11, 0, "Gém"_cp, "Pagát"_cp, 0, "Gém"_cp},
        ComposeCase{"magasító with suit word", 3, 7, 5, "\u00A0fácán"_cp, "Kőr"_cp, 6, "Kőr\u00A0fácán"_cp},
        ComposeCase{"magasító with Pagát", 3, 7, 0, "\u00A0ulti"_cp, "Pagát"_cp, 0, "Pagát\u00A0ulti"_cp},
        ComposeCase{"magasító with typed text", 3, 7, 1, "\u00A0uhu"_cp, "XXI", -1, "XXI\u00A0uhu"_cp},
        ComposeCase{"banda with suit", 4, 6, 0, "\u00A0banda"_cp, "Kőr"_cp, 6, "Kőr\u00A0banda"_cp},
        ComposeCase{"banda with Pikk", 4, 6, 0, "\u00A0banda"_cp, "Pikk", 7, "Pikk\u00A0banda"_cp},
        ComposeCase{"banda with Pagát", 4, 6, 0, "\u00A0banda"_cp, "Pagát"_cp, 0, "Hibás színválasztás"_cp,
                    true},
        ComposeCase{"banda with Kanári", 4, 6, 0, "\u00A0banda"_cp, "Kanári"_cp, 3, "Hibás színválasztás"_cp,
                    true},
        ComposeCase{"banda with typed suit", 4, 6, 0, "\u00A0banda"_cp, "Kőr"_cp, -1,
                    "Hibás színválasztás"_cp, true},
        ComposeCase{"elfogó without prefix", 4, 6, 2, "Flotta", "Treff", 4, "Flotta"},
        ComposeCase{"mariage with suit", 5, 7, 4, "\u00A0mariage"_cp, "Treff", 4, "Treff\u00A0mariage"_cp},
        ComposeCase{"mariage with Sas", 5, 7, 4, "\u00A0mariage"_cp, "Sas", 1, "Hibás színválasztás"_cp,
                    true},
        ComposeCase{"extra without prefix", 5, 7, 0, "Amazon", "Treff", 4, "Amazon"},
        ComposeCase{"trófea", 6, 9, 1, "Héja"_cp, "Pagát"_cp, 0, "Héja"_cp},
        ComposeCase{"volát trófea", 7, 12, 11, "Zenit", "Pagát"_cp, 0, "Zenit"},
        ComposeCase{"kontra", 8, 1, 0, "*Gém"_cp, "Pagát"_cp, 0, "*Gém"_cp},
        ComposeCase{"rekontra", 9, 1, 0, "**Trull", "Pagát"_cp, 0, "**Trull"},
        ComposeCase{"empty kontra group", 8, 0, -1, "", "Pagát"_cp, 0, "Hibás licit"_cp, true},
        ComposeCase{"empty rekontra group", 9, 0, 0, "", "Pagát"_cp, 0, "Hibás licit"_cp, true},
        ComposeCase{"empty signal group", 0, 0, -1, "", "Pagát"_cp, 0, "Hibás licit"_cp, true},
        ComposeCase{"no row selected", 2, 11, -1, "", "Pagát"_cp, 0, "Hibás licit"_cp, true},
        ComposeCase{"row past the list", 2, 11, 11, "", "Pagát"_cp, 0, "Hibás licit"_cp, true},
        ComposeCase{"typed prefix with a space", 3, 7, 0, "\u00A0ulti"_cp, "Pagát X"_cp, -1, "Hibás licit"_cp,
                    true},
        ComposeCase{"typed prefix with a hash", 3, 7, 0, "\u00A0ulti"_cp, "Pa#gát"_cp, -1, "Hibás licit"_cp,
                    true},
        ComposeCase{"typed prefix of two joined words", 3, 7, 0, "\u00A0ulti"_cp, "Kis\u00A0Pagát"_cp, -1,
                    "Kis\u00A0Pagát\u00A0ulti"_cp},
        ComposeCase{"group outside the catalogue", 12, 0, 0, "", "", -1, "Hibás licit"_cp, true}));

// ---- Explanations ----

struct ExplainCase {
  int group;
  int entryIndex;
  std::string_view entryText;
  std::string_view explanation;
};

class ExplainBidTest : public ::testing::TestWithParam<ExplainCase> {};

TEST_P(ExplainBidTest, ChoosesTheExplanation) {
  const ExplainCase& c = GetParam();
  EXPECT_EQ(TBidCatalog::ExplainBid(c.group, c.entryIndex, c.entryText), c.explanation);
}

INSTANTIATE_TEST_SUITE_P(
    ByGroup, ExplainBidTest,
    ::testing::Values(ExplainCase{1, 0, "Vizi", "A XVIII elvitele"}, ExplainCase{1, -1, "", ""},
                      ExplainCase{2, 11, "x", ""}, ExplainCase{-1, 0, "Vizi", ""},
                      ExplainCase{10, 0, "Vizi", ""},
                      ExplainCase{0, 0, "Matador",
                                  "Matador a kézben (Pagát I, sas II, kakadu III vagy kanári IIII)"_cp},
                      ExplainCase{0, 1, "Vannak", "Négy azonos figura"_cp},
                      ExplainCase{0, 0, "Flush", "Egy színből az összes lap"_cp},
                      ExplainCase{0, 0, "8\u00A0Tarokk"_cp, "Elosztás közlés"_cp},
                      ExplainCase{0, 0, "3\u00A0Kőr"_cp, "Elosztás közlés"_cp},
                      ExplainCase{8, 0, "*Gém"_cp, "A bemondás teljesítésének kétségbevonása"_cp},
                      ExplainCase{9, 4, "**Trull", "A bemondás teljesítésének kétségbevonása"_cp}));

TEST(DefaultPrefix, TreffForElfogokAndExtrakPagatOtherwise) {
  const int expected[kBidGroupCount] = {0, 0, 0, 0, 4, 4, 0, 0, 0, 0};
  for (int group = 0; group < kBidGroupCount; ++group)
    EXPECT_EQ(TBidCatalog::DefaultPrefix(group), expected[group]) << group;
  EXPECT_EQ(PrefixWord(TBidCatalog::DefaultPrefix(4)), "Treff");
  EXPECT_EQ(TBidCatalog::DefaultPrefix(-1), 0);
}

// ---- Kontra and rekontra candidates ----

TEST(ContestCandidates, KontraAndRekontraFromTheOtherPairsBids) {
  TBidCatalog catalog;
  // Built at run time: clang 14 crashes while noting why this list is no constant expression
  // once it reaches a cp1250 literal's accented bytes.
  std::vector<std::string> bids;
  for (const std::string_view bid : {"Gém"_cp, "*Trull"_cp, "**Volát"_cp, "8\u00A0Tarokk"_cp, "Matador"_cp})
    bids.emplace_back(bid);
  catalog.MakeContestCandidates(bids);
  EXPECT_EQ(catalog.GroupEntries(kKontraGroup), std::vector<std::string>{std::string("*Gém"_cp)});
  EXPECT_EQ(catalog.GroupEntries(kRekontraGroup), std::vector<std::string>{"**Trull"});
}

TEST(ContestCandidates, SkipsSignalsKeepsDuplicatesAndStartsAfresh) {
  TBidCatalog catalog;
  catalog.MakeContestCandidates(
      std::vector<std::string>{"Vizi", "Vannak", "Flush", "9x", "0x", "Vizi", "", "*Vizi", "*Vizi"});
  // "0x" starts with a digit outside 1-9, so it is no count signal.
  EXPECT_EQ(catalog.GroupEntries(kKontraGroup), (std::vector<std::string>{"*Vizi", "*0x", "*Vizi"}));
  EXPECT_EQ(catalog.GroupEntries(kRekontraGroup), (std::vector<std::string>{"**Vizi", "**Vizi"}));
  catalog.MakeContestCandidates(std::vector<std::string>{"Trull"});
  EXPECT_EQ(catalog.GroupEntries(kKontraGroup), std::vector<std::string>{"*Trull"});
  EXPECT_TRUE(catalog.GroupEntries(kRekontraGroup).empty());
  EXPECT_EQ(catalog.GroupEntries(1).size(), 6u) << "fixed groups stay";
}

TEST(BidCatalogLists, ResetEmptiesOnlyTheSignalGroup) {
  TBidCatalog catalog;
  const std::vector<TCard> hand = {1, 2, 3, 4, 5, 16, 17, 18, 19, 20};
  catalog.MakeHandSignals(hand);
  catalog.MakeContestCandidates(std::vector<std::string>{"Trull"});
  EXPECT_EQ(catalog.GroupEntries(kSignalGroup), (std::vector<std::string>{"Flush", "Flush"}));
  catalog.Reset();
  EXPECT_TRUE(catalog.GroupEntries(kSignalGroup).empty());
  EXPECT_EQ(catalog.GroupEntries(kKontraGroup).size(), 1u);
  EXPECT_TRUE(catalog.GroupEntries(-1).empty());
  EXPECT_TRUE(catalog.GroupEntries(kBidGroupCount).empty());
}

// ---- What the server accepts as a catalogue bid ----

struct CatalogBidCase {
  std::string_view bid;
  bool accepted;
};

class IsCatalogBidTest : public ::testing::TestWithParam<CatalogBidCase> {};

TEST_P(IsCatalogBidTest, KnowsTheCatalogueNames) {
  EXPECT_EQ(TBidCatalog::IsCatalogBid(GetParam().bid), GetParam().accepted) << GetParam().bid;
}

INSTANTIATE_TEST_SUITE_P(
    Names, IsCatalogBidTest,
    ::testing::Values(
        CatalogBidCase{"Trull", true}, CatalogBidCase{"Zenit", true}, CatalogBidCase{"L'amour", true},
        CatalogBidCase{"XXI-fogás"_cp, true}, CatalogBidCase{"trull", false}, CatalogBidCase{"Trull ", false},
        CatalogBidCase{"Pagát\u00A0ulti"_cp, true}, CatalogBidCase{"Pikk\u00A0sólyom"_cp, true},
        CatalogBidCase{"Kőr\u00A0banda"_cp, true}, CatalogBidCase{"Kőr banda"_cp, false},
        CatalogBidCase{"Pagát\u00A0banda"_cp, false}, CatalogBidCase{"Treff\u00A0mariage"_cp, true},
        CatalogBidCase{"Kanári\u00A0mariage"_cp, false}, CatalogBidCase{"\u00A0ulti"_cp, false},
        CatalogBidCase{"XXI\u00A0ulti"_cp, false}, CatalogBidCase{"Pagát\u00A0ulti\u00A0ulti"_cp, false},
        CatalogBidCase{"Pagát\u00A0Flotta"_cp, false}, CatalogBidCase{"*Gém"_cp, true},
        CatalogBidCase{"**Gém"_cp, true}, CatalogBidCase{"***Gém"_cp, false},
        CatalogBidCase{"**Sas\u00A0uhu"_cp, true}, CatalogBidCase{"*", false}, CatalogBidCase{"", false},
        CatalogBidCase{"8\u00A0Tarokk"_cp, false}, CatalogBidCase{"Matador", false},
        CatalogBidCase{"*Flush", false}));

}  // namespace
}  // namespace zn
