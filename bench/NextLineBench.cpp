// Cutting one big chunk into lines must stay linear in the chunk's size.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "link/NextLine.h"

namespace {

// About size bytes of "#"-separated lines of 20 bytes each (a 1 MB chunk holds 50,000 lines).
std::string MakeChunk(std::int64_t size) {
  std::string chunk;
  chunk.reserve(static_cast<std::size_t>(size) + 32);
  for (int i = 0; static_cast<std::int64_t>(chunk.size()) < size; ++i) {
    std::string line = "M line " + std::to_string(i);
    line.resize(20, '.');
    chunk += line;
    chunk += '#';
  }
  return chunk;
}

void BM_NextLineCutsAChunk(benchmark::State& state) {
  const std::string chunk = MakeChunk(state.range(0));
  std::int64_t lines = 0;
  std::string line;
  for (auto _ : state) {
    state.PauseTiming();
    zn::TReceiveQueue queue;
    queue.Append(chunk);
    state.ResumeTiming();
    while (zn::NextLine(queue, false, line)) ++lines;
    benchmark::DoNotOptimize(line.data());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(chunk.size()));
  state.counters["lines"] = benchmark::Counter(static_cast<double>(lines) / state.iterations());
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_NextLineCutsAChunk)->Arg(1 << 20)->Arg(10 << 20)->Unit(benchmark::kMillisecond)->Complexity();

}  // namespace
