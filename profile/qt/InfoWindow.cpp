#include "profile/qt/InfoWindow.h"

#include <QCloseEvent>

namespace zn {

TInfoWindow::TInfoWindow(TInfo& form, QWidget* parent) : QWidget(parent, Qt::Dialog), form_(form) {
  setObjectName(QStringLiteral("Info"));
  setWindowTitle(QStringLiteral("Személyes adatok"));
  setFixedSize(kWidth, kHeight);
  form_.Changed = [this](TInfo::Aspect aspect) { Redraw(aspect); };
  Redraw(TInfo::Aspect::Visible);
}

TInfoWindow::~TInfoWindow() { form_.Changed = nullptr; }

void TInfoWindow::Redraw(TInfo::Aspect aspect) {
  if (aspect != TInfo::Aspect::Visible) return;
  if (form_.Visible && !isVisible()) show();
  if (form_.Visible) raise();
  if (!form_.Visible && isVisible()) hide();
}

void TInfoWindow::closeEvent(QCloseEvent* event) {
  // Hiding lets the next introduction request through at once.
  if (form_.Visible) form_.Hide();
  event->accept();
}

}  // namespace zn
