// Cleaning a long bid list and filtering a long bidding line.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "game/BidList.h"
#include "game/Cp1250.h"

namespace {

using namespace zn::literals;

// 60 bids that wake most rules: signals, the chain, the ladder, trophies and their victims.
std::vector<std::string> SixtyBids() {
  const std::string_view names[] = {"8\u00A0Tarokk"_cp,
                                    "Matador",
                                    "Trull",
                                    "Köpf"_cp,
                                    "Honőr"_cp,
                                    "Volát"_cp,
                                    "Mizer",
                                    "Oktáv"_cp,
                                    "Bridzs",
                                    "Kassza",
                                    "Gém"_cp,
                                    "Skála"_cp,
                                    "Flotta",
                                    "Armada",
                                    "Légió"_cp,
                                    "Piros-fekete",
                                    "Kőr\u00A0banda"_cp,
                                    "Héja"_cp,
                                    "Pagát\u00A0fácán"_cp,
                                    "Sas\u00A0sólyom"_cp,
                                    "Famille",
                                    "Betlehem",
                                    "Couleur",
                                    "Szfinx",
                                    "Spadille",
                                    "Manille",
                                    "Spektrum",
                                    "Stella",
                                    "City",
                                    "Full",
                                    "Court",
                                    "Grand",
                                    "Hárpia"_cp,
                                    "Glória"_cp,
                                    "Triumf",
                                    "Zenit",
                                    "Golgota",
                                    "Trojka",
                                    "Kentaur",
                                    "XXI-fogás"_cp,
                                    "Vizi",
                                    "L'amour",
                                    "Angelo",
                                    "Pikoló"_cp,
                                    "Centrum",
                                    "Kismadár"_cp,
                                    "Nagymadár"_cp,
                                    "Pagát\u00A0ulti"_cp,
                                    "Kakadu\u00A0uhu"_cp,
                                    "Amazon",
                                    "Dzsinn",
                                    "Surranó"_cp,
                                    "Főnix"_cp,
                                    "Treff\u00A0mariage"_cp,
                                    "Pagátfogás"_cp,
                                    "3\u00A0Káró"_cp,
                                    "Flush",
                                    "Vannak",
                                    "*Gém"_cp,
                                    "**Trull"};
  return {std::begin(names), std::end(names)};
}

void BM_Cleaning60(benchmark::State& state) {
  const auto bids = SixtyBids();
  for (auto _ : state) {
    zn::TBidList list;
    for (const auto& b : bids) list.Add(b);
    benchmark::DoNotOptimize(list.Cleaning());
  }
  state.counters["bids"] = static_cast<double>(bids.size());
}
BENCHMARK(BM_Cleaning60);

// "#B1" and 32 blocks (eight rounds) of two to three bids each.
std::string BiddingLine32() {
  std::string line = "#B1";
  for (int block = 0; block < 32; ++block) {
    if (block) line += ' ';
    line += "Player" + std::to_string(block % 4 + 1);
    if (block % 3 == 0)
      line += std::string(" 3 Trull Gém ") + std::string("Pagát\u00A0ulti"_cp);
    else
      line += " 2 *Vizi Kassza";
  }
  return line;
}

void BM_Filter32Blocks(benchmark::State& state) {
  const std::string line = BiddingLine32();
  zn::TBidList list;
  for (auto _ : state) {
    list.Filter(line, -static_cast<int>(state.range(0)));
    benchmark::DoNotOptimize(list.Count());
  }
  state.counters["bytes"] = static_cast<double>(line.size());
}
BENCHMARK(BM_Filter32Blocks)->Arg(1)->Arg(2);

}  // namespace
