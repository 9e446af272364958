// How fast the server cuts joined client commands and the client reads lobby lines.
#include <benchmark/benchmark.h>

#include <string>

#include "game/Cp1250.h"
#include "link/Protocol.h"

namespace {

using namespace zn::proto;
using namespace zn::literals;

std::string S(std::string_view v) { return std::string(v); }

// One read holding a typical mix of joined commands.
std::string JoinedRead() {
  std::string s;
  for (int i = 0; i < 20; ++i) {
    s += CmdHand(1);
    s += CmdPlay(21 + i);
    s += CmdTrickDone();
    s += CmdBids("anna", {});
    s += CmdAnswer("bela anna", {"Vada Vivo", S("tanár"_cp), "Szia!~", S("Honőr~"_cp)});
    s += CmdResult("12:-12");
  }
  // A bid list runs to the next space or the end of the read, so it can only come last.
  s += CmdBids("anna", {"Trull", S("Gém"_cp), S("Pagát\u00A0ulti"_cp)});
  return s;
}

void BM_CutJoinedCommands(benchmark::State& state) {
  const std::string read = JoinedRead();
  std::size_t commands = 0;
  for (auto _ : state) {
    std::string_view rest = read;
    while (!rest.empty()) {
      const TCommandSpan span = MeasureCommand(rest);
      if (span.length == 0) break;
      rest.remove_prefix(span.length);
      ++commands;
    }
    benchmark::DoNotOptimize(rest);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * read.size()));
  state.counters["commands/s"] =
      benchmark::Counter(static_cast<double>(commands), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_CutJoinedCommands);

void BM_ParseLobby(benchmark::State& state) {
  TLobby lobby;
  lobby.rooms = {"Lobby", "Kek", "Piros", "Zold"};
  for (int i = 0; i < state.range(0); ++i) lobby.members.push_back({i % 4, "member" + std::to_string(i)});
  const std::string line = LineLobby(lobby);
  for (auto _ : state) benchmark::DoNotOptimize(ParseLobby(line));
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * line.size()));
}
BENCHMARK(BM_ParseLobby)->Arg(10)->Arg(500);

}  // namespace
