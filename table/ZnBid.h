// TBidForm: the table window (bidding page, card play, deal score) as state fields and handlers.
// The Qt window (table/qt) renders these fields and forwards the user's input to the handlers; it
// is told what changed through Changed. The handlers live in three files by job: BidPanel.cpp (the
// bid page), CardPlay.cpp (hands and tricks), ScoreTab.cpp (the score page); ZnBid.cpp holds the
// shared state: pages, showing and the two layouts.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "game/BidCatalog.h"
#include "game/BidList.h"
#include "game/Hands.h"

namespace zn {

class TClubPort;

// One card picture of a hand panel.
struct TCardImage {
  TCard Code = kNoCard;  // as the server sent it; a code outside 0..42 is drawn as the placeholder
  int Left = 0;
  int Top = 0;
  int Z = 0;            // stacking order: a higher Z lies over a lower one
  bool Framed = false;  // the red frame of a played own card
};

// A hand panel: Panel1 (own hand, bottom), Panel2 (right), Panel3 (top), Panel4 (left).
struct THandPanel {
  int Width = 0;
  int Height = 0;
  bool Vertical = false;
  std::vector<TCardImage> Images;  // in the order drawn: HandImages for Panel1
  int TopZ = 0;
};

// A name label of the play page.
struct TTrickLabel {
  std::string Text;
  bool Red = false;
};

// A composed bid of fdSend.
struct TSendRow {
  std::string Bid;
  bool PreChecked = false;  // checked when added and not again before sending
};

// A score grid: row 0 the headings, rows 1..n-1 the items, the last row the total.
struct TScoreGrid {
  std::vector<std::array<std::string, 2>> Rows;
};

// Where the page control and the own-hand panel lie, and the window's size.
struct TTableLayout {
  int PageLeft = 0, PageTop = 0;
  int Panel1Left = 0, Panel1Top = 212;
  int Width = 597, Height = 441;
  bool SidePanels = false;
};

class TBidForm {
 public:
  enum class Aspect {
    Visible,  // shown or hidden
    Layout,   // the playing or watching layout
    Page,     // the active page, pnOver, cmNext
    Buttons,  // cmGo, cmFix, the deal buttons
    Bidding,  // fdAllBid
    Catalog,  // fdGroups, fdBid, fdHigher, pnHint
    SendSet,  // fdSend
    Hand,     // Panel1
    Side2,    // Panel2
    Side3,    // Panel3
    Side4,    // Panel4
    Play,     // trick labels and pictures, fdTrick
    Score,    // grids, fdSum, lbOver
    Spoken,   // the message line: the latest announcement
    Focus,    // the focused card of Panel1
    Print,    // large print on or off
  };
  std::function<void(Aspect)> Changed;

  enum TPage { tabBid = 1, tabPlay = 2, tabScore = 3 };
  static constexpr int kHandPanels = 4;
  static constexpr TCard kNoPicture = 55;  // a trick picture's code before the first P line

  explicit TBidForm(TClubPort& club);

  // ---- Shared state ----
  bool Visible = false;
  TPage Page = tabBid;
  TTableLayout Layout;
  bool MyTurn = false;
  bool Watching = false;
  bool TrickPause = false;  // while set the club window takes no line off the queue
  bool DealOver = false;
  int HandOrder = 0;  // 0 normal, 1 reversed, 2 split ("&Sorrend")

  bool GoEnabled = false;           // "&Mehet"
  bool GoVisible = true;            // hidden while pnHint lies over it
  bool FixEnabled = false;          // "&Felír"
  bool DealButtonsVisible = false;  // "Ú&jrajátszás", "Új &meccs", "&Következő", "&Felír": the lowest seat
  bool OverVisible = false;         // pnOver
  bool NextVisible = false;         // cmNext

  // ---- Bid page ----
  std::string BiddingLine;           // "#" + the last B line
  std::vector<std::string> AllBids;  // fdAllBid
  int AllBidsTop = 0;                // fdAllBid's top row
  TBidCatalog Catalog;               // the ten groups
  int GroupIndex = 1;                // fdGroups' selection
  std::vector<std::string> BidRows;  // fdBid: a copy of the selected group
  int BidIndex = -1;                 // fdBid's selection (the view writes it)
  std::string HigherText;            // fdHigher's text (the view writes it)
  int HigherIndex = 0;               // fdHigher's row, -1 for typed text (the view writes it)
  std::string HintText;              // pnHint
  bool HintVisible = false;
  std::vector<TSendRow> SendRows;  // fdSend
  int SendIndex = -1;              // fdSend's selection (the view writes it)
  int MoveFrom = -1;

  // ---- Card play ----
  std::int32_t HandSeat = 0;
  THand ShownHand{TCards{}};
  THand SuitCounts{TCards{}};
  std::array<THandPanel, kHandPanels + 1> Panels;  // 1..4; entry 0 unused
  std::array<TTrickLabel, 5> TrickLabels;          // 1..4
  std::array<TCard, 5> TrickImages{};              // 1..4: the code each trick picture shows
  std::string TrickText;                           // fdTrick: "tricks/tricks of seats 2 and 3"

