// The journal of running deals in the PostgreSQL database (tables running_deals and running_moves),
// written by a thread of its own on a connection of its own, so the loop never waits on the
// network for it: Write queues the batch and returns. Batches are written in order, each in one
// transaction, without waiting for the database server's disk (a crash of this server loses none
// that were written; a crash of the database server may lose the last ones), while a result's
// write stays synchronous on the store's connection. A batch that fails is reported by the next
// Write (which throws, so the caller writes everything again) and the batches queued after it are
// dropped: the journal never holds a later batch without the one before. A deal is stamped, when
// queued, with the last result and record its store has seen (the results and records of the deal
// come after them), so the writer may be late without a restart mistaking them.
#pragma once

#include <condition_variable>
#include <deque>
#include <mutex>
#include <string>
#include <thread>

#include "server/base/Journal.h"
#include "server/store/PgConnection.h"
#include "server/store/PgStore.h"

namespace zn::server {

class PgJournal : public JournalStore {
 public:
  // The store has brought the schema up to date first; store, when given, is the one the results
  // and records are written through (else the writer reads the last ids itself). Throws StoreError.
  explicit PgJournal(const std::string& conninfo, PgStore* store = nullptr);
  // Writes what is queued, then stops the writer.
  ~PgJournal() override;
  PgJournal(const PgJournal&) = delete;
  PgJournal& operator=(const PgJournal&) = delete;

  void Write(const std::vector<JournalEntry>& entries) override;
  // Waits for the queued batches first.
  std::vector<JournaledDeal> LoadRunning() override;
  // Waits until every queued batch is written or dropped.
  void Drain();

 private:
  // Batches queued at most (five seconds of the club's): Write waits beyond that.
  static constexpr std::size_t kMaxQueued = 50;
  struct Batch {
    std::vector<JournalEntry> entries;
    std::int64_t lastResult = -1, lastRecord = -1;  // -1: read them when writing
  };
  void Run();
  void Apply(const JournalEntry& e, const Batch& batch);

  PgStore* store_;
  pg::Connection db_;  // the writer's, and LoadRunning's once the queue is empty
  std::mutex mutex_;
  std::condition_variable wake_, idle_;
  std::deque<Batch> queue_;
  bool busy_ = false;  // the writer holds a batch
  bool stop_ = false;
  std::string failure_;  // the failed batch's error, until Write reports it
  std::thread writer_;
};

}  // namespace zn::server
