#include "shell/qt/QtTranslation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace zn {

QTranslator* InstallQtTranslation(QCoreApplication& app, const QString& folder) {
  const QString dir = folder.isEmpty() ? QLibraryInfo::path(QLibraryInfo::TranslationsPath) : folder;
  auto* translator = new QTranslator(&app);
  if (!translator->load(QStringLiteral("qtbase_hu"), dir) ||
      !QCoreApplication::installTranslator(translator)) {
    delete translator;
    return nullptr;
  }
  return translator;
}

}  // namespace zn
