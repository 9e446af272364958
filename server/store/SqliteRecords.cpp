// The kept deals in the store (table deal_records): one row per deal that ended. The dealt cards
// are a 42-byte map (byte c-1: the seat dealt card c, 0 for a card out), the cards played one
// byte each in playing order (the leaders follow from the rules), the bids one line per set: the
// seat, then every bid after a tab. Names and bids are UTF-8 in the file, like the results'.
#include <sqlite3.h>

#include <algorithm>
#include <string>

#include "game/Cp1250.h"
#include "game/PlayRules.h"
#include "server/store/SqliteStore.h"
#include "server/store/SqliteText.h"

namespace zn::server {

namespace {

// Resets and clears a kept statement when a call leaves, whatever way it leaves.
struct Reset {
  sqlite3_stmt* s;
  ~Reset() {
    sqlite3_reset(s);
    sqlite3_clear_bindings(s);
  }
  sqlite3_stmt* get() const { return s; }
};

std::string ColumnBlob(sqlite3_stmt* s, int i) {
  const auto* blob = static_cast<const char*>(sqlite3_column_blob(s, i));
  return std::string(blob ? blob : "", static_cast<std::size_t>(sqlite3_column_bytes(s, i)));
}

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

// The row's fields back into a record; false when they do not make a deal.
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

}  // namespace

std::int64_t SqliteStore::AddRecord(std::int64_t room, const dealrecord::DealRecord& r) {
  if (!addRecord_)
    addRecord_ = Prepare(
        "INSERT INTO deal_records(room, room_name, deal, time, dealer, seat1, seat2, seat3, seat4, robots, "
        "hands, "
        "bids, cards, taken14, taken23) VALUES(?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14, "
        "?15)");
  Reset s{addRecord_};
  sqlite3_bind_int64(s.get(), 1, room);
  BindCp1250(s.get(), 2, r.room);
  sqlite3_bind_int(s.get(), 3, r.number);
  sqlite3_bind_int64(s.get(), 4, Now());
  sqlite3_bind_int(s.get(), 5, r.dealer);
  int robots = 0;
  for (int seat = 1; seat <= kSeats; ++seat) {
    BindCp1250(s.get(), 5 + seat, r.seats[static_cast<std::size_t>(seat)].name);
    if (r.seats[static_cast<std::size_t>(seat)].robot) robots |= 1 << (seat - 1);
  }
  sqlite3_bind_int(s.get(), 10, robots);
  const std::string hands = HandsBlob(r), cards = CardsBlob(r);
  sqlite3_bind_blob(s.get(), 11, hands.data(), static_cast<int>(hands.size()), SQLITE_TRANSIENT);
  BindCp1250(s.get(), 12, BidsText(r));
  sqlite3_bind_blob(s.get(), 13, cards.data(), static_cast<int>(cards.size()), SQLITE_TRANSIENT);
  sqlite3_bind_int(s.get(), 14, r.TakenBy(1));
  sqlite3_bind_int(s.get(), 15, r.TakenBy(2));
  if (sqlite3_step(s.get()) != SQLITE_DONE) Fail("keep deal");
  return sqlite3_last_insert_rowid(db_);
}

void SqliteStore::MarkRecord(std::int64_t record, std::int64_t result) {
  if (!markRecord_) markRecord_ = Prepare("UPDATE deal_records SET result=?2 WHERE id=?1");
  Reset s{markRecord_};
  sqlite3_bind_int64(s.get(), 1, record);
  sqlite3_bind_int64(s.get(), 2, result);
  if (sqlite3_step(s.get()) != SQLITE_DONE) Fail("mark deal");
}

void SqliteStore::ForEachRecord(std::int64_t since,
                                const std::function<void(const dealrecord::DealRecord&)>& each) {
  sqlite3_stmt* raw = nullptr;
  if (sqlite3_prepare_v2(
          db_,
          "SELECT d.id, d.room, d.room_name, d.deal, d.time, d.dealer, d.seat1, d.seat2, d.seat3, "
          "d.seat4, d.robots, d.hands, d.bids, d.cards, r.points14, r.points23 FROM deal_records d "
          "LEFT JOIN results r ON r.id = d.result WHERE d.time >= ?1 ORDER BY d.time, d.id",
          -1, &raw, nullptr) != SQLITE_OK)
    Fail("prepare");
  struct Finalize {
    sqlite3_stmt* s;
    ~Finalize() { sqlite3_finalize(s); }
  } finalize{raw};
  sqlite3_bind_int64(raw, 1, since);
  int rc;
  while ((rc = sqlite3_step(raw)) == SQLITE_ROW) {
    dealrecord::DealRecord r;
    r.room = ColumnCp1250(raw, 2);
    r.number = sqlite3_column_int(raw, 3);
    r.time = sqlite3_column_int64(raw, 4);
    r.dealer = sqlite3_column_int(raw, 5);
    const int robots = sqlite3_column_int(raw, 10);
    for (int seat = 1; seat <= kSeats; ++seat)
      r.seats[static_cast<std::size_t>(seat)] = {ColumnCp1250(raw, 5 + seat),
                                                 (robots >> (seat - 1) & 1) != 0};
    r.written = sqlite3_column_type(raw, 14) != SQLITE_NULL;
    r.points14 = sqlite3_column_int(raw, 14);
    r.points23 = sqlite3_column_int(raw, 15);
    if (!ReadFields(ColumnBlob(raw, 11), ColumnCp1250(raw, 12), ColumnBlob(raw, 13), r))
      throw StoreError("kept deal " + std::to_string(sqlite3_column_int64(raw, 0)) + " does not read back");
    each(r);
  }
  if (rc != SQLITE_DONE) Fail("read kept deals");
}

}  // namespace zn::server
