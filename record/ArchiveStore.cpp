#include "record/ArchiveStore.h"

#include "dealrecord/DealFormat.h"
#include "game/Cp1250.h"
#include "game/ZnError.h"
#include "record/ArchiveSchema.h"

namespace zn {

using namespace zn::literals;

namespace {

// what is the archive's own text (cp1250); SQLite's reason is UTF-8.
void RaiseArchiveError(const std::string& what, const std::string& why) {
  throw EZnError(std::string("Archívum: "_cp) + what + (why.empty() ? "" : ": " + Utf8ToCp1250(why)));
}

}  // namespace

TArchiveStore::TArchiveStore(const std::string& path)
    : db_(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
          std::string("nem nyitható meg: "_cp) + Utf8ToCp1250(path), RaiseArchiveError) {
  db_.Exec("PRAGMA journal_mode=WAL");
  db_.Exec("PRAGMA synchronous=NORMAL");  // with WAL: a commit survives a crash of the program
  UpgradeArchive(db_);
}

TArchiveStore::~TArchiveStore() = default;

std::int64_t TArchiveStore::Insert(const dealrecord::DealRecord& d) {
  const sqlite::Statement s(
      db_,
      "INSERT INTO deals(time, room, deal, seat1, seat2, seat3, seat4, written, points14, "
      "points23, block) VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11)");
  s.Bind(1, d.time);
  s.BindText(2, Cp1250ToUtf8(d.room));
  s.Bind(3, d.number);
  for (int seat = 1; seat <= kSeats; ++seat)
    s.BindText(3 + seat, Cp1250ToUtf8(d.seats[static_cast<std::size_t>(seat)].name));
  s.Bind(8, d.written ? 1 : 0);
  s.Bind(9, d.points14);
  s.Bind(10, d.points23);
  s.BindText(11, dealrecord::WriteDeal(d));
  s.Run("keep");
  return sqlite3_last_insert_rowid(db_.get());
}

std::int64_t TArchiveStore::Keep(const dealrecord::DealRecord& deal) { return Insert(deal); }

void TArchiveStore::KeepAll(const std::vector<dealrecord::DealRecord>& deals) {
  sqlite::Transaction t(db_);
  for (const dealrecord::DealRecord& d : deals) Insert(d);
  t.Commit();
}

void TArchiveStore::MarkResult(std::int64_t id, std::int32_t points14, std::int32_t points23) {
  {
    const sqlite::Statement s(db_, "SELECT 1 FROM deals WHERE id=?1");
    s.Bind(1, id);
    if (!s.Step("result")) return;  // deleted while it was played: the "F" line has nothing to mark
  }
  dealrecord::DealRecord d = Load(id);
  d.written = true;
  d.points14 = points14;
  d.points23 = points23;
  const sqlite::Statement s(db_,
                            "UPDATE deals SET written=1, points14=?2, points23=?3, block=?4 WHERE id=?1");
  s.Bind(1, id);
  s.Bind(2, points14);
  s.Bind(3, points23);
  s.BindText(4, dealrecord::WriteDeal(d));
  s.Run("result");
}

std::vector<TArchiveRow> TArchiveStore::List(const std::string& nickname) const {
  const sqlite::Statement s(
      db_,
      "SELECT id, time, room, deal, seat1, seat2, seat3, seat4, written, points14, points23 "
      "FROM deals ORDER BY time DESC, id DESC");
  std::vector<TArchiveRow> rows;
  while (s.Step("list")) {
    TArchiveRow r;
    r.id = s.Int64(0);
    r.time = s.Int64(1);
    r.room = Utf8ToCp1250(s.Text(2));
    r.deal = s.Int(3);
    bool match = nickname.empty();
    for (int i = 0; i < kSeats; ++i) {
      r.seats[static_cast<std::size_t>(i)] = Utf8ToCp1250(s.Text(4 + i));
      match = match || SameText(r.seats[static_cast<std::size_t>(i)], nickname);
    }
    r.written = s.Int(8) != 0;
    r.points14 = s.Int(9);
    r.points23 = s.Int(10);
    if (match) rows.push_back(std::move(r));
  }
  return rows;
}

bool TArchiveStore::Remove(std::int64_t id) {
  const sqlite::Statement s(db_, "DELETE FROM deals WHERE id=?1");
  s.Bind(1, id);
  s.Run("delete");
  return sqlite3_changes(db_.get()) > 0;
}

dealrecord::DealRecord TArchiveStore::Load(std::int64_t id) const {
  const sqlite::Statement s(db_, "SELECT block FROM deals WHERE id=?1");
  s.Bind(1, id);
  if (!s.Step("load")) db_.Refuse(std::string("nincs ilyen leosztás"_cp));
  std::vector<dealrecord::DealRecord> deals = dealrecord::ReadDeals(s.Text(0));
  if (deals.size() != 1) db_.Refuse(std::string("hibás leosztás"_cp));
  return deals.front();
}

std::vector<dealrecord::DealRecord> TArchiveStore::All() const {
  const sqlite::Statement s(db_, "SELECT block FROM deals ORDER BY time, id");
  std::vector<dealrecord::DealRecord> deals;
  while (s.Step("export"))
    for (dealrecord::DealRecord& d : dealrecord::ReadDeals(s.Text(0))) deals.push_back(std::move(d));
  return deals;
}

}  // namespace zn
