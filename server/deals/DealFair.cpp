// The deal engine's side of fair play: the ledger of the running deal decides who may sit, who may
// watch, and which watchers get the hands.
#include "server/base/ClubTexts.h"
#include "server/deals/Deals.h"

namespace zn::server {

std::uint64_t Deals::RunIn(const Room& room) const {
  auto it = tables_.find(room.storeId);
  return it != tables_.end() && Running(it->second) ? it->second.run : 0;
}

std::string_view Deals::SitRefusal(const Room& room, const Member& m, int seat) const {
  auto it = tables_.find(room.storeId);
  if (it == tables_.end() || !Running(it->second)) return {};
  return it->second.fair.SitRefusal(m, seat, !sameAddressOpen_);
}

std::string_view Deals::WatchRefusal(const Room& room, const Member& m) const {
  auto it = tables_.find(room.storeId);
  if (it == tables_.end() || !Running(it->second)) return {};
  return it->second.fair.WatchRefusal(m);
}

void Deals::ShowAllHands(Table& t, const Member& m) {
  if (t.fair.Limited(m, !sameAddressOpen_)) {
    if (t.fair.FirstToldLimited(m)) Notice(m.id, text::kSameAddress);
    return;
  }
  // Journaled before the hands leave: a server killed right after must not forget who saw them.
  if (t.fair.SawHands(m)) FlushJournal();
  for (int s = 1; s <= kSeats; ++s) out_.Send(m.id, HandLine(t, s));
}

}  // namespace zn::server
