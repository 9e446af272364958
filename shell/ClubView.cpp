// "&Nézet" and "&Súgó": the card order, the sound, the table and played-games windows, help and
// about.
#include "game/Desktop.h"
#include "game/ErrorHandler.h"
#include "shell/ZnCliTop.h"

namespace zn {

void TZnForm::cmOrderExecute(int order) {
  Guarded([&] {
    if (order < 0 || order > 2) return;
    BidForm->HandOrder = order;
    Actions.cmNormal.Checked = order == 0;
    Actions.cmReverse.Checked = order == 1;
    Actions.cmSide.Checked = order == 2;
    Notify(Aspect::Actions);
    BidForm->ShowHands();
  });
}

void TZnForm::cmSoundExecute() {
  Guarded([&] {
    Actions.cmSound.Checked = !Actions.cmSound.Checked;
    Notify(Aspect::Actions);
    Alert();
    BidForm->ShowPage(0);
  });
}

void TZnForm::cmTableExecute() {
  Guarded([&] { BidForm->ShowPage(0); });
}

void TZnForm::cmShowBidExecute() {
  Guarded([&] { ResForm->ShowBids(); });
}

void TZnForm::cmResultsExecute() {
  Guarded([&] { ResForm->ShowGames(); });
}

void TZnForm::cmHelpExecute() {
  // The help page opens in the user's web browser; a failure is not reported.
  Desktop().OpenUrl(std::string("http://") + ZN_HELP_HOST + "/zenit/znclient.htm");
}

void TZnForm::cmAboutExecute() {
  Desktop().ShowMessage("Zenit Tarokk Client\r\r        Version " + std::string(proto::kVersion));
}

}  // namespace zn
