#include "game/PlayRules.h"

#include <gtest/gtest.h>

#include <vector>

namespace zn {
namespace {

// Codes: 1-5 Treff, 6-10 Káró, 11-15 Kőr, 16-20 Pikk, 21-41 tarokk I..XXI, 42 Skíz.
struct MayPlayCase {
  const char* what;
  std::vector<TCard> hand;
  TCard lead;
  TCard card;
  bool allowed;
};

class MayPlayTable : public ::testing::TestWithParam<MayPlayCase> {};

TEST_P(MayPlayTable, FollowsSuitElseTarokkElseAnything) {
  const MayPlayCase& c = GetParam();
  EXPECT_EQ(MayPlay(THand(c.hand), c.lead, c.card), c.allowed) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MayPlayTable,
    ::testing::Values(MayPlayCase{"any card leads", {1, 7, 30}, kNoCard, 1, true},
                      MayPlayCase{"follows the led suit", {1, 2, 30}, 5, 2, true},
                      MayPlayCase{"may not trump while holding the suit", {1, 2, 30}, 5, 30, false},
                      MayPlayCase{"may not discard while holding the suit", {1, 7, 30}, 5, 7, false},
                      MayPlayCase{"void in the suit must trump", {7, 30}, 5, 7, false},
                      MayPlayCase{"void in the suit trumps", {7, 30}, 5, 30, true},
                      MayPlayCase{"void in suit and tarokk plays anything", {7, 12}, 5, 12, true},
                      MayPlayCase{"a tarokk lead is followed by a tarokk", {3, 22}, 40, 22, true},
                      MayPlayCase{"a tarokk lead may not be answered by a suit card", {3, 22}, 40, 3, false},
                      MayPlayCase{"no tarokk left: any card on a tarokk lead", {3, 8}, 42, 8, true},
                      MayPlayCase{"the Skíz counts as a tarokk", {42, 3}, 7, 42, true},
                      MayPlayCase{"a card code out of range is never playable", {1, 2}, 5, 99, false},
                      MayPlayCase{"a lead code out of range counts as no lead", {1, 2}, 77, 2, true}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

struct WinnerCase {
  const char* what;
  std::vector<TCard> trick;
  int winner;
};

class TrickWinnerTable : public ::testing::TestWithParam<WinnerCase> {};

TEST_P(TrickWinnerTable, HighestTarokkElseHighestOfTheLedSuit) {
  const WinnerCase& c = GetParam();
  EXPECT_EQ(TrickWinner(c.trick), c.winner) << c.what;
}

INSTANTIATE_TEST_SUITE_P(Cases, TrickWinnerTable,
                         ::testing::Values(WinnerCase{"higher code of the led suit", {2, 5, 3, 1}, 1},
                                           WinnerCase{"other suits never win", {2, 10, 15, 20}, 0},
                                           WinnerCase{"a tarokk beats the suit", {5, 21, 4, 3}, 1},
                                           WinnerCase{"the highest tarokk", {30, 41, 21, 35}, 1},
                                           WinnerCase{"the Skíz is highest", {41, 42, 40, 39}, 1},
                                           WinnerCase{"the last card can win", {6, 7, 8, 9}, 3},
                                           WinnerCase{"a lone lead wins", {12}, 0},
                                           WinnerCase{"an empty place never wins", {12, 0, 0, 0}, 0},
                                           WinnerCase{"an out-of-range code never wins", {12, 99, -5, 13}, 3},
                                           WinnerCase{"no cards: no winner", {}, -1}),
                         [](const auto& info) { return "Case" + std::to_string(info.index); });

}  // namespace
}  // namespace zn
