// A card picture control: shows a pixmap with transparent corners and reports presses, releases
// and double clicks to whoever set the handlers.
#pragma once

#include <QKeyEvent>
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
  int Scale = 100;  // the print size in percent it is drawn at (200: large print)

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

// A plain panel that reports a click on itself (not on a child), and, when it takes the keyboard
// focus, its keys and its focus coming and going.
class TClickPanel : public QWidget {
 public:
  using QWidget::QWidget;
  std::function<void()> OnClick;
  std::function<bool(QKeyEvent*)> OnKey;  // true: the key was used
  std::function<void()> OnFocusChange;

 protected:
  void mousePressEvent(QMouseEvent* e) override {
    if (OnClick) OnClick();
    QWidget::mousePressEvent(e);
  }
  void keyPressEvent(QKeyEvent* e) override {
    if (OnKey && OnKey(e)) return;
    QWidget::keyPressEvent(e);
  }
  void focusInEvent(QFocusEvent* e) override {
    QWidget::focusInEvent(e);
    if (OnFocusChange) OnFocusChange();
  }
  void focusOutEvent(QFocusEvent* e) override {
    QWidget::focusOutEvent(e);
    if (OnFocusChange) OnFocusChange();
  }
};

// The frame round the card the arrow keys chose: drawn over the fan, so the card's whole outline
// shows even where its neighbours cover it.
class TFocusFrame : public QWidget {
 public:
  explicit TFocusFrame(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    hide();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    const int w = width(), h = height();
    painter.setPen(QPen(QColor(0, 0, 160), 4));
    painter.drawRect(2, 2, w - 4, h - 4);
    painter.setPen(QPen(Qt::white, 1, Qt::DashLine));
    painter.drawRect(5, 5, w - 11, h - 11);
  }
};

}  // namespace zn
