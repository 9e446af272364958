// The club window's hold on its connection, as plain times and counts (milliseconds of the
// desktop's steady clock): the quiet ping that shows both ends the connection is alive, and the way
// back after a drop the member did not ask for. TZnForm drives it (ClubContinuity.cpp).
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>

namespace zn {

inline constexpr int kLinkTickMs = 250;  // the club window's link timer
// After the way back ends in the room, the deal's lines for this long are the deal the member
// dropped out of (the server sends them right after the "R" line).
inline constexpr std::int64_t kCatchUpMs = 5000;
// The same for a server that marks the catch-up's end: only a bound for a mark that never comes.
inline constexpr std::int64_t kCatchUpMarkMs = 60000;
// "N" waits this long for the answer to the "V" sent before it (a server that predates "V" gives none).
inline constexpr std::int64_t kReadsAnswerMs = 1500;
inline constexpr std::int64_t kQuietPingMs = 15000;  // a quiet "G" this often while connected
// The quiet "G" waits until the member has sent nothing for this long: written right after a
// command that runs to the end of the server's read (chat, a room name, a bid), it would be read
// as part of it.
inline constexpr std::int64_t kQuietSpellMs = 2000;
inline constexpr std::int64_t kPingAnswerMs = 10000;            // nothing at all back for this long: a drop
inline constexpr std::int64_t kReturnWindowMs = 5 * 60 * 1000;  // attempts start within this of the drop
inline constexpr std::int64_t kMaxBackoffMs = 30000;
// A step of the way back (connect, login, room, seat) that takes longer ends it.
inline constexpr std::int64_t kReturnStepMs = 20000;
// "G" commands whose answers are awaited; beyond it a member's ping is not told apart.
inline constexpr std::size_t kMaxPendingPings = 1024;

// Where the member was when the link dropped.
struct TReturnPlace {
  std::string Host;
  std::int32_t Port = 0;
  std::string Room;       // empty: the lobby
  std::int32_t Seat = 0;  // 1..4: seated there
  bool Watching = false;
};

class TLinkKeeper {
 public:
  // Idle: connected as the member left it, or offline by choice. Waiting: the next attempt is due
  // at Due. The others: an attempt on its way (connect, login, the room, the seat).
  enum class TStage { Idle, Waiting, Connecting, LoggingIn, Entering, Sitting };

  // ---- The quiet ping ----
  // A connection is made: the first quiet ping follows after kQuietPingMs; earlier pings are
  // forgotten (their answers are gone with the old connection).
  void Connected(std::int64_t now);
  void Disconnected() { connected_ = false; }
  void DataArrived() { awaitingSince_ = -1; }
  // True when a quiet "G" should go now (it then counts as sent at now); lastSend is when the
  // member's last command went (-1: none), and a due ping waits for kQuietSpellMs after it.
  bool QuietPingDue(std::int64_t now, std::int64_t lastSend);
  // A quiet "G" has had nothing back for kPingAnswerMs.
  bool Silent(std::int64_t now) const;
  // The member's own "G" went.
  void MemberPing();
  // A "G" line came: true when it answers a quiet ping, so it writes nothing.
  bool QuietAnswer();

  // ---- The way back ----
  // The wait before attempt n (1, 2, 4, 8, 16, then 30 seconds).
  static std::int64_t Backoff(int attempt);
  // The link dropped or an attempt failed at now. The first drop since Idle remembers place and
  // starts the five minutes. Plans the next attempt (stage Waiting); false when it would start
  // after the five minutes: the way back has ended (stage Idle).
  bool Dropped(std::int64_t now, const TReturnPlace& place);
  // The planned attempt starts now (stage Connecting).
  void Attempting(std::int64_t now);
  // The attempt moved on to stage s; its step has kReturnStepMs again.
  void Reached(TStage s, std::int64_t now);
  // The step has taken too long.
  bool StepOverdue(std::int64_t now) const;
  // The way back has ended (done, given up, or cancelled by the member).
  void Stop();

  TStage Stage() const { return stage_; }
  bool Returning() const { return stage_ != TStage::Idle; }
  int Attempt() const { return attempt_; }
  std::int64_t Due() const { return due_; }
  const TReturnPlace& Place() const { return place_; }
  // Whole seconds left until the attempt (rounded up).
  int SecondsLeft(std::int64_t now) const;

 private:
  bool connected_ = false;
  std::int64_t nextPing_ = 0;
  std::int64_t awaitingSince_ = -1;  // a quiet ping went at this time and nothing came since
  std::deque<bool> pending_;         // the "G" commands not yet answered, oldest first: true quiet

  TStage stage_ = TStage::Idle;
  TReturnPlace place_;
  int attempt_ = 0;
  std::int64_t firstDrop_ = 0;
  std::int64_t due_ = 0;
  std::int64_t stepDue_ = 0;
};

}  // namespace zn
