// The deal engine of the club: "D" orders, the bidding ("B", "T"), the card play ("P", "T" after
// a trick), the hands ("H"), the score ("X") and the written-down result ("F"), with robots on the
// seats that have no human. The deal's lines go only to the seated humans and the watchers of
// the room. The 30-second wait for "T" after a trick and the turn clock run on the club's clock.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "deal/Game.h"
#include "deal/Robot.h"
#include "server/base/DealKey.h"
#include "server/base/DealSeam.h"
#include "server/base/Outbox.h"
#include "server/base/Store.h"
#include "server/deals/DealJournal.h"
#include "server/deals/RobotPool.h"
#include "server/deals/SeatLedger.h"

namespace zn::server {

class Deals : public DealSeam {
 public:
  using NowFn = std::function<SteadyTime()>;
  // Draws the deal number of a new match ("D0"): 1000 or more.
  using DrawFn = std::function<std::int32_t()>;

  static constexpr std::chrono::seconds kTrickWait{30};
  // A seated member whose move the robot made this many times in a row is stood up.
  static constexpr int kMissedToStand = 2;

  Deals(DealClub& club, RoomStore& store, Outbox& out, NowFn now, DrawFn draw = {});
  ~Deals() override;

  void Order(Room& room, const Member& from, std::int32_t number) override;
  void Command(Room& room, const Member& from, std::string_view command) override;
  void SeatChanged(Room& room, int seat) override;
  void RoomSent(Room& room) override;
  void Watching(const Room& room, const Member& m) override;
  void Tick(SteadyTime now) override;
  std::optional<SteadyTime> NextDue() const override;
  void RoomFreed(const Room& room) override;
  bool DealRunning(const Room& room) const override;
  std::string_view SitRefusal(const Room& room, const Member& m, int seat) const override;
  std::string_view WatchRefusal(const Room& room, const Member& m) const override;

  // How robots play from now on: simple robots decide at once on the loop; strong ones think (bids
  // and cards) on the runner, which hands their move back on the loop.
  void UseRobots(const RobotSettings& settings, std::unique_ptr<RobotRunner> runner);

  // Deals from now on are drawn under key (the store's or the operator's); until then the engine
  // deals under a random key of its own, so no deal is ever drawn without a secret.
  void UseDealKey(const deal::DealKey& key) { key_ = key; }
  // Where the secret of each new match comes from (tests fix it); the system's random source until
  // then.
  void UseMatchSecrets(std::function<deal::MatchSecret()> make) { newMatch_ = std::move(make); }
  // How long a seated member has for a bid or a card before the robot makes it (--turn-seconds).
  void UseTurnLimit(std::chrono::seconds limit) { turnLimit_ = limit; }
  // Watchers at a seated member's address see the hands too (--kibitz-same-address open).
  void OpenSameAddress(bool open) { sameAddressOpen_ = open; }
  // Which run of a deal a room has (a new number for every deal dealt; 0: none running), for the
  // tests' fair play check.
  std::uint64_t RunIn(const Room& room) const;

  // The journal of running deals (server/deals/DealJournal.h); nullptr: none. Restore brings the
  // journaled deals back (robots on every seat, members' seats held for them); FlushJournal writes
  // what is queued now (at shutdown, before the store closes).
  void UseJournal(JournalStore* store);
  // The wall clock the journal measures holds on, in milliseconds since the epoch (tests move it).
  void UseWallClock(std::function<std::int64_t()> wallMs) {
    wallMs_ = std::move(wallMs);
    wallAnchor_ = WallMs();
  }
  void Restore(const std::vector<JournaledDeal>& deals);
  void FlushJournal();
  std::string JournalSummary() const;

  // The deal running in a room (nullptr: none), for tests and the log.
  const deal::Game* GameIn(const Room& room) const;
  // The rooms the engine keeps a table for.
  std::size_t TableCount() const { return tables_.size(); }

 private:
  // A room's table, by concern: the match, the deal and its record, who sat and saw, the trick's
  // wait for "T", the turn clock, the robot's move being thought of, and the holds it waits for.
  struct Table {
    // The match: kept from deal to deal.
    std::int32_t number = 0;                 // the last deal ordered ("D-1" deals it again)
    std::optional<deal::MatchSecret> match;  // the room's current match (not yet read: none)
    std::map<std::string, int> missed;       // moves the robot made in a row for a member (folded)

    // The deal and how it ended.
    std::unique_ptr<deal::Game> game;
    std::uint64_t run = 0;                      // which deal dealt by the engine this is
    std::vector<std::string> bidders;           // the nickname of every bidding block
    std::array<std::string, kSeats + 1> names;  // who held each seat last during the deal
    bool scored = false;                        // the "X" lines are out
    bool written = false;                       // "F" stored
    std::int64_t record = 0;                    // the deal kept whole in the store (0: not kept)

    // Who sat and who saw.
    SeatLedger fair;                // who held a seat and who saw the hands
    std::vector<MemberId> catchUp;  // sat down during the deal, get it after the "R"

