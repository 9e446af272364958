// The club window's dispatcher: 100,000 queued "M" lines taken off one per idle pass.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

#include "bench/BenchFakes.h"
#include "game/Desktop.h"
#include "link/Protocol.h"
#include "shell/ZnCliTop.h"

namespace {

using zn::bench::NullSocket;
using zn::bench::QuietDesktop;

void BM_DispatchMessageLines(benchmark::State& state) {
  QuietDesktop desk;
  zn::TDesktop* previous = zn::SetDesktop(&desk);
  const auto dir = std::filesystem::temp_directory_path() / "zn_bench_club";
  std::filesystem::create_directories(dir);
  {
    zn::TZnForm form(
        dir.string(), [] { return std::make_unique<NullSocket>(); },
        [](const std::string& programDir) { return programDir + "/Zn.INI"; });
    form.State.Nickname = "Bench";
    form.FormShow();
    const int lines = static_cast<int>(state.range(0));
    std::string chunk;
    for (int i = 0; i < lines; ++i) {
      chunk.push_back('#');
      chunk.append(zn::proto::LineMessage("Bench: hello " + std::to_string(i)));
    }
    for (auto _ : state) {
      form.Link->Socket().OnData(chunk);
      while (form.IdleHandler()) {
      }
    }
    state.SetItemsProcessed(state.iterations() * lines);
  }
  zn::SetDesktop(previous);
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_DispatchMessageLines)->Arg(100000)->Unit(benchmark::kMillisecond);

// One "I" line with 100,000 members, half of them in the lobby.
void BM_DispatchHugeLobbyLine(benchmark::State& state) {
  QuietDesktop desk;
  zn::TDesktop* previous = zn::SetDesktop(&desk);
  const auto dir = std::filesystem::temp_directory_path() / "zn_bench_lobby";
  std::filesystem::create_directories(dir);
  {
    zn::TZnForm form(
        dir.string(), [] { return std::make_unique<NullSocket>(); },
        [](const std::string& programDir) { return programDir + "/Zn.INI"; });
    form.State.Nickname = "Bench";
    form.FormShow();
    zn::proto::TLobby lobby{{"Lobby", "Room1"}, {}};
    for (int i = 0; i < state.range(0); ++i) lobby.members.push_back({i % 2, "member" + std::to_string(i)});
    std::string chunk(1, '#');
    chunk += zn::proto::LineLobby(lobby);
    for (auto _ : state) {
      form.Link->Socket().OnData(chunk);
      while (form.IdleHandler()) {
      }
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
  }
  zn::SetDesktop(previous);
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_DispatchHugeLobbyLine)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
