// The "Archívum" window on screen: the list of kept deals with its nickname filter, and the replay
// of the opened deal (the four hands, the trick on the table, the bids beside). It renders
// TArchiveForm's fields and forwards the user's clicks to its handlers.
#pragma once

#include <QWidget>

#include "record/ZnArchive.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTableWidget;

namespace zn {

class TArchiveWindow : public QWidget {
 public:
  explicit TArchiveWindow(TArchiveForm& form, QWidget* parent = nullptr);
  ~TArchiveWindow() override;

 protected:
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Redraw(TArchiveForm::Aspect aspect);
  void DrawList();
  void DrawReplay();
  void DrawImport();
  void Run(const std::function<void()>& action);

  TArchiveForm& form_;
  QLineEdit* fdFilter_ = nullptr;
  QTableWidget* list_ = nullptr;
  QPlainTextEdit* table_ = nullptr;
  QListWidget* bids_ = nullptr;
  QListWidget* verdicts_ = nullptr;
  QPushButton* cmAnalyse_ = nullptr;
  QPushButton* cmImport_ = nullptr;
  QPushButton* cmCancel_ = nullptr;
  QPushButton* cmDelete_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QLabel* lbStep_ = nullptr;
  QLabel* lbLegend_ = nullptr;
  QPushButton* cmBack_ = nullptr;
  QPushButton* cmForward_ = nullptr;
  bool drawing_ = false;  // rendering fields: the widgets' change signals are not the user's
};

}  // namespace zn
