// A card picture control: shows a pixmap with transparent corners and reports presses, releases
// and double clicks to whoever set the handlers.
#pragma once

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <functional>

namespace zn {

class TCardLabel : public QLabel {
 public:
  using QLabel::QLabel;

  std::function<void(bool rightButton)> OnPress;
  std::function<void()> OnRelease;
  std::function<void()> OnDoubleClick;
  int Code = -1;  // the code whose picture it shows (-1: none yet)
  bool Framed = false;

 protected:
  // The picture is drawn as it stands, without the label's alignment and style steps: a trick
  // repaints four of them.
  void paintEvent(QPaintEvent* e) override {
    const QPixmap picture = pixmap();
    if (picture.isNull()) return QLabel::paintEvent(e);
    QPainter painter(this);
    painter.drawPixmap(0, 0, picture);
  }
  void mousePressEvent(QMouseEvent* e) override {
    if (OnPress)
      OnPress(e->button() == Qt::RightButton);
    else
      QLabel::mousePressEvent(e);
  }
  void mouseReleaseEvent(QMouseEvent* e) override {
    if (OnRelease)
      OnRelease();
    else
      QLabel::mouseReleaseEvent(e);
  }
  void mouseDoubleClickEvent(QMouseEvent* e) override {
    if (OnDoubleClick)
      OnDoubleClick();
    else
      QLabel::mouseDoubleClickEvent(e);
  }
};

// A plain panel that reports a click on itself (not on a child).
class TClickPanel : public QWidget {
 public:
  using QWidget::QWidget;
  std::function<void()> OnClick;

 protected:
  void mousePressEvent(QMouseEvent* e) override {
    if (OnClick) OnClick();
    QWidget::mousePressEvent(e);
  }
};

}  // namespace zn
