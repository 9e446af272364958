// The club port as the club window gives it: what the table, played-games and personal-data
// windows reach of the club window.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "link/ClubPort.h"

namespace zn {

class TResForm;
class TClubState;
struct TClubActions;

// What the port needs of the club window beyond its state and actions.
class TClubPortHost {
 public:
  virtual TZnLink& CurrentLink() = 0;  // replaced by "&Távkapcsolat"
  virtual void Alert() = 0;
  virtual void EnableDealCommands(bool enable) = 0;
  virtual void WakeDispatcher() = 0;
  virtual TResForm& PlayedGames() = 0;

 protected:
  ~TClubPortHost() = default;
};

class TClubPortImpl : public TClubPort {
 public:
  TClubPortImpl(TClubState& state, const TClubActions& actions, TClubPortHost& host)
      : state_(state), actions_(actions), host_(host) {}
  TZnLink& Link() override;
  const std::string& Nickname() const override;
  std::int32_t MySeat() const override;
  std::int32_t DealNumber() const override;
  std::string SeatLabel(int seat) const override;
  std::string MatchText() const override;
  bool AlignChecked() const override;
  void Alert() override;
  void EnableDealCommands(bool enable) override;
  void ShowDealerMark(int seat) override;
  void AddMemoLine(const std::string& line) override;
  void ResetInfoThrottle() override;
  void WakeDispatcher() override;
  void RecordBids(const std::vector<std::string>& lines) override;
  void RecordTrickCard(int trick, int seat, std::int32_t card) override;
  void RecordTricks(const std::string& text) override;
  std::string ReadSetting(std::string_view section, std::string_view key) const override;
  void WriteSetting(std::string_view section, std::string_view key, std::string_view value) override;

 private:
  TClubState& state_;
  const TClubActions& actions_;
  TClubPortHost& host_;
};

}  // namespace zn
