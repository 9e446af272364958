// One line appended to the club window's message area with 100 and with 10,000 lines shown: the
// cost of an append must not grow with the history.
#include <benchmark/benchmark.h>

#include <QByteArray>

#include <filesystem>
#include <memory>
#include <string>

#include "bench/BenchFakes.h"
#include "game/Desktop.h"
#include "shell/ZnCliTop.h"
#include "shell/qt/ClubWindow.h"

namespace {

// The application is QtBenchMain's.
void BM_MemoAppend(benchmark::State& state) {
  zn::bench::QuietDesktop desk;
  zn::TDesktop* previous = zn::SetDesktop(&desk);
  const auto dir = std::filesystem::temp_directory_path() / "zn_bench_memo";
  std::filesystem::create_directories(dir);
  {
    zn::TZnForm form(
        dir.string(), [] { return std::make_unique<zn::bench::NullSocket>(); },
        [](const std::string& programDir) { return programDir + "/Zn.INI"; });
    form.State.Nickname = "Bench";  // the first showing asks for none
    zn::TClubWindow window(form);
    window.show();  // a shown area lays its text out as the member would see it
    const auto shown = static_cast<std::size_t>(state.range(0));
    auto refill = [&] {
      form.State.Memo.clear();
      for (std::size_t i = 0; form.State.Memo.size() < shown; ++i)
        form.State.Memo.push_back("anna: line " + std::to_string(i) + " of the chat in the lobby");
      ++form.State.MemoRewrites;
      form.State.Changed(zn::TClubState::Aspect::Memo);
    };
    refill();
    const std::string line = "bela: one more line of the chat";
    for (auto _ : state) {
      // The history is filled past the cap on purpose: the view's cost is what is measured.
      form.State.Memo.push_back(line);
      form.State.Changed(zn::TClubState::Aspect::Memo);
      if (form.State.Memo.size() >= shown + 64) {
        state.PauseTiming();
        refill();
        state.ResumeTiming();
      }
    }
    state.counters["lines"] = static_cast<double>(shown);
  }
  zn::SetDesktop(previous);
}
BENCHMARK(BM_MemoAppend)->Arg(100)->Arg(10000)->Unit(benchmark::kMicrosecond);

}  // namespace
