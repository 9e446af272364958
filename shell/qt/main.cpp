// znclient: the club's desktop client. One running client per user: a second start brings the
// first to the front and ends. Then the four windows are created (club, table, personal data,
// played games) and the event loop runs until the club window is closed.
#include <QApplication>
#include <QFile>

#include "link/qt/QtSocket.h"
#include "profile/qt/InfoWindow.h"
#include "record/qt/ResWindow.h"
#include "shell/ZnCliTop.h"
#include "shell/qt/ClubWindow.h"
#include "shell/qt/FirstPaint.h"
#include "shell/qt/Instance.h"
#include "shell/qt/QtDesktop.h"
#include "table/qt/BidWindow.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QString title = QStringLiteral("ZnClient");
  QApplication::setApplicationName(title);
  // The club window's close ends the program, after its close question; nothing else does.
  QApplication::setQuitOnLastWindowClosed(false);

  zn::TInstance instance(title);
  if (instance.FindRunningInstance()) return 0;

  zn::TQtDesktop desktop;
  zn::SetDesktop(&desktop);
  int result = 0;
  {
    // Zn.INI lives next to the program.
    const std::string programDir = QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString();
    zn::TZnForm form(programDir, [] { return zn::NewQtSocket(); });
    zn::TClubWindow club(form);
    zn::TBidWindow table(*form.BidForm);
    zn::TInfoWindow info(*form.InfoForm);
    zn::TResWindow games(*form.ResForm);

    QObject::connect(&instance, &zn::TInstance::RaiseRequested, &club, [&club] { zn::BringToFront(&club); });
    // The close question has been answered: the loop ends without offering the windows a close again.
    QObject::connect(&club, &zn::TClubWindow::Closed, &app, [] { QCoreApplication::exit(0); });
    // The start-up benchmark: end once the club window has been painted.
    zn::TFirstPaint firstPaint(&club);
    firstPaint.InstallIfAsked();

    club.show();
    result = app.exec();
    form.StopDispatching();  // nothing is dispatched while the windows go
  }
  zn::SetDesktop(nullptr);
  return result;
}
