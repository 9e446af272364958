// A named action of the club window as its menu items and buttons show it. The Qt window renders
// the record and runs Execute on a click; it never keeps a check mark or an enabled state itself.
#pragma once

#include <functional>
#include <string>

namespace zn {

struct TAction {
  std::string Caption;      // cp1250, with "&" before the accelerator
  std::string MenuCaption;  // the menu item's caption where it differs from Caption, else empty
  std::string Hint;
  bool Checked = false;
  bool Enabled = true;
  bool Visible = true;
  std::function<void()> Execute;  // the handler, inside the general error handler

  const std::string& MenuText() const { return MenuCaption.empty() ? Caption : MenuCaption; }
};

}  // namespace zn
