// A played-games window on a fake club port and the scripted desktop.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "record/ZnResult.h"
#include "tests/support/ClubPortFake.h"
#include "tests/support/FakeDesktop.h"

namespace zn::test {

inline std::string S(std::string_view v) { return std::string(v); }

class RecordTest : public ::testing::Test {
 protected:
  ScopedFakeDesktop fake;
  FakeDesktop& desk = fake.desk;
  ClubPortFake club;
  TResForm form{club};

  // Adds count games with the deal numbers firstDeal, firstDeal + 1, ...
  void Games(int count, int firstDeal = 100) {
    for (int i = 0; i < count; ++i) form.NewGame(firstDeal + i);
  }
  std::vector<std::string> Marks() const {
    std::vector<std::string> marks;
    for (const auto& g : form.Games) marks.push_back(g.Mark);
    return marks;
  }
  std::vector<std::string> Numbers() const {
    std::vector<std::string> numbers;
    for (const auto& g : form.Games) numbers.push_back(g.Number);
    return numbers;
  }
};

}  // namespace zn::test
