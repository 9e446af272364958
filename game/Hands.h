// Cards and hands: card codes and their names, THand, the line tokenizer, Min/Max, Confirm and the
// start-up move of an old settings file.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
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

// The line tokenizer. The line is a view that the call advances past what it took, so a parser
// reads its fields from the front; consecutive delimiters yield empty tokens.
//
// CutToken: the text before the first delimiter (removed with the delimiter), or the whole line.
std::string_view CutToken(std::string_view& line, char delimiter);
// CutToken with the space as delimiter.
std::string_view CutWord(std::string_view& line);
// CutWord, then the token as a signed decimal 32-bit integer; anything else (empty, a sign alone,
// other characters, out of range) throws EZnError "'<token>' is not a valid integer value".
std::int32_t CutInt(std::string_view& line);
// The conversion CutInt applies to one token.
std::int32_t StrToInt(std::string_view token);
// The same conversion without the error: false when token is not a valid integer.
bool TryStrToInt(std::string_view token, std::int32_t& value);

inline int Min(int a, int b) { return a < b ? a : b; }
inline int Max(int a, int b) { return a > b ? a : b; }

// Yes/No question box captioned "Jóváhagyás"; the cursor is the arrow while it is open.
bool Confirm(const std::string& question);

// The settings file's full path: "Zn.INI" in programDir. An old "DoZezive.INI" found in the Windows
// directory is moved there first (ExpandCopy, then delete). Throws EZnError when the copy fails.
std::string LocateSettings(const std::string& programDir);
// Copies source to dest, expanding the compressed-file format; throws EZnError on failure.
void ExpandCopy(const std::string& source, const std::string& dest);

}  // namespace zn
