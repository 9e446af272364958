// The second yardstick of the start-up benchmark: the least Qt program that does a club client's
// job. A window with a menu, a list and a text field, and a QTcpSocket connected to the address in
// ZN_YARDSTICK_PORT on this machine (the benchmark opens a listening socket there). It shows itself
// once connected and, with ZN_EXIT_ON_FIRST_PAINT=1, ends on its first paint.
#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMenuBar>
#include <QTcpSocket>
#include <QVBoxLayout>
#include <QWidget>
#include <cstdio>

#include "shell/qt/FirstPaint.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QMainWindow window;
  window.setWindowTitle(QStringLiteral("yardstick"));
  window.resize(380, 449);
  window.menuBar()->addMenu(QStringLiteral("&Klub"))->addAction(QStringLiteral("&Kilépés"));
  auto* central = new QWidget(&window);
  auto* layout = new QVBoxLayout(central);
  auto* list = new QListWidget(central);
  list->addItem(QStringLiteral("Merő"));
  layout->addWidget(list);
  layout->addWidget(new QLineEdit(central));
  window.setCentralWidget(central);

  QTcpSocket socket;
  const int port = qEnvironmentVariableIntValue("ZN_YARDSTICK_PORT");
  socket.connectToHost(QStringLiteral("127.0.0.1"), static_cast<quint16>(port));
  if (!socket.waitForConnected(5000)) {
    std::fprintf(stderr, "club_yardstick: no connection to port %d\n", port);
    return 1;
  }
  QObject::connect(&socket, &QTcpSocket::readyRead, list,
                   [&] { list->addItem(QString::fromLatin1(socket.readAll())); });

  zn::TFirstPaint first(&window);
  first.InstallIfAsked();
  window.show();
  return app.exec();
}
