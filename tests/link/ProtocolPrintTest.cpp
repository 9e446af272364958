// The protocol's values print as their fields, so a failing comparison shows what differs; texts
// print byte for byte, cp1250 as \xNN.
#include <gtest/gtest.h>

#include "game/Cp1250.h"
#include "link/Protocol.h"

namespace zn::proto {
namespace {

using namespace zn::literals;
using ::testing::PrintToString;

TEST(ProtocolPrint, ValuesShowTheirFields) {
  const std::pair<std::string, std::string> cases[] = {
      {PrintToString(TLobby{{"Lobby", std::string("Kőr"_cp)}, {{1, "anna"}}}),
       R"({rooms ["Lobby", "K\xF5r"] members [{room 1 "anna"}]})"},
      {PrintToString(TRoom{"7", {{2, "-Robot2"}}}), R"({played "7" members [{seat 2 "-Robot2"}]})"},
      {PrintToString(TBidding{1, {{"anna", {"Passz"}}, {"bela", {}}}}),
       R"({dealer 1 [{"anna" ["Passz"]}, {"bela" []}]})"},
      {PrintToString(TPlayLine{3, 2, "1", {0, 5, 0, 0}}), R"({seat 3 trick 2 taken "1" cards [0, 5, 0, 0]})"},
      {PrintToString(TAnswer{"anna", "bela", {"B\"", "", "", "x"}}),
       R"({"anna" "bela" ["B\x22", "", "", "x"]})"},
      {PrintToString(ReadHand("H2 1 x")),
       R"({{seat 2 cards [1]} stopped at field 1: "'x' is not a valid integer value"})"},
      {PrintToString(MeasureCommand("E1")), "{Complete 2}"},
  };
  for (const auto& [printed, expected] : cases) EXPECT_EQ(printed, expected);
}

}  // namespace
}  // namespace zn::proto
