#include <gtest/gtest.h>

#include "game/Tokenizer.h"
#include "game/ZnError.h"

namespace zn {
namespace {

struct IntCase {
  const char* line;
  bool ok;
  std::int32_t value;
  const char* rest;
  const char* error;
};

void PrintTo(const IntCase& c, std::ostream* os) { *os << '"' << c.line << '"'; }

class CutIntTest : public ::testing::TestWithParam<IntCase> {};

TEST_P(CutIntTest, ReadsDecimalOrRaisesTheConversionError) {
  const IntCase& c = GetParam();
  std::string_view line = c.line;
  if (c.ok) {
    EXPECT_EQ(CutInt(line), c.value);
    EXPECT_EQ(line, c.rest);
  } else {
    try {
      CutInt(line);
      FAIL() << "no error for " << c.line;
    } catch (const EZnError& e) {
      EXPECT_STREQ(e.what(), c.error);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Tokens, CutIntTest,
    ::testing::Values(IntCase{"-3 7", true, -3, "7", ""}, IntCase{"007", true, 7, "", ""},
                      IntCase{"+5", true, 5, "", ""}, IntCase{"2147483647", true, 2147483647, "", ""},
                      IntCase{"-2147483648 x", true, INT32_MIN, "x", ""},
                      IntCase{"x 7", false, 0, "", "'x' is not a valid integer value"},
                      IntCase{"", false, 0, "", "'' is not a valid integer value"},
                      IntCase{" 5", false, 0, "", "'' is not a valid integer value"},
                      IntCase{"-", false, 0, "", "'-' is not a valid integer value"},
                      IntCase{"2147483648", false, 0, "", "'2147483648' is not a valid integer value"},
                      IntCase{"-2147483649", false, 0, "", "'-2147483649' is not a valid integer value"},
                      IntCase{"123456789012345678901234567890", false, 0, "",
                              "'123456789012345678901234567890' is not a valid integer value"},
                      IntCase{"0x10", false, 0, "", "'0x10' is not a valid integer value"},
                      IntCase{"$FF", false, 0, "", "'$FF' is not a valid integer value"}));

TEST(CutToken, TakesTheTextBeforeTheDelimiter) {
  std::string_view line = "12:5 x";
  EXPECT_EQ(CutToken(line, ':'), "12");
  EXPECT_EQ(line, "5 x");
  line = "abc";
  EXPECT_EQ(CutWord(line), "abc");
  EXPECT_TRUE(line.empty());
  line = " a";
  EXPECT_EQ(CutWord(line), "");
  EXPECT_EQ(line, "a");
}

TEST(CutInt, ANulByteInsideTheTokenIsNotADigit) {
  using namespace std::string_view_literals;
  std::string_view line = "12\0003 4"sv;
  EXPECT_THROW(CutInt(line), EZnError);
  EXPECT_EQ(line, "4");
  std::int32_t value = 99;
  EXPECT_FALSE(TryStrToInt("\0"sv, value));
  EXPECT_FALSE(TryStrToInt("5\0"sv, value));
  EXPECT_EQ(value, 99);
}

TEST(CutToken, ANulByteIsAnOrdinaryCharacter) {
  using namespace std::string_view_literals;
  std::string_view line = "a\0b c\0"sv;
  EXPECT_EQ(CutWord(line), "a\0b"sv);
  EXPECT_EQ(CutToken(line, '\0'), "c");
  EXPECT_TRUE(line.empty());
}

TEST(CutWord, ConsecutiveSpacesGiveEmptyTokensUntilTheLineIsEmpty) {
  std::string_view line = "B1  x ";
  EXPECT_EQ(CutWord(line), "B1");
  EXPECT_EQ(CutWord(line), "");
  EXPECT_EQ(CutWord(line), "x");
  EXPECT_EQ(line, "");
  EXPECT_EQ(CutWord(line), "");
  EXPECT_EQ(line, "");
}

}  // namespace
}  // namespace zn
