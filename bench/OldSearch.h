// A copy of the search as it was before its masks and hashes, for the benchmark to compare the
// robots' decisions with (bench/RobotBench.cpp); not used by anything else.
// Full-information search of the rest of a deal: every hand known (one sampled layout), alpha-beta
// over the cards with move ordering and a small transposition table. The value of a finished deal
// is the viewer's pair's score minus the other pair's, tricks and every bid by the bid table, so a
// trick given away now can be worth a bid later. Far from the end the search looks a few tricks
// ahead and finishes the deal with a quick playout.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <utility>
#include <vector>

#include "deal/PlaySearch.h"
#include "deal/Robot.h"

namespace zn::bench {

using deal::CardMask;
using deal::kSeats;
using deal::kTricks;
using deal::PlayRecord;
using deal::ScoreTerm;
using deal::SearchLimits;
using deal::SearchStart;

class OldPlaySearch {
 public:
  // terms[p]: the scoring terms of pair p (1 or 2).
  OldPlaySearch(std::array<std::vector<ScoreTerm>, 3> terms, int pair, SearchLimits limits = {});

  // The value of every legal card of the seat on turn (ascending by card); empty when `expired`
  // said so during the search (it is asked every 256 nodes).
  std::vector<std::pair<TCard, int>> CardValues(const SearchStart& start,
                                                const std::function<bool()>& expired = {});
  std::int64_t Nodes() const { return nodes_; }
  // The rest of the deal played out quickly (the search's horizon play), for the bidding estimate.
  const PlayRecord& PlayOut(const SearchStart& start);

 private:
  struct Undo {
    std::array<TCard, kSeats + 1> table;
    int leader, onTurn, onTable, index;
    TCard card;
  };
  struct Entry {
    std::uint64_t key = 0;
    std::int32_t value = 0;
    std::uint8_t bound = 0;  // 0 empty, 1 exact, 2 lower, 3 upper
    TCard best = kNoCard;
  };

  void Load(const SearchStart& start);
  void LoadPosition(const SearchStart& start);
  int Search(int alpha, int beta);
  int Finish();  // the value of a finished deal
  int Playout();
  TCard PlayoutCard() const;
  int Legal(std::array<TCard, kTricks>& moves) const;
  void Do(TCard card);
  void Takeback();
  TCard BestOnTable(int* holder) const;
  std::uint64_t Key() const;

  std::array<std::vector<ScoreTerm>, 3> terms_;
  int pair_;
  SearchLimits limits_;
  std::array<THand, kSeats + 1> hands_{THand{}, THand{}, THand{}, THand{}, THand{}};
  std::array<CardMask, kSeats + 1> masks_{};
  std::array<TCard, kSeats + 1> table_{};
  int leader_ = 0;
  int onTurn_ = 0;
  int onTable_ = 0;
  PlayRecord record_;
  int startCount_ = 0;  // tricks finished before the search
  int cutoff_ = 0;      // after this many tricks the deal is played out
  std::vector<Undo> undo_;
  std::vector<Entry> table_tt_;
  std::int64_t nodes_ = 0;
  const std::function<bool()>* expired_ = nullptr;
  bool stopped_ = false;
};

// The strong robot's card decision as it was, with the old search: `layouts` layouts, no budget.
TCard OldStrongPlay(const deal::RobotView& view, int layouts);

}  // namespace zn::bench
