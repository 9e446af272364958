// One deal kept whole: where and when it was played, who sat where, the dealt cards, every set of
// bids and every trick in order, and the result written down (or that none was). Text is cp1250
// as everywhere inside the program; the open format (DealFormat.h) writes it as UTF-8.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "game/Hands.h"
#include "game/Seats.h"

namespace zn::dealrecord {

struct SeatRecord {
  std::string name;  // the nickname that held the seat at the end of the deal
  bool robot = false;
  bool operator==(const SeatRecord&) const = default;
};

struct BidRecord {
  int seat = 0;
  std::vector<std::string> bids;  // empty: a pass; a bid of several words joins them with byte A0
  bool operator==(const BidRecord&) const = default;
};

struct TrickRecord {
  int leader = 0;
  std::array<TCard, kSeats> cards{};  // in playing order, the leader's card first
  bool operator==(const TrickRecord&) const = default;
  // The seat that took the trick.
  int Winner() const;
  // The seat that played cards[i].
  int SeatAt(int i) const { return (leader - 1 + i) % kSeats + 1; }
};

struct DealRecord {
  std::string room;
  std::int64_t time = 0;  // when the deal ended, seconds since the epoch (UTC)
  std::int32_t number = 0;
  int dealer = 0;
  std::array<SeatRecord, kSeats + 1> seats{};  // [1..4]
  std::array<TCards, kSeats + 1> hands{};      // [1..4]: the ten dealt cards, ascending
  TCards out;                                  // the two cards out of the deal, ascending
  std::vector<BidRecord> bids;
  std::vector<TrickRecord> tricks;
  bool written = false;  // a result was written down
  std::int32_t points14 = 0;
  std::int32_t points23 = 0;
  bool operator==(const DealRecord&) const = default;

  // Tricks taken by pair 1 (seats 1 and 4) or pair 2.
  int TakenBy(int pair) const;
};

}  // namespace zn::dealrecord
