#include "tests/fairplay/FairPlayCheck.h"

#include "game/Tokenizer.h"
#include "link/Protocol.h"
#include "server/base/ClubTexts.h"
#include "server/deals/SeatLedger.h"

namespace zn::server {

void FairPlayCheck::Joined(std::uint64_t id, std::string nickname, std::string_view address) {
  Watched& w = members_[id] = Watched{};
  w.address = AddressKey(address);
  addressOf_[nickname] = w.address;
  w.nickname = std::move(nickname);
}

void FairPlayCheck::Left(std::uint64_t id) {
  auto it = members_.find(id);
  if (it == members_.end()) return;
  addressOf_.erase(it->second.nickname);
  // The deal stays the member's: logging in again (or a restarted server) changes nothing.
  if (it->second.byRun && it->second.deal.open) past_[it->second.nickname] = it->second.deal;
  members_.erase(it);
}

void FairPlayCheck::Run(std::uint64_t id, std::uint64_t run) {
  auto it = members_.find(id);
  if (it == members_.end()) return;
  Watched& w = it->second;
  w.byRun = true;
  if (run == 0) {
    w.deal.open = false;
  } else if (!w.deal.open || w.deal.run != run) {
    auto past = past_.find(w.nickname);
    w.deal = past != past_.end() && past->second.run == run ? past->second : Deal{true, 0, run, 0, 0, {}};
    w.seatPending = true;
  }
}

void FairPlayCheck::Start(Watched& w, std::int32_t number, std::uint64_t run) {
  w.deal = Deal{true, number, run, 0, 0, {}};
  Seated(w);
}

// The seats of the last "R" line belong to the deal while it runs.
void FairPlayCheck::Seated(Watched& w) {
  if (!w.deal.open) return;
  for (const std::string& name : w.seated)
    if (!name.empty()) w.deal.holders.insert(name);
  if (w.seat > 0 && w.deal.held == 0) {
    w.deal.held = w.seat;
    for (int s = 1; s <= 4; ++s)
      if (s != w.seat && (w.deal.seen >> s & 1))
        Breach(w, "took seat " + std::to_string(w.seat) + " after getting the hand of seat " +
                      std::to_string(s));
  }
}

void FairPlayCheck::Received(std::uint64_t id, std::string_view line) {
  auto it = members_.find(id);
  if (it == members_.end() || line.empty()) return;
  ++lines_;
  Watched& w = it->second;
  if (w.seatPending && line[0] != 'R') Seated(w);
  w.seatPending = false;
  try {
    switch (line[0]) {
      case 'R': {
        const proto::TRoom room = proto::ParseRoom(line);
        w.seat = 0;
        w.seated.assign(5, std::string());
        for (const proto::TRoomMember& m : room.members) {
          if (m.seat < 1 || m.seat > 4) continue;
          w.seated[static_cast<std::size_t>(m.seat)] = m.nickname;
          if (m.nickname == w.nickname) w.seat = m.seat;
        }
        return Seated(w);
      }
      case 'I':  // back in the lobby: no table
        w.seat = 0;
        w.seated.clear();
        return;
      case 'D': {
        const std::int32_t number = proto::ParseDeal(line);
        if (!w.byRun && (!w.deal.open || w.deal.number != number)) Start(w, number, 0);
        w.deal.number = number;
        return;
      }
      case 'X':
        if (!w.byRun) w.deal.open = false;
        return;
      case 'H': {
        std::string_view rest = line.substr(1);
        return Hand(w, CutInt(rest), line);
      }
      default:
        return;
    }
  } catch (const std::exception&) {
    Breach(w, "got a line it cannot read: " + std::string(line));
  }
}

void FairPlayCheck::Hand(Watched& w, int seat, std::string_view line) {
  ++hands_;
  if (seat < 1 || seat > 4) return Breach(w, "got a hand of no seat: " + std::string(line));
  if (!w.deal.open) return;  // no deal of its own: nothing to compare with
  w.deal.seen |= 1u << seat;
  if (w.deal.held != 0 && seat != w.deal.held)
    return Breach(w, "held seat " + std::to_string(w.deal.held) + " and got " + std::string(line));
  if (!sameAddressRule_ || w.seat != 0 || w.address.empty()) return;
  for (const std::string& holder : w.deal.holders) {
    auto it = addressOf_.find(holder);
    if (holder != w.nickname && it != addressOf_.end() && it->second == w.address)
      return Breach(w, "watched at the address of " + holder + " and got " + std::string(line));
  }
}

void FairPlayCheck::Breach(const Watched& w, const std::string& what) {
  if (violations_.size() < 100) violations_.push_back(w.nickname + " " + what);
}

}  // namespace zn::server
