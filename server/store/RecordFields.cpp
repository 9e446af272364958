#include "server/store/RecordFields.h"

#include <algorithm>

#include "dealrecord/DealFormat.h"
#include "game/Cp1250.h"
#include "game/PlayRules.h"
#include "game/ZnError.h"

namespace zn::server {

std::string HandsBlob(const dealrecord::DealRecord& r) {
  std::string map(kMaxCard, '\0');
  for (int seat = 1; seat <= kSeats; ++seat)
    for (const TCard c : r.hands[static_cast<std::size_t>(seat)])
      if (c >= 1 && c <= kMaxCard) map[static_cast<std::size_t>(c - 1)] = static_cast<char>(seat);
  return map;
}

std::string BidsText(const dealrecord::DealRecord& r) {
  std::string text;
  for (const dealrecord::BidRecord& b : r.bids) {
    if (!text.empty()) text += '\n';
    text += std::to_string(b.seat);
    for (const std::string& bid : b.bids) text += '\t' + bid;
  }
  return text;
}

std::string CardsBlob(const dealrecord::DealRecord& r) {
  std::string cards;
  for (const dealrecord::TrickRecord& t : r.tricks)
    for (const TCard c : t.cards) cards += static_cast<char>(c);
  return cards;
}

bool ReadFields(const std::string& hands, const std::string& bids, const std::string& cards,
                dealrecord::DealRecord& r) {
  if (hands.size() != kMaxCard || cards.size() % kSeats != 0 || cards.size() > kSeats * kTricks ||
      !ValidSeat(r.dealer))
    return false;
  for (TCard c = 1; c <= kMaxCard; ++c) {
    const int seat = hands[static_cast<std::size_t>(c - 1)];
    if (seat < 0 || seat > kSeats) return false;
    (seat == 0 ? r.out : r.hands[static_cast<std::size_t>(seat)]).push_back(c);
  }
  std::size_t from = 0;
  while (from < bids.size()) {
    const std::size_t end = std::min(bids.find('\n', from), bids.size());
    const std::string line = bids.substr(from, end - from);
    from = end + 1;
    if (line.empty() || !ValidSeat(line[0] - '0')) return false;
    dealrecord::BidRecord b{line[0] - '0', {}};
    for (std::size_t tab = line.find('\t'); tab != std::string::npos;) {
      const std::size_t next = line.find('\t', tab + 1);
      b.bids.push_back(line.substr(tab + 1, next == std::string::npos ? std::string::npos : next - tab - 1));
      tab = next;
    }
    r.bids.push_back(std::move(b));
  }
  int leader = r.dealer;
  for (std::size_t at = 0; at < cards.size(); at += kSeats) {
    dealrecord::TrickRecord t;
    t.leader = leader;
    for (std::size_t i = 0; i < kSeats; ++i) t.cards[i] = static_cast<unsigned char>(cards[at + i]);
    leader = t.Winner();
    if (leader == 0) return false;
    r.tricks.push_back(t);
  }
  return true;
}

std::string BrokenRule(const dealrecord::DealRecord& r) {
  try {
    const std::vector<dealrecord::DealRecord> back = dealrecord::ReadDeals(dealrecord::WriteDeal(r));
    if (back.size() != 1 || back.front() != r) return "it changes in the open format";
  } catch (const EZnError& e) {
    return Cp1250ToUtf8(e.what());
  }
  return {};
}

}  // namespace zn::server
