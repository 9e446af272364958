#include "deal/Shuffle.h"

#include <sodium.h>

#include <algorithm>

namespace zn::deal {
namespace {

std::uint64_t SplitMix(std::uint64_t& x) {
  std::uint64_t z = (x += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

// The 42 cards in the order the generator leaves them: ten for each seat, then the two out.
DealtCards Deal(DealRandom& random) {
  std::array<TCard, kMaxCard> deck{};
  for (int i = 0; i < kMaxCard; ++i) deck[static_cast<std::size_t>(i)] = i + 1;
  for (std::size_t i = deck.size() - 1; i > 0; --i) std::swap(deck[i], deck[random.Below(i + 1)]);

  DealtCards dealt;
  for (int seat = 1; seat <= kSeats; ++seat) {
    const auto first = deck.begin() + (seat - 1) * kHandSize;
    TCards& hand = dealt.hands[static_cast<std::size_t>(seat)];
    hand.assign(first, first + kHandSize);
    std::sort(hand.begin(), hand.end());
  }
  dealt.out = {deck[kSeats * kHandSize], deck[kSeats * kHandSize + 1]};
  std::sort(dealt.out.begin(), dealt.out.end());
  return dealt;
}

// The generator's state from the keyed hash of message, read as four little-endian words.
DealtCards DealKeyed(const unsigned char* message, std::size_t size, const DealKey& key) {
  static const bool ready = sodium_init() >= 0;  // picks the fastest hash code; safe to repeat
  (void)ready;
  unsigned char hash[32];
  crypto_generichash(hash, sizeof hash, message, size, key.data(), key.size());
  std::array<std::uint64_t, 4> state{};
  for (std::size_t i = 0; i < sizeof hash; ++i) state[i / 8] |= std::uint64_t{hash[i]} << (8 * (i % 8));
  sodium_memzero(hash, sizeof hash);
  DealRandom random(state);
  return Deal(random);
}

void PutNumber(unsigned char* at, std::int32_t number) {
  const auto n = static_cast<std::uint32_t>(number);
  for (int i = 0; i < 4; ++i) at[i] = static_cast<unsigned char>(n >> (8 * i));
}

// The first byte of a match deal's message. A message of four bytes (the number alone) is the
// older derivation; other uses take another first byte.
constexpr unsigned char kMatchDeal = 'M';

constexpr std::uint64_t Rotl(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }

}  // namespace

DealRandom::DealRandom(std::uint64_t seed) {
  for (auto& word : s_) word = SplitMix(seed);
}

std::uint64_t DealRandom::Next() {
  const std::uint64_t result = Rotl(s_[1] * 5, 7) * 9;
  const std::uint64_t t = s_[1] << 17;
  s_[2] ^= s_[0];
  s_[3] ^= s_[1];
  s_[1] ^= s_[2];
  s_[0] ^= s_[3];
  s_[2] ^= t;
  s_[3] = Rotl(s_[3], 45);
  return result;
}

std::uint64_t DealRandom::Below(std::uint64_t bound) {
  // Draws below the threshold would make the low results more likely: draw again.
  const std::uint64_t threshold = (0 - bound) % bound;
  for (;;) {
    const std::uint64_t r = Next();
    if (r >= threshold) return r % bound;
  }
}

DealRandom::DealRandom(const std::array<std::uint64_t, 4>& state) : s_(state) {
  if (s_ == std::array<std::uint64_t, 4>{}) s_[0] = 1;  // the one state it never leaves
}

DealtCards DealCards(std::int32_t number) {
  // The seed is the deal number's bits, so negative numbers have their own deals too.
  DealRandom random(static_cast<std::uint64_t>(static_cast<std::uint32_t>(number)));
  return Deal(random);
}

// The state is the keyed hash of n's four bytes (little-endian), read as four little-endian
// words. Each deal gets a state of its own that nobody can compute without the key; what a player
// sees of one deal (at most its cards) says nothing about the state of another.
DealtCards DealCards(std::int32_t number, const DealKey& key) {
  unsigned char message[4];
  PutNumber(message, number);
  return DealKeyed(message, sizeof message, key);
}

// The message: 'M', the match's secret, n's four bytes (little-endian).
DealtCards DealCards(std::int32_t number, const DealKey& key, const MatchSecret& match) {
  unsigned char message[1 + kMatchSecretBytes + 4];
  message[0] = kMatchDeal;
  std::copy(match.begin(), match.end(), message + 1);
  PutNumber(message + 1 + kMatchSecretBytes, number);
  DealtCards dealt = DealKeyed(message, sizeof message, key);
  sodium_memzero(message, sizeof message);
  return dealt;
}

}  // namespace zn::deal
