// Qt's own texts (standard buttons, the file dialog, the input box) in Hungarian, as the rest of the
// program speaks.
#pragma once

#include <QString>

class QCoreApplication;
class QTranslator;

namespace zn {

// Loads "qtbase_hu" from folder (by default Qt's translations folder) into app and returns the
// translator, owned by app. A missing or unreadable file is no error: nullptr, and Qt stays English.
QTranslator* InstallQtTranslation(QCoreApplication& app, const QString& folder = QString());

}  // namespace zn