    struct TrickWait {
      bool waiting = false;                     // a complete trick waits for "T"
      std::array<bool, kSeats + 1> awaiting{};  // seated humans whose "T" it waits for
      SteadyTime due{};                         // when the wait ends without them
    } trick;

    // The seat on turn and the moves made when its time started (-1: none runs).
    struct TurnClock {
      int seat = 0;
      int moves = -1;
      SteadyTime due{};
      std::string holder;  // the folded nickname of the member whose time runs
    } turn;

    struct RobotWait {
      std::uint64_t ticket = 0;  // the robot move being thought of (0: none)
      int turn = 0;              // the moves made in the deal when it was asked for
    } thinking;

    // Only robots at the table, some on seats held for dropped members: the robots wait for them.
    struct HoldWait {
      bool paused = false;
      SteadyTime until{};      // when the last of those holds ends
      bool ownResult = false;  // the server writes the result when they end
    } hold;
  };

  Table& TableOf(Room& room) { return tables_[room.storeId]; }
  bool Running(const Table& t) const { return t.game && !t.scored; }
  // The room's current match secret in t (made and stored at its first match).
  void MatchOf(const Room& room, Table& t);

  // Lines (DealLines.cpp).
  std::vector<MemberId> Audience(const Room& room) const;
  void ToAudience(const Room& room, const std::string& line);
  void Notice(MemberId to, std::string_view text, std::string_view detail = {});
  void NoticeRoom(const Room& room, std::string_view text);
  std::string BidLine(const Table& t) const;
  std::string PlayLine(const Table& t) const;
  std::string HandLine(const Table& t, int seat) const;
  void CatchUp(const Room& room, Table& t, MemberId who);
  // The four hands for a watcher, or for one at a seated member's address a notice (DealFair.cpp).
  void ShowAllHands(Table& t, const Member& m);

  // The run of a deal (DealFlow.cpp).
  void Start(Room& room, Table& t, std::int32_t number);
  void Advance(Room& room, Table& t);
  void RobotBid(Room& room, Table& t, int seat, std::vector<std::string> bids);
  void RobotPlay(Table& t, int seat);
  void RobotThink(Room& room, Table& t, int seat);
  void RobotAnswer(std::int64_t room, std::uint64_t ticket, int turn, int seat, RobotMove move);
  void StartWait(Room& room, Table& t);
  void EndTrick(Room& room, Table& t);
  // The deal that ended, kept whole in the store (DealRecords.cpp).
  void KeepRecord(const Room& room, Table& t);
  bool IsRobot(const Room& room, int seat) const;
  // The journal (DealRestore.cpp).
  void WriteJournal(SteadyTime now);
  bool Replay(Table& t, const JournaledDeal& d);
  bool Ended(Table& t);
  std::vector<JournaledHold> HoldsIn(const Room& room) const;
  std::int64_t WallMs() const;
  MemberId HumanOn(const Room& room, int seat) const;

  // Members' commands (Deals.cpp), each given the whole command and reading it with link/Protocol.
  void Bid(Room& room, Table& t, const Member& m, std::string_view command);
  void PlayCard(Room& room, Table& t, const Member& m, std::string_view command);
  void Acknowledge(Room& room, Table& t, const Member& m);
  void Hand(Table& t, const Member& m, std::string_view command);
  void Result(Room& room, Table& t, const Member& m, std::string_view command);
  // Stores the result and announces it; false (with the reason logged) when the store fails.
  bool WriteResult(Room& room, Table& t, std::int32_t a, std::int32_t b);

  // The turn clock and a deal nobody is left to write down (DealClock.cpp).
  void StartTurnClock(const Room& room, Table& t, int seat);
  // When the last hold on a seat of room for a dropped member ends (none: the zero time).
  SteadyTime HoldsEnd(const Room& room) const;
  bool Paused(const Room& room, Table& t);
  void TimeOut(Room& room, Table& t);
  void WriteOwnResult(Room& room, Table& t);

  DealClub& club_;
  RoomStore& store_;
  Outbox& out_;
  NowFn now_;
  DrawFn draw_;
  std::unique_ptr<deal::Robot> robot_;
  deal::DealKey key_ = NewDealKey();
  bool sameAddressOpen_ = false;
  std::chrono::seconds turnLimit_{60};
  std::uint64_t runs_ = 0;
  RobotSettings robots_{RobotKind::Simple, {}, 0};
  std::unique_ptr<RobotRunner> runner_;
  std::uint64_t tickets_ = 0;
  // Answers posted to the loop after the engine is gone find this expired.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
  std::map<std::int64_t, Table> tables_;  // by the room's store id
  std::unique_ptr<DealJournal> journal_;
  std::function<std::int64_t()> wallMs_;
  std::function<deal::MatchSecret()> newMatch_ = NewMatchSecret;
  SteadyTime clockAnchor_;  // the club's clock and the wall clock at one moment
  std::int64_t wallAnchor_;
};

}  // namespace zn::server
