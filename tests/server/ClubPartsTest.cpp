// The objects the club owns, each without the club: the lobby pacer, the room quota, the takeover
// probes and the claims gate.
#include <gtest/gtest.h>

#include "link/Protocol.h"
#include "server/base/Names.h"
#include "server/club/ClaimGate.h"
#include "server/club/LobbyPacer.h"
#include "server/club/RoomQuota.h"
#include "server/club/Takeovers.h"

namespace zn::server::test {
namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;

const SteadyTime kStart{std::chrono::hours(1)};

TEST(LobbyPacerTest, OneLinePerIntervalAndOneBuildPerChange) {
  LobbyPacer pacer(milliseconds(2000), 0);
  int builds = 0;
  const auto build = [&] { return "L" + std::to_string(++builds); };
  const auto all = [](MemberId) { return true; };
  const auto send = [&](SteadyTime now, std::size_t audience) {
    std::vector<MemberId> due = pacer.TakeDue(now, all);
    for (MemberId id : due) {
      pacer.Line(build);
      pacer.Sent(id, now, audience);
    }
    return due;
  };
  pacer.Arrive(1, kStart);
  pacer.Arrive(2, kStart);
  EXPECT_EQ(send(kStart, 2), (std::vector<MemberId>{1, 2}));
  EXPECT_EQ(builds, 1);  // both got the same line
  EXPECT_EQ(pacer.Seen(1), pacer.Generation());
  pacer.Changed({1, 2});
  EXPECT_EQ(pacer.NextDue(), kStart + milliseconds(2000));
  EXPECT_TRUE(send(kStart + milliseconds(1999), 2).empty());
  EXPECT_EQ(send(kStart + milliseconds(2000), 2), (std::vector<MemberId>{1, 2}));
  EXPECT_EQ(builds, 2);
  pacer.Changed({1});
  EXPECT_TRUE(pacer.TakeDue(kStart + seconds(9), [](MemberId) { return false; }).empty());
  EXPECT_FALSE(pacer.NextDue());  // a member who left the lobby lost his turn
}

TEST(LobbyPacerTest, ACrowdedLobbyStretchesTheInterval) {
  LobbyPacer pacer(milliseconds(100), 1000);  // 1,000 bytes a second for a whole round
  pacer.Arrive(1, kStart);
  pacer.TakeDue(kStart, [](MemberId) { return true; });
  pacer.Line([] { return std::string(100, 'x'); });
  pacer.Sent(1, kStart, 50);  // 100 bytes to 50 members: 5 s a round
  pacer.Changed({1});
  EXPECT_EQ(pacer.NextDue(), kStart + seconds(5));
}

TEST(RoomQuotaTest, CountsPerNicknameAndPerAddressWithinAnHour) {
  RoomQuota quota(2, 3, 100);
  struct Step {
    const char* who;
    const char* address;
    bool may;
  };
  const Step steps[] = {
      {"anna", "1.2.3.4", true}, {"anna", "1.2.3.4", true},  {"anna", "1.2.3.4", false},  // own limit
      {"bela", "1.2.3.4", true}, {"cili", "1.2.3.4", false},                              // address full
      {"cili", "", true},  // no address counts only the nickname
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(std::string(s.who) + " " + s.address);
    EXPECT_EQ(quota.May(s.who, s.address, kStart), s.may);
    if (s.may) quota.Count(s.who, s.address, kStart);
  }
  EXPECT_TRUE(quota.May("anna", "1.2.3.4", kStart + std::chrono::hours(1)));
}

TEST(TakeoversTest, OneProbeAtATimeAndNoneSoonAfterProvedAlive) {
  Takeovers t;
  EXPECT_TRUE(t.MayProbe(1, kStart));
  t.Start(2, 1, "Anna", kStart, 0);
  t.Start(4, 3, "Bela", kStart + seconds(1), 0);
  EXPECT_FALSE(t.MayProbe(1, kStart));
  EXPECT_TRUE(t.Awaiting(2));
  EXPECT_EQ(t.NextDue(), kStart + Takeovers::kProbeWait);
  EXPECT_TRUE(t.TakeDue(kStart + Takeovers::kProbeWait - milliseconds(1)).empty());
  const auto due = t.TakeDue(kStart + Takeovers::kProbeWait);
  ASSERT_EQ(due.size(), 1u);
  EXPECT_EQ(due[0].newcomer, 2u);
  EXPECT_FALSE(t.Awaiting(2));
  t.ProvedAlive(1, kStart + seconds(5));
  EXPECT_FALSE(t.MayProbe(1, kStart + seconds(5) + Takeovers::kSilentAfter - seconds(1)));
  EXPECT_TRUE(t.MayProbe(1, kStart + seconds(5) + Takeovers::kSilentAfter));
}

TEST(ClaimGateTest, AtLoginByModeAndClaim) {
  const claim::TPublicKey key = claim::PublicKeyOf(claim::TSecret{1});
  struct Case {
    ClaimMode mode;
    bool claimed;
    ClaimGate::Entry entry;
  };
  const Case cases[] = {
      {ClaimMode::Off, true, ClaimGate::Entry::Admit},
      {ClaimMode::On, false, ClaimGate::Entry::Admit},
      {ClaimMode::On, true, ClaimGate::Entry::Challenge},
      {ClaimMode::Required, false, ClaimGate::Entry::ChallengeFree},
      {ClaimMode::Required, true, ClaimGate::Entry::Challenge},
  };
  for (const Case& c : cases) {
    ClaimGate gate(c.mode, seconds(10));
    MemoryNames names;
    if (c.claimed) names.Claim(NameKey("anna"), key);
    gate.SetNames(&names);
    EXPECT_EQ(gate.AtLogin("Anna"), c.entry) << static_cast<int>(c.mode) << c.claimed;
  }
}

TEST(ClaimGateTest, AProofAnswersItsChallengeOnceAndLapses) {
  const claim::TSecret owner{1};
  const claim::TSecret other{2};
  ClaimGate gate(ClaimMode::On, seconds(10));
  const auto prove = [&](MemberId id, const claim::TSecret& secret, const claim::TChallenge& challenge) {
    return gate.Prove(id, proto::CmdProof(claim::MakeProof(secret, challenge, "Anna")), "10.0.0.1", kStart)
        .verdict;
  };
  const claim::TChallenge first = gate.Challenge(1, "Anna", true, kStart);
  EXPECT_FALSE(gate.MayRequest(1));
  EXPECT_EQ(prove(1, owner, first), ClaimGate::Verdict::Claimed);
  EXPECT_EQ(prove(1, owner, first), ClaimGate::Verdict::NoChallenge);  // a replay
  EXPECT_FALSE(gate.MayRequest(1));                                    // proven already

  const claim::TChallenge second = gate.Challenge(2, "Anna", false, kStart);
  EXPECT_EQ(prove(2, other, second), ClaimGate::Verdict::Bad);
  const claim::TChallenge third = gate.Challenge(3, "Anna", false, kStart);
  EXPECT_EQ(prove(3, owner, third), ClaimGate::Verdict::Proven);

  gate.Challenge(4, "Bela", true, kStart + seconds(1));
  EXPECT_TRUE(gate.TakeLapsed(kStart + seconds(10)).empty());
  EXPECT_EQ(gate.TakeLapsed(kStart + seconds(11)), (std::vector<std::pair<MemberId, bool>>{{4, true}}));
  EXPECT_TRUE(gate.MayRequest(4));
}

// One squatter with many names, and with many addresses of one network, claims only a few; a
// stranger elsewhere still claims; the limits open again when their window has passed.
TEST(ClaimGateTest, ClaimsAreLimitedPerAddressAndNetwork) {
  struct Case {
    const char* what;
    std::vector<std::string> addresses;  // one claim try from each, in turn
    SteadyTime::duration step;           // time between tries
    std::size_t claimed;
  };
  std::vector<std::string> network, sixty(60, "10.1.2.3"), v6;
  for (int i = 0; i < 16; ++i) network.push_back("10.1.2." + std::to_string(10 + i));
  for (int i = 0; i < 16; ++i) v6.push_back("2001:db8:7:" + std::to_string(i) + "::1");
  const Case cases[] = {
      {"sixty from one address in a minute", sixty, seconds(1), 3},
      {"one address over a day", std::vector<std::string>(48, "10.1.2.3"), std::chrono::minutes(30), 10},
      {"sixteen addresses of one /24", network, seconds(1), 10},
      {"sixteen /64s of one /48", v6, seconds(1), 10},
      {"strangers of other networks", {"10.1.2.3", "10.9.2.3", "192.0.2.1", "2001:db8:9::1"}, seconds(1), 4},
  };
  const claim::TSecret secret{7};
  for (const Case& c : cases) {
    ClaimGate gate(ClaimMode::On, seconds(10), {.perHourPerAddress = 3, .perDayPerNetwork = 10});
    std::size_t claimed = 0;
    SteadyTime now = kStart;
    for (std::size_t i = 0; i < c.addresses.size(); ++i, now += c.step) {
      const std::string nick = "Nev" + std::to_string(i);
      const auto id = static_cast<MemberId>(i + 1);
      const claim::TChallenge challenge = gate.Challenge(id, nick, true, now);
      const auto verdict =
          gate.Prove(id, proto::CmdProof(claim::MakeProof(secret, challenge, nick)), c.addresses[i], now)
              .verdict;
      if (verdict == ClaimGate::Verdict::Claimed)
        ++claimed;
      else
        EXPECT_EQ(verdict, ClaimGate::Verdict::Limited) << c.what << " " << i;
    }
    EXPECT_EQ(claimed, c.claimed) << c.what;
  }
}

// A proven login counts as the nickname's use; a claim nobody used for the policy's time is freed,
// once at the start and then once a day, never with the release switched off.
TEST(ClaimGateTest, UnusedClaimsAreFreedDaily) {
  std::int64_t wall = 1'000'000'000;
  MemoryNames names([&] { return wall; });
  const claim::TSecret secret{3};
  const claim::TPublicKey key = claim::PublicKeyOf(secret);
  names.Claim(NameKey("Anna"), key);
  names.Claim(NameKey("Bela"), key);
  ClaimGate gate(ClaimMode::On, seconds(10), {.releaseUnused = std::chrono::hours(24 * 10)});
  gate.SetNames(&names);
  ClaimGate never(ClaimMode::On, seconds(10), {.releaseUnused = std::chrono::hours(0)});
  never.SetNames(&names);

  EXPECT_EQ(gate.ReleaseUnused(kStart), 0u);  // the start: nothing old yet
  wall += 9 * 86400;                          // Anna logs in on day 9
  const claim::TChallenge challenge = gate.Challenge(1, "Anna", false, kStart);
  EXPECT_EQ(
      gate.Prove(1, proto::CmdProof(claim::MakeProof(secret, challenge, "Anna")), "10.0.0.1", kStart).verdict,
      ClaimGate::Verdict::Proven);
  wall += 2 * 86400;  // day 11: Bela unused for 11 days, Anna for 2
  EXPECT_EQ(gate.ReleaseUnused(kStart + std::chrono::hours(23)), 0u);  // not yet a day since the last
  EXPECT_EQ(never.ReleaseUnused(kStart + std::chrono::hours(24)), 0u);
  EXPECT_EQ(gate.ReleaseUnused(kStart + std::chrono::hours(24)), 1u);
  EXPECT_TRUE(names.ClaimOf(NameKey("Anna")));
  EXPECT_FALSE(names.ClaimOf(NameKey("Bela")));
}

}  // namespace
}  // namespace zn::server::test
