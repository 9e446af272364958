// The sheet writers' inputs: a game with any texts, bids, tricks and play grid, any stamp time.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>
#include <vector>

#include "record/Sheets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  const std::string stamp = zn::StampText(in.ConsumeIntegral<std::int64_t>());
  std::vector<zn::TResForm::TGame> games(in.ConsumeIntegralInRange<std::size_t>(0, 10));
  for (auto& g : games) {
    g.Mark = in.ConsumeBool() ? "+" : in.ConsumeRandomLengthString(4);
    g.Played = in.ConsumeRandomLengthString(16);
    g.Number = in.ConsumeRandomLengthString(16);
    g.Points14 = in.ConsumeRandomLengthString(16);
    g.Points23 = in.ConsumeRandomLengthString(16);
    g.Tricks = in.ConsumeRandomLengthString(16);
    for (int i = in.ConsumeIntegralInRange<int>(0, 8); i > 0; --i)
      g.Bids.push_back(in.ConsumeRandomLengthString(32));
    for (int i = in.ConsumeIntegralInRange<int>(0, 8); i > 0; --i)
      g.Trick.SetCard(in.ConsumeIntegralInRange<int>(-1, 12), in.ConsumeIntegralInRange<int>(-1, 5),
                      in.ConsumeIntegral<std::int32_t>());
  }
  zn::TResForm::TPlayGrid play;
  for (auto& row : play)
    for (auto& cell : row) cell = in.ConsumeRandomLengthString(8);
  zn::TMatchHead head;
  for (auto& s : head.seats) s = in.ConsumeRandomLengthString(24);
  head.total14 = in.ConsumeRandomLengthString(8);
  head.total23 = in.ConsumeRandomLengthString(8);
  for (const auto& g : games) (void)zn::GameSheetLines(stamp, g, play);
  (void)zn::MatchSheetLines(stamp, head, games);
  return 0;
}
