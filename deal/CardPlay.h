// Card play of one deal: whose turn it is, the cards on the table, the follow rule and the trick
// winner (both from game/PlayRules.h), the tricks taken, and the record the scoring reads.
#pragma once

#include <array>

#include "deal/Seats.h"
#include "game/Assert.h"
#include "game/Hands.h"

namespace zn::deal {

// The seat that takes a full trick, from its cards by seat [1..4] and the seat that led.
int TrickWinnerSeat(const std::array<TCard, kSeats + 1>& cards, int leader);

struct TrickRecord {
  int leader = 0;
  int winner = 0;                         // the seat whose card took the trick
  std::array<TCard, kSeats + 1> cards{};  // by seat [1..4]

  TCard WinningCard() const { return cards[static_cast<std::size_t>(winner)]; }
  int SeatOf(TCard card) const;  // 0 when the card is not in the trick
};

// The finished tricks of a deal in order (trick k is tricks[k - 1]).
struct PlayRecord {
  std::array<TrickRecord, kTricks> tricks{};
  int count = 0;

  const TrickRecord* Trick(int k) const {
    return k >= 1 && k <= count ? &tricks[static_cast<std::size_t>(k - 1)] : nullptr;
  }
};

class CardPlay {
 public:
  // hands[1..4]; leader opens trick 1.
  CardPlay(const std::array<TCards, kSeats + 1>& hands, int leader);

  // The seat to play; 0 while a complete trick lies on the table and after the last trick.
  int OnTurn() const { return onTurn_; }
  // The trick in progress or just completed, 1..10.
  int TrickNumber() const { return trick_; }
  bool TrickComplete() const { return onTurn_ == 0 && played_ == kSeats; }
  bool Finished() const { return record_.count == kTricks && !TrickComplete(); }
  // The cards on the table by seat [1..4] (0 where none yet).
  const std::array<TCard, kSeats + 1>& Table() const { return table_; }
  TCard Lead() const { return table_[static_cast<std::size_t>(leader_)]; }
  int Leader() const { return leader_; }
  const THand& Hand(int seat) const {
    ZN_ASSERT(seat >= 0 && seat <= kSeats);
    return hands_[static_cast<std::size_t>(seat)];
  }
  int Taken(int seat) const {
    ZN_ASSERT(seat >= 0 && seat <= kSeats);
    return taken_[static_cast<std::size_t>(seat)];
  }
  int TakenByPair(int pair) const;
  const PlayRecord& Record() const { return record_; }

  // Whether the seat on turn may play card: it holds it and the follow rule allows it.
  bool MayPlayCard(int seat, TCard card) const;
  // Plays a card (the caller checked MayPlayCard). After the fourth card the trick is complete
  // and stays on the table until Continue.
  void Play(int seat, TCard card);
  // Clears a complete trick; its winner leads the next one. Nothing after the tenth trick.
  void Continue();

 private:
  std::array<THand, kSeats + 1> hands_{THand{}, THand{}, THand{}, THand{}, THand{}};
  std::array<TCard, kSeats + 1> table_{};
  std::array<int, kSeats + 1> taken_{};
  PlayRecord record_;
  int leader_;
  int onTurn_;
  int played_ = 0;
  int trick_ = 1;
};

}  // namespace zn::deal
