// What the operator's terminal gets: UTF-8 text, and no control character a member could plant.
#include <gtest/gtest.h>

#include "game/Cp1250.h"
#include "server/base/Log.h"

namespace zn::server {
namespace {

using namespace zn::literals;

TEST(LogText, IsUtf8WithControlCharactersShownAsQuestionMarks) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"login #1 anna", "login #1 anna"},
      {std::string("login #2 "_cp) + std::string("Péter"_cp), "login #2 Péter"},
      {std::string("room Szőlő €"_cp), "room Szőlő €"},
      {"x\x1b[2Jy\r\nz\x7f", "x?[2Jy??z?"},
      {"c1 \x81\x83\x88\x90\x98 end", "c1 ????? end"},  // bytes that stand for C1 controls
  };
  for (const auto& [line, shown] : cases) EXPECT_EQ(LogText(line), shown) << shown;
}

}  // namespace
}  // namespace zn::server
