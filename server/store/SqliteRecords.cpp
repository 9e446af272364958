// The kept deals in the store (table deal_records): one row per deal that ended. The dealt cards
// are a 42-byte map (byte c-1: the seat dealt card c, 0 for a card out), the cards played one
// byte each in playing order (the leaders follow from the rules), the bids one line per set: the
// seat, then every bid after a tab. Names and bids are UTF-8 in the file, like the results'.
#include <algorithm>
#include <string>

#include "dealrecord/DealFormat.h"
#include "game/Cp1250.h"
#include "game/PlayRules.h"
#include "game/ZnError.h"
#include "server/store/SqliteStore.h"
#include "server/store/SqliteText.h"

namespace zn::server {

namespace {

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

// The rules the open format's reader holds a deal to (each card played from the hand that held it,
// the suit followed, the bids in turn): a kept deal that breaks one would be exported as a file no
// reader takes. The reason, or empty when the deal keeps them.
std::string BrokenRule(const dealrecord::DealRecord& r) {
  try {
    const std::vector<dealrecord::DealRecord> back = dealrecord::ReadDeals(dealrecord::WriteDeal(r));
    if (back.size() != 1 || back.front() != r) return "it changes in the open format";
  } catch (const EZnError& e) {
    return Cp1250ToUtf8(e.what());
  }
  return {};
}

}  // namespace

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
