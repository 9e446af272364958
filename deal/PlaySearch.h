// Full-information search of the rest of a deal: every hand known (one sampled layout), alpha-beta
// over the cards with move ordering and a transposition table. The value of a finished deal is the
// viewer's pair's score minus the other pair's, tricks and every bid by the bid table, so a trick
// given away now can be worth a bid later. Far from the end the search looks a few tricks ahead and
// finishes the deal with a quick playout.
//
// Hands, the follow rule and the trick's best card are kept as card masks and updated as cards
// are played, so a node allocates nothing; the table's key is a Zobrist hash carried along.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "deal/CardMask.h"
#include "deal/CardPlay.h"
#include "deal/PlayFacts.h"
#include "deal/Scoring.h"

namespace zn::deal {

struct SearchLimits {
  int exactTricks = 4;  // with this many tricks left (the one in progress included) search to the end
  int aheadTricks = 2;  // otherwise search this many tricks, then play the deal out quickly
};

// The position to search: the hands left, the trick in progress and the finished tricks.
struct SearchStart {
  std::array<CardMask, kSeats + 1> hands{};
  std::array<TCard, kSeats + 1> table{};
  int leader = 0;
  PlayRecord played;
};

// The cards a seat holding `hand` may play onto a trick led with suit class `led` (-1: it leads):
// the led suit, else the tarokks, else anything (the rule of game/PlayRules.h on masks).
inline CardMask LegalCards(CardMask hand, int led) {
  if (led < 0) return hand;
  if (const CardMask follow = hand & SuitMask(led)) return follow;
  if (const CardMask tarokks = hand & SuitMask(4)) return tarokks;
  return hand;
}

// The cards that beat `best` in a trick led with suit class `led` (the rule of Beats on masks).
inline CardMask BeatingCards(TCard best, int led) {
  if (best == kNoCard) return kAllCards;
  const CardMask above = ~((CardMask{2} << best) - 1);
  if (best >= kFirstTarokk) return SuitMask(4) & above;
  return SuitMask(4) | (SuitMask(led) & above);
}

class PlaySearch {
 public:
  // terms[p]: the scoring terms of pair p (1 or 2).
  PlaySearch(std::array<std::vector<ScoreTerm>, 3> terms, int pair, SearchLimits limits = {});
  ~PlaySearch();  // gives the table back to the thread
  PlaySearch(const PlaySearch&) = delete;
  PlaySearch& operator=(const PlaySearch&) = delete;

  // The value of every legal card of the seat on turn (ascending by card); empty when `expired`
  // said so during the search (it is asked every 256 nodes).
  std::vector<std::pair<TCard, int>> CardValues(const SearchStart& start,
                                                const std::function<bool()>& expired = {});
  std::int64_t Nodes() const { return nodes_; }
  // The rest of the deal played out quickly (the search's horizon play), for the bidding estimate.
  const PlayRecord& PlayOut(const SearchStart& start);

 private:
  // What a card changed, to take it back.
  struct Undo {
    std::uint64_t key;
    TCard best;
    int holder, leader, onTurn, onTable, led;
  };
  struct Entry {
    std::uint64_t key = 0;
    std::int32_t value = 0;
    std::uint32_t generation = 0;  // the layout it was stored for; older entries count as empty
    std::uint8_t bound = 0;        // 1 exact, 2 lower, 3 upper
    std::uint8_t best = kNoCard;
  };

  void LoadPosition(const SearchStart& start);
  int Search(int alpha, int beta);
  int Finish() const;  // the value of a finished deal
  int Playout();
  TCard PlayoutCard() const;
  CardMask Legal() const {
    return LegalCards(masks_[static_cast<std::size_t>(onTurn_)], onTable_ ? led_ : -1);
  }
  void Do(TCard card);
  void Takeback();

  std::array<std::vector<ScoreTerm>, 3> terms_;
  int pair_;
  SearchLimits limits_;
  std::array<CardMask, kSeats + 1> masks_{};
  std::array<TCard, kSeats + 1> table_{};
  int leader_ = 0;
  int onTurn_ = 0;
  int onTable_ = 0;
  int led_ = 0;           // suit class of the trick's first card
  TCard best_ = kNoCard;  // the card that takes the trick so far, and its seat
  int holder_ = 0;
  // Hash of what the value of the rest depends on besides the fixed layout: for each trick of the
  // search its number, winner and winning card, and the cards each pair took in them.
  std::uint64_t key_ = 0;
  PlayRecord record_;
  int cutoff_ = 0;  // after this many tricks the deal is played out
  std::array<Undo, kTricks * kSeats> undo_{};
  int depth_ = 0;
  // The transposition table, kept by the thread between searches (a decision's searches are many
  // and short: a fresh table each time cost more in page faults than many of them searched). Its
  // generation goes with it, so a reused table's old entries count as empty.
  struct Table {
    std::vector<Entry> entries;
    std::uint32_t generation = 0;
  };
  std::unique_ptr<Table> tt_;  // taken on the first search
  Entry* table_tt_ = nullptr;
  std::uint32_t generation_ = 0;
  std::int64_t nodes_ = 0;
  const std::function<bool()>* expired_ = nullptr;
  bool stopped_ = false;
};

}  // namespace zn::deal
