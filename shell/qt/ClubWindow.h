// The club window on screen: renders TZnForm's fields and hands every click and key to its
// handlers. It keeps no state the logic reads; TZnForm's Changed(aspect) says what to redraw.
#pragma once

#include <QMainWindow>
#include <QTimer>
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "shell/ZnCliTop.h"

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QStackedWidget;

namespace zn {

class TClubWindow : public QMainWindow {
  Q_OBJECT

 public:
  static constexpr int kWidth = 380;
  static constexpr int kHeight = 449;
  static constexpr int kFlashMs = 100;

  explicit TClubWindow(TZnForm& form, QWidget* parent = nullptr);
  ~TClubWindow() override;

  TZnForm& Form() { return form_; }
  // The menu of a top-level caption ("&Terem"), the QAction of an action record.
  QMenu* Menu(const QString& caption) const;
  QAction* ActionOf(const TAction& action) const;
  // Runs a handler of the logic inside the general error handler, then redraws the check marks
  // and enabled states (a handler may refuse and leave them as they were).
  void Run(const std::function<void()>& handler);

  // The idle dispatcher's driver: a zero-interval timer, running only while lines wait.
  bool IdleScheduled() const { return idle_.isActive(); }
  bool Flashing() const { return flash_.isActive(); }

 signals:
  // The user closed the club window (the close question, if any, was answered yes): the program ends.
  void Closed();

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // ClubWindow.cpp: frame, shared area below the pages, status bar, redraw dispatch, timers.
  void BuildFrame();
  QWidget* BuildSharedArea();
  void BuildStatusBar();
  void Redraw(TClubState::Aspect aspect);
  void RedrawAll();
  void DrawPage();
  void DrawCaption();
  void DrawMemo();
  void DrawPresent();
  void DrawStatus();
  void DrawChat();
  void DrawFlash();
  void WakeIdle();
  void IdleTimeout();

  // ClubMenus.cpp: the menu bar and the action records it shows.
  void BuildMenus();
  QAction* AddAction(QMenu* menu, TAction& action, bool checkable = false);
  void DrawMenus();
  void DrawActions();

  // ClubPages.cpp: the connect, lobby and room pages.
  QWidget* BuildConnectPage();
  QWidget* BuildLobbyPage();
  QWidget* BuildRoomPage();
  void DrawAddress();
  void DrawLobby();
  void DrawRoom();

  TZnForm& form_;
  QTimer idle_;
  QTimer flash_;
  QTimer link_;             // the link timer: quiet ping, countdown and attempts of the way back
  bool inIdle_ = false;     // IdleHandler is running (a modal box inside it runs the event loop)
  bool idleAgain_ = false;  // woken while it ran
  bool shown_ = false;
  int drawing_ = 0;  // > 0 while fields are being drawn: the widgets' own change signals are ignored

  QStackedWidget* pages_ = nullptr;
  std::vector<std::pair<QMenu*, QString>> menus_;
  std::vector<std::pair<QAction*, TAction*>> actions_;
  std::size_t memoShown_ = 0;       // lines of form_.Memo the area shows
  std::uint64_t memoRewrites_ = 0;  // form_.MemoRewrites when the area was last drawn whole

  // Connect page.
  QLineEdit* fdAddress_ = nullptr;
  QListWidget* adrList_ = nullptr;
  QLineEdit* fdPort_ = nullptr;
  QPushButton* btnConnect_ = nullptr;
  // Lobby page.
  QLabel* lobbyPicture_ = nullptr;
  QListWidget* fdRooms_ = nullptr;
  QListWidget* fdUsers_ = nullptr;
  // Room page.
  QLabel* lbSeatDown_ = nullptr;
  std::array<QLabel*, 5> seatLabels_{};  // index 1..4
  QLabel* lbDeal_ = nullptr;
  QLabel* lbMatch_ = nullptr;
  QLabel* lbDealer1_ = nullptr;
  QLabel* lbDealer3_ = nullptr;
  // Below the pages.
  QComboBox* fdChat_ = nullptr;
  QPlainTextEdit* memo_ = nullptr;
  QListWidget* fdPresent_ = nullptr;
  // Status bar panels.
  std::array<QLabel*, 3> status_{};
};

}  // namespace zn
