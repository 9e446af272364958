// The personal-data window on screen: five fields and two buttons at their places, rendering
// TInfo's fields; what the user types goes back into them.
#pragma once

#include <QDialog>

#include "profile/ZnInfo.h"

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace zn {

class TInfoWindow : public QDialog {
 public:
  static constexpr int kWidth = 425;
  static constexpr int kHeight = 328;

  explicit TInfoWindow(TInfo& form, QWidget* parent = nullptr);
  ~TInfoWindow() override;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void reject() override;  // Esc: as "Mégsem"

 private:
  void Redraw(TInfo::Aspect aspect);
  void DrawFields();
  void DrawLook();

  TInfo& form_;
  QLineEdit* fdName_ = nullptr;
  QLineEdit* fdReal_ = nullptr;
  QLineEdit* fdWork_ = nullptr;
  QPlainTextEdit* fdInfo_ = nullptr;
  QPlainTextEdit* fdBid_ = nullptr;
  QPushButton* cmSave_ = nullptr;
  QPushButton* cmCancel_ = nullptr;
  bool drawing_ = false;  // rendering fields: the widgets' change signals are not the user's
};

}  // namespace zn
