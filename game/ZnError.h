// The one error type of the program: refusals inside user actions, malformed numbers and
// index errors. The general handler (ErrorHandler.h) shows its message in the error box.
#pragma once

#include <stdexcept>
#include <string>

namespace zn {

class EZnError : public std::runtime_error {
 public:
  // message: cp1250 text, shown as it stands (the handler appends the full stop).
  explicit EZnError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace zn
