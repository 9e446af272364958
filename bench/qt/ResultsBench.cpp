// The played-games window, shown, with 10 to 10,000 games in its list: one deal's worth of calls
// (a new game, its bids, its trick split and its written-down result). The cost per deal must
// not grow with the games already listed.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "bench/BenchFakes.h"
#include "game/Desktop.h"
#include "record/qt/ResWindow.h"
#include "shell/ZnCliTop.h"

namespace {

void OneDeal(zn::TResForm& res, int number) {
  static const std::vector<std::string> bids = {"Anna", "   Passz", "Bela", "   Passz", "Cili", "   Passz"};
  res.NewGame(number);
  res.SetBids(bids);
  res.SetTricks("6/4");
  res.GameResult("F" + std::to_string(number % 7) + ":-" + std::to_string(number % 7));
}

void BM_PlayedGamesWindowPerDeal(benchmark::State& state) {
  zn::bench::QuietDesktop desk;
  zn::TDesktop* previous = zn::SetDesktop(&desk);
  const auto dir = std::filesystem::temp_directory_path() / "zn_bench_results";
  std::filesystem::create_directories(dir);
  {
    zn::TZnForm form(
        dir.string(), [] { return std::make_unique<zn::bench::NullSocket>(); },
        [](const std::string& programDir) { return programDir + "/Zn.INI"; });
    zn::TResForm& res = *form.ResForm;
    zn::TResWindow window(res);
    const auto listed = static_cast<std::size_t>(state.range(0));
    auto refill = [&] {
      res.Games.resize(listed);  // the same rows, cut back to the size measured
      res.Selected = static_cast<int>(listed);
      res.Changed(zn::TResForm::Aspect::Games);
    };
    // The listed games are put in whole: dealing them one by one is what is measured below.
    OneDeal(res, 0);
    res.Games.resize(listed, res.Games.front());
    refill();
    QCoreApplication::processEvents();
    int number = static_cast<int>(listed);
    for (auto _ : state) {
      OneDeal(res, ++number);
      QCoreApplication::processEvents();  // the window paints what changed
      if (res.Games.size() >= listed + 64) {
        state.PauseTiming();
        refill();
        QCoreApplication::processEvents();
        state.ResumeTiming();
      }
    }
  }
  zn::SetDesktop(previous);
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_PlayedGamesWindowPerDeal)
    ->Arg(10)
    ->Arg(100)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMicrosecond);

}  // namespace
