// A bare Qt window of the club window's size: the yardstick znclient's start-up is measured against.
// With ZN_EXIT_ON_FIRST_PAINT=1 it ends as soon as the window has been painted once. With
// ZN_BARE_TEXT=1 it carries a menu, a label and a text field: the least a window with text costs
// (fonts and style), which shows how much of the client's start-up is its own.
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QVBoxLayout>
#include <QWidget>

#include "shell/qt/FirstPaint.h"

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
  zn::TFirstPaint first(&window);
  first.InstallIfAsked();
  window.show();
  return app.exec();
}
