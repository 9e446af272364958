// The rules the client ships: the Hungarian part of the rules document, under its title.
#include <gtest/gtest.h>

#include "table/Rules.h"

namespace zn::test {
namespace {

TEST(Rules, TheHungarianPartUnderTheTitle) {
  const std::string doc =
      "# Cím\n\nBevezető\n\n## Magyarul\n\n### A játék\nSzöveg\n\n## English\n\n### The game\nText\n";
  EXPECT_EQ(HungarianRules(doc), "# Cím\n## Magyarul\n\n### A játék\nSzöveg\n");
  EXPECT_EQ(HungarianRules("# Cím\n\n## Magyarul\nUtolsó\n"), "# Cím\n## Magyarul\nUtolsó\n");
  EXPECT_EQ(HungarianRules("Csak szöveg\n"), "Csak szöveg\n") << "no sections: all of it";
}

}  // namespace
}  // namespace zn::test
