// Playing by keyboard alone and following the deal by ear: the focus over the own hand, Enter on
// it, and what is announced after each line.
#include <string>
#include <vector>

#include "tests/table/TableFixture.h"

namespace zn::test {
namespace {

class TableAccessTest : public TableTest {
 protected:
  TableAccessTest() { club.Seats = {"Anna", S("Béla"_cp), "Cili", "Dani"}; }
  TCard Focused() const { return form.Panels[1].Images[static_cast<std::size_t>(form.HandFocus)].Code; }
};

// Seat 2 holds a Kőr and tarokks; seat 1 leads the Kőr ace: the focus starts on the Kőr card, the
// keys move it within the hand, and Enter plays only what the follow rule allows.
TEST_F(TableAccessTest, KeysMoveTheFocusAndEnterPlaysOrBeeps) {
  form.HandLine("H2 3 12 21 22 25 30 33 38 41 42");  // drawn 42 41 38 33 30 25 22 21 12 3
  EXPECT_EQ(form.HandFocus, 0) << "before any lead every card may be played";
  form.PlayLine("P2 1 0 11 0 0 0");
  EXPECT_EQ(Focused(), 12);

  using K = TBidForm::THandKey;
  const struct {
    K key;
    TCard focused;
  } steps[] = {{K::Right, 3}, {K::Right, 3}, {K::Home, 42}, {K::Left, 42}, {K::Right, 41}, {K::End, 3}};
  for (const auto& step : steps) {
    form.HandKey(step.key);
    EXPECT_EQ(Focused(), step.focused) << static_cast<int>(step.key);
  }
  form.HandKey(K::Home);
  form.HandEnter();  // the Skíz while holding a Kőr
  EXPECT_EQ(desk.desk.Beeps, 1);
  EXPECT_TRUE(club.Sent.empty());
  form.HandKey(K::End);
  form.HandKey(K::Left);
  form.HandEnter();
  EXPECT_EQ(club.Sent, (std::vector<std::string>{"P12"}));
  form.HandEnter();  // no longer the member's turn
  EXPECT_EQ(desk.desk.Beeps, 2);
}

TEST_F(TableAccessTest, EmptyHandOrWatchingHasNoFocusAndKeysDoNothing) {
  form.HandLine("H2");
  EXPECT_EQ(form.HandFocus, -1);
  form.HandKey(TBidForm::THandKey::End);
  form.HandEnter();
  EXPECT_EQ(form.HandFocus, -1);
  EXPECT_EQ(desk.desk.Beeps, 1);
  EXPECT_TRUE(club.Sent.empty());
}

// Each line is told with the seats' names: the bids of the latest turn, the cards new on the
// table, the end of a trick, the member's turn and the result.
TEST_F(TableAccessTest, EachLineIsAnnouncedWithTheNames) {
  form.HandLine("H2 3 12 21 22 25 30 33 38 41 42");
  using F = TBidForm;
  const struct {
    void (F::*take)(const std::string&);
    std::string line;
    std::string spoken;
  } cases[] = {
      {&F::BidLine, "B1Anna 2 Trull " + S("Pagát\u00A0ulti"_cp), S("Anna: Trull, Pagát ulti"_cp)},
      {&F::BidLine, "B1Anna 2 Trull Gém " + S("Béla"_cp) + " 0", S("Béla: passz"_cp)},
      {&F::TurnLine, "T", S("Béla: passz. Ön licitál."_cp)},
      {&F::PlayLine, "P2 1 0 11 0 0 0", S("Anna: Kőr ász. Ön következik."_cp)},
      {&F::PlayLine, "P3 1 0 11 12 0 0", S("Béla: Kőr bubi"_cp)},
      {&F::PlayLine, "P0 1 0 11 12 41 42",
       S("Cili: Tarokk XXI; Dani: Skíz. Az ütés teljes, Enter: tovább."_cp)},
      {&F::ScoreLine, "X1 Trull 10", S("A játék befejeződött, ütésszám: 10\u00A0:\u00A0"_cp) + "0"},
  };
  for (const auto& c : cases) {
    (form.*c.take)(c.line);
    EXPECT_EQ(form.Spoken, c.spoken) << c.line;
  }
  form.cmAddUpClick();
  EXPECT_EQ(form.Spoken, S("Eredmény: 10:0"_cp));
}

// Large print is kept in the settings for the next start; a settings file that cannot be written
// still gives large print for this run, and says why it was not kept.
TEST_F(TableAccessTest, LargePrintIsKeptInTheSettings) {
  form.SetLargePrint(true);
  EXPECT_EQ((club.Ini[{"Program", "LargePrint"}]), "1");
  TBidForm next{club};
  next.ReadPrintSetting();
  EXPECT_TRUE(next.LargePrint);
  club.FailingKey = "LargePrint";
  EXPECT_EQ(Refusal([&] { next.SetLargePrint(false); }), "Cannot write the settings file");
  EXPECT_FALSE(next.LargePrint);
  club.Ini.clear();
  next.ReadPrintSetting();
  EXPECT_FALSE(next.LargePrint) << "no key: normal print";
}

}  // namespace
}  // namespace zn::test
