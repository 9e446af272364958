// The rules of the game in a window of their own, from the help menu: shipped with the program,
// so they can be read with no browser and no network.
#pragma once

class QWidget;

namespace zn {

// Shows (or brings up) the one rules window.
void ShowRulesWindow(QWidget* parent);

}  // namespace zn
