// Results written down per second on each backend of the store with the same durability: every
// AddResult commits to the disk before it returns (SQLite synced, PostgreSQL synchronous_commit on).
// The PostgreSQL figures need ZN_BENCH_PG, a database URL (scripts/bench-store starts a cluster
// with fsync on and sets it); without it they report an error and the SQLite figures stand alone.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "server/store/OpenStore.h"
#include "server/store/PgConnection.h"

namespace {

using zn::server::ClubStore;

// A store with one room, and how to remove it afterwards.
struct BenchStore {
  std::string db;
  std::unique_ptr<ClubStore> store;
  std::int64_t room = 0;
};

bool Open(benchmark::State& state, bool postgres, BenchStore& b) {
  if (postgres) {
    const char* url = std::getenv("ZN_BENCH_PG");
    if (!url || !*url) {
      state.SkipWithError("ZN_BENCH_PG is not set (scripts/bench-store sets it)");
      return false;
    }
    // A schema of its own, emptied before the run.
    zn::server::pg::Connection admin(url, "bench: ");
    admin.Run("schema", "DROP SCHEMA IF EXISTS zn_bench CASCADE; CREATE SCHEMA zn_bench");
    b.db = std::string(url) + (std::string(url).find('?') == std::string::npos ? "?" : "&") +
           "options=-csearch_path%3Dzn_bench";
  } else {
    b.db = "/tmp/zn-store-bench-" + std::to_string(::getpid()) + ".db";
  }
  b.store = zn::server::OpenStore(b.db);
  b.room = b.store->CreateRoom("kertes");
  return true;
}

void BM_AddResult(benchmark::State& state) {
  BenchStore b;
  if (!Open(state, state.range(0) == 1, b)) return;
  zn::server::StoredResult r{b.room, 1, 30, -30, {"anna", "-Robot2", "bela", "-Robot4"}};
  for (auto _ : state) {
    ++r.deal;
    benchmark::DoNotOptimize(b.store->AddResult(r));
  }
  state.SetItemsProcessed(state.iterations());
  state.SetLabel(state.range(0) == 1 ? "PostgreSQL" : "SQLite");
  b.store.reset();
  if (state.range(0) == 0)
    for (const char* suffix : {"", "-wal", "-shm"}) ::unlink((b.db + suffix).c_str());
}
BENCHMARK(BM_AddResult)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond)->UseRealTime();

}  // namespace
