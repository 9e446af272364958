#include "game/qt/FitFont.h"

#include <QFontMetrics>
#include <algorithm>

namespace zn {

QFont FitFont(QFont font, const std::vector<std::pair<QString, int>>& texts) {
  // Glyph widths do not scale exactly with the stretch: narrow until the metrics agree.
  for (int round = 0; round < 4; ++round) {
    const QFontMetrics metrics(font);
    int stretch = font.stretch() > 0 ? font.stretch() : 100;
    const int was = stretch;
    for (const auto& [text, width] : texts) {
      const int need = metrics.horizontalAdvance(text);
      if (need > width && need > 0) stretch = std::min(stretch, std::max(50, was * width / need - 1));
    }
    if (stretch == was) break;
    font.setStretch(stretch);
  }
  return font;
}

}  // namespace zn
