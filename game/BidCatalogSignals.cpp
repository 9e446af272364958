// The hand signals of group 0, computed from the own ten cards.
#include <array>
#include <string>

#include "game/BidCatalog.h"

namespace zn {
namespace {

struct TSuitSignal {
  int Suit;        // suit class of SuitOf
  int FullLength;  // the count that gives "Flush"
  int Word;        // prefix word of the suit
};

// In signal order. The red suits give "Flush" at four cards already.
constexpr std::array<TSuitSignal, 4> kSuitSignals = {{{0, 5, 4}, {1, 4, 5}, {2, 4, 6}, {3, 5, 7}}};

// The Treff code of each letter that gives "Vannak" when all four suits' cards of it are held:
// B, L and D. The same letter of suit s is that code + 5 * s.
constexpr std::array<TCard, 3> kVannakLetters = {2, 3, 4};

constexpr int kTarokkSignalAbove = 7;  // more tarokks than this give the tarokk count
constexpr TCard kLowestMatador = 21;   // Pagát
constexpr TCard kHighestMatador = 24;  // Kanári

std::string CountSignal(int count, std::string_view word) {
  return std::to_string(count) + std::string(kBidJoiner) + std::string(word);
}

}  // namespace

std::vector<std::string> TBidCatalog::HandSignals(std::span<const TCard> hand) {
  std::array<int, 4> suitCounts{};
  int tarokks = 0;
  TCard lowestTarokk = kSkiz + 1;
  std::array<bool, kMaxCard + 1> held{};
  for (const TCard card : hand) {
    if (card < 1 || card > kMaxCard) continue;
    held[static_cast<std::size_t>(card)] = true;
    if (card >= kFirstTarokk) {
      ++tarokks;
      if (card < lowestTarokk) lowestTarokk = card;
    } else {
      ++suitCounts[static_cast<std::size_t>(SuitOf(card))];
    }
  }

  std::vector<std::string> signals;
  if (tarokks > kTarokkSignalAbove) signals.push_back(CountSignal(tarokks, kTarokkWord));
  for (const TSuitSignal& s : kSuitSignals) {
    const int count = suitCounts[static_cast<std::size_t>(s.Suit)];
    if (count == s.FullLength)
      signals.emplace_back(kFlushSignal);
    else if (count > 1)
      signals.push_back(CountSignal(count, PrefixWord(s.Word)));
  }
  if (lowestTarokk >= kLowestMatador && lowestTarokk <= kHighestMatador) signals.emplace_back(kMatadorSignal);
  for (const TCard letter : kVannakLetters) {
    bool all = true;
    for (int suit = 0; suit < 4; ++suit) all = all && held[static_cast<std::size_t>(letter + 5 * suit)];
    if (all) signals.emplace_back(kVannakSignal);
  }
  return signals;
}

}  // namespace zn
