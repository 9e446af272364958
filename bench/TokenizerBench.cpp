// How fast the tokenizer takes the two busiest server lines apart: the bidding line (B), which
// comes after every bid, and the lobby line (I), which comes whenever someone enters or leaves.
#include <benchmark/benchmark.h>

#include <string>

#include "game/Cp1250.h"
#include "game/Tokenizer.h"

namespace {

using namespace zn::literals;

// Eight blocks: two rounds of bidding, name, count and bids.
std::string BiddingLine() {
  std::string line = "B1";
  const std::string_view blocks[] = {"Anna 3 Pikk\u00A0ulti Gém Tuletroá"_cp,
                                     "Béla 0"_cp,
                                     "Cili 2 *Gém XXI\u00A0fogás"_cp,
                                     "Dani 0",
                                     "Anna 1 **Gém"_cp,
                                     "Béla 1 Négy\u00A0király"_cp,
                                     "Cili 0",
                                     "Dani 2 Passz Volát"_cp};
  for (std::size_t i = 0; i < std::size(blocks); ++i) {
    if (i > 0) line += ' ';
    line += blocks[i];
  }
  return line;
}

// Twenty rooms and two hundred members spread over them.
std::string LobbyLine() {
  std::string line = "I20 ";
  line += "Társalgó"_cp;
  for (int r = 1; r < 20; ++r) {
    line += " Asztal";
    line += std::to_string(r);
  }
  line += " 200";
  for (int m = 0; m < 200; ++m) {
    line += ' ';
    line += std::to_string(m % 20);
    line += " Tag";
    line += std::to_string(m);
  }
  return line;
}

void BM_CutBiddingLine(benchmark::State& state) {
  const std::string text = BiddingLine();
  for (auto _ : state) {
    std::string_view line(text);
    line.remove_prefix(2);  // the letter and the dealer digit
    std::int64_t bids = 0;
    while (!line.empty()) {
      benchmark::DoNotOptimize(zn::CutWord(line));
      for (int n = zn::CutInt(line); n > 0; --n) {
        benchmark::DoNotOptimize(zn::CutWord(line));
        ++bids;
      }
    }
    benchmark::DoNotOptimize(bids);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
  state.SetItemsProcessed(state.iterations());
  state.counters["line_bytes"] = static_cast<double>(text.size());
}
BENCHMARK(BM_CutBiddingLine);

void BM_CutLobbyLine(benchmark::State& state) {
  const std::string text = LobbyLine();
  for (auto _ : state) {
    std::string_view line(text);
    line.remove_prefix(1);
    for (int n = zn::CutInt(line); n > 0; --n) benchmark::DoNotOptimize(zn::CutWord(line));
    for (int m = zn::CutInt(line); m > 0; --m) {
      benchmark::DoNotOptimize(zn::CutInt(line));
      benchmark::DoNotOptimize(zn::CutWord(line));
    }
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
  state.SetItemsProcessed(state.iterations());
  state.counters["line_bytes"] = static_cast<double>(text.size());
}
BENCHMARK(BM_CutLobbyLine);

}  // namespace
