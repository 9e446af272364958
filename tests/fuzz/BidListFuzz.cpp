// The bid list's Filter (a bidding line, any seat) and Cleaning (any list of names).
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

#include "game/BidList.h"
#include "game/Tokenizer.h"
#include "game/ZnError.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  const int seat = in.ConsumeIntegralInRange<int>(-6, 6);
  const std::string text = in.ConsumeRemainingBytesAsString();
  zn::TBidList list;
  try {
    list.Filter(text, seat);
  } catch (const zn::EZnError&) {
  }
  list.Cleaning();
  // The same text as a plain list of names, so Cleaning sees any mix of bids.
  zn::TBidList names;
  std::string_view rest(text);
  while (!rest.empty()) names.Add(std::string(zn::CutWord(rest)));
  names.Cleaning();
  if (names.Count() > 0) names.DeleteBid(names.Strings(0));
  return 0;
}
