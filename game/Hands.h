// Cards and hands: card codes and their names, and THand.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace zn {

// A card code: 1-5 Treff, 6-10 Káró, 11-15 Kőr, 16-20 Pikk, 21-41 tarokk I..XXI, 42 Skíz; 0 = none.
using TCard = std::int32_t;
inline constexpr TCard kNoCard = 0;
inline constexpr TCard kFirstTarokk = 21;
inline constexpr TCard kSkiz = 42;
inline constexpr TCard kMaxCard = 42;

// The display text of a card ("Káró A", " IIII ", " Skíz "); empty for anything else. cp1250.
std::string CardName(TCard code);
// The card as it is spoken ("Kőr király", "Tarokk XXI", "Skíz"): a screen reader's name for its
// picture. Empty where CardName is. cp1250.
std::string CardSpokenName(TCard code);
// Suit class: 0 Treff, 1 Káró, 2 Kőr, 3 Pikk, 4 everything else (tarokks, 0, out of range).
int SuitOf(TCard code);

using TCards = std::vector<std::int32_t>;

// The text of the list-index error: "List index out of bounds (<index>)".
std::string ListIndexError(int index);

// An ordered, growable array of card codes (a hand, a trick) or of five suit counters.
class THand {
 public:
  THand(std::initializer_list<std::int32_t> values) : Cards(values) {}
  explicit THand(TCards values) : Cards(std::move(values)) {}
  virtual ~THand() = default;
  THand(const THand&) = default;
  THand& operator=(const THand&) = default;

  TCards Cards;

  int Count() const { return static_cast<int>(Cards.size()); }
  // Entries beyond the old count are 0; a negative n empties the hand.
  void SetCount(int n);
  // Entry i. The caller keeps i in 0..Count()-1; outside it the list-index error is thrown
  // rather than reading past the array.
  std::int32_t Card(int i) const;
  // Grows the hand with 0 entries when i >= Count(). A negative i throws the list-index error.
  void SetCard(int i, std::int32_t code);
  // Swaps entries i and j (the list-index error when either is outside the hand).
  void Exchange(int i, int j);
  void Sort();
  // Target becomes the five suit-class counters of this hand.
  void CountSuits(THand& target) const;
  int IndexOf(std::int32_t code) const;
  bool Has(std::int32_t code) const { return IndexOf(code) >= 0; }
  // " 3 7 42": each entry preceded by one space; empty for an empty hand.
  virtual std::string AsText() const;
};

}  // namespace zn
