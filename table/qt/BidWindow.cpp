#include "table/qt/BidWindow.h"

#include <QCloseEvent>

namespace zn {

TBidWindow::TBidWindow(TBidForm& form, QWidget* parent) : QWidget(parent, Qt::Window), form_(form) {
  setObjectName(QStringLiteral("BidForm"));
  setWindowTitle(QStringLiteral("Zenit Tarokk"));
  resize(kWidth, kHeight);
  form_.Changed = [this](TBidForm::Aspect aspect) { Redraw(aspect); };
  Redraw(TBidForm::Aspect::Visible);
}

TBidWindow::~TBidWindow() { form_.Changed = nullptr; }

void TBidWindow::Redraw(TBidForm::Aspect aspect) {
  if (aspect != TBidForm::Aspect::Visible && aspect != TBidForm::Aspect::Page) return;
  if (form_.Visible && !isVisible()) show();
  if (form_.Visible) raise();
  if (!form_.Visible && isVisible()) hide();
}

void TBidWindow::closeEvent(QCloseEvent* event) {
  // Closing only hides it: the window lives as long as the program.
  form_.Hide();
  event->accept();
}

}  // namespace zn
