#include <gtest/gtest.h>

#include <string>

#include "game/Cp1250.h"
#include "game/ZnError.h"
#include "link/Protocol.h"

namespace zn::proto {
namespace {

using namespace zn::literals;

std::string S(std::string_view v) { return std::string(v); }

// The message of the EZnError that f raises; "no error" when it returns.
template <class F>
std::string ErrorOf(F f) {
  try {
    f();
  } catch (const EZnError& e) {
    return e.what();
  }
  return "no error";
}

TEST(ParseLobby, ReadsRoomsAndMembers) {
  const TLobby lobby = ParseLobby(S("I3 Társalgó Kék Piros 3 0 anna 0 béla 2 cili"_cp));
  EXPECT_EQ(lobby.rooms, (std::vector<std::string>{S("Társalgó"_cp), S("Kék"_cp), "Piros"}));
  EXPECT_EQ(lobby.members, (std::vector<TLobbyMember>{{0, "anna"}, {0, S("béla"_cp)}, {2, "cili"}}));
}

TEST(ParseLobby, RoundTripsWhatTheServerBuilds) {
  const TLobby sent{{S("Társalgó"_cp), S("Kőr"_cp)}, {{1, "-Robot2"}, {0, S("Ödön"_cp)}}};
  EXPECT_EQ(ParseLobby(LineLobby(sent)), sent);
}

TEST(ParseLobby, KeepsARoomIndexOutsideTheListForTheWindowToRefuse) {
  const TLobby lobby = ParseLobby("I2 a b 3 5 x -1 y 2 z");
  EXPECT_EQ(lobby.members, (std::vector<TLobbyMember>{{5, "x"}, {-1, "y"}, {2, "z"}}));
}

TEST(ParseLobby, StopsAtTheEndOfTheLineWhateverTheCounts) {
  // Two billion members announced, two present: nothing is reserved or read past the line.
  TLobby lobby = ParseLobby("I1 a 2000000000 0 x 0 y");
  EXPECT_EQ(lobby.members, (std::vector<TLobbyMember>{{0, "x"}, {0, "y"}}));
  // The room names run out; "0" is taken as a name and the member count is missing.
  EXPECT_EQ(ErrorOf([] { ParseLobby("I2147483647 a b 0"); }), "'' is not a valid integer value");
  lobby = ParseLobby("I1 a 1");
  EXPECT_EQ(lobby.rooms, (std::vector<std::string>{"a"}));
  EXPECT_TRUE(lobby.members.empty());
  lobby = ParseLobby("I-5 0");
  EXPECT_TRUE(lobby.rooms.empty());
  EXPECT_TRUE(lobby.members.empty());
}

struct BadLine {
  std::string line;
  std::string error;
};
void PrintTo(const BadLine& c, std::ostream* os) { *os << '"' << c.line << '"'; }

class BadLobbyTest : public ::testing::TestWithParam<BadLine> {};
TEST_P(BadLobbyTest, RaisesTheConversionError) {
  EXPECT_EQ(ErrorOf([] { ParseLobby(GetParam().line); }), GetParam().error);
}
INSTANTIATE_TEST_SUITE_P(
    Lines, BadLobbyTest,
    ::testing::Values(BadLine{"I", "'' is not a valid integer value"},
                      BadLine{"", "'' is not a valid integer value"},
                      BadLine{"Ix a", "'x' is not a valid integer value"},
                      BadLine{"I 1 a 0", "'' is not a valid integer value"},
                      BadLine{"I1 a b", "'b' is not a valid integer value"},
                      BadLine{"I1 a 1 x anna", "'x' is not a valid integer value"},
                      BadLine{"I99999999999 a", "'99999999999' is not a valid integer value"},
                      BadLine{S("I1 a 2 0 anna kő béla"_cp), S("'kő' is not a valid integer value"_cp)}));

TEST(ParseLobby, KeepsWhatWasReadBeforeAnError) {
  TLobby lobby{{"old"}, {{0, "old"}}};
  EXPECT_EQ(ErrorOf([&] { ParseLobbyInto(S("I2 a b 3 0 anna x béla"_cp), lobby); }),
            "'x' is not a valid integer value");
  EXPECT_EQ(lobby.rooms, (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(lobby.members, (std::vector<TLobbyMember>{{0, "anna"}}));
}

TEST(ParseRoom, ReadsThePlayedCountAndTheSeats) {
  const TRoom room = ParseRoom(S("R5 1 anna 3 béla 0 cili"_cp));
  EXPECT_EQ(room.played, "5");
  EXPECT_EQ(room.members, (std::vector<TRoomMember>{{1, "anna"}, {3, S("béla"_cp)}, {0, "cili"}}));
}

TEST(ParseRoom, TakesThePlayedTokenUnconvertedAndOddSeatsAsSent) {
  TRoom room = ParseRoom("Rx7 -2 -Robot2 9 dani");
  EXPECT_EQ(room.played, "x7");
  EXPECT_EQ(room.members, (std::vector<TRoomMember>{{-2, "-Robot2"}, {9, "dani"}}));
  room = ParseRoom("R");
  EXPECT_EQ(room.played, "");
  EXPECT_TRUE(room.members.empty());
  room = ParseRoom("R3 1");  // a pair cut short: the nickname is empty
  EXPECT_EQ(room.members, (std::vector<TRoomMember>{{1, ""}}));
}

TEST(ParseRoom, KeepsWhatWasReadBeforeAnError) {
  TRoom room{"9", {{4, "old"}}};
  EXPECT_EQ(ErrorOf([&] { ParseRoomInto(S("R5 1 anna egy béla"_cp), room); }),
            "'egy' is not a valid integer value");
  EXPECT_EQ(room.played, "5");
  EXPECT_EQ(room.members, (std::vector<TRoomMember>{{1, "anna"}}));
  EXPECT_EQ(ErrorOf([] { ParseRoom("R5 1 anna  "); }), "'' is not a valid integer value");
}

TEST(ParseRoom, RoundTripsWhatTheServerBuilds) {
  const TRoom sent{"12", {{1, S("Ödön"_cp)}, {2, "-Robot2"}, {0, "cili"}}};
  EXPECT_EQ(ParseRoom(LineRoom(sent)), sent);
}

struct DealCase {
  std::string line;
  bool ok;
  std::int32_t value;
  std::string error;
};
void PrintTo(const DealCase& c, std::ostream* os) { *os << '"' << c.line << '"'; }

class ParseDealTest : public ::testing::TestWithParam<DealCase> {};
TEST_P(ParseDealTest, ReadsAtMostElevenCharacters) {
  const DealCase& c = GetParam();
  if (c.ok) {
    EXPECT_EQ(ParseDeal(c.line), c.value);
  } else {
    EXPECT_EQ(ErrorOf([&] { ParseDeal(c.line); }), c.error);
  }
}
INSTANTIATE_TEST_SUITE_P(
    Lines, ParseDealTest,
    ::testing::Values(DealCase{"D42", true, 42, ""}, DealCase{"D007", true, 7, ""},
                      DealCase{"D-1", true, -1, ""}, DealCase{"D+5", true, 5, ""},
                      DealCase{"D-2147483648", true, INT32_MIN, ""}, DealCase{"D00000000042", true, 42, ""},
                      // A twelfth character is not read.
                      DealCase{"D000000000042", true, 4, ""},
                      DealCase{"D12345678901x", false, 0, "'12345678901' is not a valid integer value"},
                      DealCase{"D2147483648", false, 0, "'2147483648' is not a valid integer value"},
                      DealCase{"D", false, 0, "'' is not a valid integer value"},
                      DealCase{"D 42", false, 0, "' 42' is not a valid integer value"},
                      DealCase{"D42 ", false, 0, "'42 ' is not a valid integer value"},
                      DealCase{"Dx", false, 0, "'x' is not a valid integer value"}));

TEST(ParseOption, IsOnOnlyForAOne) {
  EXPECT_TRUE(ParseOption("A1"));
  EXPECT_TRUE(ParseOption("A1x"));
  EXPECT_FALSE(ParseOption("A0"));
  EXPECT_FALSE(ParseOption("A"));
  EXPECT_FALSE(ParseOption("A2"));
  EXPECT_FALSE(ParseOption(""));
}

TEST(ParseAnswer, ReadsTheFourTextsByTheirByteLengths) {
  const TAnswer a = ParseAnswer("WBela Anna 9 0 6 0 Vada VivoSzia!~");
  EXPECT_EQ(a.asker, "Bela");
  EXPECT_EQ(a.nickname, "Anna");
  EXPECT_EQ(a.texts, (std::array<std::string, 4>{"Vada Vivo", "", "Szia!~", ""}));
  const std::array<std::string, 4> texts{S("Béla Ödön"_cp), S("tűzoltó"_cp), "a b~c~", ""};
  const TAnswer b = ParseAnswer(CmdAnswer(S("Bela béla"_cp), texts));
  EXPECT_EQ(b.nickname, S("béla"_cp));
  EXPECT_EQ(b.texts, texts);
}

TEST(ParseAnswer, CutsTextsShortAtTheEndAndTreatsNegativeLengthsAsZero) {
  TAnswer a = ParseAnswer("WBela Anna 4 2000000000 3 1 abcdefgh");
  EXPECT_EQ(a.texts, (std::array<std::string, 4>{"abcd", "efgh", "", ""}));
  a = ParseAnswer("WBela Anna -3 2 0 1 abc");
  EXPECT_EQ(a.texts, (std::array<std::string, 4>{"", "ab", "", "c"}));
  EXPECT_EQ(ErrorOf([] { ParseAnswer("WBela Anna 1 x 0 0 abc"); }), "'x' is not a valid integer value");
  EXPECT_EQ(ErrorOf([] { ParseAnswer("WBela Anna 1 0"); }), "'' is not a valid integer value");
}

}  // namespace
}  // namespace zn::proto
