// What a hostile member with many addresses and nicknames tries: filling the club with connections
// or idle logins, creating every room under fresh nicknames, flooding the log with churn.
#include "server/base/Addresses.h"
#include "tests/server/ClubHarness.h"

namespace zn::server::test {
namespace {

using namespace std::chrono_literals;

TEST(AddressKey, CountsIPv4WholeAndIPv6ByItsSlash64) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"10.0.0.1", "10.0.0.1"},
      {"::ffff:10.0.0.1", "10.0.0.1"},
      {"2001:db8:1:2:aaaa::1", "2001:db8:1:2::/64"},
      {"2001:0db8:0001:0002:bbbb:cccc:dddd:eeee", "2001:db8:1:2::/64"},
      {"2001:db8:1:3::1", "2001:db8:1:3::/64"},
      {"::1", "0:0:0:0::/64"},
      {"not an address", "not an address"},
      {"", ""},
  };
  for (const auto& [address, key] : cases) EXPECT_EQ(AddressKey(address), key) << address;
}

TEST(AddressKey, NetworksAreASlash24OrASlash48) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"10.0.0.1", "10.0.0.0/24"},
      {"10.0.0.254", "10.0.0.0/24"},
      {"::ffff:10.0.0.7", "10.0.0.0/24"},
      {"2001:db8:1:2:aaaa::1", "2001:db8:1::/48"},
      {"2001:db8:1:ffff::1", "2001:db8:1::/48"},
      {"2001:db8:2::1", "2001:db8:2::/48"},
      {"not an address", ""},
      {"", ""},
  };
  for (const auto& [address, key] : cases) EXPECT_EQ(PrefixKey(address), key) << address;
}

class AddressLimitsTest : public ClubFixture {
 protected:
  MemberId ConnectFrom(const std::string& address) {
    const MemberId id = ++lastId_;
    club().Connect(id, address);
    return id;
  }
  MemberId JoinFrom(const std::string& address, const std::string& nickname) {
    const MemberId id = ConnectFrom(address);
    Do(id, "N" + nickname);
    return id;
  }
  bool Refused(MemberId id, std::string_view text) {
    const auto lines = out.Take(id);
    const std::string notice = "M >>>>> " + std::string(text);
    return out.closed.count(id) && std::find(lines.begin(), lines.end(), notice) != lines.end();
  }
};

TEST_F(AddressLimitsTest, OneSlash64IsOneAddress) {
  ClubLimits limits;
  limits.maxPerAddress = 2;
  MakeClub(limits);
  ConnectFrom("2001:db8::1");
  ConnectFrom("2001:db8::2");
  EXPECT_TRUE(Refused(ConnectFrom("2001:db8::ffff:3"), "Erről a címről túl sok kapcsolat van nyitva"_cp));
  EXPECT_FALSE(out.closed.count(ConnectFrom("2001:db8:0:1::1")));
}

// One address is refused before its connections count, and the last places stay for addresses with
// nothing open: a flood from a few addresses leaves room for a newcomer.
TEST_F(AddressLimitsTest, AFloodNeverKeepsANewcomerOut) {
  ClubLimits limits;
  limits.maxMembers = 20;  // two places kept for fresh addresses
  limits.maxPerAddress = 2;
  MakeClub(limits);
  for (int i = 0; i < 100; ++i) ConnectFrom("10.0.0.1");  // two stay, 98 are refused
  for (int a = 2; a <= 9; ++a)
    for (int i = 0; i < 2; ++i) ConnectFrom("10.0.0." + std::to_string(a));
  EXPECT_TRUE(Refused(ConnectFrom("10.0.0.9"), "Erről a címről túl sok kapcsolat van nyitva"_cp));
  const MemberId crowd = ConnectFrom("10.0.1.1");  // place 19 of 20: a fresh address
  EXPECT_FALSE(out.closed.count(crowd));
  EXPECT_TRUE(Refused(ConnectFrom("10.0.1.1"), "A klub megtelt, próbáld később!"_cp));  // reserve
  const MemberId newcomer = ConnectFrom("10.0.2.1");
  EXPECT_FALSE(out.closed.count(newcomer));
  EXPECT_TRUE(Refused(ConnectFrom("10.0.3.1"), "A klub megtelt, próbáld később!"_cp));
}

