// The small texts of the format: card names, the time stamp.
#include <chrono>
#include <cstdio>

#include "dealrecord/DealFormat.h"

namespace zn::dealrecord {

std::string FormatCardName(TCard card) {
  std::string name = CardName(card);
  const auto first = name.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return name.substr(first, name.find_last_not_of(' ') - first + 1);
}

TCard CardOfName(std::string_view cp1250) {
  for (TCard c = 1; c <= kMaxCard; ++c)
    if (FormatCardName(c) == cp1250) return c;
  return kNoCard;
}

std::string FormatTime(std::int64_t seconds) {
  using namespace std::chrono;
  const sys_seconds t{std::chrono::seconds(seconds)};
  const sys_days day = floor<days>(t);
  const year_month_day ymd{day};
  const hh_mm_ss hms{t - day};
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02dZ", static_cast<int>(ymd.year()),
                static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day()),
                static_cast<int>(hms.hours().count()), static_cast<int>(hms.minutes().count()),
                static_cast<int>(hms.seconds().count()));
  return text;
}

bool ParseTime(std::string_view text, std::int64_t& seconds) {
  // Exactly "YYYY-MM-DDTHH:MM:SSZ".
  static constexpr std::string_view kShape = "dddd-dd-ddTdd:dd:ddZ";
  if (text.size() != kShape.size()) return false;
  for (std::size_t i = 0; i < kShape.size(); ++i) {
    const bool digit = text[i] >= '0' && text[i] <= '9';
    if (kShape[i] == 'd' ? !digit : text[i] != kShape[i]) return false;
  }
  const auto num = [&](std::size_t at, std::size_t n) {
    int v = 0;
    for (std::size_t i = at; i < at + n; ++i) v = v * 10 + (text[i] - '0');
    return v;
  };
  using namespace std::chrono;
  const year_month_day ymd{year{num(0, 4)}, month{static_cast<unsigned>(num(5, 2))},
                           day{static_cast<unsigned>(num(8, 2))}};
  const int h = num(11, 2), m = num(14, 2), s = num(17, 2);
  if (!ymd.ok() || ymd.year() < year{1970} || h > 23 || m > 59 || s > 59) return false;
  seconds = sys_days{ymd}.time_since_epoch() / std::chrono::seconds(1) + h * 3600 + m * 60 + s;
  return true;
}

}  // namespace zn::dealrecord
