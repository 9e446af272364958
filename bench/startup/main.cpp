// A bare Qt window of the club window's size: the yardstick znclient's start-up is measured against.
// With ZN_EXIT_ON_FIRST_PAINT=1 it ends as soon as the window has been painted once.
#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace {

class FirstPaint : public QObject {
 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint && !seen_) {
      seen_ = true;
      QTimer::singleShot(0, qApp, &QCoreApplication::quit);
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  bool seen_ = false;
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QWidget window;
  window.setWindowTitle(QStringLiteral("bare"));
  window.resize(380, 449);
  FirstPaint first;
  if (qEnvironmentVariableIntValue("ZN_EXIT_ON_FIRST_PAINT") == 1) window.installEventFilter(&first);
  window.show();
  return app.exec();
}
