#include <gtest/gtest.h>

#include "link/Protocol.h"
#include "tests/table/TableFixture.h"

namespace zn::test {
namespace {

class ScoreTabTest : public TableTest {
 protected:
  void SetUp() override { form.PlayLine("P0 10 3 1 2 3 4"); }
  std::vector<std::array<std::string, 2>> Items(int grid) const {
    const auto& rows = form.Grids[static_cast<std::size_t>(grid)].Rows;
    return {rows.begin() + 1, rows.end()};
  }
  static std::array<std::string, 2> Total(std::string sum = "") { return {S("***** Összesen"_cp), sum}; }
};

TEST_F(ScoreTabTest, ScoreLineEndsTheDealAndFillsItsOwnGrid) {
  form.ScoreLine(S("X1 Ütések 2 Gém 5"_cp));
  EXPECT_TRUE(form.DealOver);
  EXPECT_EQ(form.Page, TBidForm::tabScore);
  EXPECT_TRUE(form.OverVisible);
  EXPECT_FALSE(form.NextVisible);
  EXPECT_FALSE(form.FixEnabled);
  EXPECT_EQ(club.DealCommands, std::vector<bool>{true});
  EXPECT_EQ(form.OverText, S("7\u00A0:\u00A03"_cp));
  EXPECT_EQ(club.RecordedTricks, form.OverText);
  EXPECT_EQ(Items(0),
            (std::vector<std::array<std::string, 2>>{{S("Ütések"_cp), "2"}, {S("Gém"_cp), "5"}, Total()}));
  EXPECT_EQ(form.Grids[1].Rows.size(), 2u);  // the other pair's grid is untouched
}

TEST_F(ScoreTabTest, LineWithoutItemsLeavesOnlyTheTotalRow) {
  form.ScoreLine("X2 ");
  EXPECT_EQ(Items(1), (std::vector<std::array<std::string, 2>>{Total()}));
}

struct LimitCase {
  bool align;
  const char* label;
  const char* points;
  const char* shown;
};
class LimitTest : public ScoreTabTest, public ::testing::WithParamInterface<LimitCase> {};

TEST_P(LimitTest, LimitsPointsWithoutAlign) {
  club.Align = GetParam().align;
  form.ScoreLine(std::string("X1 ") + GetParam().label + " " + GetParam().points);
  EXPECT_EQ(form.Grids[0].Rows[1][1], GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Limits, LimitTest,
    ::testing::Values(LimitCase{false, "*Trull", "8", "5"}, LimitCase{false, "*Trull", "-8", "-5"},
                      LimitCase{false, "**Trull", "-12", "-10"}, LimitCase{false, "**Trull", "12", "10"},
                      LimitCase{false, "Trull", "-9", "-5"}, LimitCase{false, "Trull", "30", "30"},
                      LimitCase{true, "*Trull", "8", "8"}, LimitCase{true, "Trull", "-9", "-9"}));

TEST_F(ScoreTabTest, MalformedPointsKeepEarlierRowsAndWriteNoTotal) {
  EXPECT_EQ(Refusal([&] { form.ScoreLine("X1 Gem 5 Vizi x"); }), "'x' is not a valid integer value");
  EXPECT_EQ(form.Grids[0].Rows[1][1], "5");
  EXPECT_NE(form.Grids[0].Rows.back()[0], S("***** Összesen"_cp));
}

TEST_F(ScoreTabTest, MalformedItemLeavesNoLabelWithoutPoints) {
  for (const char* line : {"X1 Gem 5 Vizi x", "X1 Gem 5 Vizi"}) {
    EXPECT_EQ(Refusal([&] { form.ScoreLine(line); }).substr(0, 1), "'") << line;
    EXPECT_EQ(Items(0), (std::vector<std::array<std::string, 2>>{{"Gem", "5"}, {"", ""}})) << line;
  }
}

TEST_F(ScoreTabTest, NoSlashInTrickCounterStopsBeforeTheGrid) {
  TBidForm fresh(club);
  EXPECT_EQ(Refusal([&] { fresh.ScoreLine("X1 Gem 5"); }), S("'Osztás' is not a valid integer value"_cp));
  EXPECT_EQ(fresh.Grids[0].Rows.size(), 2u);
  EXPECT_EQ(fresh.Grids[0].Rows[1][0], "");
}

TEST_F(ScoreTabTest, TrickSplitFromTheCounter) {
  form.PlayLine("P0 6 2 1 2 3 4");
  form.ScoreLine("X1 ");
  EXPECT_EQ(form.OverText, S("8\u00A0:\u00A02"_cp));
}

struct SumCase {
  const char* what;
  bool align;
  std::vector<const char*> points;
  std::string total;
  std::int64_t result;
};
void PrintTo(const SumCase& c, std::ostream* os) { *os << c.what; }
class SumTest : public ScoreTabTest, public ::testing::WithParamInterface<SumCase> {};

TEST_P(SumTest, AddsUpAndLimitsWithAlign) {
  const SumCase& c = GetParam();
  club.Align = c.align;
  auto& rows = form.Grids[0].Rows;
  rows.resize(1);
  for (const char* p : c.points) rows.push_back({"x", p});
  rows.push_back(Total());
  EXPECT_EQ(form.SumGrid(0), c.result);
  EXPECT_EQ(rows.back()[1], c.total);
}

INSTANTIATE_TEST_SUITE_P(
    Sums, SumTest,
    ::testing::Values(SumCase{"empty", false, {}, "0", 0}, SumCase{"plain", false, {"-30", "10"}, "-20", -20},
                      SumCase{"align floor", true, {"-30", "10"}, "-20", 0},
                      SumCase{"align largest", true, {"120", "30"}, "150", 120},
                      SumCase{"align hundred", true, {"60", "50", "40"}, "150", 100},
                      SumCase{"no wrap", false, {"2147483647", "2147483647"}, "4294967294", 4294967294LL}));

TEST_F(ScoreTabTest, AddUpThenWriteDown) {
  form.ScoreLine("X1 Gem 12");
  form.ScoreLine("X2 ");
  form.cmAddUpClick();
  EXPECT_EQ(form.SumText, "12:0");
  EXPECT_TRUE(form.FixEnabled);
  EXPECT_EQ(club.DealCommands.back(), false);
  form.cmFixClick();
  EXPECT_EQ(club.Sent, std::vector<std::string>{"F12:0"});
}

TEST_F(ScoreTabTest, EditedNonNumericCellStopsAddingUp) {
  form.ScoreLine("X1 Gem 12");
  form.ScoreLine("X2 Vizi 3");
  form.SumText = "1:1";
  form.Grids[1].Rows[1][1] = "3a";
  EXPECT_EQ(Refusal([&] { form.cmAddUpClick(); }), "'3a' is not a valid integer value");
  EXPECT_EQ(form.SumText, "1:1");
  EXPECT_EQ(club.DealCommands.size(), 2u);
}

TEST_F(ScoreTabTest, DraggedRowsKeepTheirPlaceAndResetKeepsGrids) {
  form.ScoreLine("X1 a 1 b 2");
  form.GridMoveRow(0, 1, 2);
  EXPECT_EQ(form.Grids[0].Rows[1][0], "b");
  form.GridMoveRow(0, 0, 2);  // the heading row stays
  EXPECT_EQ(form.Grids[0].Rows[0][0], S("<< Bemondás"_cp));
  form.SumText = "3:0";
  form.ResetDeal();
  EXPECT_FALSE(form.DealOver);
  EXPECT_FALSE(form.OverVisible);
  EXPECT_EQ(form.SumText, "");
  EXPECT_EQ(form.Grids[0].Rows.size(), 4u);
}

}  // namespace
}  // namespace zn::test
