// The journal of running deals: what a restarted server needs to deal each of them again and bring
// it to the last journaled move. A deal is its number (the cards come from the number and the deal
// key, the dealer from the number), who held each seat and every move in order; the go-on after a
// trick is not a move of its own (the next card of the next trick implies it).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "game/Hands.h"
#include "server/base/Store.h"

namespace zn::server {

struct JournaledMove {
  int seat = 0;
  TCard card = kNoCard;           // a card; kNoCard: a set of bids
  std::string bidder;             // a set of bids: the nickname the "B" line shows with it
  std::vector<std::string> bids;  // a set of bids; empty: a pass
};

struct JournaledDeal {
  std::int64_t room = 0;  // the room's store id
  std::int32_t number = 0;
  std::array<std::string, 4> seats;  // who held seats 1..4 last ("-Robot" + seat for a robot)
  std::vector<JournaledMove> moves;
};

// One change to the journal; a batch applies them in order.
struct JournalEntry {
  enum class Kind {
    Deal,   // a deal started in room: replaces whatever the room had (seats set, no moves)
    Seats,  // who holds the seats changed
    Move,   // move number index (from 0) of the room's deal
    End,    // the room's deal ended (written down or abandoned, or the room went)
    Clear,  // forget every deal (the next entries write them all again)
  };
  Kind kind = Kind::Move;
  std::int64_t room = 0;
  std::int32_t number = 0;
  std::array<std::string, 4> seats;
  int index = 0;
  JournaledMove move;
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
