// Names a screen reader speaks. A control's hint is the name a sighted member reads on hover:
// every control without a caption of its own takes it as its accessible name. Announce puts a
// text on a live message line and tells the accessibility tools that it changed.
#pragma once

#include <QString>

class QLabel;
class QWidget;

namespace zn {

// Every descendant of root (and root) that has a hint but neither an accessible name nor a
// caption gets its hint as its name. Run again after new controls are made.
void NameFromHints(QWidget* root);

// Shows text on the message line and raises the name and value change a screen reader reads.
void Announce(QLabel* line, const QString& text);

// Tells the accessibility tools that `focused` has the focus inside its panel (a card the arrow
// keys moved to, where the panel itself holds the keyboard focus).
void AnnounceFocus(QWidget* focused);

}  // namespace zn
