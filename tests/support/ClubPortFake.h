// A club port for testing one window alone: a link whose socket records what is written, a
// settings file in memory (one key can be made to fail), and the club fields the windows read,
// with a record of every call the windows make.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "game/ZnError.h"
#include "link/ClubPort.h"
#include "link/NextLine.h"
#include "link/ZnLink.h"
#include "tests/support/FakeSocket.h"

namespace zn::test {

class ClubPortFake : public TClubPort {
 public:
  ClubPortFake() : link_(queue_, std::make_unique<FakeSocket>(Socket)) { Socket.active = true; }

  SocketLog Socket;                              // the link's socket, connected
  std::vector<std::string>& Sent = Socket.sent;  // every command written to the link
  std::string Nick = "Anna";
  std::int32_t Seat = 1;
  std::int32_t Deal = 0;
  std::string Match = "3";
  std::vector<std::string> Seats = {"Anna", "Bela", "Cili", "Dani"};
  bool Align = false;
  int Alerts = 0;
  int Wakes = 0;
  std::vector<std::string> Memo;
  std::vector<bool> DealCommands;            // every EnableDealCommands argument
  std::function<void(bool)> OnDealCommands;  // what the club window does besides, if anything
  int DealerMark = 0;
  int ThrottleResets = 0;
  std::vector<std::string> RecordedBids;
  std::vector<std::array<std::int32_t, 3>> RecordedCards;  // trick, seat, card
  std::string RecordedTricks;
  std::map<std::pair<std::string, std::string>, std::string> Ini;
  std::string FailingKey;  // WriteSetting of this key throws

  TZnLink& Link() override { return link_; }
  const std::string& Nickname() const override { return Nick; }
  std::int32_t MySeat() const override { return Seat; }
  std::int32_t DealNumber() const override { return Deal; }
  std::string SeatLabel(int seat) const override {
    return seat >= 1 && seat <= 4 ? Seats[static_cast<std::size_t>(seat - 1)] : std::string();
  }
  std::string MatchText() const override { return Match; }
  bool AlignChecked() const override { return Align; }
  void Alert() override { ++Alerts; }
  void EnableDealCommands(bool enable) override {
    DealCommands.push_back(enable);
    if (OnDealCommands) OnDealCommands(enable);
  }
  void ShowDealerMark(int seat) override { DealerMark = seat; }
  void AddMemoLine(const std::string& line) override { Memo.push_back(line); }
  void ResetInfoThrottle() override { ++ThrottleResets; }
  void WakeDispatcher() override { ++Wakes; }
  void RecordBids(const std::vector<std::string>& lines) override { RecordedBids = lines; }
  void RecordTrickCard(int trick, int seat, std::int32_t card) override {
    RecordedCards.push_back({trick, seat, card});
  }
  void RecordTricks(const std::string& text) override { RecordedTricks = text; }
  std::string ReadSetting(std::string_view section, std::string_view key) const override {
    auto it = Ini.find({std::string(section), std::string(key)});
    return it == Ini.end() ? std::string() : it->second;
  }
  void WriteSetting(std::string_view section, std::string_view key, std::string_view value) override {
    if (key == FailingKey) throw EZnError("Cannot write the settings file");
    Ini[{std::string(section), std::string(key)}] = std::string(value);
  }

 private:
  TReceiveQueue queue_;
  TZnLink link_;
};

}  // namespace zn::test
