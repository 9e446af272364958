#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/BidList.h"
#include "game/Cp1250.h"
#include "game/ZnError.h"

namespace zn {
namespace {

using Bids = std::vector<std::string>;

// Bid names written with "_" for the joining no-break space, to keep the table readable.
Bids B(std::initializer_list<std::string_view> names) {
  Bids out;
  for (std::string_view n : names) {
    std::string s(n);
    for (char& c : s)
      if (c == '_') c = '\xA0';
    out.push_back(s);
  }
  return out;
}

TBidList ListOf(const Bids& bids) {
  TBidList list;
  for (const auto& b : bids) list.Add(b);
  return list;
}

struct CleaningCase {
  const char* what;
  Bids before;
  Bids after;
  bool noGame;
};

void PrintTo(const CleaningCase& c, std::ostream* os) { *os << c.what; }

class CleaningTest : public ::testing::TestWithParam<CleaningCase> {};

TEST_P(CleaningTest, RemovesImpliedBidsInOrder) {
  const CleaningCase& c = GetParam();
  TBidList list = ListOf(c.before);
  EXPECT_EQ(list.Cleaning(), c.noGame);
  EXPECT_EQ(list.Entries(), c.after);
}

INSTANTIATE_TEST_SUITE_P(
    SignalsAndChain, CleaningTest,
    ::testing::Values(
        CleaningCase{"empty list", {}, {}, true},
        CleaningCase{"count signals all go",
                     B({"8_Tarokk", "Trull", "3_Káró"_cp, "8_Tarokk", "2_Kőr"_cp}),
                     {"Trull"},
                     true},
        CleaningCase{"digit 0 and empty entries stay", {"0x", "", "9"}, {"0x", ""}, true},
        CleaningCase{"two Matador go", {"Matador", "Vizi", "Matador"}, {"Vizi"}, true},
        CleaningCase{"a third Matador stays", {"Matador", "Matador", "Matador"}, {"Matador"}, true},
        CleaningCase{"Flush and Vannak are not cleaned", {"Flush", "Vannak"}, {"Flush", "Vannak"}, true},
        CleaningCase{"Trull takes Köpf and Honőr", B({"Trull", "Köpf"_cp, "Honőr"_cp}), {"Trull"}, true},
        CleaningCase{"chain in any order", B({"Honőr"_cp, "Köpf"_cp, "Trull"}), {"Trull"}, true},
        CleaningCase{"Köpf takes Honőr", B({"Honőr"_cp, "Köpf"_cp}), B({"Köpf"_cp}), true},
        CleaningCase{"one entry each", B({"Trull", "Köpf"_cp, "Köpf"_cp}), B({"Trull", "Köpf"_cp}), true},
        CleaningCase{"names compare without case", B({"TRULL", "köpf"_cp, "HONŐR"_cp}), {"TRULL"}, true}));

INSTANTIATE_TEST_SUITE_P(
    GameLadder, CleaningTest,
    ::testing::Values(
        CleaningCase{"Gém alone", B({"Gém"_cp}), B({"Gém"_cp}), false},
        CleaningCase{"no game bid", {"Vizi"}, {"Vizi"}, true},
        CleaningCase{"Kassza takes one Gém", B({"Gém"_cp, "Kassza", "Gém"_cp}), B({"Kassza", "Gém"_cp}),
                     false},
        CleaningCase{"Volát takes all below",
                     B({"Gém"_cp, "Kassza", "Bridzs", "Oktáv"_cp, "Mizer", "Volát"_cp}), B({"Volát"_cp}),
                     false},
        CleaningCase{"highest present wins", B({"Mizer", "Volát"_cp, "Bridzs"}), B({"Volát"_cp}), false},
        CleaningCase{"Bridzs keeps other bids", B({"Bridzs", "Vizi", "Gém"_cp}), {"Bridzs", "Vizi"}, false},
        CleaningCase{"kontra of a game is no game", B({"*Gém"_cp, "Vizi"}), B({"*Gém"_cp, "Vizi"}), true},
        CleaningCase{"volát trophy after the ladder", B({"Volát"_cp, "Gém"_cp, "Skála"_cp}), B({"Skála"_cp}),
                     false},
        CleaningCase{"trophy removes a lone Gém, result already false",
                     B({"Piramis", "Gém"_cp}),
                     {"Piramis"},
                     false}));

INSTANTIATE_TEST_SUITE_P(
    Trophies, CleaningTest,
    ::testing::Values(
        CleaningCase{"Flotta", B({"Flotta", "Piros-fekete", "Káró_banda"_cp, "Kőr_banda"_cp, "Treff_banda"}),
                     B({"Flotta", "Treff_banda"}), true},
        CleaningCase{"Armada", B({"Armada", "Treff_banda", "Pikk_banda", "Piros-fekete", "Kőr_banda"_cp}),
                     B({"Armada", "Kőr_banda"_cp}), true},
        CleaningCase{"Légió", B({"Légió"_cp, "Armada", "Pikk_banda", "Kőr_banda"_cp}), B({"Légió"_cp}), true},
        CleaningCase{"Héja takes fácán and sólyom",
                     B({"Héja"_cp, "Pagát_fácán"_cp, "Kőr_sólyom"_cp, "Sas_ulti"_cp, "Kanári_fácán"_cp}),
                     B({"Héja"_cp, "Sas_ulti"_cp}), true},
        CleaningCase{"Famille", {"Famille", "Couleur"}, {"Famille"}, true},
        CleaningCase{
            "Betlehem takes one Couleur", {"Betlehem", "Couleur", "Couleur"}, {"Betlehem", "Couleur"}, true},
        CleaningCase{"Szfinx", {"Szfinx", "Spadille", "Manille", "Amazon"}, {"Szfinx", "Amazon"}, true},
        CleaningCase{
            "Skála",
            B({"Skála"_cp, "Volát"_cp, "Pikoló"_cp, "City", "Centrum", "Kismadár"_cp, "Nagymadár"_cp}),
            B({"Skála"_cp}), false},
        CleaningCase{"Spektrum", B({"Spektrum", "Skála"_cp, "Couleur", "Pikoló"_cp}), {"Spektrum"}, true},
        CleaningCase{"Full", B({"Full", "Skála"_cp, "Trojka"}), {"Full"}, true},
        CleaningCase{"Court", B({"Court", "Skála"_cp, "Famille", "Couleur", "Couleur"}), {"Court"}, true},
        CleaningCase{"Grand", B({"Grand", "Skála"_cp, "Betlehem", "Couleur", "City"}), {"Grand"}, true},
        CleaningCase{"Hárpia", B({"Hárpia"_cp, "Golgota", "Kentaur"}), B({"Hárpia"_cp}), true},
        CleaningCase{"Glória", B({"Glória"_cp, "XXI-fogás"_cp, "Couleur", "Kentaur"}), B({"Glória"_cp}),
                     true},
        CleaningCase{"Triumf", B({"Triumf", "XXI-fogás"_cp, "Trojka"}), {"Triumf"}, true},
        CleaningCase{"Zenit", B({"Zenit", "Golgota", "Trojka", "Volát"_cp}), {"Zenit"}, false},
        CleaningCase{
            "Quart keeps the madár bids", B({"Quart", "City", "Volát"_cp}), {"Quart", "City"}, false}));

// A rule that has run already took effect; a bid removed by a rule no longer triggers a later one.
INSTANTIATE_TEST_SUITE_P(
    OrderOfTheRules, CleaningTest,
    ::testing::Values(CleaningCase{"Héja acts before Stella removes it",
                                   B({"Stella", "Héja"_cp, "Pagát_fácán"_cp, "Kőr_sólyom"_cp, "City"}),
                                   {"Stella"},
                                   true},
                      CleaningCase{"Stella without Héja leaves the fácán", B({"Stella", "Pagát_fácán"_cp}),
                                   B({"Stella", "Pagát_fácán"_cp}), true},
                      CleaningCase{"Flotta acts before Légió removes it",
                                   B({"Légió"_cp, "Flotta", "Piros-fekete", "Piros-fekete"}), B({"Légió"_cp}),
                                   true},
                      CleaningCase{"Légió alone takes one Piros-fekete",
                                   B({"Légió"_cp, "Piros-fekete", "Piros-fekete"}),
                                   B({"Légió"_cp, "Piros-fekete"}), true},
                      CleaningCase{"Famille acts before Court removes it",
                                   {"Court", "Famille", "Couleur", "Couleur"},
                                   {"Court"},
                                   true},
                      CleaningCase{"Full keeps Couleur", B({"Full", "Skála"_cp, "Couleur"}),
                                   B({"Full", "Couleur"}), true}));

TEST(BidListOperations, VanComparesWithoutCase) {
  const TBidList list = ListOf(B({"Trull", "Köpf"_cp, "Pagát_ulti"_cp}));
  EXPECT_TRUE(list.Van("trull"));
  EXPECT_TRUE(list.Van("KÖPF"_cp));
  EXPECT_TRUE(list.Van("PAGÁT\u00A0ULTI"_cp));
  EXPECT_FALSE(list.Van("Pagát ulti"_cp)) << "an ordinary space is another name";
  EXPECT_FALSE(list.Van("Trul"));
  EXPECT_FALSE(list.Van(""));
}

TEST(BidListOperations, DeleteBidRemovesTheFirstEqualEntryOnly) {
  TBidList list = ListOf({"Vizi", "Trull", "Angelo", "TRULL"});
  list.DeleteBid("Gém"_cp);
  EXPECT_EQ(list.Count(), 4);
  list.DeleteBid("trull");
  EXPECT_EQ(list.Entries(), (Bids{"Vizi", "Angelo", "TRULL"}));
  EXPECT_EQ(list.Strings(1), "Angelo");
  try {
    list.Strings(3);
    FAIL() << "no index error";
  } catch (const EZnError& e) {
    EXPECT_STREQ(e.what(), "List index out of bounds (3)");
  }
  EXPECT_THROW(list.Strings(-1), EZnError);
  list.Clear();
  EXPECT_EQ(list.Count(), 0);
}

}  // namespace
}  // namespace zn
