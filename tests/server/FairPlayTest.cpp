// Fair play: keyed deals (the same n gives the same cards in every room and after a restart, and
// nothing else predicts them), one seat's view per deal, watchers at a seated member's address.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "server/base/ClubTexts.h"
#include "server/deals/SeatLedger.h"
#include "tests/fairplay/FairPlayCheck.h"
#include "tests/server/DealHarness.h"
#include "tests/support/TempDir.h"

namespace zn::server::test {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Not;
using ::testing::StartsWith;

std::string NoticeOf(std::string_view text) { return "M >>>>> " + std::string(text); }

TEST(DealKeyFile, SixtyFourHexDigitsAndNothingElse) {
  zn::test::TempDir dir;
  const std::string digits = "000102030405060708090a0b0c0d0e0f101112131415161718191A1B1C1D1E1F";
  const struct {
    std::string text;
    bool ok;
  } cases[] = {{digits, true},
               {"  " + digits + "\r\n", true},
               {digits.substr(1), false},
               {digits + "0", false},
               {digits + "00", false},
               {"0x" + digits.substr(2), false},
               {digits.substr(0, 63) + "g", false},
               {"", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    { std::ofstream(dir / "key", std::ios::binary) << c.text; }
    if (c.ok) {
      EXPECT_EQ(ReadDealKeyFile(dir / "key"), zn::test::kTestDealKey);
    } else {
      EXPECT_THROW(ReadDealKeyFile(dir / "key"), DealKeyError);
    }
  }
  EXPECT_THROW(ReadDealKeyFile(dir / "none"), DealKeyError);
  try {
    { std::ofstream(dir / "key", std::ios::binary) << "secret"; }
    ReadDealKeyFile(dir / "key");
  } catch (const DealKeyError& e) {
    EXPECT_THAT(e.what(), Not(::testing::HasSubstr("secret")));  // the file's text is never shown
  }
}

// A server keeps its key in the store: reopening the file deals n the same; a new file differs.
TEST(DealKeyStore, ARestartedServerDealsTheSameCards) {
  zn::test::TempDir dir;
  deal::DealKey first{};
  {
    SqliteStore store(dir / "club.db");
    first = store.DealKey();
    EXPECT_EQ(store.DealKey(), first);
  }
  SqliteStore again(dir / "club.db");
  EXPECT_EQ(again.DealKey(), first);
  EXPECT_EQ(deal::DealCards(4711, again.DealKey()).hands, deal::DealCards(4711, first).hands);
  SqliteStore other(dir / "other.db");
  EXPECT_NE(other.DealKey(), first);
}

// Members who log in from an address of their own.
class FairPlayTest : public DealFixture {
 protected:
  MemberId JoinFrom(const std::string& nickname, const std::string& address) {
    const MemberId id = ++lastId_;
    club().Connect(id, address);
    club().Receive(id, "N" + nickname);
    club().Receive(id, "E1");
    club().Flush();
    out.Take(id);
    return id;
  }
  void SetUp() override {
    anna = JoinFrom("anna", "10.0.0.1");
    Do(anna, "Rkertes");
    Do(anna, "E1");
    bela = JoinFrom("bela", "10.0.0.2");
    cili = JoinFrom("cili", "10.0.0.3");
    Do(anna, "S1");
    Do(bela, "S2");
    Do(anna, "S-3");
    Do(anna, "S-4");
    Do(anna, "D5");
    for (MemberId id : {anna, bela, cili}) out.Take(id);
  }
  std::vector<std::string> Hands(const std::vector<std::string>& lines) {
    std::vector<std::string> hands;
    for (const auto& l : lines)
      if (l[0] == 'H') hands.push_back(l.substr(0, 2));
    return hands;
  }
  const server::Seat& SeatAt(int s) { return club().RoomAt(1).seats[static_cast<std::size_t>(s)]; }

  MemberId anna = 0, bela = 0, cili = 0;
};

// Stand up, watch, sit down: the player who stood may not watch, nor take another seat; his own
// seat (a robot's now) he may take back, with his own hand only.
TEST_F(FairPlayTest, APlayerWhoStoodUpMayNotWatchNorTakeAnotherSeat) {
  Do(bela, "S0");
  EXPECT_THAT(Do(bela, "K1"), ElementsAre(NoticeOf(text::kSatThisDeal)));
  EXPECT_FALSE(club().Find(bela)->place.watching);
  EXPECT_THAT(Do(bela, "H0"), IsEmpty());
  EXPECT_THAT(Do(bela, "S3"), ElementsAre(NoticeOf(text::kOwnSeatOnly)));
  EXPECT_TRUE(SeatAt(3).robot);
  EXPECT_THAT(Hands(Do(bela, "S2")), ElementsAre("H2"));
}

// Watch, then take a robot's seat: refused, the robot stays; after the deal both are free again.
TEST_F(FairPlayTest, AWatcherMayNotSitUntilTheDealEnds) {
  EXPECT_EQ(Hands(Do(cili, "K1")), (std::vector<std::string>{"H1", "H2", "H3", "H4"}));
  Do(cili, "K0");
  EXPECT_THAT(Do(cili, "S3"), ElementsAre(NoticeOf(text::kWatchedThisDeal)));
  EXPECT_TRUE(SeatAt(3).robot);
  EXPECT_EQ(club().Find(cili)->place.seat, 0);
  // The deal is played out (anna and bela pass and play); then the watcher may sit, the player watch.
  Player& a = *players_.emplace_back(std::make_unique<Player>());
  Player& b = *players_.emplace_back(std::make_unique<Player>());
  a.id = anna, a.nickname = "anna", a.seat = 1;
  b.id = bela, b.nickname = "bela", b.seat = 2;
  club().Receive(anna, "H1");  // the players learn their hands again
  club().Receive(bela, "H2");
  Pump();
  Play(a, "Banna 0");
  ASSERT_EQ(Game()->CurrentPhase(), deal::Game::Phase::Over);
  out.Take(cili);
  Do(bela, "S0");
  EXPECT_THAT(Do(bela, "K1"), Not(Contains(StartsWith("M"))));
  EXPECT_THAT(Do(cili, "S3"), Not(Contains(StartsWith("M"))));
  EXPECT_EQ(club().Find(cili)->place.seat, 3);
}

// A watcher at the address of a member who holds a seat sees the public lines and is told why;
// another address, or a club that opens the rule, sees the hands.
struct AddressCase {
  const char* name;
  std::string seated, watcher;
  bool open;
  bool hands;
};
void PrintTo(const AddressCase& c, std::ostream* os) { *os << c.name; }

class SameAddressTest : public ClubFixture, public ::testing::WithParamInterface<AddressCase> {};

TEST_P(SameAddressTest, WatchersSeeHandsOnlyFromAnotherAddress) {
  const AddressCase& c = GetParam();
  ClubLimits limits;
  MakeClub(limits);
  Deals deals(
      club(), store_, out, [this] { return now; }, [] { return 1234; });
  deals.UseDealKey(zn::test::kTestDealKey);
  deals.OpenSameAddress(c.open);
  club().SetDeals(&deals);
  const auto join = [&](const std::string& nick, const std::string& address) {
    const MemberId id = ++lastId_;
    club().Connect(id, address);
    club().Receive(id, "N" + nick);
    return id;
  };
  const MemberId anna = join("anna", c.seated);
  Do(anna, "Rkertes");
  Do(anna, "E1");
  Do(anna, "S1");
  for (int s = 2; s <= 4; ++s) Do(anna, "S-" + std::to_string(s));
  const MemberId dora = join("dora", c.watcher);
  Do(dora, "E1");
  Do(dora, "K1");  // watching before the deal: the hands would come with "D"
  Do(anna, "D7");
  std::vector<std::string> lines = out.Take(dora);
  const auto more = Do(dora, "H0");  // the client asks again after every "R" line
  lines.insert(lines.end(), more.begin(), more.end());
  const auto hands = std::count_if(lines.begin(), lines.end(), [](const auto& l) { return l[0] == 'H'; });
  const auto told = std::count(lines.begin(), lines.end(), NoticeOf(text::kSameAddress));
  EXPECT_EQ(hands, c.hands ? 8 : 0);
  EXPECT_EQ(told, c.hands ? 0 : 1);
  EXPECT_THAT(lines, Contains("D7"));  // the public lines come all the same
  EXPECT_THAT(lines, Contains(StartsWith("B")));
  club().SetDeals(nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Addresses, SameAddressTest,
    ::testing::Values(AddressCase{"SameIPv4", "10.0.0.1", "10.0.0.1", false, false},
                      AddressCase{"SameIPv4Open", "10.0.0.1", "10.0.0.1", true, true},
                      AddressCase{"OtherIPv4", "10.0.0.1", "10.0.0.2", false, true},
                      AddressCase{"MappedIPv4", "10.0.0.1", "::ffff:10.0.0.1", false, false},
                      AddressCase{"SameIPv6Net", "2001:db8:1:2::5", "2001:db8:1:2::9", false, false},
                      AddressCase{"OtherIPv6Net", "2001:db8:1:2::5", "2001:db8:1:3::5", false, true}),
    [](const auto& info) { return std::string(info.param.name); });

// The reverse order: someone at an address watched with the hands; nobody from there may sit.
TEST_F(FairPlayTest, NobodyFromAWatchersAddressMaySit) {
  const MemberId dora = JoinFrom("dora", "10.0.0.3");  // cili's address
  EXPECT_EQ(Hands(Do(cili, "K1")).size(), 4u);
  EXPECT_THAT(Do(dora, "S3"), ElementsAre(NoticeOf(text::kWatchedFromAddress)));
  EXPECT_TRUE(SeatAt(3).robot);
}

// The pre-play attack: a member who saw the number of a running deal orders it and the numbers
// after it in a room of his own, and in later matches, to read the hands from the ends of those
// deals. The cards of a number come from the room's match, so none of them is a hand of the running
// deal; within one match a number ("D-1" too) deals the same cards, also after a restart.
TEST_F(FairPlayTest, NumbersOrderedElsewhereOrLaterPredictNoHandOfARunningDeal) {
  const auto running = deals_->GameIn(club().RoomAt(1))->Dealt().hands;  // deal 5 at anna's table
  int compared = 0;
  const auto check = [&](const deal::Game* g) {
    ASSERT_TRUE(g);
    for (int s = 1; s <= 4; ++s)
      for (int r = 1; r <= 4; ++r, ++compared)
        ASSERT_NE(g->Dealt().hands[static_cast<std::size_t>(s)], running[static_cast<std::size_t>(r)])
            << "deal " << g->Number() << " seat " << s;
  };
  const MemberId dani = JoinFrom("dani", "10.0.0.4");
  Do(dani, "Rpince");
  Do(dani, "E2");
  Do(dani, "S1");
  for (int s = 2; s <= 4; ++s) Do(dani, "S-" + std::to_string(s));
  for (std::int32_t n = 1; n <= 500; ++n) {  // the running number and those "Következő" orders
    Do(dani, "D" + std::to_string(4 + n));
    check(deals_->GameIn(club().RoomAt(2)));
  }
  for (int match = 0; match < 5; ++match) {  // later matches, here and there
    const MemberId who = match % 2 ? dani : anna;
    const Room& room = club().RoomAt(match % 2 ? 2 : 1);
    Do(who, "D0");
    for (std::int32_t n = 1; n <= 100; ++n) {
      Do(who, "D" + std::to_string(4 + n));
      check(deals_->GameIn(room));
    }
  }
  EXPECT_EQ(compared, 1000 * 16);

  Do(dani, "D7");
  const auto seven = deals_->GameIn(club().RoomAt(2))->Dealt().hands;
  Do(dani, "D8");
  Do(dani, "D7");
  EXPECT_EQ(deals_->GameIn(club().RoomAt(2))->Dealt().hands, seven);
  Do(dani, "D-1");
  EXPECT_EQ(deals_->GameIn(club().RoomAt(2))->Dealt().hands, seven);
  Rebuild(store_);  // the match is kept in the store
  const MemberId back = JoinFrom("dani", "10.0.0.4");
  Do(back, "E2");
  Do(back, "S1");
  for (int s = 2; s <= 4; ++s) Do(back, "S-" + std::to_string(s));
  Do(back, "D7");
  EXPECT_EQ(deals_->GameIn(club().RoomAt(2))->Dealt().hands, seven);
  ASSERT_TRUE(store_.MatchSecretOf(club().RoomAt(2).storeId));
  EXPECT_EQ(
      seven,
      deal::DealCards(7, zn::test::kTestDealKey, *store_.MatchSecretOf(club().RoomAt(2).storeId)).hands);
}

}  // namespace
}  // namespace zn::server::test
