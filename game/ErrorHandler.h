// The application's general error handler: wraps every user action and every dispatched line.
#pragma once

#include <string>
#include <utility>

#include "game/ZnError.h"

namespace zn {

// The text the error box shows: a full stop is appended when the last character's code is above ".".
std::string ErrorBoxText(const std::string& message);

// Shows the error box for message (caption "ZnClient", error icon).
void ShowErrorBox(const std::string& message);

// Runs action; an EZnError (or any other std::exception) ends it and is shown in the error box.
// Returns false when the action ended with an error.
template <class F>
bool Guarded(F&& action) {
  try {
    std::forward<F>(action)();
    return true;
  } catch (const std::exception& e) {
    ShowErrorBox(e.what());
    return false;
  }
}

}  // namespace zn
