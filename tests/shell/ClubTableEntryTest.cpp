// Every way to a table (watching, sitting down, entering a room) starts from what the server sends:
// nothing of a deal the table window showed before may stay on it.
#include "tests/shell/ClubFixture.h"

namespace zn::test {
namespace {

struct EntryCase {
  const char* name;
  void (*enter)(TZnForm& form);
};
void PrintTo(const EntryCase& c, std::ostream* os) { *os << c.name; }

class TableEntry : public ClubTest, public ::testing::WithParamInterface<EntryCase> {
 protected:
  // Anna plays a deal to its end at seat 2 and adds up the score; then the server stands her up.
  void PlayedADeal() {
    InRoom({{2, "Anna"}});
    Feed({"D5", "H2 1 2 3 4 5 6 7 8 9 10", "B1 0 0 0 0", "P0 10 5 11 12 13 14"});
    form->BidForm->cmNextClick();  // the last trick's pause
    Feed({S("X1 Ütések 0"_cp), S("X2 Ütések 0"_cp)});
    form->BidForm->cmAddUpClick();
    ASSERT_TRUE(form->BidForm->DealOver);
    ASSERT_FALSE(form->BidForm->SumText.empty());
    Feed({proto::LineRoom({"1", {{0, "Anna"}}})});
  }
  void ExpectEmptyTable() const {
    const TBidForm& t = *form->BidForm;
    EXPECT_FALSE(t.DealOver);
    EXPECT_FALSE(t.OverVisible);
    EXPECT_FALSE(t.NextVisible);
    EXPECT_FALSE(t.TrickPause);
    EXPECT_FALSE(t.MyTurn);
    EXPECT_EQ(t.SumText, "");
    EXPECT_EQ(t.TrickText, S("Osztás"_cp));
    EXPECT_EQ(t.OverText, "5 : 5");
    EXPECT_TRUE(t.AllBids.empty());
    EXPECT_TRUE(t.BiddingLine.empty());
    for (int seat = 1; seat <= 4; ++seat) EXPECT_EQ(t.TrickImages[seat], TBidForm::kNoPicture) << seat;
    for (const TScoreGrid& grid : t.Grids) {
      ASSERT_EQ(grid.Rows.size(), 2u);
      EXPECT_EQ(grid.Rows[1], (std::array<std::string, 2>{"", ""}));
    }
  }
};

TEST_P(TableEntry, StartsFromTheServersStateNotTheLastDeal) {
  PlayedADeal();
  GetParam().enter(*form);
  ExpectEmptyTable();
  // What the server sends of the deal running there shows as it stands.
  Feed({"D7", "B3 0 0", "P4 1 0 0 0 0 0"});
  EXPECT_FALSE(form->BidForm->OverVisible);
  EXPECT_EQ(form->BidForm->TrickText, "1/0");
}

INSTANTIATE_TEST_SUITE_P(
    Entries, TableEntry,
    ::testing::Values(EntryCase{"Watching", [](TZnForm& f) { f.Actions.cmKibic.Execute(); }},
                      EntryCase{"SittingDownAgain", [](TZnForm& f) { f.fdSeatClick(3); }},
                      EntryCase{"EnteringAnotherRoom",
                                [](TZnForm& f) {
                                  f.Actions.cmLobby.Execute();
                                  f.fdRoomsDblClick(1);
                                }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ClubTest, TheTableTellsWhenTheLinkDropsAndComesBack) {
  InRoom({{2, "Anna"}});
  log.active = false;
  form->Link->Socket().OnDisconnected();
  EXPECT_TRUE(form->BidForm->Offline);
  log.active = true;
  form->Link->Socket().OnConnected();
  EXPECT_FALSE(form->BidForm->Offline);
  form->cmDisconnectExecute();
  EXPECT_TRUE(form->BidForm->Offline);
}

}  // namespace
}  // namespace zn::test