  // ---- The link ----
  bool Offline = false;  // the link is down: the message line says so and no move goes out

  // ---- Keyboard, screen reader, large print (TableAccess.cpp) ----
  int HandFocus = -1;       // the picture of Panel1 the keys move over; -1 with an empty hand
  std::string Spoken;       // the latest announcement: a card played, a bid set, a result
  bool LargePrint = false;  // doubled card pictures and fonts

  // ---- Score page ----
  std::array<TScoreGrid, 2> Grids;  // Grid1 (seats 1 and 4), Grid2 (seats 2 and 3)
  std::string SumText;              // fdSum ("12:0")
  std::string OverText;             // lbOver

  // ---- Shared operations ----
  // 1 the bidding page, 2 the play page, anything else keeps the page; then the window shows.
  void ShowPage(int which);
  // Shows the window without changing its page (a hidden window shows without a trick pause).
  void Show();
  void Hide();
  // The user closes the window: a trick pause goes on as the go-on button would, then the window hides.
  void CloseByUser();
  // Forgets everything of the deal shown (cards, tricks, bids, score, the game-over panel): every
  // entry to a table starts from what the server sends, never from another deal's leftovers.
  void ClearTable();
  // Clears the table, empties the own hand and the composed set, and hides the window.
  void LeaveTable();
  // Flips watching, sends "K1" or "K0"; returns the new state.
  bool ToggleWatch();
  // Lifts a trick pause without sending anything (a new connection starts without one).
  void LiftPause();
  // Enables or disables "&Mehet".
  void EnableGo(bool on);
  // The "T" line: the user's turn to bid.
  void TurnLine(const std::string& line);
  // The club window's link went down or came up: the message line tells the member.
  void LinkChanged(bool up);

  // ---- Bid page (BidPanel.cpp) ----
  void BidLine(const std::string& line);
  void BidGroupsClick();  // after the view set GroupIndex
  void fdBidMouseDown(bool rightButton, int row);
  void pnHintClick();
  void BidAddClick();
  void BidDelClick();
  void BidUpClick();
  void BidDownClick();
  void BidMouseDown();  // before the press changes the selection
  void BidMoveClick();  // after the view set SendIndex
  void BidSendClick();
  // Throws the refusal when list holds bid, or bid lowers Trull/Köpf.
  static void CheckBid(const std::string& bid, const TBidList& list);

  // ---- Card play (CardPlay.cpp) ----
  void HandLine(const std::string& line);
  void ShowHand(int panel = 1);
  // After a change of HandOrder: the own hand, or while watching every panel from its own cards.
  void ShowHands();
  void AddCardImage(int panel, TCard code);
  void CardSelect(int index, bool rightButton);  // a press on picture index of Panel1
  void CardOrder(int index);
  void CardSend(int index);  // a double click on picture index of Panel1
  bool CanPlay(TCard card) const;
  void PlayLine(const std::string& line);
  void cmNextClick();
  void TrickImageClick(int seat);
  void cmLastClick();
  void cmScoreClick();

  // ---- Keyboard, screen reader, large print (TableAccess.cpp) ----
  enum class THandKey { Left, Right, Home, End };
  // Moves the focus over the own hand (pictures in the order drawn, left to right).
  void HandKey(THandKey key);
  // Enter or Space on the own hand: goes on after a trick, else plays the focused card (a card that
  // may not be played beeps, as a double click does).
  void HandEnter();
  // Large print on or off for this run, then kept in the settings ("Program", "LargePrint"); a
  // failing write is refused with its message after the change.
  void SetLargePrint(bool on);
  // Large print as the settings keep it (at start).
  void ReadPrintSetting();

  // ---- Score page (ScoreTab.cpp) ----
  void ScoreLine(const std::string& line);
  // Writes the total row; returns the pair's result (limited when "&Igazítás" is on).
  std::int64_t SumGrid(int grid);
  void cmAddUpClick();
  void cmFixClick();
  void GridMoveRow(int grid, int from, int to);
  // Before the club window asks for a new deal.
  void ResetDeal();

 private:
  TClubPort& club_;
  void Notify(Aspect a) {
    if (Changed) Changed(a);
  }
  void SetTrickPause(bool on);
  // Refuses a move (a card, a set of bids, a result) while the link is down: what (with its article)
  // would be lost, and the member must know it did not go out.
  void RequireLink(std::string_view what) const;
  void ApplyLayout();
  void HideHint();
  void HandSignalsStep();
  static Aspect PanelAspect(int panel);
  // TableAccess.cpp: the focus's start, the announcements.
  void FocusFirstPlayable();
  void Say(std::string text);
  void SayCards(const std::array<TCard, 5>& before);
  void SayBlock(const std::string& nickname, const std::vector<std::string>& bids);
  std::string SeatName(int seat) const;
};

}  // namespace zn
