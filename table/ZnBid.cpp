#include "table/ZnBid.h"

#include "game/Cp1250.h"
#include "game/ZnError.h"
#include "link/ClubPort.h"
#include "link/Protocol.h"
#include "link/ZnLink.h"

namespace zn {

using namespace zn::literals;

namespace {

constexpr int kPanelWidth = 592;
constexpr int kCardWidth = 114;
constexpr int kCardHeight = 204;
constexpr int kSidePanelHeight = 414;

}  // namespace

TBidForm::TBidForm(TClubPort& club) : club_(club) {
  Panels[1] = {kPanelWidth, kCardHeight, false, {}, 0};
  Panels[2] = {kCardWidth, kSidePanelHeight, true, {}, 0};
  Panels[3] = {kPanelWidth, kCardHeight, false, {}, 0};
  Panels[4] = {kCardWidth, kSidePanelHeight, true, {}, 0};
  TrickImages.fill(kNoPicture);
  TrickText = std::string("Osztás"_cp);
  OverText = "5 : 5";
  Grids[0].Rows = {{std::string("<< Bemondás"_cp), std::string("<< Pont"_cp)}, {"", ""}};
  Grids[1].Rows = {{std::string("Bemondás >>"_cp), std::string("Pont >>"_cp)}, {"", ""}};
  // Group 1 is selected; its entries show from the first selection on.
  HigherText = std::string(PrefixWord(HigherIndex));
}

TBidForm::Aspect TBidForm::PanelAspect(int panel) {
  switch (panel) {
    case 2:
      return Aspect::Side2;
    case 3:
      return Aspect::Side3;
    case 4:
      return Aspect::Side4;
    default:
      return Aspect::Hand;
  }
}

void TBidForm::SetTrickPause(bool on) {
  const bool lifted = TrickPause && !on;
  TrickPause = on;
  if (lifted) club_.WakeDispatcher();
}

void TBidForm::ApplyLayout() {
  SetTrickPause(false);
  if (Watching)
    Layout = {114, 203, 114, 415, 828, 645, true};
  else
    Layout = {0, 0, 0, 212, 597, 441, false};
  Notify(Aspect::Layout);
}

// "Every showing" is the change from hidden to shown: a ShowPage on a visible window must keep the
// pause a P line has just set, or no trick would ever wait for the user.
void TBidForm::Show() {
  if (Visible) return;
  ApplyLayout();
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

void TBidForm::CloseByUser() {
  // A hidden window has no go-on button: the club window would read no line until it reopened.
  if (TrickPause) cmNextClick();
  Hide();
}

void TBidForm::ClearTable() {
  ResetDeal();
  MyTurn = false;
  Page = tabBid;
  HandSeat = 0;
  HandFocus = -1;
  Spoken.clear();
  BiddingLine.clear();
  AllBids.clear();
  AllBidsTop = 0;
  HideHint();
  EnableGo(false);
  TrickImages.fill(kNoPicture);
  TrickLabels = {};
  TrickText = std::string("Osztás"_cp);
  OverText = "5 : 5";
  for (TScoreGrid& grid : Grids) grid.Rows.resize(1);
  for (TScoreGrid& grid : Grids) grid.Rows.push_back({"", ""});
  for (int panel = 2; panel <= kHandPanels; ++panel) {
    Panels[static_cast<std::size_t>(panel)].Images.clear();
    Panels[static_cast<std::size_t>(panel)].TopZ = 0;
    Notify(PanelAspect(panel));
  }
  for (const Aspect a :
       {Aspect::Page, Aspect::Bidding, Aspect::Play, Aspect::Score, Aspect::Spoken, Aspect::Focus})
    Notify(a);
}

void TBidForm::LeaveTable() {
  ClearTable();
  ShownHand.SetCount(0);
  ShowHand(1);
  GroupIndex = 1;
  Catalog.Reset();
  SendRows.clear();
  SendIndex = -1;
  Notify(Aspect::SendSet);
  BidGroupsClick();
  Hide();
}

bool TBidForm::ToggleWatch() {
  Watching = !Watching;
  EnableGo(false);
  ApplyLayout();
  LeaveTable();
  club_.Link().Send(proto::CmdWatch(Watching));
  return Watching;
}

void TBidForm::LiftPause() {
  NextVisible = false;
  SetTrickPause(false);
  Notify(Aspect::Page);
}

void TBidForm::EnableGo(bool on) {
  GoEnabled = on;
  Notify(Aspect::Buttons);
}

void TBidForm::TurnLine(const std::string& line) {
  (void)line;
  ShowPage(tabBid);
  EnableGo(true);
  // After the B line that told the bid before this turn.
  Say(Spoken.empty() ? std::string("Ön licitál."_cp) : Spoken + std::string(". Ön licitál."_cp));
}

void TBidForm::LinkChanged(bool up) {
  if (Offline == !up) return;
  Offline = !up;
  Say(up ? std::string("Helyreállt a kapcsolat a szerverrel"_cp)
         : std::string("Megszakadt a kapcsolat a szerverrel"_cp));
}

void TBidForm::RequireLink(std::string_view what) const {
  if (!club_.Link().Socket().Active())
    throw EZnError(std::string("Nincs kapcsolat a szerverrel, "_cp) + std::string(what) +
                   std::string(" nem ment el."_cp));
}

}  // namespace zn
