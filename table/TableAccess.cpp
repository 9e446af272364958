// The table window for a member who plays by keyboard or listens to a screen reader: the focus
// over the own hand, and the announcements of each card played, each bid set and each result.
#include <algorithm>
#include <string_view>

#include "game/BidCatalogData.h"
#include "game/Cp1250.h"
#include "game/Seats.h"
#include "link/ClubPort.h"
#include "table/ZnBid.h"

namespace zn {

using namespace zn::literals;

void TBidForm::HandKey(THandKey key) {
  const int n = static_cast<int>(Panels[1].Images.size());
  if (n == 0 || Watching) return;
  int to = HandFocus;
  switch (key) {
    case THandKey::Left:
      to = HandFocus - 1;
      break;
    case THandKey::Right:
      to = HandFocus + 1;
      break;
    case THandKey::Home:
      to = 0;
      break;
    case THandKey::End:
      to = n - 1;
      break;
  }
  HandFocus = std::clamp(to, 0, n - 1);
  Notify(Aspect::Focus);
}

void TBidForm::HandEnter() {
  if (TrickPause) {
    cmNextClick();
    return;
  }
  CardSend(HandFocus);  // beeps for no card, a card that may not be played, or not the member's turn
}

namespace {
constexpr std::string_view kPrintKey = "LargePrint";
}  // namespace

void TBidForm::SetLargePrint(bool on) {
  if (LargePrint != on) {
    LargePrint = on;
    Notify(Aspect::Print);
  }
  club_.WriteSetting("Program", kPrintKey, on ? "1" : "0");
}

void TBidForm::ReadPrintSetting() {
  LargePrint = club_.ReadSetting("Program", kPrintKey) == "1";
  Notify(Aspect::Print);
}

// The first card the follow rule allows that is not already on its way; else the first card.
void TBidForm::FocusFirstPlayable() {
  const auto& images = Panels[1].Images;
  HandFocus = images.empty() ? -1 : 0;
  for (std::size_t i = 0; i < images.size(); ++i)
    if (!images[i].Framed && CanPlay(images[i].Code)) {
      HandFocus = static_cast<int>(i);
      break;
    }
  Notify(Aspect::Focus);
}

void TBidForm::Say(std::string text) {
  Spoken = std::move(text);
  Notify(Aspect::Spoken);
}

std::string TBidForm::SeatName(int seat) const {
  std::string name = ValidSeat(seat) ? club_.SeatLabel(seat) : std::string();
  return name.empty() ? std::to_string(seat) + std::string(". hely"_cp) : name;
}

// A P line tells the cards that came to the table since the last one, with who played them.
void TBidForm::SayCards(const std::array<TCard, 5>& before) {
  std::string text;
  for (int seat = 1; seat <= kSeats; ++seat) {
    const TCard code = TrickImages[static_cast<std::size_t>(seat)];
    if (code == before[static_cast<std::size_t>(seat)] || CardSpokenName(code).empty()) continue;
    if (!text.empty()) text += "; ";
    text += SeatName(seat) + ": " + CardSpokenName(code);
  }
  if (TrickPause) text += (text.empty() ? "" : ". ") + std::string("Az ütés teljes, Enter: tovább."_cp);
  if (MyTurn) text += (text.empty() ? "" : ". ") + std::string("Ön következik."_cp);
  if (!text.empty()) Say(text);
}

void TBidForm::SayBlock(const std::string& nickname, const std::vector<std::string>& bids) {
  std::string text = nickname + ": ";
  if (bids.empty()) text += "passz";
  for (std::size_t i = 0; i < bids.size(); ++i) {
    if (i > 0) text += ", ";
    // The no-break space inside a bid name is read as a space.
    for (const char c : bids[i]) text += c == kBidJoiner[0] ? ' ' : c;
  }
  Say(text);
}

}  // namespace zn
