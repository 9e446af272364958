// The member's archive at 10,000 deals: opening it and listing every deal (what the "Archívum"
// window does when it opens), and its size per 1,000 deals (the counter bytes_per_1000).
#include <benchmark/benchmark.h>

#include <filesystem>

#include "deal/Game.h"
#include "deal/Robot.h"
#include "dealrecord/GameRecord.h"
#include "record/ArchiveStore.h"
#include "tests/support/TempDir.h"

namespace {

constexpr int kDeals = 10'000;

void BM_ArchiveOpen10k(benchmark::State& state) {
  zn::test::TempDir dir;
  const std::string path = dir / "archivum.db";
  std::vector<zn::dealrecord::DealRecord> deals;
  for (int n = 1; n <= 50; ++n) {
    zn::deal::Game game(n);
    zn::deal::SimpleRobot robot;
    while (game.CurrentPhase() != zn::deal::Game::Phase::Over)
      if (game.OnTurn() == 0)
        game.Continue();
      else
        game.RobotMove(robot);
    zn::dealrecord::DealRecord r = zn::dealrecord::RecordOfGame(game);
    r.room = "kertes";
    r.seats = {{{}, {"anna", false}, {"-Robot2", true}, {"bela", false}, {"-Robot4", true}}};
    deals.push_back(r);
  }
  {
    zn::TArchiveStore store(path);
    std::vector<zn::dealrecord::DealRecord> all;
    for (int i = 0; i < kDeals; ++i) {
      all.push_back(deals[static_cast<std::size_t>(i) % deals.size()]);
      all.back().time = 1'765'000'000 + i;
      all.back().number = i + 1;
    }
    store.KeepAll(all);
  }
  for (auto _ : state) {
    zn::TArchiveStore store(path);
    benchmark::DoNotOptimize(store.List());
  }
  std::uintmax_t bytes = 0;
  for (const auto& f : std::filesystem::directory_iterator(dir.Path())) bytes += f.file_size();
  state.counters["bytes_per_1000"] = static_cast<double>(bytes) * 1000.0 / kDeals;
}
BENCHMARK(BM_ArchiveOpen10k)->Unit(benchmark::kMillisecond);

}  // namespace
