// When each catalogue bid is made and what it is worth: one table of (bid, test, value) that the
// server's scoring and the tests share. A bid is named by its place in the bid catalogue.
#pragma once

#include <span>
#include <string_view>

#include "deal/CardPlay.h"
#include "deal/PlayFacts.h"

namespace zn::deal {

// test(facts, pair, prefix): whether the pair made the bid in the played deal; prefix is the
// index of the prefix word (0..7) for a magasító, banda or mariage, else -1.
using BidTest = bool (*)(const PlayFacts& facts, int pair, int prefix);

struct BidRule {
  int group;  // fixed group of the bid catalogue (1..7)
  int entry;  // place in that group
  int value;
  BidTest test;
};

// Every fixed entry of the catalogue, once.
std::span<const BidRule> BidRules();

struct BidRuleMatch {
  const BidRule* rule = nullptr;  // nullptr: not a catalogue bid
  int prefix = -1;
};
// The rule of a plain bid name (no "*"): a fixed entry, or a prefix word + suffix name.
BidRuleMatch FindBidRule(std::string_view bid);
// Whether the pair made the bid, and its value (0 and false for a name that is no catalogue bid).
bool BidMade(std::string_view bid, const PlayRecord& record, int pair);
int BidValue(std::string_view bid);

}  // namespace zn::deal
