#include "table/TableFit.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <vector>

namespace zn {

namespace {

std::int64_t Overlap(const TScreenRect& a, const TScreenRect& b) {
  const std::int64_t w = std::min(a.Right(), b.Right()) - std::max(a.Left, b.Left);
  const std::int64_t h = std::min(a.Bottom(), b.Bottom()) - std::max(a.Top, b.Top);
  return w > 0 && h > 0 ? w * h : 0;
}

bool Inside(const TScreenRect& r, const TScreenRect& area) {
  return r.Left >= area.Left && r.Top >= area.Top && r.Right() <= area.Right() && r.Bottom() <= area.Bottom();
}

}  // namespace

TScreenRect KeepInside(const TScreenRect& frame, const TScreenRect& available) {
  TScreenRect r = frame;
  // Left and top last: a window larger than the area shows its title bar and its left side.
  r.Left = std::max(available.Left, std::min(r.Left, available.Right() - r.Width));
  r.Top = std::max(available.Top, std::min(r.Top, available.Bottom() - r.Height));
  return r;
}

TTableFit FitTable(const TTableFitInput& in) {
  TTableFit fit;
  const int wanted = in.LargePrint ? kLargePrint : kOrdinaryPrint;
  // The print size whose window fits a region of the given size; in 64 bits, as screens' measures
  // times 100 stay far from any limit.
  const auto fitsIn = [&](std::int64_t w, std::int64_t h) -> std::int64_t {
    if (in.Width <= 0 || in.Height <= 0) return wanted;
    w = std::max<std::int64_t>(0, w - in.FrameWidth);
    h = std::max<std::int64_t>(0, h - in.FrameHeight);
    return std::min(w * 100 / in.Width, h * 100 / in.Height);
  };
  const TScreenRect& a = in.Available;
  const TScreenRect& c = in.Club;
  std::int64_t percent = fitsIn(a.Width, a.Height);
  if (c.Width > 0) {
    const std::int64_t beside =
        std::max({fitsIn(a.Right() - c.Right(), a.Height), fitsIn(c.Left - a.Left, a.Height),
                  fitsIn(a.Width, a.Bottom() - c.Bottom()), fitsIn(a.Width, c.Top - a.Top)});
    if (beside >= std::min(wanted, kLeastBeside)) percent = std::min<std::int64_t>(beside, percent);
  }
  percent = std::clamp<std::int64_t>(percent, kLeastPrint, wanted);
  fit.Percent = static_cast<int>(percent);
  const int width = in.Width * fit.Percent / 100 + in.FrameWidth;
  const int height = in.Height * fit.Percent / 100 + in.FrameHeight;

  // Candidates in the order a member would look for the table: right of the club window, left of
  // it, below, above; each as near the club window's top (or left) edge as the area allows.
  std::vector<TScreenRect> candidates;
  if (c.Width > 0) {
    candidates.push_back(KeepInside({c.Right(), c.Top, width, height}, a));
    candidates.push_back(KeepInside({c.Left - width, c.Top, width, height}, a));
    candidates.push_back(KeepInside({c.Left, c.Bottom(), width, height}, a));
    candidates.push_back(KeepInside({c.Left, c.Top - height, width, height}, a));
  }
  // The area's corners, the far one from the club window first when nothing else fits.
  candidates.push_back(KeepInside({a.Right() - width, a.Top, width, height}, a));
  candidates.push_back(KeepInside({a.Left, a.Top, width, height}, a));
  candidates.push_back(KeepInside({a.Right() - width, a.Bottom() - height, width, height}, a));
  candidates.push_back(KeepInside({a.Left, a.Bottom() - height, width, height}, a));

  std::int64_t best = std::numeric_limits<std::int64_t>::max();
  for (const TScreenRect& r : candidates) {
    const std::int64_t covered = c.Width > 0 ? Overlap(r, c) : 0;
    const std::int64_t score = covered + (Inside(r, a) ? 0 : std::int64_t{1} << 40);
    if (score < best) {
      best = score;
      fit.Frame = r;
    }
  }
  return fit;
}

}  // namespace zn
