// TBidList: a working list of bid names with the presence test, the deletion of a bid, the pick of
// one seat's or one pair's bids out of a bidding line, and the cleaning rules applied before
// scoring. Qt-free: the club server cleans the pairs' bids with it too.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zn {

class TBidList {
 public:
  // The ordinary list operations: entries in insertion order, duplicates allowed.
  void Add(std::string bid) { Items.push_back(std::move(bid)); }
  int Count() const { return static_cast<int>(Items.size()); }
  // Entry i; throws EZnError "List index out of bounds (i)" outside 0..Count()-1.
  const std::string& Strings(int i) const;
  void Clear() { Items.clear(); }
  const std::vector<std::string>& Entries() const { return Items; }

  // True when some entry equals bid without regard to case ('KÖPF' matches "Köpf").
  bool Van(std::string_view bid) const;
  // Removes the first entry equal to bid (without regard to case); nothing when there is none.
  void DeleteBid(std::string_view bid);

  // Replaces the list by the bids of one seat (seat 1..4) or of one pair (seat 0..-4: the pair of
  // seat -seat; 0 gives the pair of seat 1) read from text: "#B", the dealer digit and the blocks
  // "name count bid...". A text of exactly 3 characters (no block yet) leaves the list unchanged;
  // a seat outside -4..4 leaves it empty. A count that is not an integer throws the tokenizer's
  // conversion error, with the bids read before it kept. Bids a block announces beyond the end of
  // the text are not there and are not added.
  void Filter(std::string_view text, int seat);

  // Applies the removal rules between bids in their fixed order. True when, at the game-ladder
  // rule, none of "Volát", "Mizer", "Oktáv", "Bridzs", "Kassza", "Gém" was in the list.
  bool Cleaning();

 private:
  std::vector<std::string> Items;
};

}  // namespace zn
