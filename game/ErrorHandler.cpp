#include "game/ErrorHandler.h"

#include "game/Desktop.h"

namespace zn {

std::string ErrorBoxText(const std::string& message) {
  std::string text = message;
  if (!text.empty() && static_cast<unsigned char>(text.back()) > static_cast<unsigned char>('.')) text += '.';
  return text;
}

void ShowErrorBox(const std::string& message) { Desktop().ShowError(ErrorBoxText(message)); }

}  // namespace zn
