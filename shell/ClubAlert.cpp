// The club window's alert: a beep when "&Hang" is checked, and the window's caption flashing.
#include "game/Desktop.h"
#include "shell/ZnCliTop.h"

namespace zn {

void TZnForm::Alert() {
  if (Actions.cmSound.Checked) Desktop().Beep();
  State.FlashCount = 6;
  State.TimerEnabled = true;
  Notify(Aspect::Flash);
}

void TZnForm::TimerTimer() {
  Desktop().ProcessPendingEvents();
  State.FlashOn = !State.FlashOn;
  --State.FlashCount;
  if (State.FlashCount <= 0) State.TimerEnabled = false;
  Notify(Aspect::Flash);
}

}  // namespace zn
