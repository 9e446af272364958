// Every builder against its reader: what one side builds, the other reads back whole; and what a
// reader keeps, and where it says it stopped, when a line is malformed.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "game/Cp1250.h"
#include "link/Protocol.h"

namespace zn::proto {
namespace {

using namespace zn::literals;

std::string S(std::string_view v) { return std::string(v); }

const std::string kBela = S("béla"_cp);
const std::string kPagatUlti = S("Pagát\u00A0ulti"_cp);
const std::string kGem = S("Gém"_cp);

// ---- Build, read, compare -----------------------------------------------------------------------

struct RoundTrip {
  const char* name;
  std::function<bool()> same;  // builds, reads back, compares with what was built from
};
void PrintTo(const RoundTrip& c, std::ostream* os) { *os << c.name; }

class RoundTripTest : public ::testing::TestWithParam<RoundTrip> {};
TEST_P(RoundTripTest, ReadsBackWhatWasBuilt) { EXPECT_TRUE(GetParam().same()); }

template <class T>
bool Whole(const TRead<T>& read, const T& expected) {
  if (!read.stop.Failed() && read.value == expected) return true;
  ADD_FAILURE() << "read   " << ::testing::PrintToString(read) << "\nwanted "
                << ::testing::PrintToString(expected);
  return false;
}

INSTANTIATE_TEST_SUITE_P(
    Lines, RoundTripTest,
    ::testing::Values(
        RoundTrip{"version", [] { return ReadText(LineVersion(kVersion)) == kVersion; }},
        RoundTrip{"message",
                  [] {
                    return ReadText(LineMessage(S(" >>>>> Hibás licit: Gém"_cp))) ==
                           S(" >>>>> Hibás licit: Gém"_cp);
                  }},
        RoundTrip{"option", [] { return ParseOption(LineOption(true)) && !ParseOption(LineOption(false)); }},
        RoundTrip{"deal", [] { return ParseDeal(LineDeal(-2147483647)) == -2147483647; }},
        RoundTrip{"lobby",
                  [] {
                    const TLobby lobby{{S("Társalgó"_cp), S("Kőr"_cp)}, {{1, "-Robot2"}, {0, S("Ödön"_cp)}}};
                    return Whole(ReadLobby(LineLobby(lobby)), lobby);
                  }},
        RoundTrip{"room",
                  [] {
                    const TRoom room{"7", {{1, kBela}, {2, "-Robot2"}, {0, "anna"}}};
                    return Whole(ReadRoom(LineRoom(room)), room);
                  }},
        RoundTrip{"biddingOpens",
                  [] {
                    return Whole(ReadBidding(LineBidding(3, {})), TBidding{3, {}});
                  }},
        RoundTrip{"bidding",
                  [] {
                    const std::vector<TBidBlock> blocks{{kBela, {kPagatUlti, "*" + kGem}}, {"anna", {}}};
                    return Whole(ReadBidding(LineBidding(1, blocks)), TBidding{1, blocks});
                  }},
        RoundTrip{"hand",
                  [] {
                    return Whole(ReadHand(LineHand(2, {1, 21, 42})), THandLine{2, {1, 21, 42}});
                  }},
        RoundTrip{"handEmpty",
                  [] {
                    return Whole(ReadHand(LineHand(4, {})), THandLine{4, {}});
                  }},
        RoundTrip{"play",
                  [] {
                    return Whole(ReadPlay(LinePlay(0, 10, 3, {5, 0, 42, 21})),
                                 TPlayLine{0, 10, "3", {5, 0, 42, 21}});
                  }},
        RoundTrip{"score",
                  [] {
                    const std::vector<TScoreItem> items{{S("Ütések"_cp), -2}, {"**" + kGem, 10}};
                    return Whole(ReadScore(LineScore(1, items)), TScore{1, items}) &&
                           Whole(ReadScore(LineScore(2, {})), TScore{2, {}});
                  }},
        RoundTrip{"result",
                  [] {
                    return ReadResult(LineResult(-12, 40)) == TResultText{"-12", "40"};
                  }},
        RoundTrip{"record",  // a block of lines in one line, without a "#" that would cut it
                  [] {
                    const std::string block = "zenit-deal 1\nroom K" + S("ék"_cp) + "\nend\n";
                    return ReadRecord(LineRecord(block)) == block &&
                           LineRecord(block).find('\n') == std::string::npos &&
                           ReadRecord(LineRecord("a#b\n")) == "a?b\n";
                  }},
        RoundTrip{"inquiry",  // the server passes the member's "Q" on as the line
                  [] {
                    return ReadInquiry(CmdInquiry("anna", kBela)) == TInquiry{"anna", kBela};
                  }},
        RoundTrip{"answer",
                  [] {
                    const TAnswer answer{"anna", kBela, {"Kiss Béla", "", "Szia!~", "~"}};
                    return Whole(ReadAnswer(CmdAnswer("anna " + kBela, answer.texts)), answer);
                  }},
        RoundTrip{"challenge", [] {
                    const claim::TChallenge c{claim::NewNonce(), claim::NewClubId()};
                    const std::string line = LineChallenge(c);
                    return ReadChallenge(line) == c && !ReadChallenge("Y") &&
                           !ReadChallenge(line.substr(0, 65)) && !ReadChallenge(line + "0") &&
                           !ReadChallenge("Y" + std::string(128, 'G'));
                  }}));

INSTANTIATE_TEST_SUITE_P(
    Commands, RoundTripTest,
    ::testing::Values(
        RoundTrip{"nick", [] { return ReadText(CmdNick(kBela)) == kBela; }},
        RoundTrip{"chat", [] { return ReadText(CmdChat("szia x#D0")) == "szia x#D0"; }},
        RoundTrip{"newRoom", [] { return ReadText(CmdNewRoom(S("Kék"_cp))) == S("Kék"_cp); }},
        RoundTrip{"numbers",
                  [] {
                    return ReadCmdNumber(CmdEnter(12)) == 12 && ReadCmdNumber(CmdSit(-3)) == -3 &&
                           ReadCmdNumber(CmdHand(0)) == 0 && ReadCmdNumber(CmdOption(true)) == 1 &&
                           ReadCmdNumber(CmdDeal(-1)) == -1 && ReadCmdNumber(CmdWatch(false)) == 0 &&
                           ReadCmdNumber(CmdPlay(42)) == 42 && ReadCmdNumber(CmdDealTyped("+5")) == 5;
                  }},
        RoundTrip{"bids",
                  [] {
                    const TBidCommand read = ReadCmdBids(CmdBids(kBela, {kPagatUlti, "*" + kGem}));
                    return read.counted && read.block == TBidBlock{kBela, {kPagatUlti, "*" + kGem}};
                  }},
        RoundTrip{"pass",
                  [] {
                    const TBidCommand read = ReadCmdBids(CmdBids(kBela, {}));
                    return read.counted && read.count == "0" && read.block.bids.empty();
                  }},
        RoundTrip{"result",
                  [] {
                    return ReadCmdResult(CmdResult("-5:120")) == TPoints{-5, 120};
                  }},
        RoundTrip{
            "proof", [] {
              const claim::TProof proof = claim::MakeProof(claim::TSecret{7}, {claim::NewNonce(), {}}, kBela);
              return ReadCmdProof(CmdProof(proof)) == proof && !ReadCmdProof(CmdClaimRequest()) &&
                     !ReadCmdProof(CmdProof(proof).substr(1));
            }}));

// ---- Malformed lines: what was read stays, the stop names the field -----------------------------

struct BadRead {
  std::string line;
  std::function<TReadStop(const std::string&)> read;  // the stop, after checking what was kept
  std::string error;
  int field;
};
void PrintTo(const BadRead& c, std::ostream* os) { *os << '"' << c.line << '"'; }

class MalformedTest : public ::testing::TestWithParam<BadRead> {};
TEST_P(MalformedTest, KeepsWhatCameBeforeAndSaysWhereItStopped) {
  const TReadStop stop = GetParam().read(GetParam().line);
  EXPECT_EQ(stop.error, GetParam().error);
  EXPECT_EQ(stop.field, GetParam().field);
  EXPECT_TRUE(stop.Before(GetParam().field));
  EXPECT_FALSE(stop.Before(GetParam().field - 1));
}

// Each reader is checked for what it kept; a mismatch fails inside and is reported by the case.
template <class T>
std::function<TReadStop(const std::string&)> Keeps(TRead<T> (*reader)(std::string_view), T kept) {
  return [reader, kept](const std::string& line) {
    const TRead<T> r = reader(line);
    EXPECT_EQ(r.value, kept) << line;
    return r.stop;
  };
}

const std::string kNotInt = "' is not a valid integer value";

INSTANTIATE_TEST_SUITE_P(
    Lines, MalformedTest,
    ::testing::Values(
        BadRead{"Bx", Keeps(ReadBidding, TBidding{}), "'x" + kNotInt, 0},
        BadRead{"B", Keeps(ReadBidding, TBidding{}), "'" + kNotInt, 0},
        BadRead{"B1anna 1 Gem bela x", Keeps(ReadBidding, TBidding{1, {{"anna", {"Gem"}}, {"bela", {}}}}),
                "'x" + kNotInt, 1},
        BadRead{"H", Keeps(ReadHand, THandLine{}), "'" + kNotInt, 0},
        BadRead{"H2 5 k 7", Keeps(ReadHand, THandLine{2, {5}}), "'k" + kNotInt, 1},
        BadRead{"Pz 1 0 0 0 0 0", Keeps(ReadPlay, TPlayLine{}), "'z" + kNotInt, 0},
        BadRead{"P1 ? 0", Keeps(ReadPlay, TPlayLine{1, 0, "", {}}), "'?" + kNotInt, 1},
        BadRead{"P2 3 1 5 0", Keeps(ReadPlay, TPlayLine{2, 3, "1", {5, 0}}), "'" + kNotInt, 2},
        BadRead{"X1 Gem 5 Vizi x", Keeps(ReadScore, TScore{1, {{"Gem", 5}}}), "'x" + kNotInt, 1},
        BadRead{"X2 Gem", Keeps(ReadScore, TScore{2, {}}), "'" + kNotInt, 1},
        BadRead{"I2 a b 3 0 anna x c", Keeps(ReadLobby, TLobby{{"a", "b"}, {{0, "anna"}}}), "'x" + kNotInt,
                2},
        BadRead{"I1 a b", Keeps(ReadLobby, TLobby{{"a"}, {}}), "'b" + kNotInt, 1},
        BadRead{"R3 1 anna y bela", Keeps(ReadRoom, TRoom{"3", {{1, "anna"}}}), "'y" + kNotInt, 1},
        BadRead{"WBela Anna 1 x 0 0 abc", Keeps(ReadAnswer, TAnswer{"Bela", "Anna", {}}), "'x" + kNotInt,
                0}));

TEST(ReadCommands, RefuseWhatIsNoNumberOrDoesNotAddUp) {
  EXPECT_EQ(ReadCmdNumber("E"), std::nullopt);
  EXPECT_EQ(ReadCmdNumber("S1x"), std::nullopt);
  EXPECT_EQ(ReadCmdNumber("D99999999999"), std::nullopt);
  EXPECT_EQ(ReadCmdResult("F5"), std::nullopt);
  EXPECT_EQ(ReadCmdResult("F5:x"), std::nullopt);
  // A count that is no number, negative, or not the number of bids that follow.
  for (const char* bad : {"Banna x Gem", "Banna -1", "Banna 2 Gem", "Banna 0 Gem", "Banna"})
    EXPECT_FALSE(ReadCmdBids(bad).counted) << bad;
  EXPECT_EQ(ReadCmdBids("Banna 2 Gem").count, "2");
}

}  // namespace
}  // namespace zn::proto
