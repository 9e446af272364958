// The journal of running deals: what a restarted server needs to deal each of them again and bring
// it to the last journaled move. A deal is its number and its match's secret (the cards come from
// them and the deal key, the dealer from the number), who held each seat and every move in order;
// the go-on after a trick is not a move of its own (the next card of the next trick implies it).
// With it go the deal's fair-play ledger (who sat, who saw the hands) and the seats held for
// members whose connection dropped, so a restart hands no seat and no hand to anyone new.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "deal/Shuffle.h"
#include "game/Hands.h"
#include "server/base/Store.h"

namespace zn::server {

struct JournaledMove {
  int seat = 0;
  TCard card = kNoCard;           // a card; kNoCard: a set of bids
  std::string bidder;             // a set of bids: the nickname the "B" line shows with it
  std::vector<std::string> bids;  // a set of bids; empty: a pass
};

// A seat kept for a member whose connection dropped.
struct JournaledHold {
  int seat = 0;
  std::string folded;        // the member's folded nickname
  std::int64_t untilMs = 0;  // when the hold ends: milliseconds since the epoch (wall clock)
  bool operator==(const JournaledHold&) const = default;
};

struct JournaledDeal {
  std::int64_t room = 0;  // the room's store id
  std::int32_t number = 0;
  std::array<std::string, 4> seats;  // who held seats 1..4 last ("-Robot" + seat for a robot)
  std::vector<JournaledMove> moves;
  // The match's secret; none for a deal journaled by a server that dealt from the number alone.
  std::optional<deal::MatchSecret> match;
  std::string ledger;  // the fair-play ledger as SeatLedger::Save wrote it
  std::vector<JournaledHold> holds;
  std::int64_t record = 0;  // the deal ended and is kept as this record, its result not written yet
};

// One change to the journal; a batch applies them in order.
struct JournalEntry {
  enum class Kind {
    Deal,   // a deal started in room: replaces whatever the room had (seats set, no moves)
    Seats,  // who holds the seats changed
    Move,   // move number index (from 0) of the room's deal
    End,    // the room's deal ended (written down or abandoned, or the room went)
    Clear,  // forget every deal (the next entries write them all again)
    Fair,   // the deal's ledger or its held seats changed
    Kept,   // the deal ended and was kept as record (its result not written yet)
  };
  Kind kind = Kind::Move;
  std::int64_t room = 0;
  std::int32_t number = 0;
  std::array<std::string, 4> seats;
  int index = 0;
  JournaledMove move;
  std::optional<deal::MatchSecret> match;  // Deal
  std::string ledger;                      // Fair
  std::vector<JournaledHold> holds;        // Fair
  std::int64_t record = 0;                 // Kept
};

class JournalStore {
 public:
  virtual ~JournalStore() = default;
  // Applies the entries in order in one transaction; throws StoreError and changes nothing when
  // the write fails.
  virtual void Write(const std::vector<JournalEntry>& entries) = 0;
  // The journaled deals whose result is not stored, by room, with their moves in order.
  virtual std::vector<JournaledDeal> LoadRunning() = 0;
};

}  // namespace zn::server
