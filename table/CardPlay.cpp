// The card play view of the table window: hands in their panels, playing a card under the follow
// rule, the table after each card and the pause after a complete trick.
#include <algorithm>
#include <string_view>

#include "game/Cp1250.h"
#include "game/Desktop.h"
#include "game/PlayRules.h"
#include "game/Seats.h"
#include "link/ClubPort.h"
#include "link/Protocol.h"
#include "link/ZnLink.h"
#include "table/ZnBid.h"

namespace zn {

using namespace zn::literals;

namespace {

constexpr int kCardWidth = 114;
constexpr int kCardHeight = 204;
constexpr int kHandSize = kTricks;  // a dealt hand holds a card for every trick

bool IsCardCode(std::int64_t code) { return code >= kNoCard && code <= kMaxCard; }

}  // namespace

void TBidForm::HandLine(const std::string& line) {
  Show();
  const proto::TRead<proto::THandLine> read = proto::ReadHand(line);
  read.stop.RaiseBefore(0);
  HandSeat = read.value.seat;
  ShownHand.SetCount(0);
  for (const std::int32_t card : read.value.cards) ShownHand.Cards.push_back(card);
  read.stop.Raise();  // the cards before a malformed one stay in the hand
  if (DealOver) DealOver = ShownHand.Count() < kHandSize;
  if (Watching) {
    ShowHand(ValidSeat(HandSeat) && HandSeat != 1 ? HandSeat : 1);
    return;
  }
  ShowHand(1);
  ShownHand.CountSuits(SuitCounts);
  if (ShownHand.Count() < kHandSize)
    ShowPage(tabPlay);
  else if (HandSeat == club_.MySeat())
    HandSignalsStep();
}

void TBidForm::ShowHand(int panel) {
  if (panel < 1 || panel > kHandPanels) return;
  ShownHand.Sort();
  THandPanel& p = Panels[static_cast<std::size_t>(panel)];
  p.Images.clear();
  p.TopZ = 0;
  const int n = ShownHand.Count();
  const auto at = [this](int i) { return ShownHand.Cards[static_cast<std::size_t>(i)]; };
  if (HandOrder == 1) {
    for (int i = 0; i < n; ++i) AddCardImage(panel, at(i));
  } else if (HandOrder == 2) {
    int first = 0;
    while (first < n && at(first) < 11) AddCardImage(panel, at(first++));
    for (int i = n - 1; i >= first; --i) AddCardImage(panel, at(i));
  } else {
    for (int i = n - 1; i >= 0; --i) AddCardImage(panel, at(i));
  }
  // Spread: each picture lies over the one before it, shifted by one step.
  const int c = static_cast<int>(p.Images.size());
  if (!p.Vertical && c >= 2) {
    const int step = std::min(kCardWidth, (p.Width - 110) / (c - 1));
    for (int i = 1; i < c; ++i)
      p.Images[static_cast<std::size_t>(i)].Left = p.Images[static_cast<std::size_t>(i - 1)].Left + step;
  } else if (p.Vertical && c >= 1) {  // an empty side panel has nothing to divide by
    const int step = std::min(kCardHeight, (p.Height - 11) / c);
    for (int i = 1; i < c; ++i)
      p.Images[static_cast<std::size_t>(i)].Top = p.Images[static_cast<std::size_t>(i - 1)].Top + step;
  }
  Notify(PanelAspect(panel));
  if (panel == 1 && !Watching) {
    FocusFirstPlayable();
  } else if (panel == 1) {
    HandFocus = -1;
    Notify(Aspect::Focus);
  }
}

void TBidForm::AddCardImage(int panel, TCard code) {
  if (panel < 1 || panel > kHandPanels) return;
  THandPanel& p = Panels[static_cast<std::size_t>(panel)];
  p.Images.push_back({code, 0, 0, ++p.TopZ, false});
}

void TBidForm::CardSelect(int index, bool rightButton) {
  THandPanel& p = Panels[1];
  if (rightButton) {
    for (TCardImage& image : p.Images) image.Z = ++p.TopZ;
  } else if (index >= 0 && index < static_cast<int>(p.Images.size())) {
    p.Images[static_cast<std::size_t>(index)].Z = ++p.TopZ;
  }
  Notify(Aspect::Hand);
  cmNextClick();
}

void TBidForm::CardOrder(int index) { (void)index; }

void TBidForm::CardSend(int index) {
  THandPanel& p = Panels[1];
  const bool known = !Watching && index >= 0 && index < static_cast<int>(p.Images.size());
  if (!known || Page != tabPlay || !MyTurn || !CanPlay(p.Images[static_cast<std::size_t>(index)].Code)) {
    Desktop().Beep();
    return;
  }
  RequireLink("a lap"_cp);
  TCardImage& image = p.Images[static_cast<std::size_t>(index)];
  MyTurn = false;
  image.Framed = true;
  Notify(Aspect::Hand);
  club_.Link().Send(proto::CmdPlay(image.Code));
}

bool TBidForm::CanPlay(TCard card) const {
  const std::int32_t seat = club_.MySeat();
  if (!ValidSeat(seat)) return false;  // only a seated player plays; no picture to look at otherwise
  const int before = PreviousSeat(seat);
  if (TrickImages[static_cast<std::size_t>(before)] == kNoCard) return true;
  TCard lead = kNoCard;
  for (int i = 0, s = NextSeat(seat); i < kSeats; ++i, s = NextSeat(s)) {
    const TCard code = TrickImages[static_cast<std::size_t>(s)];
    if (code >= 1) {
      lead = code;
      break;
    }
  }
  // The suit counts decide: the hand the player holds is what they are.
  TCards counted;
  const int leadSuit = SuitOf(lead);
  const auto count = [this](int suit) {
    return suit < SuitCounts.Count() ? SuitCounts.Cards[static_cast<std::size_t>(suit)] : 0;
  };
  if (count(leadSuit) > 0) counted.push_back(lead);
  if (count(4) > 0) counted.push_back(kFirstTarokk);
  return MayPlay(THand(counted), lead, card);
}

void TBidForm::PlayLine(const std::string& line) {
  const proto::TRead<proto::TPlayLine> read = proto::ReadPlay(line);
  const proto::TPlayLine& play = read.value;
  read.stop.RaiseBefore(0);
  const std::int32_t who = play.seat;
  MyTurn = club_.MySeat() == who;
  Show();  // first: showing a hidden window lifts a pause, and this line's pause must hold
  SetTrickPause(!Watching && !DealOver && who == 0);
  ShowPage(tabPlay);
  read.stop.RaiseBefore(1);
  const std::int32_t tricks = play.trick;
  if (tricks > kTricks) return;
  TrickText = std::to_string(tricks) + "/" + play.taken;
  const std::array<TCard, 5> before = TrickImages;
  // The labels and pictures read before a malformed card stay as they were set.
  struct TTell {
    TBidForm& form;
    ~TTell() { form.Notify(Aspect::Play); }
  } tell{*this};
  for (int seat = 1; seat <= kSeats; ++seat) {
    TrickLabels[static_cast<std::size_t>(seat)] = {club_.SeatLabel(seat), false};
    if (play.cards.size() < static_cast<std::size_t>(seat)) {
      read.stop.Raise();  // a card short only when one was malformed
      return;
    }
    const TCard code = play.cards[static_cast<std::size_t>(seat - 1)];
    // The record holds tricks 1..10 and the 42 cards only.
    if (tricks >= 1 && IsCardCode(code)) club_.RecordTrickCard(tricks, seat, code);
    TCard& shown = TrickImages[static_cast<std::size_t>(seat)];
    if (code != shown) shown = code;
  }
  if (who > 0) {
    if (ValidSeat(who)) TrickLabels[static_cast<std::size_t>(who)].Red = true;
  } else if (Watching && !DealOver) {
    club_.Link().Send(proto::CmdHand(0));
  }
  if (MyTurn) FocusFirstPlayable();
  SayCards(before);
  if (MyTurn || TrickPause) club_.Alert();
}

void TBidForm::cmNextClick() {
  // Offline the trick still goes on here: the server lets it go when its wait runs out.
  if (TrickPause && club_.Link().Socket().Active()) club_.Link().Send(proto::CmdTrickDone());
  NextVisible = false;
  SetTrickPause(false);
  Notify(Aspect::Page);
}

void TBidForm::TrickImageClick(int seat) {
  (void)seat;
  if (!Watching) cmNextClick();
}

void TBidForm::cmLastClick() { ShowPage(tabPlay); }

void TBidForm::cmScoreClick() {
  Page = tabScore;
  Notify(Aspect::Page);
}

// A watcher's four panels each hold their own seat's hand: each is redrawn from the cards it
// shows, and ShownHand stays the hand that came last.
void TBidForm::ShowHands() {
  if (!Watching) {
    ShowHand(1);
    return;
  }
  const THand last = ShownHand;
  for (int panel = 1; panel <= kHandPanels; ++panel) {
    ShownHand.SetCount(0);
    for (const TCardImage& image : Panels[static_cast<std::size_t>(panel)].Images)
      ShownHand.Cards.push_back(image.Code);
    ShowHand(panel);
  }
  ShownHand = last;
}

}  // namespace zn
