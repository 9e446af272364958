// The bid catalogue: ten groups of bid names, the rules that turn a choice in the bidding panel into
// a bid name, the explanation of every entry, the hand signals of a hand and the kontra and rekontra
// candidates of a bidding line. Qt-free: the club server checks members' bids with it too.
#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "game/BidCatalogData.h"
#include "game/Hands.h"

namespace zn {

class TBidCatalog {
 public:
  // Groups 1-7 hold their fixed entries; groups 0, 8 and 9 start empty.
  TBidCatalog();

  // The entries of a group in display order (an empty list outside 0..9).
  const std::vector<std::string>& GroupEntries(int group) const;
  // The caption of a group for the group list ("Jelzések" .. "** Rekontra").
  static std::string_view GroupCaption(int group) { return BidGroupCaption(group); }
  // The index of the prefix word the prefix box shows when a group is selected: 4 ("Treff") for
  // groups 4 and 5, 0 ("Pagát") otherwise.
  static int DefaultPrefix(int group);

  // The bid name for the selected entry of a group, with the prefix in front when the entry takes
  // one. entryIndex is the selected row (-1 for none), prefixIndex the selected prefix word (-1 when
  // the box shows typed text). Throws EZnError "Hibás színválasztás" when a banda or mariage lacks a
  // suit word, and "Hibás licit" when the group is empty, no row is selected, or the name would hold
  // an ordinary space or a "#" (a space would split the name into two tokens on the wire, a "#" would
  // start a new line for every member).
  static std::string ComposeBid(int group, int entryCount, int entryIndex, std::string_view entryText,
                                std::string_view prefixText, int prefixIndex);

  // The one-line explanation of an entry; empty when a fixed group has no entry selected.
  static std::string_view ExplainBid(int group, int entryIndex, std::string_view entryText);

  // Group 0 becomes the hand signals of the own hand.
  void MakeHandSignals(std::span<const TCard> sortedHand);
  // Groups 8 and 9 become the kontra and rekontra candidates of the other pair's bids, in order.
  void MakeContestCandidates(std::span<const std::string> otherPairBids);
  // Empties group 0 (the player left the seat or switched between playing and watching).
  void Reset();

  // The hand signals a hand gives, in the order of group 0: tarokk length, suit lengths and
  // "Flush", "Matador", one "Vannak" per complete rank of B, L or D. The order of the cards does
  // not matter; codes outside 1..42 count for nothing.
  static std::vector<std::string> HandSignals(std::span<const TCard> hand);
  // True for the form of a hand signal: a text starting with a digit 1-9, "Flush", "Matador" or
  // "Vannak". Such bids are never kontra'd and the bid list drops the counts before scoring.
  static bool IsHandSignal(std::string_view bid);
  // True when hand gives the signal (exactly as HandSignals spells it).
  static bool GivesHandSignal(std::span<const TCard> hand, std::string_view signal);
  // True when bid is a bid name of the fixed groups as the catalogue spells it: a fixed entry, a
  // prefix word + suffix name (a suit word for banda and mariage), or "*" or "**" in front of one.
  // Hand signals are not catalogue bids (see GivesHandSignal).
  static bool IsCatalogBid(std::string_view bid);

 private:
  std::array<std::vector<std::string>, kBidGroupCount> Groups;
};

}  // namespace zn
