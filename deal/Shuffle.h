// Deal n: a seeded shuffle of the 42 cards that is the same on every platform and compiler. The
// generator (splitmix64 seeding xoshiro256**) and the bounded draw are our own, so no standard
// library distribution can change the cards of a numbered deal.
//
// The server deals with a key: deal n of a room's match is drawn from n, the match's own secret and
// a key only the server holds (BLAKE2b keyed, from libsodium, fills the generator's whole state),
// so a deal number tells nothing about the cards, and the same number in another room or a later
// match is other cards. The unkeyed deal is for the robots' own matches and benchmarks, which hide
// nothing.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "deal/Seats.h"
#include "game/Hands.h"

namespace zn::deal {

inline constexpr int kHandSize = 10;
inline constexpr int kCardsOut = 2;

// The server's deal key: 32 random bytes.
inline constexpr std::size_t kDealKeyBytes = 32;
using DealKey = std::array<unsigned char, kDealKeyBytes>;
// The secret of one match of a room: 32 random bytes, made fresh for every match.
inline constexpr std::size_t kMatchSecretBytes = 32;
using MatchSecret = std::array<unsigned char, kMatchSecretBytes>;

class DealRandom {
 public:
  explicit DealRandom(std::uint64_t seed);
  // The generator's whole state (not all zero).
  explicit DealRandom(const std::array<std::uint64_t, 4>& state);
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

// The cards of deal number n (any value; the server deals only n > 0), without a key.
DealtCards DealCards(std::int32_t number);
// The cards of deal number n under key: the same key and n give the same cards on every machine.
DealtCards DealCards(std::int32_t number, const DealKey& key);
// The cards of deal number n of the match with the secret match, under key. The hashed message
// starts with a byte naming what the cards are for, so cards drawn for anything else (a
// tournament's boards) come from inputs no room's match can reach.
DealtCards DealCards(std::int32_t number, const DealKey& key, const MatchSecret& match);
// The dealer seat: 1 for odd n, 3 for even n.
constexpr int DealerOf(std::int32_t number) { return number % 2 != 0 ? 1 : 3; }

}  // namespace zn::deal
