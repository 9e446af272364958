#include "record/Sheets.h"

#include <ctime>

#include "game/Cp1250.h"

namespace zn {

using namespace zn::literals;

namespace {
constexpr char kNbsp = '\xA0';

std::string Tabbed(std::initializer_list<std::string_view> fields) {
  std::string line;
  bool first = true;
  for (std::string_view f : fields) {
    if (!first) line += '\t';
    line += f;
    first = false;
  }
  return line;
}
}  // namespace

std::string StampText(std::int64_t msSinceEpoch) {
  const std::time_t t = static_cast<std::time_t>(msSinceEpoch / 1000);
  std::tm local{};
  localtime_r(&t, &local);
  char text[32];
  const std::size_t n = std::strftime(text, sizeof text, "%Y.%m.%d. %H:%M:%S", &local);
  return std::string(text, n);
}

std::vector<std::string> GameSheetLines(const std::string& stamp, const TResForm::TGame& game,
                                        const TResForm::TPlayGrid& play) {
  std::vector<std::string> lines;
  lines.push_back(Tabbed({"Időpont"_cp, stamp}));
  lines.push_back(Tabbed({"Leosztás"_cp, game.Number}));
  lines.push_back(Tabbed({"Eredmény"_cp, game.Points14 + kNbsp + ':' + kNbsp + game.Points23}));
  lines.push_back(Tabbed({"Ütések"_cp, game.Tricks}));
  lines.emplace_back("L i c i t e k");
  lines.insert(lines.end(), game.Bids.begin(), game.Bids.end());
  lines.emplace_back("L e j á t s z á s"_cp);
  if (play[1][1].empty()) return lines;
  for (std::size_t k = 1; k < play.size(); ++k) {
    std::string line = std::to_string(k);
    for (std::size_t j = 1; j < play[k].size(); ++j) line += '\t' + play[k][j];
    lines.push_back(std::move(line));
  }
  return lines;
}

std::vector<std::string> MatchSheetLines(const std::string& stamp, const TMatchHead& head,
                                         const std::vector<TResForm::TGame>& games) {
  std::vector<std::string> lines;
  lines.push_back(Tabbed({"Időpont"_cp, stamp}));
  lines.push_back(Tabbed({head.seats[3], head.seats[0], head.total14}));
  lines.push_back(Tabbed({head.seats[1], head.seats[2], head.total23}));
  lines.emplace_back("\tLeosztás\tEredmény"_cp);
  int n = 0;
  for (const TResForm::TGame& game : games) {
    if (!game.Marked()) continue;
    lines.push_back(Tabbed({std::to_string(++n), game.Number, game.Points14, game.Points23}));
  }
  return lines;
}

}  // namespace zn
