// The deal record reader on any text: it either refuses with the one error type or gives deals
// that the writer writes back to the same deals.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "dealrecord/DealFormat.h"
#include "game/ZnError.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::vector<zn::dealrecord::DealRecord> deals;
  try {
    deals = zn::dealrecord::ReadDeals(text);
  } catch (const zn::EZnError&) {
    return 0;
  }
  std::string again;
  for (const auto& d : deals) again += zn::dealrecord::WriteDeal(d);
  if (zn::dealrecord::ReadDeals(again) != deals) std::abort();
  return 0;
}
