// What one batch of the journal of running deals costs on the loop: rooms each with two new moves
// (a busy club's 100 ms), written in one transaction to a SQLite file. Figures: time per batch.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <string>

#include "server/store/SqliteJournal.h"
#include "server/store/SqliteStore.h"

namespace {

using zn::server::JournalEntry;

void BM_JournalBatch(benchmark::State& state) {
  const auto rooms = static_cast<int>(state.range(0));
  const std::string path = "/tmp/zn-journal-bench-" + std::to_string(::getpid()) + ".db";
  {
    zn::server::SqliteStore store(path);  // the schema
  }
  zn::server::SqliteJournal journal(path);
  std::vector<JournalEntry> start;
  for (int r = 1; r <= rooms; ++r)
    start.push_back({JournalEntry::Kind::Deal,
                     r,
                     1000 + r,
                     {"anna", "-Robot2", "-Robot3", "-Robot4"},
                     0,
                     {},
                     {},
                     {},
                     {},
                     0});
  journal.Write(start);
  int index = 0;
  std::vector<JournalEntry> batch;
  for (auto _ : state) {
    batch.clear();
    for (int r = 1; r <= rooms; ++r)
      for (int k = 0; k < 2; ++k) {
        JournalEntry e{JournalEntry::Kind::Move, r, 0, {}, index + k, {}, {}, {}, {}, 0};
        e.move.seat = 1 + (index + k) % 4;
        e.move.card = 1 + (index + k) % 42;
        batch.push_back(std::move(e));
      }
    journal.Write(batch);
    index += 2;
  }
  state.SetItemsProcessed(state.iterations() * rooms * 2);
  for (const char* suffix : {"", "-wal", "-shm"}) ::unlink((path + suffix).c_str());
}
BENCHMARK(BM_JournalBatch)->Arg(50)->Arg(500)->Unit(benchmark::kMicrosecond);

}  // namespace
