// A club port for testing one window alone: a link whose socket records what is written, a
// settings file in memory (one key can be made to fail), and the club fields the windows read.
#pragma once

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

namespace zn::test {

class RecordingSocket : public TSocketPort {
 public:
  explicit RecordingSocket(std::vector<std::string>& sent) : sent_(sent) {}
  void Connect(const std::string&, int) override {}
  void Close() override {}
  bool Active() const override { return true; }
  void Write(std::string_view bytes) override { sent_.emplace_back(bytes); }

 private:
  std::vector<std::string>& sent_;
};

class ClubPortFake : public TClubPort {
 public:
  ClubPortFake() : link_(queue_, std::make_unique<RecordingSocket>(Sent)) {}

  std::vector<std::string> Sent;  // every command written to the link
  std::string Nick = "Anna";
  std::int32_t Seat = 1;
  std::string Match = "3";
  std::vector<std::string> Seats = {"Anna", "Bela", "Cili", "Dani"};
  std::vector<std::string> Memo;
  std::vector<bool> DealCommands;  // every EnableDealCommands argument
  int ThrottleResets = 0;
  std::map<std::pair<std::string, std::string>, std::string> Ini;
  std::string FailingKey;  // WriteSetting of this key throws

  TZnLink& Link() override { return link_; }
  const std::string& Nickname() const override { return Nick; }
  std::int32_t MySeat() const override { return Seat; }
  std::int32_t DealNumber() const override { return 0; }
  std::string SeatLabel(int seat) const override {
    return seat >= 1 && seat <= 4 ? Seats[static_cast<std::size_t>(seat - 1)] : std::string();
  }
  std::string MatchText() const override { return Match; }
  bool AlignChecked() const override { return false; }
  void Alert() override {}
  void EnableDealCommands(bool enable) override { DealCommands.push_back(enable); }
  void ShowDealerMark(int) override {}
  void AddMemoLine(const std::string& line) override { Memo.push_back(line); }
  void ResetInfoThrottle() override { ++ThrottleResets; }
  void WakeDispatcher() override {}
  void RecordBids(const std::vector<std::string>&) override {}
  void RecordTrickCard(int, int, std::int32_t) override {}
  void RecordTricks(const std::string&) override {}
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
