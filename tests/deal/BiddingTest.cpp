// The server's checks of a set of bids and the end of bidding.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "deal/BidNames.h"
#include "deal/Bidding.h"
#include "game/BidCatalogData.h"
#include "game/Cp1250.h"

namespace zn::deal {
namespace {

using namespace zn::literals;
using Set = std::vector<std::string>;

// Eight tarokks from the Pagát up, a Treff and a Káró: gives "8 Tarokk" and "Matador".
const TCards kStrong = {1, 6, 21, 22, 23, 24, 25, 26, 27, 28};
const TCards kWeak = {2, 3, 7, 8, 12, 13, 17, 18, 30, 31};

std::string S(std::string_view cp) { return std::string(cp); }

struct SetCase {
  const char* name;
  Set bids;
  std::string refused;  // empty: accepted
};
void PrintTo(const SetCase& c, std::ostream* os) { *os << c.name; }

class FirstSet : public ::testing::TestWithParam<SetCase> {};

TEST_P(FirstSet, IsCheckedBidByBid) {
  const Bidding b(1);
  const auto refused = b.Refusal(GetParam().bids, kStrong);
  if (GetParam().refused.empty())
    EXPECT_FALSE(refused.has_value()) << *refused;
  else
    EXPECT_EQ(refused.value_or("<accepted>"), GetParam().refused);
}

INSTANTIATE_TEST_SUITE_P(
    Checks, FirstSet,
    ::testing::Values(SetCase{"pass", {}, ""}, SetCase{"game", {S("Gém"_cp)}, ""},
                      SetCase{"signals the hand gives", {S("8\u00A0Tarokk"_cp), "Matador"}, ""},
                      SetCase{"magasito", {S("Pagát\u00A0ulti"_cp), S("Kőr\u00A0ulti"_cp)}, ""},
                      SetCase{"suit banda", {S("Pikk\u00A0banda"_cp)}, ""},
                      SetCase{"unknown", {"Gem", S("Gém"_cp)}, "Gem"},
                      SetCase{"ordinary space", {S("Gém"_cp), "Pagát ulti"}, "Pagát ulti"},
                      SetCase{"banda needs a suit", {S("Pagát\u00A0banda"_cp)}, S("Pagát\u00A0banda"_cp)},
                      SetCase{"twice", {S("Gém"_cp), S("Volát"_cp), S("gém"_cp)}, S("gém"_cp)},
                      SetCase{"signal the hand lacks", {S("9\u00A0Tarokk"_cp)}, S("9\u00A0Tarokk"_cp)},
                      SetCase{"flush the hand lacks", {"Flush"}, "Flush"},
                      SetCase{"two of the chain", {S("Honőr"_cp), S("Köpf"_cp)}, S("Köpf"_cp)},
                      SetCase{"chain downwards", {"Trull", S("Honőr"_cp)}, S("Honőr"_cp)},
                      SetCase{"kontra of nothing", {S("*Gém"_cp)}, S("*Gém"_cp)},
                      SetCase{"kontra of a signal", {"*Matador"}, "*Matador"}),
    [](const auto& info) {
      std::string n = info.param.name;
      for (char& c : n)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
      return n;
    });

TEST(Bidding, AnEmptyTokenIsRefused) {
  EXPECT_EQ(Bidding(1).Refusal(Set{S("Gém"_cp), ""}, kStrong), std::optional<std::string>(""));
}

// A whole bidding: each step the seat on turn, its set, and the refusal (empty: accepted).
TEST(Bidding, PairsRulesOverSeveralTurns) {
  Bidding b(1);
  struct Step {
    int seat;
    Set bids;
    std::string refused;
  };
  const Step steps[] = {
      {1, {S("Gém"_cp), S("Honőr"_cp), "Matador"}, ""},
      {2, {S("*Gém"_cp), S("*Honőr"_cp)}, ""},
      {3, {S("*Gém"_cp)}, S("*Gém"_cp)},    // the partner's kontra again
      {3, {S("**Gém"_cp)}, S("**Gém"_cp)},  // no kontra of theirs to answer
      {3, {}, ""},
      {4, {S("Gém"_cp)}, S("Gém"_cp)},         // the partner bid it
      {4, {S("Köpf"_cp), S("**Gém"_cp)}, ""},  // raising the chain; rekontra of the kontra'd Gém
      {1, {S("Honőr"_cp)}, S("Honőr"_cp)},     // no lowering after the partner's Köpf
      {1, {"Matador"}, "Matador"},             // a signal the seat gave before
      {1, {"Trull"}, ""},
      {2, {"*Trull"}, ""},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(testing::Message() << "seat " << s.seat << " " << (s.bids.empty() ? "" : s.bids[0]));
    ASSERT_EQ(b.OnTurn(), s.seat);
    const TCards& hand = s.seat == 1 ? kStrong : kWeak;
    const auto refused = b.Refusal(s.bids, hand);
    EXPECT_EQ(refused.value_or(""), s.refused);
    if (!refused) b.Accept(s.bids);
  }
  EXPECT_EQ(b.BidsOfSeat(4), (Set{S("Köpf"_cp), S("**Gém"_cp)}));
  EXPECT_EQ(b.BidsOfPair(2), (Set{S("*Gém"_cp), S("*Honőr"_cp), "*Trull"}));
}

TEST(Bidding, AnotherSeatMayGiveTheSameSignal) {
  Bidding b(3);
  EXPECT_EQ(b.OnTurn(), 3);
  b.Accept({"Matador"});
  b.Accept({});
  EXPECT_EQ(b.OnTurn(), 1);
  EXPECT_FALSE(b.Refusal(Set{"Matador"}, kStrong).has_value());
}

TEST(Bidding, EndsAfterFourPassesInARow) {
  Bidding b(3);
  b.Accept({S("Gém"_cp)});
  for (int i = 0; i < 3; ++i) {
    b.Accept({});
    EXPECT_FALSE(b.Over());
  }
  EXPECT_EQ(b.OnTurn(), 3);
  b.Accept({});
  EXPECT_TRUE(b.Over());
  EXPECT_EQ(b.OnTurn(), 0);
  EXPECT_EQ(b.Blocks().size(), 5u);
  b.Accept({"Volát"});  // nothing more is taken
  EXPECT_EQ(b.Blocks().size(), 5u);
  EXPECT_TRUE(b.Refusal(Set{"Volát"}, kStrong).has_value());
}

TEST(Bidding, EndsAfterEightRounds) {
  Bidding b(1);
  int n = 0;
  while (!b.Over()) {
    // A fresh magasító every turn: prefix word n % 8 with suffix n / 8.
    const std::string bid =
        std::string(PrefixWord(n % kPrefixCount)) + std::string(CatalogEntry(3, n / kPrefixCount));
    ASSERT_FALSE(b.Refusal(Set{bid}, kWeak).has_value()) << bid;
    b.Accept({bid});
    ++n;
  }
  EXPECT_EQ(n, kMaxRounds * 4);
}

}  // namespace
}  // namespace zn::deal
