// The engine's side of the journal of running deals: every kInterval on the club's clock it
// compares the deals the engine holds with what the journal has seen, queues the difference (a new
// deal, changed seats, the moves since, the deals that ended) and writes it in one transaction. A
// failed write is logged once and the deals run on; the next batch writes every deal again.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "deal/Game.h"
#include "server/base/ClubTypes.h"
#include "server/base/Journal.h"

namespace zn::server {

// The moves made so far in a deal (sets of bids and cards): the journal's move numbers, and the
// turn a robot's answer and the turn clock are for.
int MovesMade(const deal::Game& g);
// The moves of a deal from move number from (0: all) in the order they were made.
std::vector<JournaledMove> MovesFrom(const deal::Game& g, const std::vector<std::string>& bidders, int from);

class DealJournal {
 public:
  static constexpr std::chrono::milliseconds kInterval{100};

  explicit DealJournal(JournalStore& store) : store_(store) {}

  JournalStore& Store() { return store_; }
  // When the next batch is due.
  SteadyTime Due() const { return due_; }
  // The journal holds deals (one may have ended) or must be written again whole.
  bool Tracking() const { return !known_.empty() || resync_; }

  // What the engine holds of one room's deal.
  struct View {
    std::uint64_t run = 0;
    const deal::Game* game = nullptr;
    const std::vector<std::string>* bidders = nullptr;
    const std::array<std::string, kSeats + 1>* names = nullptr;
    std::optional<deal::MatchSecret> match;
    std::string ledger;
    std::vector<JournaledHold> holds;
    std::int64_t record = 0;  // the deal ended and was kept as this record
  };

  // A batch: Begin, See for every deal the engine holds, then Write.
  void Begin();
  void See(std::int64_t room, View view);
  // Ends the deals not seen since Begin and writes the batch; the next one is due kInterval after now.
  void Write(SteadyTime now);

  // Batches written, entries in them, and the time they took (a line for the log).
  std::string Summary() const;

 private:
  struct Known {
    std::uint64_t run = 0;
    int moves = 0;
    std::array<std::string, 4> seats;
    std::string ledger;
    std::vector<JournaledHold> holds;
    std::int64_t record = 0;
    std::uint64_t batch = 0;  // the last batch that saw it
  };

  JournalStore& store_;
  std::unordered_map<std::int64_t, Known> known_;  // by room: what the journal holds once written
  std::vector<JournalEntry> entries_;
  std::uint64_t batch_ = 0;
  // The next batch clears the journal and writes every deal: at the start (deals not brought back
  // go) and after a failed write.
  bool resync_ = true;
  bool failing_ = false;  // the failure is logged; logged again only after a write succeeded
  SteadyTime due_{};
  std::uint64_t written_ = 0, entriesWritten_ = 0;
  std::chrono::nanoseconds total_{}, longest_{};
};

}  // namespace zn::server
