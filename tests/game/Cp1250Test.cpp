#include <gtest/gtest.h>

#include "game/Cp1250.h"

namespace zn {
namespace {

TEST(Cp1250Literal, EncodesAccentedLettersAndNoBreakSpace) {
  EXPECT_EQ("Kőr A"_cp, std::string_view("K\xF5r A", 5));
  EXPECT_EQ("Pikk\u00A0ulti"_cp, std::string_view("Pikk\xA0ulti", 9));
  EXPECT_EQ("Jóváhagyás"_cp.size(), 10u);
}

TEST(Cp1250Fold, ComparesWithoutRegardToCase) {
  EXPECT_TRUE(SameText("KÖPF"_cp, "Köpf"_cp));
  EXPECT_TRUE(SameText("ŐSZ ÚR"_cp, "ősz úr"_cp));
  EXPECT_FALSE(SameText("Köpf"_cp, "Kopf"));
  EXPECT_FALSE(SameText("Köpf"_cp, "Köpfe"_cp));
  EXPECT_LT(CompareText("abc", "ABD"), 0);
  EXPECT_EQ(LowerText("ÁRVÍZTŰRŐ"_cp), "árvíztűrő"_cp);
}

// The run-time side of the one UTF-8 decoder (file names in error boxes).
TEST(Cp1250ToUtf8, EveryByteRoundTripsThroughUtf8) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  EXPECT_EQ(Utf8ToCp1250(Cp1250ToUtf8(all)), all);
  EXPECT_EQ(Cp1250ToUtf8("Szőlő €"_cp), "Szőlő €");
}

TEST(Utf8ToCp1250, KeepsWhatTheCodePageHasAndMarksTheRest) {
  EXPECT_EQ(Utf8ToCp1250("Kőr.txt"), std::string("Kőr.txt"_cp));
  EXPECT_EQ(Utf8ToCp1250("日本.txt"), "??.txt");                    // no byte in the code page
  EXPECT_EQ(Utf8ToCp1250(std::string_view("a\xFF b", 4)), "a? b");  // no UTF-8 lead byte
  EXPECT_EQ(Utf8ToCp1250(std::string_view("ab\xC5", 3)), "ab?");    // cut short by the end
  EXPECT_EQ(Utf8ToCp1250(std::string_view("\xE2\x82", 2)), "??");   // each byte of a cut sequence
}

}  // namespace
}  // namespace zn
