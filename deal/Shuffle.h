// Deal n: a seeded shuffle of the 42 cards that is the same on every platform and compiler. The
// generator (splitmix64 seeding xoshiro256**) and the bounded draw are our own, so no standard
// library distribution can change the cards of a numbered deal.
#pragma once

#include <array>
#include <cstdint>

#include "deal/Seats.h"
#include "game/Hands.h"

namespace zn::deal {

inline constexpr int kHandSize = 10;
inline constexpr int kCardsOut = 2;

class DealRandom {
 public:
  explicit DealRandom(std::uint64_t seed);
  std::uint64_t Next();
  // A number in 0..bound-1 without modulo bias (bound > 0).
  std::uint64_t Below(std::uint64_t bound);

 private:
  std::array<std::uint64_t, 4> s_{};
};

struct DealtCards {
  std::array<TCards, kSeats + 1> hands;  // [1..4]: ten cards each, ascending; [0] unused
  std::array<TCard, kCardsOut> out{};    // the two cards that stay out of the deal
};

// The cards of deal number n (any value; the server deals only n > 0).
DealtCards DealCards(std::int32_t number);
// The dealer seat: 1 for odd n, 3 for even n.
constexpr int DealerOf(std::int32_t number) { return number % 2 != 0 ? 1 : 3; }

}  // namespace zn::deal
