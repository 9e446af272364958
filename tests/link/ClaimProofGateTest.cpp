// Which challenges the client signs: only those it waits for, once each, a few a minute, and only
// for the club its address answered for before.
#include <gtest/gtest.h>

#include "link/ClaimProofGate.h"

namespace zn::claim {
namespace {

using V = TProofGate::TVerdict;

TEST(ClaimProofGate, SignsOnlyWhatItWaitsForAndForTheKnownClub) {
  const TClubId home{1};
  const TClubId other{2};
  struct Case {
    const char* name;
    bool loginSent, lobby, requested;
    std::optional<TClubId> known;
    TClubId offered;
    V verdict;
  };
  for (const Case& c : {
           Case{"BeforeTheLogin", false, false, false, std::nullopt, home, V::Unasked},
           Case{"LoggingInFirstUse", true, false, false, std::nullopt, home, V::Sign},
           Case{"LoggingInKnownClub", true, false, false, home, home, V::Sign},
           Case{"RelayedFromAnotherClub", true, false, false, home, other, V::OtherClub},
           Case{"InTheLobbyUnasked", true, true, false, home, home, V::Unasked},
           Case{"InTheLobbyAsked", true, true, true, home, home, V::Sign},
       }) {
    TProofGate gate;
    gate.NewConnection();
    if (c.loginSent) gate.LoginSent();
    if (c.lobby) gate.LobbyReached();
    if (c.requested) gate.Requested();
    EXPECT_EQ(gate.Judge(c.known, c.offered, 0), c.verdict) << c.name;
    EXPECT_EQ(gate.Judge(c.known, c.offered, 0), V::Unasked) << c.name << ": a second challenge";
  }
}

// A server that closes and challenges again on every new connection gets a few signatures a
// minute, however fast it goes.
TEST(ClaimProofGate, ABurstSignsAtMostTheLimit) {
  TProofGate gate;
  std::size_t signs = 0;
  for (std::int64_t ms = 0; ms < TProofGate::kMinuteMs; ms += 30) {
    gate.NewConnection();
    gate.LoginSent();
    signs += gate.Judge(TClubId{1}, TClubId{1}, ms) == V::Sign;
  }
  EXPECT_EQ(signs, TProofGate::kSignsPerMinute);
  gate.NewConnection();
  gate.LoginSent();
  EXPECT_EQ(gate.Judge(TClubId{1}, TClubId{1}, TProofGate::kMinuteMs), V::Sign) << "a minute later";
}

}  // namespace
}  // namespace zn::claim
