#include "deal/BidNames.h"

#include "game/BidCatalogData.h"

namespace zn::deal {
namespace {

constexpr int kBiztatok = 1;
constexpr int kUtesek = 2;

}  // namespace

std::string_view CatalogEntry(int group, int entry) {
  const auto entries = FixedBidEntries(group);
  return entry >= 0 && static_cast<std::size_t>(entry) < entries.size()
             ? entries[static_cast<std::size_t>(entry)].Text
             : std::string_view{};
}

std::string_view HonorBid() { return CatalogEntry(kBiztatok, 3); }
std::string_view KopfBid() { return CatalogEntry(kBiztatok, 4); }
std::string_view TrullBid() { return CatalogEntry(kBiztatok, 5); }
std::string_view GameBid() { return CatalogEntry(kUtesek, 0); }

}  // namespace zn::deal
