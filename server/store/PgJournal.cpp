#include "server/store/PgJournal.h"

#include <cstring>

#include "game/Cp1250.h"
#include "server/store/JournalFields.h"

namespace zn::server {

namespace {

std::string_view AsBytes(const deal::MatchSecret& secret) {
  return std::string_view(reinterpret_cast<const char*>(secret.data()), secret.size());
}

}  // namespace

PgJournal::PgJournal(const std::string& conninfo, PgStore* store)
    : store_(store), db_(conninfo, "journal: ", "SET synchronous_commit TO off") {
  writer_ = std::thread([this] { Run(); });
}

PgJournal::~PgJournal() {
  {
    const std::lock_guard lock(mutex_);
    stop_ = true;
  }
  wake_.notify_one();
  writer_.join();
}

void PgJournal::Write(const std::vector<JournalEntry>& entries) {
  {
    std::unique_lock lock(mutex_);
    // A database slower than the club holds the loop back here rather than the queue growing
    // without end.
    idle_.wait(lock, [this] { return queue_.size() < kMaxQueued || !failure_.empty(); });
    if (!failure_.empty()) {
      const std::string failure = std::move(failure_);
      failure_.clear();
      throw StoreError(failure);
    }
    if (entries.empty()) return;
    Batch batch{entries};
    if (store_) {
      batch.lastResult = store_->LastResult();
      batch.lastRecord = store_->LastRecord();
    }
    queue_.push_back(std::move(batch));
  }
  wake_.notify_one();
}

void PgJournal::Drain() {
  std::unique_lock lock(mutex_);
  idle_.wait(lock, [this] { return queue_.empty() && !busy_; });
}

void PgJournal::Run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return stop_ || !queue_.empty(); });
    if (queue_.empty()) return;  // stopping, everything written
    Batch batch = std::move(queue_.front());
    queue_.pop_front();
    // After a failure every batch is dropped until Write has reported it: the next one the
    // caller queues writes everything again.
    if (failure_.empty()) {
      busy_ = true;
      lock.unlock();
      std::string failed;
      try {
        pg::Transaction t(db_);
        if (batch.lastResult < 0) {
          const pg::Result last = db_.Exec("write",
                                           "SELECT (SELECT COALESCE(MAX(id), 0) FROM results), "
                                           "(SELECT COALESCE(MAX(id), 0) FROM deal_records)");
          batch.lastResult = last.Int(0, 0);
          batch.lastRecord = last.Int(0, 1);
        }
        for (const JournalEntry& e : batch.entries) Apply(e, batch);
        t.Commit();
      } catch (const StoreError& e) {
        failed = e.what();
      }
      lock.lock();
      busy_ = false;
      if (!failed.empty()) {
        failure_ = failed;
        queue_.clear();
      }
    }
    idle_.notify_all();
  }
}

