// Claimed nicknames: who gets in under a nickname, by the --claims mode, the claim the store holds
// and what the client answers to the challenge.
#include <gtest/gtest.h>

#include <optional>

#include "link/Protocol.h"
#include "server/Options.h"
#include "server/base/Names.h"
#include "tests/server/ClubHarness.h"

namespace zn::server::test {
namespace {

const claim::TSecret kOwner = claim::ParseSecretCode(claim::SecretCode(claim::TSecret{1})).value();
const claim::TSecret kOther = claim::TSecret{2};
const std::string kRefused = "M >>>>> " + Cp(claim::kRefusedText);
const std::string kNeeded =
    Cp("M >>>>> Ezen a szerveren csak igazolt becenévvel lehet belépni: frissítsd a klienst!"_cp);
const std::string kClaimed = Cp("M >>>>> Ez a becenév mostantól a tiéd"_cp);

// What the client does with the challenge. Old: a client that did not announce it reads "Y";
// Silent: one that did, and then sends no proof.
enum class Client { Old, Silent, Owner, Other, Replay, OtherName };
struct ClaimCase {
  const char* name;
  ClaimMode mode;
  bool claimed;  // "Anna" is claimed for kOwner beforehand
  Client client;
  std::string outcome;  // "in", or the notice before the close
  bool claimedAfter;    // the store holds kOwner's key (or, for a free name proven by kOther, his)
};

class ClaimsTest : public ClubFixture {
 protected:
  Club& Make(ClaimMode mode) {
    ClubLimits limits;
    limits.claims = mode;
    Club& c = MakeClub(limits);
    c.SetNames(&store_);
    return c;
  }
  // The nonce of the challenge among lines, if one came.
  static std::optional<claim::TNonce> NonceIn(const std::vector<std::string>& lines) {
    for (const std::string& l : lines)
      if (!l.empty() && l[0] == 'Y') return proto::ReadChallenge(l);
    return std::nullopt;
  }
  static bool In(const std::vector<std::string>& lines) {
    for (const std::string& l : lines)
      if (!l.empty() && l[0] == 'I') return true;
    return false;
  }
  // Logs in as a client that reads claims; the member's lines so far are dropped.
  MemberId JoinAnnounced(const std::string& nickname) {
    const MemberId id = ++lastId_;
    club().Connect(id);
    club().Receive(id, proto::CmdReads(proto::kReadsClaims));
    club().Receive(id, "N" + nickname);
    club().Flush();
    out.Take(id);
    return id;
  }
};

class ClaimCaseTest : public ClaimsTest, public ::testing::WithParamInterface<ClaimCase> {};

TEST_P(ClaimCaseTest, LoginUnderTheNickname) {
  const ClaimCase& c = GetParam();
  Make(c.mode);
  if (c.claimed) store_.Claim(NameKey("anna"), claim::PublicKeyOf(kOwner));
  // A proof from an earlier login, for the replay.
  const claim::TProof stale = claim::MakeProof(kOwner, claim::NewNonce(), "Anna");

  club().Connect(1);
  if (c.client != Client::Old) club().Receive(1, proto::CmdReads(proto::kReadsClaims));
  std::vector<std::string> lines = Do(1, "NAnna");
  const auto nonce = NonceIn(lines);
  EXPECT_FALSE(c.client == Client::Old && nonce) << "a client that did not ask for claims got \"Y\"";
  if (nonce) {
    if (c.client == Client::Silent) Advance(std::chrono::seconds(11));  // no answer to the challenge
    if (c.client == Client::Replay) club().Receive(1, proto::CmdProof(stale));
    if (c.client != Client::Silent && c.client != Client::Replay)
      club().Receive(1, proto::CmdProof(claim::MakeProof(c.client == Client::Other ? kOther : kOwner, *nonce,
                                                         c.client == Client::OtherName ? "Bela" : "Anna")));
    club().Flush();
    const std::vector<std::string> more = out.Take(1);
    lines.insert(lines.end(), more.begin(), more.end());
  }
  if (c.outcome == "in") {
    EXPECT_TRUE(In(lines)) << ::testing::PrintToString(lines);
    EXPECT_FALSE(out.closed.count(1));
  } else {
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), c.outcome);
    EXPECT_FALSE(In(lines));
    EXPECT_TRUE(out.closed.count(1));
  }
  EXPECT_EQ(store_.ClaimOf(NameKey("ANNA")).has_value(), c.claimedAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Modes, ClaimCaseTest,
    ::testing::Values(
        ClaimCase{"OnFreeOldClient", ClaimMode::On, false, Client::Old, "in", false},
        ClaimCase{"OnClaimedOwner", ClaimMode::On, true, Client::Owner, "in", true},
        ClaimCase{"OnClaimedOtherSecret", ClaimMode::On, true, Client::Other, kRefused, true},
        ClaimCase{"OnClaimedOldClient", ClaimMode::On, true, Client::Old, kRefused, true},
        ClaimCase{"OnClaimedNoProof", ClaimMode::On, true, Client::Silent, kRefused, true},
        ClaimCase{"RequiredFreeNoProof", ClaimMode::Required, false, Client::Silent, kNeeded, false},
        ClaimCase{"OnClaimedReplay", ClaimMode::On, true, Client::Replay, kRefused, true},
        ClaimCase{"OnClaimedSignedForAnother", ClaimMode::On, true, Client::OtherName, kRefused, true},
        ClaimCase{"RequiredFreeOldClient", ClaimMode::Required, false, Client::Old, kNeeded, false},
        ClaimCase{"RequiredFreeNewClient", ClaimMode::Required, false, Client::Other, "in", true},
        ClaimCase{"RequiredClaimedOwner", ClaimMode::Required, true, Client::Owner, "in", true},
        ClaimCase{"OffClaimedOldClient", ClaimMode::Off, true, Client::Old, "in", true}));

// The whole life of a name: claimed after a free login, taken along by the same secret on a new
// connection (another secret is refused in the table above), freed by the operator.
TEST_F(ClaimsTest, ClaimRefuseReturnRelease) {
  Make(ClaimMode::On);
  EXPECT_TRUE(Do(Join("Bella"), "Y").empty()) << "a request from a client that did not announce claims";
  const MemberId first = JoinAnnounced("Anna");
  const auto nonce = NonceIn(Do(first, "Y"));
  ASSERT_TRUE(nonce);
  EXPECT_TRUE(Do(first, "Y").empty());  // one challenge at a time
  EXPECT_EQ(Do(first, proto::CmdProof(claim::MakeProof(kOwner, *nonce, "Anna"))), std::vector{kClaimed});
  EXPECT_TRUE(Do(first, "Y").empty());  // proven: nothing more to ask
  EXPECT_EQ(store_.ClaimOf(NameKey("anna")), claim::PublicKeyOf(kOwner));
  club().Disconnect(first);

  club().Connect(3);
  club().Receive(3, proto::CmdReads(proto::kReadsClaims));
  const auto third = NonceIn(Do(3, "NAnna"));
  ASSERT_TRUE(third);
  const std::string proof = proto::CmdProof(claim::MakeProof(kOwner, *third, "Anna"));
  EXPECT_TRUE(In(Do(3, proof)));
  // The same proof again: its nonce is spent.
  EXPECT_EQ(Do(3, proof), std::vector{Cp("M >>>>> Nincs megválaszolatlan névigazolás"_cp)});
  club().Disconnect(3);

  EXPECT_TRUE(store_.Release(NameKey("ANNA")));
  EXPECT_FALSE(store_.Release(NameKey("ANNA")));
  club().Connect(4);
  EXPECT_TRUE(In(Do(4, "NAnna")));  // free again: in at once, whatever the client reads
}

// A member who floods "Y", or sends proofs he has no challenge for (for nicknames he does not
// hold), gets one challenge at most and no signature check, and the command limit closes him.
TEST_F(ClaimsTest, FloodsAreBoundedByTheRateLimit) {
  Make(ClaimMode::On);
  const std::string forged = proto::CmdProof(claim::MakeProof(kOther, claim::NewNonce(), "Anna"));
  for (const std::string& flood : {std::string("Y"), forged}) {
    const MemberId id = JoinAnnounced("Mallory");
    int challenges = 0, sent = 0;
    for (; sent < 1000 && !out.closed.count(id); ++sent)
      for (const std::string& l : Do(id, flood)) challenges += l[0] == 'Y';
    EXPECT_TRUE(out.closed.count(id));
    EXPECT_LE(sent, 100);
    EXPECT_LE(challenges, 1);
    club().Disconnect(id);
  }
  EXPECT_FALSE(store_.ClaimOf(NameKey("Anna")));
}

TEST(ClaimOptionsTest, ModeAndRelease) {
  Options o;
  std::string error;
  EXPECT_EQ(ParseOptions({"--claims", "required", "--release", "Ödön"}, o, error), ParseResult::Run);
  EXPECT_EQ(o.server.limits.claims, ClaimMode::Required);
  EXPECT_EQ(o.release, Cp("Ödön"_cp));
  EXPECT_EQ(ParseOptions({"--claims", "maybe"}, o, error), ParseResult::Error);
  EXPECT_EQ(error, "--claims must be off, on or required: maybe");
}

}  // namespace
}  // namespace zn::server::test
