// The bid names the deal engine refers to by meaning, taken from the bid catalogue by their place
// in it, so no name is spelled twice.
#pragma once

#include <string_view>

namespace zn::deal {

// The text of entry `entry` of fixed group `group` (empty when there is none).
std::string_view CatalogEntry(int group, int entry);

std::string_view HonorBid();  // one honőr; the chain Honőr < Köpf < Trull
std::string_view KopfBid();
std::string_view TrullBid();
std::string_view GameBid();  // the lowest game ("Gém"), the robots' bid

}  // namespace zn::deal
