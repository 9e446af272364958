// The table window under test: a fake club window (the port), a link over a fake socket that
// records every command, and the scripted desktop.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "game/Cp1250.h"
#include "game/ZnError.h"
#include "link/ClubPort.h"
#include "link/NextLine.h"
#include "link/ZnLink.h"
#include "table/ZnBid.h"
#include "tests/support/ClubPortFake.h"
#include "tests/support/FakeDesktop.h"

namespace zn::test {

using namespace zn::literals;

inline std::string S(std::string_view cp) { return std::string(cp); }

class FakeClub : public TClubPort {
 public:
  FakeClub() : link_(queue_, std::make_unique<RecordingSocket>(Sent)) {}

  std::vector<std::string> Sent;
  std::string Nick = "Anna";
  std::int32_t Seat = 2;
  std::array<std::string, 5> Labels{"", "Anna", "Bela", "Cili", "Dani"};
  bool Align = false;
  int Alerts = 0;
  int Wakes = 0;
  std::vector<bool> DealCommands;  // every EnableDealCommands value
  int DealerMark = 0;
  std::vector<std::string> RecordedBids;
  std::vector<std::array<std::int32_t, 3>> RecordedCards;  // trick, seat, card
  std::string RecordedTricks;
  TBidForm* Form = nullptr;  // EnableDealCommands sets its "&Felír" as the club window does

  TZnLink& Link() override { return link_; }
  const std::string& Nickname() const override { return Nick; }
  std::int32_t MySeat() const override { return Seat; }
  std::int32_t DealNumber() const override { return 1; }
  std::string SeatLabel(int seat) const override {
    return seat >= 1 && seat <= 4 ? Labels[static_cast<std::size_t>(seat)] : std::string();
  }
  std::string MatchText() const override { return "0"; }
  bool AlignChecked() const override { return Align; }
  void Alert() override { ++Alerts; }
  void EnableDealCommands(bool enable) override {
    DealCommands.push_back(enable);
    if (Form) Form->FixEnabled = !enable;
  }
  void ShowDealerMark(int seat) override { DealerMark = seat; }
  void AddMemoLine(const std::string&) override {}
  void ResetInfoThrottle() override {}
  void WakeDispatcher() override { ++Wakes; }
  void RecordBids(const std::vector<std::string>& lines) override { RecordedBids = lines; }
  void RecordTrickCard(int trick, int seat, std::int32_t card) override {
    RecordedCards.push_back({trick, seat, card});
  }
  void RecordTricks(const std::string& text) override { RecordedTricks = text; }
  std::string ReadSetting(std::string_view, std::string_view) const override { return {}; }
  void WriteSetting(std::string_view, std::string_view, std::string_view) override {}

 private:
  TReceiveQueue queue_;
  TZnLink link_;
};

class TableTest : public ::testing::Test {
 protected:
  TableTest() { club.Form = &form; }

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
  FakeClub club;
  TBidForm form{club};
};

}  // namespace zn::test
