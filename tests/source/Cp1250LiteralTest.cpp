#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/source/LiteralScan.h"

namespace zn::test {
namespace {

namespace fs = std::filesystem;

struct ScanCase {
  const char* name;
  std::string source;
  std::vector<int> lines;  // lines of the literals that should be reported
};
void PrintTo(const ScanCase& c, std::ostream* os) { *os << c.name; }

class ScanTable : public ::testing::TestWithParam<ScanCase> {};

TEST_P(ScanTable, ReportsOnlyUnconvertedHighLiterals) {
  std::vector<int> lines;
  for (const TRawLiteral& l : UnconvertedLiterals(GetParam().source)) lines.push_back(l.line);
  EXPECT_EQ(lines, GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Snippets, ScanTable,
    ::testing::Values(ScanCase{"Plain", "f(\"leosztást\");", {1}},
                      ScanCase{"Converted", "f(\"leosztást\"_cp);", {}},
                      ScanCase{"OtherSuffix", "f(\"leosztást\"_cpx);", {1}},
                      ScanCase{"Ascii", "f(\"Version 0.99\");", {}},
                      ScanCase{"InComments", "// \"Ú\"\n/* \"é\"\n \"ő\" */ x;", {}},
                      ScanCase{"EscapedQuote", "f(\"a\\\"b\", \"é\");", {1}},
                      ScanCase{"SecondLine", "int a = 1'000'000;\nf(\"ű\");", {2}},
                      ScanCase{"CharLiteralQuote", "c = '\"'; f(\"ü\"_cp); g(\"ö\");", {1}},
                      ScanCase{"Prefixed", "f(u8\"á\"); g(L\"é\"); h(u\"x\");", {1, 1}},
                      ScanCase{"Raw", "f(R\"x(\"á\" )\")x\"); g(R\"(é)\"_cp);", {1}},
                      ScanCase{"JoinedConverted", "f(\"a\"\n  \"ő\"_cp \"ű\");", {}},
                      ScanCase{"JoinedOverAComment", "f(\"ő\" // x\n \"a\"_cp);", {}},
                      ScanCase{"JoinedUnconverted", "f(\"a\"\n  \"ő\" \"ű\"); g(\"é\");", {1, 2}}),
    [](const auto& info) { return std::string(info.param.name); });

// Every text outside the Qt views is cp1250 inside the program: a literal with accented letters
// must go through "_cp", or it reaches the screen, the wire or a file as UTF-8 bytes.
TEST(Cp1250Literals, NoneLeftUnconvertedOutsideTheQtViews) {
  const fs::path root = ZN_SOURCE_DIR;
  std::vector<std::string> found;
  int files = 0;
  for (const char* folder :
       {"game", "link", "shell", "table", "record", "profile", "server", "deal", "archive"}) {
    if (!fs::exists(root / folder)) continue;
    for (const auto& entry : fs::recursive_directory_iterator(root / folder)) {
      const fs::path& p = entry.path();
      const std::string rel = p.lexically_relative(root).generic_string();
      if (!entry.is_regular_file() || (p.extension() != ".cpp" && p.extension() != ".h")) continue;
      if (rel.find("/qt/") != std::string::npos) continue;
      std::ifstream in(p, std::ios::binary);
      const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
      ++files;
      for (const TRawLiteral& l : UnconvertedLiterals(text))
        found.push_back(rel + ":" + std::to_string(l.line) + ": " + l.text);
    }
  }
  EXPECT_GT(files, 20) << "the sources were not found under " << root;
  EXPECT_EQ(found, std::vector<std::string>{});
}

}  // namespace
}  // namespace zn::test
