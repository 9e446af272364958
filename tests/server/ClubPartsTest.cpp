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
    return gate.Prove(id, proto::CmdProof(claim::MakeProof(secret, challenge, "Anna"))).verdict;
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

}  // namespace
}  // namespace zn::server::test
