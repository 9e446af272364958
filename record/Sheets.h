// The lines of the game sheet and the match sheet (cp1250, fields separated by TAB); the file
// itself is written by SheetFile.h.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "record/ZnResult.h"

namespace zn {

// The moment of saving as the sheets show it: "2026.12.06. 21:06:49" (local time).
std::string StampText(std::int64_t msSinceEpoch);

// The game sheet of game; play is the "Lejátszás" grid filled for it. The trick lines follow only
// when the grid's first card cell is filled.
std::vector<std::string> GameSheetLines(const std::string& stamp, const TResForm::TGame& game,
                                        const TResForm::TPlayGrid& play);

struct TMatchHead {
  std::array<std::string, 4> seats;  // the names shown at seats 1..4
  std::string total14, total23;      // the totals of the marked games
};

// The match sheet of the marked games among games, numbered 1, 2, ... in row order.
std::vector<std::string> MatchSheetLines(const std::string& stamp, const TMatchHead& head,
                                         const std::vector<TResForm::TGame>& games);

}  // namespace zn