void PgJournal::Apply(const JournalEntry& e, const Batch& batch) {
  const auto clearRoom = [&] {
    db_.Exec("write", "DELETE FROM running_deals WHERE room=$1", pg::Params().Int(e.room));
    db_.Exec("write", "DELETE FROM running_moves WHERE room=$1", pg::Params().Int(e.room));
  };
  const auto seats = [&](pg::Params& p) {
    for (const std::string& seat : e.seats) p.Text(Cp1250ToUtf8(seat));
  };
  switch (e.kind) {
    case JournalEntry::Kind::Clear:
      return db_.Run("write", "DELETE FROM running_deals; DELETE FROM running_moves");
    case JournalEntry::Kind::End:
      return clearRoom();
    case JournalEntry::Kind::Deal: {
      clearRoom();
      pg::Params p;
      p.Int(e.room).Int(e.number);
      seats(p);
      e.match ? p.Bytes(AsBytes(*e.match)) : p.Null();
      p.Int(batch.lastResult).Int(batch.lastRecord);
      db_.Exec(
          "write",
          "INSERT INTO running_deals(room, deal, seat1, seat2, seat3, seat4, match_secret, results_before, "
          "records_before) VALUES($1, $2, $3, $4, $5, $6, $7, $8, $9)",
          p);
      return;
    }
    case JournalEntry::Kind::Kept:
      db_.Exec("write", "UPDATE running_deals SET record=$2 WHERE room=$1",
               pg::Params().Int(e.room).Int(e.record));
      return;
    case JournalEntry::Kind::Fair:
      db_.Exec("write", "UPDATE running_deals SET ledger=$2, holds=$3 WHERE room=$1",
               pg::Params().Int(e.room).Text(Cp1250ToUtf8(e.ledger)).Text(Cp1250ToUtf8(WriteHolds(e.holds))));
      return;
    case JournalEntry::Kind::Seats: {
      pg::Params p;
      p.Int(e.room);
      seats(p);
      db_.Exec("write", "UPDATE running_deals SET seat1=$2, seat2=$3, seat3=$4, seat4=$5 WHERE room=$1", p);
      return;
    }
    case JournalEntry::Kind::Move:
      db_.Exec(
          "write",
          "INSERT INTO running_moves(room, idx, seat, card, bidder, bids) VALUES($1, $2, $3, $4, $5, $6) "
          "ON CONFLICT (room, idx) DO UPDATE SET seat=EXCLUDED.seat, card=EXCLUDED.card, "
          "bidder=EXCLUDED.bidder, bids=EXCLUDED.bids",
          pg::Params()
              .Int(e.room)
              .Int(e.index)
              .Int(e.move.seat)
              .Int(e.move.card)
              .Text(Cp1250ToUtf8(e.move.bidder))
              .Text(Cp1250ToUtf8(JoinBids(e.move.bids))));
      return;
  }
}

// A deal whose result was stored after it was journaled is over, and is not brought back.
std::vector<JournaledDeal> PgJournal::LoadRunning() {
  Drain();
  // The writer is idle and stays so while the caller's thread, the only one that queues, reads.
  std::vector<JournaledDeal> deals;
  const pg::Result s = db_.Exec(
      "load deals",
      "SELECT room, deal, seat1, seat2, seat3, seat4, match_secret, ledger, holds, CASE WHEN d.record != 0 "
      "THEN d.record ELSE (SELECT COALESCE(MAX(k.id), 0) FROM deal_records k WHERE k.room = d.room AND "
      "k.deal = d.deal AND k.id > d.records_before) END FROM running_deals d WHERE NOT EXISTS(SELECT 1 "
      "FROM results r WHERE r.room = d.room AND r.deal = d.deal AND r.id > d.results_before) ORDER BY room");
  for (int row = 0; row < s.Rows(); ++row) {
    JournaledDeal d;
    d.room = s.Int(row, 0);
    d.number = static_cast<std::int32_t>(s.Int(row, 1));
    for (int i = 0; i < 4; ++i) d.seats[static_cast<std::size_t>(i)] = Utf8ToCp1250(s.Text(row, 2 + i));
    if (!s.IsNull(row, 6))
      if (const std::string match = s.Bytes(row, 6); match.size() == deal::kMatchSecretBytes) {
        d.match.emplace();
        std::memcpy(d.match->data(), match.data(), d.match->size());
      }
    d.ledger = Utf8ToCp1250(s.Text(row, 7));
    d.holds = ReadHolds(Utf8ToCp1250(s.Text(row, 8)));
    d.record = s.Int(row, 9);
    deals.push_back(std::move(d));
  }
  for (JournaledDeal& d : deals) {
    const pg::Result m = db_.Exec(
        "load moves", "SELECT idx, seat, card, bidder, bids FROM running_moves WHERE room=$1 ORDER BY idx",
        pg::Params().Int(d.room));
    // The moves up to the first gap: a deal comes back in a state it really had.
    for (int row = 0; row < m.Rows() && m.Int(row, 0) == static_cast<std::int64_t>(d.moves.size()); ++row) {
      JournaledMove move;
      move.seat = static_cast<int>(m.Int(row, 1));
      move.card = static_cast<TCard>(m.Int(row, 2));
      move.bidder = Utf8ToCp1250(m.Text(row, 3));
      move.bids = SplitBids(Utf8ToCp1250(m.Text(row, 4)));
      d.moves.push_back(std::move(move));
    }
  }
  return deals;
}

}  // namespace zn::server
