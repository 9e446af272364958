// The kept deals in the database (table deal_records), their fields as RecordFields.h writes them.
#include <algorithm>

#include "game/Cp1250.h"
#include "game/PlayRules.h"
#include "server/store/PgStore.h"
#include "server/store/RecordFields.h"

namespace zn::server {

std::int64_t PgStore::AddRecord(std::int64_t room, const dealrecord::DealRecord& r) {
  pg::Params p;
  p.Int(room).Text(Cp1250ToUtf8(r.room)).Int(r.number).Int(Now()).Int(r.dealer);
  int robots = 0;
  for (int seat = 1; seat <= kSeats; ++seat) {
    p.Text(Cp1250ToUtf8(r.seats[static_cast<std::size_t>(seat)].name));
    if (r.seats[static_cast<std::size_t>(seat)].robot) robots |= 1 << (seat - 1);
  }
  p.Int(robots)
      .Bytes(HandsBlob(r))
      .Text(Cp1250ToUtf8(BidsText(r)))
      .Bytes(CardsBlob(r))
      .Int(r.TakenBy(1))
      .Int(r.TakenBy(2));
  const std::int64_t id = db_.Exec("keep deal",
                                   "INSERT INTO deal_records(room, room_name, deal, time, dealer, seat1, "
                                   "seat2, seat3, seat4, robots, "
                                   "hands, bids, cards, taken14, taken23) VALUES($1, $2, $3, $4, $5, $6, $7, "
                                   "$8, $9, $10, $11, $12, $13, "
                                   "$14, $15) RETURNING id",
                                   p)
                              .Int(0, 0);
  lastRecord_ = std::max(lastRecord_, id);
  return id;
}

void PgStore::ForEachRecord(std::int64_t since,
                            const std::function<void(const dealrecord::DealRecord&)>& each) {
  const pg::Result s = db_.Exec(
      "read kept deals",
      "SELECT d.id, d.room, d.room_name, d.deal, d.time, d.dealer, d.seat1, d.seat2, d.seat3, d.seat4, "
      "d.robots, d.hands, d.bids, d.cards, r.points14, r.points23 FROM deal_records d LEFT JOIN results r "
      "ON r.id = d.result WHERE d.time >= $1 ORDER BY d.time, d.id",
      pg::Params().Int(since));
  for (int row = 0; row < s.Rows(); ++row) {
    dealrecord::DealRecord r;
    r.room = Utf8ToCp1250(s.Text(row, 2));
    r.number = static_cast<std::int32_t>(s.Int(row, 3));
    r.time = s.Int(row, 4);
    r.dealer = static_cast<int>(s.Int(row, 5));
    const std::int64_t robots = s.Int(row, 10);
    for (int seat = 1; seat <= kSeats; ++seat)
      r.seats[static_cast<std::size_t>(seat)] = {Utf8ToCp1250(s.Text(row, 5 + seat)),
                                                 (robots >> (seat - 1) & 1) != 0};
    r.written = !s.IsNull(row, 14);
    r.points14 = static_cast<std::int32_t>(s.Int(row, 14));
    r.points23 = static_cast<std::int32_t>(s.Int(row, 15));
    const std::string deal = "kept deal " + std::to_string(s.Int(row, 0));
    if (!ReadFields(s.Bytes(row, 11), Utf8ToCp1250(s.Text(row, 12)), s.Bytes(row, 13), r))
      db_.Refuse(deal + " does not read back");
    if (const std::string broken = BrokenRule(r); !broken.empty())
      db_.Refuse(deal + " breaks the rules: " + broken);
    each(r);
  }
}

}  // namespace zn::server
