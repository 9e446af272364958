// What a screen reader finds in a window: its accessibility tree walked as the tools walk it.
#pragma once

#include <QAccessible>
#include <QWidget>
#include <string>
#include <vector>

#include "game/Hands.h"
#include "game/qt/Cp1250Codec.h"
#include "table/qt/CardLabel.h"

namespace zn::test {

// The parts of a control that are read with it (rows, cells, headings, scroll bars) and plain
// text need no name of their own.
inline bool NeedsName(const QAccessibleInterface* node) {
  switch (node->role()) {
    case QAccessible::ListItem:
    case QAccessible::Cell:
    case QAccessible::ColumnHeader:
    case QAccessible::RowHeader:
    case QAccessible::ScrollBar:
    case QAccessible::StaticText:
    case QAccessible::Separator:
    case QAccessible::Row:
    case QAccessible::Column:
      return false;
    case QAccessible::PushButton:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::ComboBox:
    case QAccessible::EditableText:
    case QAccessible::List:
    case QAccessible::Table:
    case QAccessible::PageTab:
    case QAccessible::MenuItem:
    case QAccessible::Graphic:
    case QAccessible::SpinBox:
      return true;
    default:
      return node->state().focusable;
  }
}

// Every visible control without a name, and every card picture not named by its card; one line
// each: the object's name, its role, and what is wrong.
inline void CollectUnnamed(QAccessibleInterface* node, std::vector<std::string>& faults, int depth = 0) {
  if (!node || depth > 40 || node->state().invisible) return;
  const QString name = node->text(QAccessible::Name).trimmed();
  QObject* object = node->object();
  const std::string where = (object ? object->objectName().toStdString() : std::string("?")) + " role " +
                            std::to_string(static_cast<int>(node->role()));
  if (NeedsName(node) && name.isEmpty()) faults.push_back(where + ": no name");
  if (const auto* card = dynamic_cast<const TCardLabel*>(object);
      card && card->Code >= 1 && card->Code <= kMaxCard) {
    const QString spoken = ToQt(CardSpokenName(card->Code));
    if (name != spoken)
      faults.push_back(where + ": card " + std::to_string(card->Code) + " named \"" + name.toStdString() +
                       "\"");
  }
  for (int i = 0; i < node->childCount(); ++i) CollectUnnamed(node->child(i), faults, depth + 1);
}

inline std::vector<std::string> UnnamedIn(QWidget* window) {
  std::vector<std::string> faults;
  CollectUnnamed(QAccessible::queryAccessibleInterface(window), faults);
  return faults;
}

}  // namespace zn::test
