// A bare Qt window of the club window's size: the yardstick znclient's start-up is measured against.
// With ZN_EXIT_ON_FIRST_PAINT=1 it ends as soon as the window has been painted once. With
// ZN_BARE_TEXT=1 it carries a menu, a label and a text field: the least a window with text costs
// (fonts and style), which shows how much of the client's start-up is its own.
#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>

namespace {

// Ends the program after the first paint of window (the same rule znclient follows).
class FirstPaint : public QObject {
 public:
  explicit FirstPaint(QWidget* window) : window_(window) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (!seen_ && event->type() == QEvent::Paint && watched->isWidgetType() &&
        static_cast<QWidget*>(watched)->window() == window_) {
      seen_ = true;
      QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  QWidget* window_;
  bool seen_ = false;
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QMainWindow window;
  window.setWindowTitle(QStringLiteral("bare"));
  window.resize(380, 449);
  if (qEnvironmentVariableIntValue("ZN_BARE_TEXT") == 1) {
    window.menuBar()->addMenu(QStringLiteral("&Menü"))->addAction(QStringLiteral("&Kilépés"));
    auto* central = new QWidget(&window);
    auto* layout = new QVBoxLayout(central);
    layout->addWidget(new QLabel(QStringLiteral("Üzenet"), central));
    layout->addWidget(new QLineEdit(central));
    window.setCentralWidget(central);
  }
  FirstPaint first(&window);
  if (qEnvironmentVariableIntValue("ZN_EXIT_ON_FIRST_PAINT") == 1) app.installEventFilter(&first);
  window.show();
  return app.exec();
}
