// The open text format of deal records (docs/deal-format.md): plain UTF-8 text, one line per field,
// one block per deal, versioned by the block's first line. The writer and the reader are each
// other's inverse: ReadDeals(WriteDeal(r)) gives r back.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "dealrecord/DealRecord.h"

namespace zn::dealrecord {

inline constexpr int kFormatVersion = 1;
inline constexpr std::string_view kFormatHeader = "zenit-deal";
// A file of records is refused beyond this many (a reader keeps them all in memory).
inline constexpr std::size_t kMaxDeals = 1'000'000;
// No real deal has more sets of bids than the bidding's rounds allow, nor a set with more bids
// than there are different bid names (the server refuses a repeat within a set): a record beyond
// either is refused, and the post-mortem never meets one.
std::size_t MaxSetsInADeal();
std::size_t MaxBidsInASet();

// One block, every line ended with "\n" (UTF-8). Names lose nothing; a control byte in a name,
// which would break the line, is written as "?".
std::string WriteDeal(const DealRecord& record);

// Every block of the text, or, at the first fault, EZnError naming the line ("A(z) 12. sor ...")
// and nothing at all: a file is read whole or not at all.
std::vector<DealRecord> ReadDeals(std::string_view text);
// The same, asking going (with the bytes read so far and the text's length) before every block
// whether to go on; when it answers false the reading ends with EZnError and gives back nothing.
std::vector<DealRecord> ReadDeals(std::string_view text,
                                  const std::function<bool(std::size_t read, std::size_t total)>& going);

// The name of a card in the format ("Káró A", "IIII", "Skíz"; cp1250), and its code back (kNoCard
// for a name that is no card).
std::string FormatCardName(TCard card);
TCard CardOfName(std::string_view cp1250);
// "2026-12-08T13:31:48Z" and back; false for any other text or a date out of 1970..9999.
std::string FormatTime(std::int64_t seconds);
bool ParseTime(std::string_view text, std::int64_t& seconds);

}  // namespace zn::dealrecord
