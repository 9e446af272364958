// The table window on screen: renders TBidForm's fields and forwards the user's input to its
// handlers. Three pages with hidden tabs (bid, play, score), the own-hand panel below them and the
// three watcher panels round them.
#pragma once

#include <QWidget>
#include <array>
#include <functional>
#include <vector>

#include "table/TableFit.h"
#include "table/ZnBid.h"
#include "table/qt/CardLabel.h"

class QComboBox;
class QFrame;
class QLabel;
class QListWidget;
class QPushButton;
class QStackedWidget;
class QTableWidget;
class QToolButton;

namespace zn {

// The club window's actions the table window's buttons are bound to.
struct TTableActions {
  std::function<void()> Replay, Match, NextDeal, Bids, Hands;
  std::function<bool()> DealCommandsEnabled;  // new match and next deal
};

class TBidWindow : public QWidget {
 public:
  static constexpr int kWidth = 724;
  static constexpr int kHeight = 414;

  explicit TBidWindow(TBidForm& form, QWidget* parent = nullptr);
  ~TBidWindow() override;

  void SetActions(TTableActions actions);
  // The window whose chat the table should leave in sight where the screen has room (the club
  // window); it must outlive this one.
  void KeepClear(const QWidget* other) { keepClear_ = other; }
  // The free area of the window's screen; tests give their own.
  std::function<QRect()> AvailableArea;

  // For tests and the benchmark: the controls by role (made when the window first shows).
  QStackedWidget* Pages() const { return pages_; }
  QWidget* HandPanel(int panel) const { return panels_[static_cast<std::size_t>(panel)]; }
  const std::vector<TCardLabel*>& HandPictures(int panel) const {
    return cards_[static_cast<std::size_t>(panel)];
  }
  TCardLabel* TrickPicture(int seat) const { return trickImages_[static_cast<std::size_t>(seat)]; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  // Enter presses the go-on button, the window's default button (a plain window has none of its own).
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void Build();
  void BuildBidPage(QWidget* page);
  void PlaceArrow();
  void BuildPlayPage(QWidget* page);
  void BuildScorePage(QWidget* page);
  void BuildPanels();
  void Redraw(TBidForm::Aspect aspect);
  void RedrawVisible();
  void RedrawLayout();
  void RedrawPage();
  void RedrawButtons();
  void RedrawBidding();
  void RedrawCatalog();
  void RedrawSendSet();
  void RedrawHand(int panel);
  void RedrawPlay();
  void RedrawScore();
  void RedrawGrid(int grid);
  // TableAccess.cpp: keys, names, the message line, large print.
  void BuildAccess();
  bool HandKey(QKeyEvent* event);
  bool BidPageKey(QObject* watched, QKeyEvent* event);
  void RedrawFocus();
  void RedrawSpoken();
  void NameTrick();
  void FocusPage();
  // Sizes the window for the layout (playing or watching) at the print size that fits the screen,
  // and places it.
  void FitScreen(int width, int height);
  void ApplyPrint(int percent);
  // Sets every control's place, size and font to its designed one times to / 100.
  void Rescale(int to);
  int S(int v) const { return v * scale_ / kOrdinaryPrint; }  // a designed measure at the print size
  // Runs a handler under the general error handler (not while fields are being drawn).
  void Act(const std::function<void()>& handler);

  TBidForm& form_;
  TTableActions actions_;
  bool built_ = false;    // the controls are made at the first showing
  bool drawing_ = false;  // set while fields are written into widgets: their signals are not input

  QStackedWidget* pages_ = nullptr;
  // Bid page.
  QListWidget* fdAllBid_ = nullptr;
  QListWidget* fdSend_ = nullptr;
  QToolButton *fdUp_ = nullptr, *fdAdd_ = nullptr, *fdDel_ = nullptr, *fdDown_ = nullptr;
  QPushButton* cmGo_ = nullptr;
  QLabel* lbArrow_ = nullptr;  // "<<<": from the catalogue into the set
  QLabel* pnHint_ = nullptr;
  QListWidget* fdBid_ = nullptr;
  QListWidget* fdGroups_ = nullptr;
  QComboBox* fdHigher_ = nullptr;
  // Play page.
  std::array<QLabel*, 5> trickLabels_{};
  std::array<TCardLabel*, 5> trickImages_{};
  QPushButton* cmNext_ = nullptr;
  QLabel* fdTrick_ = nullptr;
  // Score page.
  std::array<QTableWidget*, 2> grids_{};
  QPushButton *cmReplay_ = nullptr, *cmNewDeal_ = nullptr, *cmNextDeal_ = nullptr, *cmFix_ = nullptr,
              *cmAddUp_ = nullptr;
  QLabel* fdSum_ = nullptr;
  // Hand panels 1..4 and the game-over panel on Panel1.
  std::array<TClickPanel*, 5> panels_{};
  std::array<std::vector<TCardLabel*>, 5> cards_;
  QFrame* pnOver_ = nullptr;
  QLabel* lbOver_ = nullptr;
  TFocusFrame* focusFrame_ = nullptr;
  QLabel* lbSpoken_ = nullptr;  // the message line: what was announced last
  int scale_ = kOrdinaryPrint;  // the print size in percent: 200 for large print where it fits
  const QWidget* keepClear_ = nullptr;
  bool placed_ = false;  // placed once: later sizes keep the member's place
  int focusSaid_ = -1;   // the card whose focus was last told to the screen reader
};

}  // namespace zn
