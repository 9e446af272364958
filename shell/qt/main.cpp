// znclient: the club's desktop client. One running client per user: a second start brings the
// first to the front and ends. Then the club window is made and shown; the table, personal-data and
// played-games windows are made when first shown. The event loop runs until the club window is closed.
#include <QApplication>
#include <QFile>
#include <QStandardPaths>

#include "link/qt/QtSocket.h"
#include "profile/qt/InfoWindow.h"
#include "record/qt/ArchiveWindow.h"
#include "record/qt/ResWindow.h"
#include "shell/LocateSettings.h"
#include "shell/ZnCliTop.h"
#include "shell/qt/ClubWindow.h"
#include "shell/qt/FirstPaint.h"
#include "shell/qt/Instance.h"
#include "shell/qt/QtDesktop.h"
#include "shell/qt/QtTranslation.h"
#include "shell/qt/ShownLater.h"
#include "table/qt/BidWindow.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QString title = QStringLiteral("ZnClient");
  QApplication::setApplicationName(title);
  // The club window's close ends the program, after its close question; nothing else does.
  QApplication::setQuitOnLastWindowClosed(false);
  zn::InstallQtTranslation(app);

  zn::TInstance instance(title);
  if (instance.FindRunningInstance()) return 0;

  zn::TQtDesktop desktop;
  zn::SetDesktop(&desktop);
  int result = 0;
  {
    // Zn.INI lives next to the program when it is there or may be written there (a portable copy),
    // else in the user's configuration folder (an installed program).
    const std::string programDir = QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString();
    const std::string configDir =
        QFile::encodeName(QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation)).toStdString();
    zn::TZnForm form(
        programDir, [] { return zn::NewQtSocket(); },
        [configDir](const std::string& dir) { return zn::LocateSettings(dir, configDir); });
    zn::TClubWindow club(form);
    zn::TBidWindow table(*form.BidForm);
    table.KeepClear(&club);  // the table opens beside the club window and its chat where it fits
    // The table window's deal and game-over buttons are the club window's actions.
    table.SetActions(
        {[&form] { form.Actions.cmReplay.Execute(); }, [&form] { form.Actions.cmMatch.Execute(); },
         [&form] { form.Actions.cmNextDeal.Execute(); }, [&form] { form.Actions.cmShowBid.Execute(); },
         [&form] { form.Actions.cmResults.Execute(); }, [&form] { return form.Actions.cmMatch.Enabled; }});
    zn::TShownLater<zn::TInfo, zn::TInfoWindow> info(*form.InfoForm);
    zn::TShownLater<zn::TResForm, zn::TResWindow> games(*form.ResForm);
    zn::TShownLater<zn::TArchiveForm, zn::TArchiveWindow> archive(*form.ArchiveForm);
    form.ResForm->SaveFolder = programDir;  // the sheets' save dialog opens in the program's folder

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