// Sixteen addresses of one network fill what they may; the reserved places stay for others.
TEST_F(AddressLimitsTest, ManyAddressesOfOneNetworkNeverKeepAStrangerOut) {
  const struct {
    const char* name;
    std::string (*address)(int i);  // the i-th address of the crowd's network
    const char* stranger;
  } cases[] = {
      {"IPv4 /24", [](int i) { return "10.1.1." + std::to_string(i + 1); }, "10.1.2.1"},
      {"IPv4 mapped", [](int i) { return "::ffff:10.1.1." + std::to_string(i + 1); }, "::ffff:10.9.9.9"},
      {"IPv6 /64s of one /48", [](int i) { return "2001:db8:1:" + std::to_string(i + 1) + "::1"; },
       "2001:db8:2::1"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ClubLimits limits;
    limits.maxMembers = 20;  // two places kept
    limits.maxPerAddress = 2;
    MakeClub(limits);
    int in = 0;
    for (int i = 0; i < 16; ++i)
      for (int k = 0; k < 2; ++k) in += out.closed.count(ConnectFrom(c.address(i))) ? 0 : 1;
    EXPECT_EQ(in, 18) << "the crowd takes every place but the reserved ones";
    EXPECT_TRUE(Refused(ConnectFrom(c.address(20)), "A klub megtelt, próbáld később!"_cp));
    const MemberId stranger = ConnectFrom(c.stranger);
    EXPECT_FALSE(out.closed.count(stranger));
    for (MemberId id = 1; id <= lastId_; ++id) club().Disconnect(id);
    out.closed.clear();
  }
}

TEST_F(AddressLimitsTest, NewConnectionsPerAddressAreLimitedPerMinute) {
  ClubLimits limits;
  limits.connectsPerMinute = 3;
  MakeClub(limits);
  for (int i = 0; i < 3; ++i) club().Disconnect(ConnectFrom("10.0.0.1"));
  EXPECT_TRUE(Refused(ConnectFrom("10.0.0.1"),
                      "Erről a címről túl sok új kapcsolat jött, próbáld újra egy perc múlva"_cp));
  EXPECT_FALSE(out.closed.count(ConnectFrom("10.0.0.2")));
  Advance(1min);
  EXPECT_FALSE(out.closed.count(ConnectFrom("10.0.0.1")));
}

TEST_F(AddressLimitsTest, FreshNicknamesOfOneAddressShareItsRoomLimit) {
  ClubLimits limits;
  limits.roomsPerHourPerAddress = 2;
  MakeClub(limits);
  for (int i = 0; i < 2; ++i)
    Do(JoinFrom("2001:db8::" + std::to_string(i + 1), "nick" + std::to_string(i)),
       "Rroom" + std::to_string(i));
  const MemberId third = JoinFrom("2001:db8::99", "nick9");
  out.Take(third);
  EXPECT_THAT(Do(third, "Rroom9"),
              ::testing::Contains("M >>>>> " + Cp("Egy órán belül több termet nem nyithatsz"_cp)));
  EXPECT_EQ(club().LiveRooms(), 2u);
  Advance(1h);
  EXPECT_THAT(
      Do(third, "Rroom9"),
      ::testing::Not(::testing::Contains("M >>>>> " + Cp("Egy órán belül több termet nem nyithatsz"_cp))));
}

// Silence costs the place after the idle time, answers do not count as sending, and a member
// seated in a running deal is the deal's business.
class RunningDeals : public NoDeals {
 public:
  using NoDeals::NoDeals;
  bool DealRunning(const Room&) const override { return true; }
};

TEST_F(AddressLimitsTest, IdleMembersAreClosedUnlessSeatedInARunningDeal) {
  RunningDeals deals(out);
  club().SetDeals(&deals);
  const MemberId idle = Join("anna");
  const MemberId talker = Join("bela");
  const MemberId answerer = Join("cili");
  const MemberId seated = Join("dani");
  const MemberId pinger = Join("erik");  // a client keeping its link alive, nobody at the keys
  Do(seated, "Rkertes");
  Do(seated, "E1");
  Do(seated, "S1");
  for (int i = 0; i < 7; ++i) {
    Advance(9min);
    Do(talker, "Mszia");
    club().Receive(answerer, "Wbela cili 0 0 0 0 ");  // its lines stay for Refused
    club().Receive(pinger, "G");
  }
  club().Flush();
  for (MemberId closed : {idle, answerer, pinger})
    EXPECT_TRUE(Refused(closed, "Egy órája nem küldtél semmit, a kapcsolat megszakad"_cp)) << closed;
  EXPECT_FALSE(out.closed.count(talker));
  EXPECT_FALSE(out.closed.count(seated));
  club().SetDeals(nullptr);
}

// Churn from one address writes a few lines a minute and then one line of counts.
TEST_F(AddressLimitsTest, ChurnOfOneAddressWritesAFewLinesAMinute) {
  ClubLimits limits;
  limits.connectsPerMinute = 1u << 20;
  MakeClub(limits);
  std::vector<std::string> logged;
  SetLogSink([&](std::string_view line) { logged.emplace_back(line); });
  for (int i = 0; i < 1000; ++i) {
    const MemberId id = JoinFrom("10.0.0.1", "churn" + std::to_string(i % 10));
    club().Disconnect(id, "closed by peer");
    Advance(10ms);
  }
  const MemberId other = ConnectFrom("10.0.0.2");
  EXPECT_EQ(logged.size(), Addresses::kLoggedPerMinute + 1);
  EXPECT_EQ(logged.back(), "connect #" + std::to_string(other) + " from 10.0.0.2");
  Advance(1min);
  club().Disconnect(ConnectFrom("10.0.0.1"));
  EXPECT_EQ(logged[logged.size() - 2], "address 10.0.0.1: 3990 more lines not logged");
  SetLogSink([](std::string_view) {});
}

}  // namespace
}  // namespace zn::server::test
