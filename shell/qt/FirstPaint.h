// The start-up benchmark's stop: with ZN_EXIT_ON_FIRST_PAINT=1 the program ends once its window has
// been painted for the first time. Header-only, so the bare yardstick program uses the same rule.
#pragma once

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace zn {

class TFirstPaint : public QObject {
 public:
  explicit TFirstPaint(QWidget* window) : window_(window) {}

  // Watches the application when the benchmark asks for it.
  void InstallIfAsked() {
    if (qEnvironmentVariableIntValue("ZN_EXIT_ON_FIRST_PAINT") == 1) qApp->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (!seen_ && event->type() == QEvent::Paint && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == window_) {
      seen_ = true;
      // exit, not quit: quit would first offer every window a close (and the close question).
      QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  QWidget* window_;
  bool seen_ = false;
};

}  // namespace zn
