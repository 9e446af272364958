#include "game/qt/AccessNames.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QWidget>

namespace zn {

namespace {

void NameOne(QWidget* w) {
  if (!w->accessibleName().isEmpty() || w->toolTip().isEmpty()) return;
  if (auto* button = qobject_cast<QAbstractButton*>(w); button && !button->text().isEmpty()) return;
  // A label is read by its text (which changes), with its hint as the description; only a picture
  // takes its hint as its name.
  if (auto* label = qobject_cast<QLabel*>(w); label && label->pixmap().isNull()) return;
  QString name = w->toolTip();
  name.remove(QLatin1Char('&'));
  w->setAccessibleName(name);
  // An editable drop-down is read through its edit: the edit takes the same name.
  if (auto* combo = qobject_cast<QComboBox*>(w); combo && combo->lineEdit())
    combo->lineEdit()->setAccessibleName(name);
}

}  // namespace

void NameFromHints(QWidget* root) {
  NameOne(root);
  for (QWidget* w : root->findChildren<QWidget*>()) NameOne(w);
}

void Announce(QLabel* line, const QString& text) {
  line->setText(text);
  line->setAccessibleName(text);  // setAccessibleName raises the name change itself
  if (QAccessible::isActive()) {
    QAccessibleValueChangeEvent value(line, text);
    QAccessible::updateAccessibility(&value);
  }
}

void AnnounceFocus(QWidget* focused) {
  if (!QAccessible::isActive()) return;
  QAccessibleEvent event(focused, QAccessible::Focus);
  QAccessible::updateAccessibility(&event);
}

}  // namespace zn
