// The kept deals in the store (table deal_records): one row per deal that ended, its fields as
// RecordFields.h writes them. Names and bids are UTF-8 in the file, like the results'.
#include <string>

#include "game/PlayRules.h"
#include "server/store/RecordFields.h"
#include "server/store/SqliteStore.h"
#include "server/store/SqliteText.h"

namespace zn::server {

std::int64_t SqliteStore::AddRecord(std::int64_t room, const dealrecord::DealRecord& r) {
  std::optional<sqlite::Statement>& kept = addRecord_;
  if (!kept)
    kept.emplace(
        db_,
        "INSERT INTO deal_records(room, room_name, deal, time, dealer, seat1, seat2, seat3, seat4, robots, "
        "hands, "
        "bids, cards, taken14, taken23) VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14, "
        "?15)",
        true);
  const sqlite::Use s(*kept);
  s->Bind(1, room);
  BindCp1250(s.get(), 2, r.room);
  s->Bind(3, r.number);
  s->Bind(4, Now());
  s->Bind(5, r.dealer);
  int robots = 0;
  for (int seat = 1; seat <= kSeats; ++seat) {
    BindCp1250(s.get(), 5 + seat, r.seats[static_cast<std::size_t>(seat)].name);
    if (r.seats[static_cast<std::size_t>(seat)].robot) robots |= 1 << (seat - 1);
  }
  s->Bind(10, robots);
  s->BindBlob(11, HandsBlob(r));
  BindCp1250(s.get(), 12, BidsText(r));
  s->BindBlob(13, CardsBlob(r));
  s->Bind(14, r.TakenBy(1));
  s->Bind(15, r.TakenBy(2));
  s->Run("keep deal");
  return sqlite3_last_insert_rowid(db_.get());
}

void SqliteStore::MarkRecord(std::int64_t record, std::int64_t result) {
  std::optional<sqlite::Statement>& kept = markRecord_;
  if (!kept) kept.emplace(db_, "UPDATE deal_records SET result=?2 WHERE id=?1", true);
  const sqlite::Use s(*kept);
  s->Bind(1, record);
  s->Bind(2, result);
  s->Run("mark deal");
}

void SqliteStore::ForEachRecord(std::int64_t since,
                                const std::function<void(const dealrecord::DealRecord&)>& each) {
  const sqlite::Statement s(
      db_,
      "SELECT d.id, d.room, d.room_name, d.deal, d.time, d.dealer, d.seat1, d.seat2, d.seat3, d.seat4, "
      "d.robots, d.hands, d.bids, d.cards, r.points14, r.points23 FROM deal_records d LEFT JOIN results r "
      "ON r.id = d.result WHERE d.time >= ?1 ORDER BY d.time, d.id");
  s.Bind(1, since);
  while (s.Step("read kept deals")) {
    dealrecord::DealRecord r;
    r.room = ColumnCp1250(s.get(), 2);
    r.number = s.Int(3);
    r.time = s.Int64(4);
    r.dealer = s.Int(5);
    const int robots = s.Int(10);
    for (int seat = 1; seat <= kSeats; ++seat)
      r.seats[static_cast<std::size_t>(seat)] = {ColumnCp1250(s.get(), 5 + seat),
                                                 (robots >> (seat - 1) & 1) != 0};
    r.written = !s.IsNull(14);
    r.points14 = s.Int(14);
    r.points23 = s.Int(15);
    const std::string deal = "kept deal " + std::to_string(s.Int64(0));
    if (!ReadFields(s.Blob(11), ColumnCp1250(s.get(), 12), s.Blob(13), r))
      db_.Refuse(deal + " does not read back");
    if (const std::string broken = BrokenRule(r); !broken.empty())
      db_.Refuse(deal + " breaks the rules: " + broken);
    each(r);
  }
}

}  // namespace zn::server
