// The club window's dispatcher.
#include "shell/ClubDispatcher.h"

#include "game/Desktop.h"
#include "game/ErrorHandler.h"

namespace zn {

bool TClubDispatcher::Pass() {
  // One line at a time: a handler never runs inside another one's send.
  if (!reader_.Reading() || inPass_) return false;
  struct TPass {
    bool& flag;
    explicit TPass(bool& on) : flag(on) { flag = true; }
    ~TPass() { flag = false; }
  } pass(inPass_);
  reader_.PassStarts();
  std::string line;
  if (!NextLine(queue_, reader_.Held(), line)) {
    if (reader_.Held()) Desktop().SetCursor(TCursor::Normal);
    return false;
  }
  Dispatch(line);
  Desktop().ProcessPendingEvents();
  if (reader_.Held() || queue_.Empty()) Desktop().SetCursor(TCursor::Normal);
  return reader_.Reading() && !reader_.Held() && !queue_.Empty();
}

void TClubDispatcher::Dispatch(const std::string& line) {
  Guarded([&] { reader_.Route(line); });
}

}  // namespace zn
