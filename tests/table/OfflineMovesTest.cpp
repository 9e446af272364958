// While the link is down the table window says so, and a card, a set of bids or a result is
// refused with a message instead of looking sent.
#include "tests/table/TableFixture.h"

namespace zn::test {
namespace {

struct MoveCase {
  const char* name;
  void (*ready)(TBidForm& form);  // the member may make the move now
  void (*move)(TBidForm& form);
  bool (*stillReady)(const TBidForm& form);
  const char* refusal;
  const char* sent;  // with the link up
};
void PrintTo(const MoveCase& c, std::ostream* os) { *os << c.name; }

class OfflineMoves : public TableTest, public ::testing::WithParamInterface<MoveCase> {};

TEST_P(OfflineMoves, AreRefusedWithAMessageAndKeptForLater) {
  const MoveCase& c = GetParam();
  c.ready(form);
  club.Socket.active = false;
  form.LinkChanged(false);
  EXPECT_TRUE(form.Offline);
  EXPECT_EQ(form.Spoken, S("Megszakadt a kapcsolat a szerverrel"_cp));
  EXPECT_EQ(Cp1250ToUtf8(Refusal([&] { c.move(form); })), c.refusal);
  EXPECT_TRUE(club.Sent.empty());
  EXPECT_TRUE(c.stillReady(form));
  EXPECT_TRUE(desk.desk.Messages.empty()) << "no box with the bare command";
  // The move is still there to make once the link is back.
  club.Socket.active = true;
  form.LinkChanged(true);
  EXPECT_FALSE(form.Offline);
  EXPECT_EQ(form.Spoken, S("Helyreállt a kapcsolat a szerverrel"_cp));
  c.move(form);
  EXPECT_EQ(club.Sent, std::vector<std::string>{c.sent});
}

INSTANTIATE_TEST_SUITE_P(
    Moves, OfflineMoves,
    ::testing::Values(MoveCase{"Card",
                               [](TBidForm& f) {
                                 f.HandLine("H2 6 12 30");
                                 f.PlayLine("P2 1 0 5 0 0 0");
                               },
                               [](TBidForm& f) { f.CardSend(0); },
                               [](const TBidForm& f) { return f.MyTurn && !f.Panels[1].Images[0].Framed; },
                               "Nincs kapcsolat a szerverrel, a lap nem ment el.", "P30"},
                      MoveCase{"Bids",
                               [](TBidForm& f) {
                                 f.BidLine("B1Anna 0");
                                 f.TurnLine("T");
                               },
                               [](TBidForm& f) { f.BidSendClick(); },
                               [](const TBidForm& f) { return f.GoEnabled; },
                               "Nincs kapcsolat a szerverrel, a licit nem ment el.", "BAnna 0"},
                      MoveCase{"Result", [](TBidForm& f) { f.SumText = "12:0"; },
                               [](TBidForm& f) { f.cmFixClick(); },
                               [](const TBidForm& f) { return !f.SumText.empty(); },
                               "Nincs kapcsolat a szerverrel, az eredmény nem ment el.", "F12:0"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zn::test
