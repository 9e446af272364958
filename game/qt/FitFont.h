// Fitting texts into widths the window's layout fixes: on a desktop without the narrow face the
// windows were laid out for, the same font size is wider and the texts were cut.
#pragma once

#include <QFont>
#include <QString>
#include <utility>
#include <vector>

namespace zn {

// font, narrowed (its stretch, never below half) so that each text fits its width in pixels;
// font itself when all of them fit.
QFont FitFont(QFont font, const std::vector<std::pair<QString, int>>& texts);

}  // namespace zn
