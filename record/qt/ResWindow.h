// The played-games window on screen: three pages (the game list, the bids, the play) that render
// TResForm's fields and forward the user's clicks to its handlers.
#pragma once

#include <QWidget>

#include "record/ZnResult.h"

class QMenu;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QTableWidget;

namespace zn {

class TResWindow : public QWidget {
 public:
  static constexpr int kWidth = 289;
  static constexpr int kHeight = 265;

  explicit TResWindow(TResForm& form, QWidget* parent = nullptr);
  ~TResWindow() override;

  QMenu* PopupMenu() const { return popup_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  // Enter presses "&Megőriz", the window's default button (a plain window honours none itself).
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void BuildListPage(QWidget* page);
  void Redraw(TResForm::Aspect aspect);
  void DrawGames();
  void DrawGameRow();
  void DrawRow(int r);
  void DrawHeaders();
  void DrawBids();
  void DrawPlay();
  void DrawPage();

  TResForm& form_;
  QTabWidget* pages_ = nullptr;
  QTableWidget* played_ = nullptr;
  QTableWidget* game_ = nullptr;
  QPlainTextEdit* bidList_ = nullptr;
  QPushButton* cmSave_ = nullptr;
  QPushButton* cmMatch_ = nullptr;
  QMenu* popup_ = nullptr;
  bool drawing_ = false;  // rendering fields: the widgets' change signals are not the user's
};

}  // namespace zn
