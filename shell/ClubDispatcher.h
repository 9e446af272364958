// The club window's dispatcher: one pass takes at most one received line and routes it, by the
// role of its code, to the handler of the window that reads it.
#pragma once

#include <string>

namespace zn {

class TZnForm;

class TClubDispatcher {
 public:
  explicit TClubDispatcher(TZnForm& form) : form_(form) {}
  // One pass (IdleHandler): none while the window does not dispatch or the table window's pause
  // is set. Returns true while lines wait and no pause is set, so the caller runs it again.
  // A call made while a pass is running (from pending events) does nothing and returns false.
  bool Pass();
  // One line, inside the general error handler.
  void Dispatch(const std::string& line);

 private:
  TZnForm& form_;
  bool inPass_ = false;  // a pass is running (pending events let other events run inside it)
};

}  // namespace zn
