// Small view helpers of the club window's pages.
#pragma once

#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <functional>
#include <string>
#include <vector>

namespace zn {

// A label that reports a left click (the seat labels of the room page).
class TClickLabel : public QLabel {
 public:
  using QLabel::QLabel;
  std::function<void()> OnClick;

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) && OnClick)
      OnClick();
    QLabel::mouseReleaseEvent(event);
  }
};

// Shows rows (cp1250) in list with row index selected (-1: none); rows are rebuilt only when they
// differ from what the list shows.
void FillList(QListWidget* list, const std::vector<std::string>& rows, int index);

// The application font: Arial, 13 pixels high, or the desktop's size when that is larger.
QFont ClubFont();

}  // namespace zn
