// The lines of a deal and who gets them.
#include "link/Protocol.h"
#include "server/base/ClubTexts.h"
#include "server/deals/Deals.h"

namespace zn::server {

std::vector<MemberId> Deals::Audience(const Room& room) const {
  std::vector<MemberId> ids;
  for (int s = 1; s <= kSeats; ++s)
    if (const MemberId id = room.seats[static_cast<std::size_t>(s)].member) ids.push_back(id);
  for (const MemberId id : room.present) {
    const Member* m = club_.Find(id);
    if (m && m->place.watching && m->place.seat == 0) ids.push_back(id);
  }
  return ids;
}

void Deals::ToAudience(const Room& room, const std::string& line) {
  const auto shared = std::make_shared<const std::string>(line);
  for (const MemberId id : Audience(room)) out_.SendShared(id, shared);
}

void Deals::Notice(MemberId to, std::string_view text, std::string_view detail) {
  std::string line(text::kNotice);
  line.append(text);
  line.append(proto::Relayable(detail));
  out_.Send(to, proto::LineMessage(line));
}

void Deals::NoticeRoom(const Room& room, std::string_view text) {
  for (const MemberId id : room.present) Notice(id, text);
}

std::string Deals::BidLine(const Table& t) const {
  std::vector<proto::TBidBlock> blocks;
  const auto& made = t.game->Bids().Blocks();
  blocks.reserve(made.size());
  for (std::size_t i = 0; i < made.size(); ++i)
    blocks.push_back({i < t.bidders.size() ? t.bidders[i] : std::string(), made[i].bids});
  return proto::LineBidding(t.game->Dealer(), blocks);
}

std::string Deals::PlayLine(const Table& t) const {
  const deal::CardPlay* play = t.game->Play();
  if (!play) return {};
  const auto& table = play->Table();
  return proto::LinePlay(play->OnTurn(), play->TrickNumber(), play->TakenByPair(2),
                         {table[1], table[2], table[3], table[4]});
}

std::string Deals::HandLine(const Table& t, int seat) const {
  return proto::LineHand(seat, t.game->HandOf(seat));
}

// A member who sits down or starts watching during a deal: the deal so far, so the record and
// the table start from it.
void Deals::CatchUp(const Room& room, Table& t, MemberId who) {
  const Member* m = club_.Find(who);
  if (!m || m->place.room == 0 || !Running(t)) return;
  (void)room;
  out_.Send(who, proto::LineDeal(t.game->Number()));
  if (m->place.seat > 0) {
    out_.Send(who, HandLine(t, m->place.seat));
  } else {
    ShowAllHands(t, *m);
  }
  out_.Send(who, BidLine(t));
  if (t.game->Play()) out_.Send(who, PlayLine(t));
  if (m->link.reads & proto::kReadsCaughtUp) out_.Send(who, proto::LineCaughtUp());
}

}  // namespace zn::server
