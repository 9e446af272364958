// The table window under test: the club port fake (a link over a fake socket that records every
// command) and the scripted desktop.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "game/Cp1250.h"
#include "game/ZnError.h"
#include "table/ZnBid.h"
#include "tests/support/ClubPortFake.h"
#include "tests/support/FakeDesktop.h"

namespace zn::test {

using namespace zn::literals;

inline std::string S(std::string_view cp) { return std::string(cp); }

class TableTest : public ::testing::Test {
 protected:
  // The club window as the table window sees it: seat 2 of a room without played deals.
  TableTest() {
    club.Seat = 2;
    club.Deal = 1;
    club.Match = "0";
    // The club window sets the table window's "&Felír" with its deal commands.
    club.OnDealCommands = [this](bool enable) { form.FixEnabled = !enable; };
  }

  // The refusal a handler throws, or "" when it throws none.
  template <class F>
  static std::string Refusal(F&& action) {
    try {
      action();
    } catch (const EZnError& e) {
      return e.what();
    }
    return {};
  }

  ScopedFakeDesktop desk;
  ClubPortFake club;
  TBidForm form{club};
};

}  // namespace zn::test
