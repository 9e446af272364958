#include "game/BidCatalog.h"

#include <algorithm>

#include "game/ZnError.h"

namespace zn {
namespace {

// The prefix kind of the entry at a position of a fixed group; None for anything else.
TPrefixKind PrefixKindAt(int group, int entryIndex) {
  const auto entries = FixedBidEntries(group);
  if (entryIndex < 0 || static_cast<std::size_t>(entryIndex) >= entries.size()) return TPrefixKind::None;
  return entries[static_cast<std::size_t>(entryIndex)].Prefix;
}

bool IsSuitPrefix(int prefixIndex) { return prefixIndex >= kFirstSuitPrefix && prefixIndex < kPrefixCount; }

// A bid name of the fixed groups without kontra marks.
bool IsPlainCatalogBid(std::string_view bid) {
  for (int group = 1; group < kBidGroupCount; ++group) {
    for (const TBidEntry& entry : FixedBidEntries(group)) {
      if (entry.Prefix == TPrefixKind::None) {
        if (bid == entry.Text) return true;
        continue;
      }
      if (bid.size() <= entry.Text.size() || !bid.ends_with(entry.Text)) continue;
      const std::string_view word = bid.substr(0, bid.size() - entry.Text.size());
      const int first = entry.Prefix == TPrefixKind::SuitWord ? kFirstSuitPrefix : 0;
      for (int p = first; p < kPrefixCount; ++p)
        if (word == PrefixWord(p)) return true;
    }
  }
  return false;
}

}  // namespace

TBidCatalog::TBidCatalog() {
  for (int group = 0; group < kBidGroupCount; ++group)
    for (const TBidEntry& entry : FixedBidEntries(group))
      Groups[static_cast<std::size_t>(group)].emplace_back(entry.Text);
}

const std::vector<std::string>& TBidCatalog::GroupEntries(int group) const {
  static const std::vector<std::string> kNone;
  return group >= 0 && group < kBidGroupCount ? Groups[static_cast<std::size_t>(group)] : kNone;
}

int TBidCatalog::DefaultPrefix(int group) { return group == 4 || group == 5 ? kFirstSuitPrefix : 0; }

std::string TBidCatalog::ComposeBid(int group, int entryCount, int entryIndex, std::string_view entryText,
                                    std::string_view prefixText, int prefixIndex) {
  const TPrefixKind kind = PrefixKindAt(group, entryIndex);
  if (kind == TPrefixKind::SuitWord && !IsSuitPrefix(prefixIndex))
    throw EZnError(std::string(kBadSuitChoice));
  if (entryCount <= 0 || entryIndex < 0 || entryIndex >= entryCount) throw EZnError(std::string(kBadBid));
  std::string name;
  if (kind != TPrefixKind::None) name = prefixText;
  name += entryText;
  // A space would split the name into two tokens and a "#" would end the line on the wire.
  if (name.empty() || name.find_first_of(" #") != std::string::npos) throw EZnError(std::string(kBadBid));
  return name;
}

std::string_view TBidCatalog::ExplainBid(int group, int entryIndex, std::string_view entryText) {
  if (group == kSignalGroup) {
    if (entryText == kMatadorSignal) return kMatadorExplanation;
    if (entryText == kVannakSignal) return kVannakExplanation;
    if (entryText == kFlushSignal) return kFlushExplanation;
    return kCountExplanation;
  }
  if (group == kKontraGroup || group == kRekontraGroup) return kContestExplanation;
  const auto entries = FixedBidEntries(group);
  if (entryIndex < 0 || static_cast<std::size_t>(entryIndex) >= entries.size()) return {};
  return entries[static_cast<std::size_t>(entryIndex)].Explanation;
}

void TBidCatalog::MakeHandSignals(std::span<const TCard> sortedHand) {
  Groups[kSignalGroup] = HandSignals(sortedHand);
}

void TBidCatalog::MakeContestCandidates(std::span<const std::string> otherPairBids) {
  auto& kontra = Groups[kKontraGroup];
  auto& rekontra = Groups[kRekontraGroup];
  kontra.clear();
  rekontra.clear();
  for (const std::string& bid : otherPairBids) {
    // An empty token (a block that announced more bids than its line held) is no bid to contest.
    if (bid.empty() || IsHandSignal(bid) || bid.starts_with("**")) continue;
    (bid.starts_with('*') ? rekontra : kontra).push_back("*" + bid);
  }
}

void TBidCatalog::Reset() { Groups[kSignalGroup].clear(); }

bool TBidCatalog::IsHandSignal(std::string_view bid) {
  if (!bid.empty() && bid.front() >= '1' && bid.front() <= '9') return true;
  return bid == kFlushSignal || bid == kMatadorSignal || bid == kVannakSignal;
}

bool TBidCatalog::GivesHandSignal(std::span<const TCard> hand, std::string_view signal) {
  const auto signals = HandSignals(hand);
  return std::find(signals.begin(), signals.end(), signal) != signals.end();
}

bool TBidCatalog::IsCatalogBid(std::string_view bid) {
  if (bid.starts_with("**"))
    bid.remove_prefix(2);
  else if (bid.starts_with('*'))
    bid.remove_prefix(1);
  return IsPlainCatalogBid(bid);
}

}  // namespace zn
