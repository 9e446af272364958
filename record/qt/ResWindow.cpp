#include "record/qt/ResWindow.h"

#include <QCloseEvent>

namespace zn {

TResWindow::TResWindow(TResForm& form, QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      form_(form) {
  setObjectName(QStringLiteral("ResForm"));
  setWindowTitle(QStringLiteral("Lejátszott partik"));
  resize(kWidth, kHeight);
  form_.Changed = [this](TResForm::Aspect aspect) { Redraw(aspect); };
  Redraw(TResForm::Aspect::Visible);
}

TResWindow::~TResWindow() { form_.Changed = nullptr; }

void TResWindow::Redraw(TResForm::Aspect aspect) {
  if (aspect != TResForm::Aspect::Visible && aspect != TResForm::Aspect::Page) return;
  if (form_.Visible && !isVisible()) show();
  if (form_.Visible) raise();
  if (!form_.Visible && isVisible()) hide();
}

void TResWindow::closeEvent(QCloseEvent* event) {
  form_.Visible = false;  // closing only hides it
  event->accept();
}

}  // namespace zn
