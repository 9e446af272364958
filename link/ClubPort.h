// What the table, played-games and personal-data windows reach of the club window: the current
// link they send through and the few club fields and operations they use. The club window
// implements it; a test of a single window can fake it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zn {

class TZnLink;

class TClubPort {
 public:
  virtual ~TClubPort() = default;

  // The current link (replaced by "&Távkapcsolat"; never hold on to it across a handler).
  virtual TZnLink& Link() = 0;
  virtual const std::string& Nickname() const = 0;
  virtual std::int32_t MySeat() const = 0;
  virtual std::int32_t DealNumber() const = 0;
  // The text of seat label 1..4 ("- - -" for a free seat); empty for any other number.
  virtual std::string SeatLabel(int seat) const = 0;
  // The deals-played label of the room page.
  virtual std::string MatchText() const = 0;
  // The check mark of the room option "&Igazítás".
  virtual bool AlignChecked() const = 0;
  // Beep (when "&Hang" is on) and flash the club window.
  virtual void Alert() = 0;
  // Enables new match and next deal (and disables the table's "&Felír"), or the reverse.
  virtual void EnableDealCommands(bool enable) = 0;
  // Marks the dealer's side on the room page: seat 3 shows the mark by seat 3, any other by seat 1.
  virtual void ShowDealerMark(int seat) = 0;
  // Appends one line to the club window's message area.
  virtual void AddMemoLine(const std::string& line) = 0;
  // The personal-data window was hidden: introduction requests are let through again.
  virtual void ResetInfoThrottle() = 0;
  // The dispatcher should run again (a pause has been lifted).
  virtual void WakeDispatcher() = 0;
  // The played-games record of the current game, fed by the table window: the listing of all bids
  // rebuilt from a "B" line, one card of a "P" line (trick 1..10, seat 1..4), the trick split of
  // the finished deal.
  virtual void RecordBids(const std::vector<std::string>& lines) = 0;
  virtual void RecordTrickCard(int trick, int seat, std::int32_t card) = 0;
  virtual void RecordTricks(const std::string& text) = 0;
  // One key of the settings file; empty when missing.
  virtual std::string ReadSetting(std::string_view section, std::string_view key) const = 0;
  // Writes one key of the settings file; throws EZnError when it cannot be written.
  virtual void WriteSetting(std::string_view section, std::string_view key, std::string_view value) = 0;
};

}  // namespace zn
