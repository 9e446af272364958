// The fair play invariant, checked on what members receive: no member ever gets an "H" line of a
// seat other than their own for a deal in which they hold or held a seat, and no watcher gets one
// while a member at their address (server/base/Addresses.h: AddressKey) holds or held a seat in the
// deal. The server tests, the club fuzz target and the soak feed it every line each member gets.
//
// What a member's deal is comes from the lines: "D" with a number other than the last one starts
// a new one, "X" ends it. A feeder that runs the server in its
// own process also tells the deal engine's run of the member's room (Run), which tells a deal
// dealt again under the same number from a deal caught up with.
#pragma once

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace zn::server {

class FairPlayCheck {
 public:
  // sameAddressRule: false for a server run with --kibitz-same-address open.
  explicit FairPlayCheck(bool sameAddressRule = true) : sameAddressRule_(sameAddressRule) {}

  // A member logged in as nickname from address (its lines are checked from now on).
  void Joined(std::uint64_t id, std::string nickname, std::string_view address);
  void Left(std::uint64_t id);
  // The run of the deal in the member's room now (0: none), before the lines it got since.
  void Run(std::uint64_t id, std::uint64_t run);
  // One line the member got, without the "#".
  void Received(std::uint64_t id, std::string_view line);

  std::uint64_t Lines() const { return lines_; }
  std::uint64_t HandLines() const { return hands_; }
  // One text per breach, saying who got which line and why it breaks the rule.
  const std::vector<std::string>& Violations() const { return violations_; }

 private:
  struct Deal {
    bool open = false;
    std::int32_t number = 0;
    std::uint64_t run = 0;
    int held = 0;                   // the seat the member holds or held in it
    unsigned seen = 0;              // bit s: got the "H" of seat s
    std::set<std::string> holders;  // nicknames seated at some time during it
  };
  struct Watched {
    std::string nickname;
    std::string address;  // AddressKey
    int seat = 0;         // by the last "R" line
    std::vector<std::string> seated;
    bool byRun = false;
    // A run told before the lines that led to it: the seat is taken from the next "R" line when
    // one comes first (the member may have just changed rooms), else from the last one.
    bool seatPending = false;
    Deal deal;
  };

  void Start(Watched& w, std::int32_t number, std::uint64_t run);
  void Seated(Watched& w);
  void Hand(Watched& w, int seat, std::string_view line);
  void Breach(const Watched& w, const std::string& what);

  bool sameAddressRule_;
  std::map<std::uint64_t, Watched> members_;
  std::map<std::string, std::string> addressOf_;  // nickname -> AddressKey
  std::map<std::string, Deal> past_;              // nickname -> the deal it was in when it left
  std::uint64_t lines_ = 0, hands_ = 0;
  std::vector<std::string> violations_;
};

}  // namespace zn::server
