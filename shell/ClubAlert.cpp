// The club window's alert: a beep when "&Hang" is checked, and the window's caption flashing.
#include "game/Desktop.h"
#include "shell/ZnCliTop.h"

namespace zn {

void TZnForm::Alert() {
  if (cmSound.Checked) Desktop().Beep();
  FlashCount = 6;
  TimerEnabled = true;
  Notify(Aspect::Flash);
}

void TZnForm::TimerTimer() {
  Desktop().ProcessPendingEvents();
  FlashOn = !FlashOn;
  --FlashCount;
  if (FlashCount <= 0) TimerEnabled = false;
  Notify(Aspect::Flash);
}

}  // namespace zn
