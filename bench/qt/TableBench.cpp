// The table window with its Qt view, offscreen: a whole deal's lines (H, 12 B, 40 P, 2 X) through
// the club window's dispatcher, and the redraw of a ten-card hand.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QWidget>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "bench/BenchFakes.h"
#include "game/Desktop.h"
#include "link/Protocol.h"
#include "shell/ZnCliTop.h"
#include "table/qt/BidWindow.h"

namespace {

using zn::bench::NullSocket;
using zn::bench::QuietDesktop;

// The lines of one deal as the server sends them to seat 1, "#" before each.
std::string DealChunk() {
  using namespace zn::proto;
  const char* names[4] = {"Bench", "Bela", "Cili", "Dani"};
  std::string chunk = "#" + LineHand(1, {3, 7, 12, 16, 21, 22, 25, 30, 38, 42});
  std::vector<TBidBlock> blocks;
  for (int turn = 0; turn < 12; ++turn) {
    blocks.push_back({names[turn % 4],
                      turn % 3 == 0 ? std::vector<std::string>{"Gem", "Vizi"} : std::vector<std::string>{}});
    chunk += "#" + LineBidding(1, blocks);
  }
  for (int trick = 1; trick <= 10; ++trick) {
    std::array<std::int32_t, 4> table{};
    for (int card = 0; card < 4; ++card) {
      table[static_cast<std::size_t>(card)] = trick * 4 - 3 + card;
      chunk += "#" + LinePlay(card == 3 ? 0 : card + 2, trick, trick / 3, table);
    }
  }
  chunk += "#" + LineScore(1, {{"Utesek", 2}, {"Gem", 5}, {"*Vizi", -8}});
  chunk += "#" + LineScore(2, {{"Utesek", -2}});
  return chunk;
}

struct TTable {
  QuietDesktop desk;
  zn::TDesktop* previous = zn::SetDesktop(&desk);
  std::filesystem::path dir = std::filesystem::temp_directory_path() / "zn_bench_table";
  std::unique_ptr<zn::TZnForm> form;
  std::unique_ptr<zn::TBidWindow> window;

  // The application is QtBenchMain's.
  explicit TTable(bool withWindow = true) {
    std::filesystem::create_directories(dir);
    form = std::make_unique<zn::TZnForm>(
        dir.string(), [] { return std::make_unique<NullSocket>(); },
        [](const std::string& programDir) { return programDir + "/Zn.INI"; });
    form->State.Nickname = "Bench";
    form->FormShow();
    if (withWindow) window = std::make_unique<zn::TBidWindow>(*form->BidForm);
    form->Link->Socket().OnData(
        "#" + zn::proto::LineRoom({"0", {{1, "Bench"}, {2, "Bela"}, {3, "Cili"}, {4, "Dani"}}}));
    while (form->IdleHandler()) {
    }
  }
  ~TTable() {
    window.reset();
    form.reset();
    zn::SetDesktop(previous);
    std::filesystem::remove_all(dir);
  }
};

// Arg 1: with the Qt window; arg 0: the fields and handlers alone, for comparison.
void BM_WholeDealThroughTheTableWindow(benchmark::State& state) {
  TTable t(state.range(0) != 0);
  const std::string chunk = DealChunk();
  for (auto _ : state) {
    t.form->Link->Socket().OnData(chunk);
    for (;;) {
      while (t.form->IdleHandler()) {
      }
      QCoreApplication::processEvents();  // the views paint what changed
      if (!t.form->BidForm->TrickPause) break;
      t.form->BidForm->cmNextClick();  // the user's go-on click after each trick
    }
  }
  state.SetItemsProcessed(state.iterations() * 55);
}
BENCHMARK(BM_WholeDealThroughTheTableWindow)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

void BM_RedrawTenCardHand(benchmark::State& state) {
  TTable t;
  zn::TBidForm& form = *t.form->BidForm;
  form.HandLine("H1 3 7 12 16 21 22 25 30 38 42");
  QWidget* panel = t.window->HandPanel(1);
  int order = 0;
  for (auto _ : state) {
    form.HandOrder = order;  // every picture changes its card
    order = 1 - order;
    form.ShowHand(1);
    panel->repaint();
  }
}
BENCHMARK(BM_RedrawTenCardHand)->Unit(benchmark::kMicrosecond);

}  // namespace
