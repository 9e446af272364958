// TBidForm: the table window (bidding page, card play, deal score). This holds the deal state the
// club window drives and reads; the bidding panel, the card pictures and the score grids come with
// the full table window.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "game/Hands.h"

namespace zn {

class TClubPort;

class TBidForm {
 public:
  enum class Aspect { Visible, Page, Buttons, Hand, Play, Score };
  std::function<void(Aspect)> Changed;

  enum TPage { tabBid = 1, tabPlay = 2, tabScore = 3 };

  explicit TBidForm(TClubPort& club);

  bool Visible = false;
  TPage Page = tabBid;
  bool MyTurn = false;
  bool Watching = false;
  bool TrickPause = false;  // while set the club window takes no line off the queue
  bool DealOver = false;
  int HandOrder = 0;  // 0 normal, 1 reversed, 2 split ("&Sorrend")

  bool GoEnabled = false;           // "&Mehet"
  bool FixEnabled = false;          // "&Felír"
  bool DealButtonsVisible = false;  // "Ú&jrajátszás", "Új &meccs", "&Következő", "&Felír": seat 1 only
  bool OverVisible = false;         // game-over panel
  bool NextVisible = false;         // the go-on button after a trick
  std::string SumText;              // the result of the deal ("12:0")
  std::int32_t HandSeat = 0;
  THand ShownHand{TCards{}};
  std::string TrickText;  // "tricks/tricks of seats 2 and 3"

  // 1 the bidding page, 2 the play page, anything else keeps the page; then the window shows.
  void ShowPage(int which);
  // Shows the window without changing its page; hides it.
  void Show();
  void Hide();
  // Before the club window asks for a new deal.
  void ResetDeal();
  // Empties the own hand and hides the window.
  void LeaveTable();
  // Flips watching, sends "K1" or "K0"; returns the new state.
  bool ToggleWatch();
  // The go-on click after a complete trick: sends "T" and lifts the pause.
  void cmNextClick();
  // Lifts a trick pause without sending anything (a new connection starts without one).
  void LiftPause();
  // Enables or disables "&Mehet".
  void EnableGo(bool on);
  // Redraws the own hand in the chosen order.
  void ShowHand();

  // Incoming lines, whole, letter included.
  void BidLine(const std::string& line);
  void HandLine(const std::string& line);
  void PlayLine(const std::string& line);
  void ScoreLine(const std::string& line);
  // The "T" line: the user's turn to bid.
  void TurnLine(const std::string& line);

 private:
  TClubPort& club_;
  void Notify(Aspect a) {
    if (Changed) Changed(a);
  }
  void SetTrickPause(bool on);
};

}  // namespace zn
