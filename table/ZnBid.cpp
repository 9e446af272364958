#include "table/ZnBid.h"

#include <string_view>

#include "game/Tokenizer.h"
#include "link/ClubPort.h"
#include "link/Protocol.h"
#include "link/ZnLink.h"

namespace zn {

TBidForm::TBidForm(TClubPort& club) : club_(club) {}

void TBidForm::SetTrickPause(bool on) {
  const bool lifted = TrickPause && !on;
  TrickPause = on;
  if (lifted) club_.WakeDispatcher();
}

// Every showing of the window from hidden starts without a trick pause.
void TBidForm::Show() {
  if (Visible) return;
  SetTrickPause(false);
  Visible = true;
  Notify(Aspect::Visible);
}

void TBidForm::ShowPage(int which) {
  if (which == tabBid || which == tabPlay) Page = static_cast<TPage>(which);
  Show();
  OverVisible = DealOver;
  NextVisible = !DealOver && TrickPause;
  Notify(Aspect::Page);
}

void TBidForm::Hide() {
  if (!Visible) return;
  Visible = false;
  Notify(Aspect::Visible);
}

void TBidForm::ResetDeal() {
  SetTrickPause(false);
  DealOver = false;
  OverVisible = false;
  NextVisible = false;
  SumText.clear();
  Notify(Aspect::Score);
}

void TBidForm::LeaveTable() {
  ShownHand.SetCount(0);
  Notify(Aspect::Hand);
  Hide();
}

bool TBidForm::ToggleWatch() {
  Watching = !Watching;
  EnableGo(false);
  SetTrickPause(false);
  LeaveTable();
  club_.Link().Send(proto::CmdWatch(Watching));
  return Watching;
}

void TBidForm::cmNextClick() {
  if (TrickPause) club_.Link().Send(proto::CmdTrickDone());
  NextVisible = false;
  SetTrickPause(false);
  Notify(Aspect::Play);
}

void TBidForm::LiftPause() {
  NextVisible = false;
  SetTrickPause(false);
  Notify(Aspect::Play);
}

void TBidForm::EnableGo(bool on) {
  GoEnabled = on;
  Notify(Aspect::Buttons);
}

void TBidForm::ShowHand() { Notify(Aspect::Hand); }

void TBidForm::BidLine(const std::string& line) {
  (void)line;  // the bidding list is shown by the full bidding panel
  ShowPage(tabBid);
  OverVisible = false;
}

void TBidForm::HandLine(const std::string& line) {
  Show();
  std::string_view rest(line);
  rest.remove_prefix(rest.empty() ? 0 : 1);
  HandSeat = CutInt(rest);
  ShownHand.SetCount(0);
  for (int i = 0; i < 10 && !rest.empty(); ++i) ShownHand.Cards.push_back(CutInt(rest));
  if (DealOver) DealOver = ShownHand.Count() < 10;
  if (!Watching && ShownHand.Count() >= 10 && HandSeat == club_.MySeat()) SetTrickPause(false);
  Notify(Aspect::Hand);
  if (!Watching && ShownHand.Count() < 10) ShowPage(tabPlay);
}

void TBidForm::PlayLine(const std::string& line) {
  std::string_view rest(line);
  rest.remove_prefix(rest.empty() ? 0 : 1);
  const std::int32_t who = CutInt(rest);
  MyTurn = club_.MySeat() == who;
  SetTrickPause(!Watching && !DealOver && who == 0);
  ShowPage(tabPlay);
  const std::int32_t tricks = CutInt(rest);
  if (tricks > 10) return;
  TrickText = std::to_string(tricks) + "/" + std::string(CutWord(rest));
  for (int seat = 1; seat <= 4; ++seat) CutInt(rest);  // the cards, drawn by the full play view
  Notify(Aspect::Play);
  if (who <= 0 && Watching && !DealOver) club_.Link().Send(proto::CmdHand(0));
  if (MyTurn || TrickPause) club_.Alert();
}

void TBidForm::ScoreLine(const std::string& line) {
  (void)line;  // the score items are shown by the full score tab
  Show();
  Page = tabScore;
  DealOver = true;
  club_.EnableDealCommands(true);
  FixEnabled = false;
  OverVisible = true;
  NextVisible = false;
  Notify(Aspect::Page);
  Notify(Aspect::Score);
}

void TBidForm::TurnLine(const std::string& line) {
  (void)line;
  ShowPage(tabBid);
  EnableGo(true);
}

}  // namespace zn
