#include <gtest/gtest.h>

#include <algorithm>

#include "link/Protocol.h"
#include "tests/table/TableFixture.h"

namespace zn::test {
namespace {

class BidPanelTest : public TableTest {
 protected:
  // Selects an entry of a group as a click on fdGroups and a row of fdBid would.
  void Choose(int group, int row) {
    form.GroupIndex = group;
    form.BidGroupsClick();
    form.BidIndex = row;
  }
  // Selects the row of the selected group that shows text.
  void Pick(std::string_view text) {
    const auto it = std::find(form.BidRows.begin(), form.BidRows.end(), text);
    ASSERT_NE(it, form.BidRows.end()) << text;
    form.BidIndex = static_cast<int>(it - form.BidRows.begin());
  }
  std::vector<std::string> SetBids() const {
    std::vector<std::string> bids;
    for (const auto& r : form.SendRows) bids.push_back(r.Bid);
    return bids;
  }
};

const std::string k15(15, ' ');
const std::string k30(30, ' ');
const std::string k45(45, ' ');

// ---- The B line: columns, pairs, kontra candidates ----

TEST_F(BidPanelTest, DealerOneListsSeatsInColumnsAndOffersTheOtherPairsBids) {
  club.Seat = 1;
  form.BidLine("B1Anna 2 Trull Gém Bela 0 Cili 1 *Gém Dani 1 Kassza"_cp.data());
  EXPECT_EQ(form.AllBids, (std::vector<std::string>{k15 + "Anna -----", k15 + "Trull", k15 + S("Gém"_cp),
                                                    k30 + "Bela -----", k45 + "Cili -----",
                                                    k45 + S("*Gém"_cp), "Dani -----", "Kassza"}));
  EXPECT_EQ(club.DealerMark, 1);
  // Seats 2 and 3 are the other pair for seat 1: Cili's kontra can be rekontra'd, nothing of Anna's.
  EXPECT_TRUE(form.Catalog.GroupEntries(8).empty());
  EXPECT_EQ(form.Catalog.GroupEntries(9), std::vector<std::string>{S("**Gém"_cp)});
  EXPECT_EQ(club.RecordedBids, form.AllBids);
  EXPECT_EQ(form.BiddingLine, "#" + S("B1Anna 2 Trull Gém Bela 0 Cili 1 *Gém Dani 1 Kassza"_cp));
  EXPECT_EQ(form.GroupIndex, 0);
  EXPECT_TRUE(form.Visible);
  EXPECT_EQ(form.Page, TBidForm::tabBid);
}

TEST_F(BidPanelTest, DealerThreeIndentsFirstBlockBy45AndSecondNotAtAll) {
  club.Seat = 2;
  form.BidLine("B3Cili 1 Gém Dani 0 Anna 1 Vizi"_cp.data());
  EXPECT_EQ(form.AllBids, (std::vector<std::string>{k45 + "Cili -----", k45 + S("Gém"_cp), "Dani -----",
                                                    k15 + "Anna -----", k15 + "Vizi"}));
  EXPECT_EQ(club.DealerMark, 3);
  // Seat 2's other pair is seats 1 and 4: Dani's pass and Anna's Vizi.
  EXPECT_EQ(form.Catalog.GroupEntries(8), std::vector<std::string>{"*Vizi"});
}

TEST_F(BidPanelTest, BlocklessLineEmptiesListAndContestGroups) {
  club.Seat = 2;
  form.BidLine("B1Anna 1 Gém"_cp.data());
  form.BidLine("B1");
  EXPECT_TRUE(form.AllBids.empty());
  EXPECT_TRUE(form.Catalog.GroupEntries(8).empty());
  EXPECT_TRUE(form.Catalog.GroupEntries(9).empty());
}

TEST_F(BidPanelTest, CountLargerThanTheLineReadsOnlyWhatIsThere) {
  form.BidLine("B1Anna 2000000000 Gém"_cp.data());
  EXPECT_EQ(form.AllBids, (std::vector<std::string>{k15 + "Anna -----", k15 + S("Gém"_cp)}));
}

TEST_F(BidPanelTest, MalformedCountKeepsTheRowsReadBefore) {
  EXPECT_EQ(Refusal([&] { form.BidLine("B1Anna 1 Gém Bela x"_cp.data()); }),
            "'x' is not a valid integer value");
  EXPECT_EQ(form.AllBids.size(), 3u);
}

TEST_F(BidPanelTest, ListScrollsToShowTheLastEightRows) {
  form.BidLine("B1A 3 a b c B 3 d e f C 3 g h i");
  EXPECT_EQ(form.AllBids.size(), 12u);
  EXPECT_EQ(form.AllBidsTop, 4);
}

// ---- Composing: CheckBid and the Honőr/Köpf/Trull chain ----

struct ChainCase {
  const char* what;
  std::vector<int> first;  // group 1 rows added before
  int row;                 // the row added
  std::string_view refusal;
};
void PrintTo(const ChainCase& c, std::ostream* os) { *os << c.what; }

class ChainTest : public BidPanelTest, public ::testing::WithParamInterface<ChainCase> {};

TEST_P(ChainTest, RefusesRepeatsAndLoweringInOneSet) {
  const ChainCase& c = GetParam();
  club.Seat = 1;
  form.BidLine("B1");
  for (int row : c.first) {
    Choose(1, row);
    form.BidAddClick();
  }
  const auto before = SetBids();
  Choose(1, c.row);
  EXPECT_EQ(Refusal([&] { form.BidAddClick(); }), c.refusal);
  if (!c.refusal.empty()) {
    EXPECT_EQ(SetBids(), before);
  }
}

// Rows of group 1: 0 Vizi, 3 Honőr, 4 Köpf, 5 Trull.
INSTANTIATE_TEST_SUITE_P(
    Chain, ChainTest,
    ::testing::Values(ChainCase{"repeat", {0}, 0, "Ismételt licit. Vizi már van"_cp},
                      ChainCase{"Köpf over Honőr", {3}, 4, "Ismételt licit. Honőr már van"_cp},
                      ChainCase{"Honőr under Köpf", {4}, 3, "Hibás emelés. Köpf már van."_cp},
                      ChainCase{"Trull over Köpf", {4}, 5, "Hibás emelés. Köpf már van."_cp},
                      ChainCase{"Honőr under Trull", {5}, 3, "Hibás emelés. Trull már van."_cp},
                      ChainCase{"Köpf under Trull", {5}, 4, "Hibás emelés. Trull már van."_cp},
                      ChainCase{"Trull alone", {0}, 5, ""}));

TEST_F(BidPanelTest, PairsEarlierBidRefusedButPartnersSignalAllowed) {
  club.Seat = 3;  // partner: seat 2
  form.BidLine("B1Anna 0 Bela 2 Gém 3\u00A0Treff Cili 1 4\u00A0Treff"_cp.data());
  Choose(2, 0);  // Gém
  EXPECT_EQ(Refusal([&] { form.BidAddClick(); }), S("Ismételt licit. Gém már van"_cp));
  form.Catalog.MakeHandSignals(std::vector<TCard>{21, 22, 23, 24, 25, 26, 27, 1, 2, 3});
  Choose(0, 0);
  Pick("3\u00A0Treff"_cp);
  EXPECT_EQ(Refusal([&] { form.BidAddClick(); }), "");
  EXPECT_TRUE(form.SendRows.back().PreChecked);
  // The user's own earlier signal is refused.
  form.Catalog.MakeHandSignals(std::vector<TCard>{1, 2, 3, 4, 21, 22, 23, 24, 25, 26});
  Choose(0, 0);
  Pick("4\u00A0Treff"_cp);
  EXPECT_EQ(Refusal([&] { form.BidAddClick(); }), S("Ismételt licit. 4\u00A0Treff már van"_cp));
}

TEST_F(BidPanelTest, AddingBeforeAnyBiddingLineIsAConversionError) {
  Choose(2, 0);
  EXPECT_EQ(Refusal([&] { form.BidAddClick(); }), "'' is not a valid integer value");
  EXPECT_TRUE(form.SendRows.empty());
}

TEST_F(BidPanelTest, TypedPrefixWordsAreJoinedAndHashRefused) {
  form.BidLine("B1");
  Choose(3, 0);  // ulti
  form.HigherIndex = -1;
  form.HigherText = "Kis  Pagi ";
  form.BidAddClick();
  EXPECT_EQ(SetBids().back(), S("Kis\u00A0Pagi\u00A0ulti"_cp));
  form.HigherText = "Pa#gat";
  EXPECT_EQ(Refusal([&] { form.BidAddClick(); }), S("Hibás licit"_cp));
}

// ---- Sending ----

TEST_F(BidPanelTest, EmptySetSendsAPassAndDisablesGo) {
  form.BidLine("B1");
  form.EnableGo(true);
  form.BidSendClick();
  EXPECT_EQ(club.Sent, std::vector<std::string>{"BAnna 0"});
  EXPECT_FALSE(form.GoEnabled);
}

TEST_F(BidPanelTest, SendRechecksBidsTheNewLineRepeatsButNotSignals) {
  club.Seat = 1;  // partner: seat 4
  form.BidLine("B1");
  form.Catalog.MakeHandSignals(std::vector<TCard>{21, 22, 23, 24, 25, 26, 27, 1, 2, 3});
  Choose(0, 0);
  Pick("3\u00A0Treff"_cp);
  form.BidAddClick();  // 3 Treff, checked now
  Choose(1, 5);
  form.BidAddClick();  // Trull, checked again on sending
  Choose(3, 0);
  form.BidAddClick();  // Pagát ulti
  form.BidLine("B1Anna 0 Bela 0 Cili 0 Dani 2 Pagát\u00A0ulti 3\u00A0Treff"_cp.data());
  EXPECT_EQ(Refusal([&] { form.BidSendClick(); }), S("Ismételt licit. Pagát\u00A0ulti már van"_cp));
  EXPECT_TRUE(club.Sent.empty());
  EXPECT_EQ(form.SendRows.size(), 3u);
  form.SendIndex = 2;
  form.BidDelClick();
  form.BidSendClick();
  EXPECT_EQ(club.Sent, std::vector<std::string>{S("BAnna 2 3\u00A0Treff Trull"_cp)});
  EXPECT_TRUE(form.SendRows.empty());
}

TEST_F(BidPanelTest, EditingMovesRowsWithTheirFlags) {
  form.BidLine("B1");
  form.SendRows = {{"a", true}, {"b", false}, {"c", false}};
  form.SendIndex = 0;
  form.BidUpClick();  // first row: stays
  EXPECT_EQ(SetBids(), (std::vector<std::string>{"a", "b", "c"}));
  form.BidDownClick();
  EXPECT_EQ(SetBids(), (std::vector<std::string>{"b", "a", "c"}));
  EXPECT_EQ(form.SendIndex, 1);
  EXPECT_TRUE(form.SendRows[1].PreChecked);
  // Drag: press on row 1, release on row 2.
  form.BidMouseDown();
  form.SendIndex = 2;
  form.BidMoveClick();
  EXPECT_EQ(SetBids(), (std::vector<std::string>{"b", "c", "a"}));
  EXPECT_TRUE(form.SendRows[2].PreChecked);
  form.SendIndex = 2;
  form.BidDownClick();  // last row: stays
  form.BidDelClick();
  EXPECT_EQ(SetBids(), (std::vector<std::string>{"b", "c"}));
  EXPECT_EQ(form.SendIndex, 1);
}

TEST_F(BidPanelTest, ExplanationHidesGoUntilClicked) {
  Choose(1, 0);
  form.fdBidMouseDown(true, 5);
  EXPECT_EQ(form.BidIndex, 5);
  EXPECT_EQ(form.HintText, S("Mind a két honőr és a pagát elvitele"_cp));
  EXPECT_TRUE(form.HintVisible);
  EXPECT_FALSE(form.GoVisible);
  form.pnHintClick();
  EXPECT_FALSE(form.HintVisible);
  EXPECT_TRUE(form.GoVisible);
  form.fdBidMouseDown(true, 99);  // past the list: only hides
  EXPECT_FALSE(form.HintVisible);
}

TEST_F(BidPanelTest, GroupSelectionSetsDefaultPrefix) {
  Choose(4, 0);
  EXPECT_EQ(form.HigherIndex, 4);
  EXPECT_EQ(form.HigherText, "Treff");
  Choose(2, 0);
  EXPECT_EQ(form.HigherText, S("Pagát"_cp));
}

TEST_F(BidPanelTest, LeaveTableResetsTheBidPageAndHides) {
  form.ShowPage(1);
  form.HandLine("H2 21 22 23 24 25 26 27 1 2 3");
  form.SendRows = {{"a", true}};
  form.LeaveTable();
  EXPECT_FALSE(form.Visible);
  EXPECT_TRUE(form.SendRows.empty());
  EXPECT_EQ(form.ShownHand.Count(), 0);
  EXPECT_TRUE(form.Panels[1].Images.empty());
  EXPECT_TRUE(form.Catalog.GroupEntries(0).empty());
  EXPECT_EQ(form.GroupIndex, 1);
}

}  // namespace
}  // namespace zn::test
