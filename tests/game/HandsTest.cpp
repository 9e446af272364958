#include <gtest/gtest.h>

#include <set>
#include <string>
#include <utility>

#include "game/Confirm.h"
#include "game/Cp1250.h"
#include "game/Hands.h"
#include "game/ZnError.h"
#include "tests/support/FakeDesktop.h"

namespace zn {
namespace {

using namespace zn::literals;

// The display text of every card code, written out as the players know them.
// clang-format off
constexpr std::string_view kNames[] = {
    "",
    "Treff T",     "Treff B",     "Treff L",     "Treff D",     "Treff K",
    "Káró A"_cp,   "Káró B"_cp,   "Káró L"_cp,   "Káró D"_cp,   "Káró K"_cp,
    "Kőr A"_cp,    "Kőr B"_cp,    "Kőr L"_cp,    "Kőr D"_cp,    "Kőr K"_cp,
    "Pikk T",      "Pikk B",      "Pikk L",      "Pikk D",      "Pikk K",
    " I ",   " II ",   " III ",   " IIII ",  " V ",   " VI ",   " VII ",   " VIII ",   " IX ",   " X ",
    " XI ",  " XII ",  " XIII ",  " XIV ",   " XV ",  " XVI ",  " XVII ",  " XVIII ",  " XIX ",  " XX ",
    " XXI ",
    " Skíz "_cp,
    ""};
// clang-format on
static_assert(std::size(kNames) == 44);

class CardNameTest : public ::testing::TestWithParam<int> {};

TEST_P(CardNameTest, MatchesTheTableAndTheSuitClass) {
  const int code = GetParam();
  EXPECT_EQ(CardName(code), kNames[code]);
  const int suit = code >= 1 && code <= 20 ? (code - 1) / 5 : 4;
  EXPECT_EQ(SuitOf(code), suit);
}

INSTANTIATE_TEST_SUITE_P(AllCodes, CardNameTest, ::testing::Range(0, 44));

TEST(CardName, OutOfRangeCodesHaveNoNameAndCountAsClassFour) {
  for (int code : {-1, -5, -20, -21, -42, 44, 45, 100, INT32_MIN, INT32_MAX}) {
    EXPECT_EQ(CardName(code), "") << code;
    EXPECT_EQ(SuitOf(code), 4) << code;
  }
}

// The spoken name: every card has a distinct one, and each names its card in words.
TEST(CardSpokenName, NamesEveryCardInWordsAndNothingElse) {
  const std::pair<int, const char*> samples[] = {
      {1, "Treff tízes"}, {6, "Káró ász"},  {15, "Kőr király"},  {18, "Pikk lovas"}, {9, "Káró dáma"},
      {2, "Treff bubi"},  {21, "Tarokk I"}, {24, "Tarokk IIII"}, {41, "Tarokk XXI"}, {42, "Skíz"}};
  for (const auto& [code, name] : samples) EXPECT_EQ(CardSpokenName(code), Utf8ToCp1250(name)) << code;
  std::set<std::string> names;
  for (int code = 1; code <= kMaxCard; ++code) names.insert(CardSpokenName(code));
  EXPECT_EQ(names.size(), 42u);
  EXPECT_EQ(names.count(""), 0u);
  for (int code : {0, -1, 43, INT32_MAX}) EXPECT_EQ(CardSpokenName(code), "") << code;
}

struct CountCase {
  TCards before;
  int n;
  TCards after;
};

class SetCountTest : public ::testing::TestWithParam<CountCase> {};

TEST_P(SetCountTest, GrowsWithZerosOrDrops) {
  THand hand(GetParam().before);
  hand.SetCount(GetParam().n);
  EXPECT_EQ(hand.Cards, GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(Cases, SetCountTest,
                         ::testing::Values(CountCase{{7}, 3, {7, 0, 0}}, CountCase{{1, 2, 3}, 1, {1}},
                                           CountCase{{1, 2}, 2, {1, 2}}, CountCase{{1, 2}, 0, {}},
                                           CountCase{{1, 2}, -3, {}}));

TEST(THand, SetCardGrowsWithZeroEntries) {
  THand hand{3, 9};
  hand.SetCard(5, 17);
  EXPECT_EQ(hand.Cards, (TCards{3, 9, 0, 0, 0, 17}));
  hand.SetCard(1, 4);
  EXPECT_EQ(hand.Cards, (TCards{3, 4, 0, 0, 0, 17}));
  hand.SetCard(6, 8);
  EXPECT_EQ(hand.Cards, (TCards{3, 4, 0, 0, 0, 17, 8}));
}

TEST(THand, IndexesOutsideTheHandRaiseTheListIndexError) {
  THand hand{3, 9};
  const auto error = [&](auto action) -> std::string {
    try {
      action();
    } catch (const EZnError& e) {
      return e.what();
    }
    return "no error";
  };
  EXPECT_EQ(error([&] { hand.Card(2); }), "List index out of bounds (2)");
  EXPECT_EQ(error([&] { hand.Card(-1); }), "List index out of bounds (-1)");
  EXPECT_EQ(error([&] { hand.SetCard(-1, 5); }), "List index out of bounds (-1)");
  EXPECT_EQ(error([&] { hand.Exchange(0, 2); }), "List index out of bounds (2)");
  EXPECT_EQ(hand.Cards, (TCards{3, 9}));
  EXPECT_EQ(hand.Card(1), 9);
}

struct SortCase {
  TCards in;
  TCards out;
};

class SortTest : public ::testing::TestWithParam<SortCase> {};

TEST_P(SortTest, SortsAscendingBySignedValue) {
  THand hand(GetParam().in);
  hand.Sort();
  EXPECT_EQ(hand.Cards, GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SortTest,
    ::testing::Values(SortCase{{}, {}}, SortCase{{7}, {7}}, SortCase{{42, 1, 21, 6}, {1, 6, 21, 42}},
                      SortCase{{3, 3, 1, 3}, {1, 3, 3, 3}}, SortCase{{0, -4, 2, -9}, {-9, -4, 0, 2}},
                      SortCase{{INT32_MAX, INT32_MIN, 0}, {INT32_MIN, 0, INT32_MAX}},
                      SortCase{{10, 9, 8, 7, 6, 5, 4, 3, 2, 1}, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}}));

TEST(THand, ExchangeSwapsTwoEntries) {
  THand hand{1, 2, 3};
  hand.Exchange(0, 2);
  EXPECT_EQ(hand.Cards, (TCards{3, 2, 1}));
  hand.Exchange(1, 1);
  EXPECT_EQ(hand.Cards, (TCards{3, 2, 1}));
}

struct SuitCase {
  TCards hand;
  TCards counters;
};

class CountSuitsTest : public ::testing::TestWithParam<SuitCase> {};

TEST_P(CountSuitsTest, CountsEveryEntryIntoItsClass) {
  THand hand(GetParam().hand);
  THand target{9, 9, 9, 9, 9, 9, 9};
  hand.CountSuits(target);
  EXPECT_EQ(target.Cards, GetParam().counters);
}

INSTANTIATE_TEST_SUITE_P(Cases, CountSuitsTest,
                         ::testing::Values(SuitCase{{21, 1, 0, 42, 16}, {1, 0, 0, 1, 3}},
                                           SuitCase{{}, {0, 0, 0, 0, 0}},
                                           SuitCase{{5, 6, 10, 11, 15, 20}, {1, 2, 2, 1, 0}},
                                           SuitCase{{-1, 43, 1000, 41}, {0, 0, 0, 0, 4}}));

TEST(THand, CountSuitsIntoAShortTargetGivesFiveCounters) {
  THand hand{2, 7};
  THand target{0};
  hand.CountSuits(target);
  EXPECT_EQ(target.Cards, (TCards{1, 1, 0, 0, 0}));
  hand.CountSuits(hand);
  EXPECT_EQ(hand.Cards, (TCards{1, 1, 0, 0, 0}));
}

TEST(THand, IndexOfFindsTheFirstEqualEntry) {
  THand hand{4, 8, 15, 8};
  EXPECT_EQ(hand.IndexOf(8), 1);
  EXPECT_EQ(hand.IndexOf(4), 0);
  EXPECT_EQ(hand.IndexOf(16), -1);
  EXPECT_TRUE(hand.Has(15));
  EXPECT_FALSE(hand.Has(0));
  hand.SetCount(0);
  EXPECT_EQ(hand.IndexOf(4), -1);
}

TEST(THand, AsTextPutsASpaceBeforeEachEntry) {
  EXPECT_EQ((THand{3, 7, 42}).AsText(), " 3 7 42");
  EXPECT_EQ((THand{-5}).AsText(), " -5");
  EXPECT_EQ((THand{0, 0, 0, 0}).AsText(), " 0 0 0 0");
  THand empty{1};
  empty.SetCount(0);
  EXPECT_EQ(empty.AsText(), "");
}

struct ConfirmCase {
  bool answer;
  TCursor before;
};

// Notes the cursor at the moment the question box is open.
class CursorWatchingDesktop : public test::FakeDesktop {
 public:
  TCursor during = TCursor::Hourglass;
  bool AskYesNo(const std::string& question, const std::string& caption) override {
    during = CurrentCursor;
    return FakeDesktop::AskYesNo(question, caption);
  }
};

class ConfirmTest : public ::testing::TestWithParam<ConfirmCase> {};

TEST_P(ConfirmTest, AsksWithTheArrowAndRestoresTheCursor) {
  CursorWatchingDesktop desk;
  desk.CurrentCursor = GetParam().before;
  desk.YesNoAnswers = {GetParam().answer};
  TDesktop* previous = SetDesktop(&desk);
  const bool result = Confirm(std::string("Biztosan kilépsz?"_cp));
  SetDesktop(previous);
  EXPECT_EQ(result, GetParam().answer);
  EXPECT_EQ(desk.during, TCursor::Normal);
  EXPECT_EQ(desk.CurrentCursor, GetParam().before);
  ASSERT_EQ(desk.Log.size(), 1u);
  EXPECT_EQ(desk.Log[0], "ask:" + std::string("Jóváhagyás"_cp) + ":" + std::string("Biztosan kilépsz?"_cp));
}

INSTANTIATE_TEST_SUITE_P(Answers, ConfirmTest,
                         ::testing::Values(ConfirmCase{true, TCursor::Hourglass},
                                           ConfirmCase{false, TCursor::Hourglass},
                                           ConfirmCase{true, TCursor::Normal},
                                           ConfirmCase{false, TCursor::Normal}));

}  // namespace
}  // namespace zn
