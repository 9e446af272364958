#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "game/Cp1250.h"
#include "game/ZnError.h"
#include "link/Protocol.h"

namespace zn::proto {
namespace {

using namespace zn::literals;

std::string S(std::string_view v) { return std::string(v); }

// ---- Every builder's exact bytes ---------------------------------------------------------------

struct BuildCase {
  const char* name;
  std::function<std::string()> build;
  std::string expected;
};

void PrintTo(const BuildCase& c, std::ostream* os) { *os << c.name; }

class BuilderTest : public ::testing::TestWithParam<BuildCase> {};

TEST_P(BuilderTest, ProducesTheExactBytes) { EXPECT_EQ(GetParam().build(), GetParam().expected); }

const std::string kBela = S("béla"_cp);
const std::string kPagatUlti = S("Pagát\u00A0ulti"_cp);
const std::string kGem = S("Gém"_cp);

INSTANTIATE_TEST_SUITE_P(
    Commands, BuilderTest,
    ::testing::Values(BuildCase{"nick", [] { return CmdNick(kBela); }, S("Nbéla"_cp)},
                      BuildCase{"chat", [] { return CmdChat("szia x#D0"); }, "Mszia x#D0"},
                      BuildCase{"chatEmpty", [] { return CmdChat(""); }, "M"},
                      BuildCase{"ping", [] { return CmdPing(); }, "G"},
                      BuildCase{"news", [] { return CmdNews(); }, "L"},
                      BuildCase{"newRoom", [] { return CmdNewRoom(S("Kék terem"_cp)); }, S("RKék terem"_cp)},
                      BuildCase{"enter", [] { return CmdEnter(2); }, "E2"},
                      BuildCase{"lobby", [] { return CmdEnter(0); }, "E0"},
                      BuildCase{"sit", [] { return CmdSit(3); }, "S3"},
                      BuildCase{"stand", [] { return CmdSit(0); }, "S0"},
                      BuildCase{"robot", [] { return CmdSit(-3); }, "S-3"},
                      BuildCase{"hand", [] { return CmdHand(2); }, "H2"},
                      BuildCase{"handWatching", [] { return CmdHand(0); }, "H0"},
                      BuildCase{"optionOn", [] { return CmdOption(true); }, "A1"},
                      BuildCase{"optionOff", [] { return CmdOption(false); }, "A0"},
                      BuildCase{"replay", [] { return CmdDeal(-1); }, "D-1"},
                      BuildCase{"newMatch", [] { return CmdDeal(0); }, "D0"},
                      BuildCase{"nextDeal", [] { return CmdDeal(19); }, "D19"},
                      BuildCase{"typedDeal", [] { return CmdDealTyped("007"); }, "D007"},
                      BuildCase{"watch", [] { return CmdWatch(true); }, "K1"},
                      BuildCase{"unwatch", [] { return CmdWatch(false); }, "K0"},
                      BuildCase{"bids",
                                [] {
                                  return CmdBids(kBela, {kPagatUlti, "*" + kGem});
                                },
                                S("Bbéla 2 Pagát\u00A0ulti *Gém"_cp)},
                      BuildCase{"pass", [] { return CmdBids("anna", {}); }, "Banna 0"},
                      BuildCase{"play", [] { return CmdPlay(42); }, "P42"},
                      BuildCase{"trickDone", [] { return CmdTrickDone(); }, "T"},
                      BuildCase{"result", [] { return CmdResult("12:-4"); }, "F12:-4"},
                      BuildCase{"inquiry", [] { return CmdInquiry("anna", kBela); }, S("Qanna béla"_cp)},
                      BuildCase{"answer",
                                [] {
                                  return CmdAnswer("Bela Anna", {"Vada Vivo", "", "Szia!~", ""});
                                },
                                "WBela Anna 9 0 6 0 Vada VivoSzia!~"},
                      BuildCase{"answerCp1250",
                                [] {
                                  return CmdAnswer("anna béla"_cp, {S("Béla"_cp), "", "", S("Gém"_cp)});
                                },
                                S("Wanna béla 4 0 0 3 BélaGém"_cp)}));

INSTANTIATE_TEST_SUITE_P(
    ServerLines, BuilderTest,
    ::testing::Values(BuildCase{"version", [] { return LineVersion("0.99"); }, "L0.99"},
                      BuildCase{"message", [] { return LineMessage(S(" >>>>> Hibás licit: Gém"_cp)); },
                                S("M >>>>> Hibás licit: Gém"_cp)},
                      BuildCase{"ping", [] { return LinePing(); }, "G"},
                      BuildCase{"optionOn", [] { return LineOption(true); }, "A1"},
                      BuildCase{"optionOff", [] { return LineOption(false); }, "A0"},
                      BuildCase{"deal", [] { return LineDeal(1017); }, "D1017"},
                      BuildCase{"turn", [] { return LineTurn(); }, "T"},
                      BuildCase{"lobby",
                                [] {
                                  return LineLobby({{S("Társalgó"_cp), S("Kék"_cp), "Piros"},
                                                    {{0, "anna"}, {0, kBela}, {2, "cili"}}});
                                },
                                S("I3 Társalgó Kék Piros 3 0 anna 0 béla 2 cili"_cp)},
                      BuildCase{"emptyLobby",
                                [] {
                                  return LineLobby({{S("Társalgó"_cp)}, {}});
                                },
                                S("I1 Társalgó 0"_cp)},
                      BuildCase{"room",
                                [] {
                                  return LineRoom({"5", {{1, "anna"}, {3, kBela}, {0, "cili"}}});
                                },
                                S("R5 1 anna 3 béla 0 cili"_cp)},
                      BuildCase{"emptyRoom",
                                [] {
                                  return LineRoom({"0", {}});
                                },
                                "R0"},
                      BuildCase{"robotInRoom",
                                [] {
                                  return LineRoom({"2", {{2, "-Robot2"}}});
                                },
                                "R2 2 -Robot2"},
                      BuildCase{"openingBids", [] { return LineBidding(1, {}); }, "B1"},
                      BuildCase{"bidding",
                                [] {
                                  return LineBidding(1, {{"Anna", {"Trull", kGem}},
                                                         {S("Béla"_cp), {}},
                                                         {"Cili", {"*" + kGem}},
                                                         {"Dani", {kPagatUlti}}});
                                },
                                S("B1Anna 2 Trull Gém Béla 0 Cili 1 *Gém Dani 1 Pagát\u00A0ulti"_cp)},
                      BuildCase{"hand",
                                [] {
                                  return LineHand(1, {3, 12, 21, 22, 25, 30, 33, 38, 41, 42});
                                },
                                "H1 3 12 21 22 25 30 33 38 41 42"},
                      BuildCase{"emptyHand", [] { return LineHand(2, {}); }, "H2"},
                      BuildCase{"play",
                                [] {
                                  return LinePlay(3, 4, 1, {7, 25, 0, 0});
                                },
                                "P3 4 1 7 25 0 0"},
                      BuildCase{"trickComplete",
                                [] {
                                  return LinePlay(0, 10, 6, {42, 5, 21, 30});
                                },
                                "P0 10 6 42 5 21 30"},
                      BuildCase{"score",
                                [] {
                                  return LineScore(1, {{S("Ütések"_cp), 2}, {kGem, 5}, {kPagatUlti, -10}});
                                },
                                S("X1 Ütések 2 Gém 5 Pagát\u00A0ulti -10"_cp)},
                      BuildCase{"emptyScore", [] { return LineScore(2, {}); }, "X2 "},
                      BuildCase{"result", [] { return LineResult(12, -4); }, "F12:-4"},
                      BuildCase{"relayHash", [] { return Relayable("x#D0##"); }, "x?D0??"},
                      BuildCase{"relayPlain", [] { return Relayable(S("béla"_cp)); }, S("béla"_cp)}));

// ---- The line-code table ------------------------------------------------------------------------

struct RoleCase {
  std::string line;
  TLineRole role;
};

void PrintTo(const RoleCase& c, std::ostream* os) { *os << '"' << c.line << '"'; }

class RoleTest : public ::testing::TestWithParam<RoleCase> {};

TEST_P(RoleTest, DispatchesByTheFirstByte) { EXPECT_EQ(RoleOf(GetParam().line), GetParam().role); }

INSTANTIATE_TEST_SUITE_P(
    Codes, RoleTest,
    ::testing::Values(RoleCase{"A1", TLineRole::RoomOption}, RoleCase{"B1", TLineRole::Bidding},
                      RoleCase{"D42", TLineRole::Deal}, RoleCase{"F12:0", TLineRole::Result},
                      RoleCase{"G", TLineRole::Ping}, RoleCase{"H1 3", TLineRole::Hand},
                      RoleCase{"I1 x 0", TLineRole::Lobby}, RoleCase{"L0.99", TLineRole::Version},
                      RoleCase{"Mhi", TLineRole::Message}, RoleCase{"P0 1 0 1 2 3 4", TLineRole::Play},
                      RoleCase{"Qa b", TLineRole::Inquiry}, RoleCase{"R0", TLineRole::Room},
                      RoleCase{"T", TLineRole::Turn}, RoleCase{"Wa b 0 0 0 0 ", TLineRole::Profile},
                      RoleCase{"X1 ", TLineRole::Score}, RoleCase{"Y", TLineRole::Challenge},
                      RoleCase{"Zzenit-deal 1", TLineRole::Record}, RoleCase{"C1", TLineRole::Closing},
                      RoleCase{"E", TLineRole::CaughtUp}, RoleCase{"V3", TLineRole::Reads}));

INSTANTIATE_TEST_SUITE_P(
    Others, RoleTest,
    ::testing::Values(RoleCase{"", TLineRole::Unknown}, RoleCase{"a1", TLineRole::Unknown},
                      RoleCase{"m hi", TLineRole::Unknown}, RoleCase{" M", TLineRole::Unknown},
                      RoleCase{"#M", TLineRole::Unknown}, RoleCase{"c1", TLineRole::Unknown},
                      RoleCase{"J0", TLineRole::Unknown}, RoleCase{"N", TLineRole::Unknown},
                      RoleCase{"O", TLineRole::Unknown}, RoleCase{"1", TLineRole::Unknown},
                      RoleCase{S("Ágnes"_cp), TLineRole::Unknown},
                      RoleCase{std::string(1, '\0'), TLineRole::Unknown},
                      RoleCase{S(" >>>>> Adatátviteli hiba. Lépj ki és indítsd újra!"_cp),
                               TLineRole::Unknown}));

TEST(LineCodes, AreDistinctUpperCaseLettersInOrder) {
  for (std::size_t i = 0; i < kLineCodes.size(); ++i) {
    EXPECT_TRUE(kLineCodes[i].code >= 'A' && kLineCodes[i].code <= 'Z');
    EXPECT_NE(kLineCodes[i].role, TLineRole::Unknown);
    EXPECT_EQ(RoleOf(std::string(1, kLineCodes[i].code)), kLineCodes[i].role);
    if (i > 0) {
      EXPECT_LT(kLineCodes[i - 1].code, kLineCodes[i].code);
    }
  }
}

TEST(CommandCodes, HaveTheirShapesAndNothingElseHasOne) {
  const std::string expected = "NMGLRESHADKBPTFQYWZV";
  ASSERT_EQ(kCommandCodes.size(), expected.size());
  for (std::size_t i = 0; i < kCommandCodes.size(); ++i) {
    EXPECT_EQ(kCommandCodes[i].code, expected[i]);
    TCommandShape shape{};
    EXPECT_TRUE(ShapeOf(kCommandCodes[i].code, shape));
    EXPECT_EQ(shape, kCommandCodes[i].shape);
  }
  const std::pair<std::string, TCommandShape> byShape[] = {
      {"GLT", TCommandShape::Bare}, {"ESHKADPZ", TCommandShape::SignedNumber},
      {"F", TCommandShape::Result}, {"B", TCommandShape::Bids},
      {"W", TCommandShape::Answer}, {"Y", TCommandShape::Proof},
      {"NMRQ", TCommandShape::Rest}};
  for (const auto& [codes, want] : byShape)
    for (char c : codes) {
      TCommandShape shape{};
      ASSERT_TRUE(ShapeOf(c, shape)) << c;
      EXPECT_EQ(shape, want) << c;
    }
  for (int b = 0; b < 256; ++b) {
    const char c = static_cast<char>(b);
    TCommandShape shape{};
    EXPECT_EQ(ShapeOf(c, shape), expected.find(c) != std::string::npos) << b;
  }
}

}  // namespace
}  // namespace zn::proto
