#include "tests/support/qt/WindowFixture.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "link/qt/QtSocket.h"
#include "tests/support/qt/TestApp.h"

namespace zn::test {

TWindowFixture::TWindowFixture(std::string_view ini) {
  EnsureQtApp();
  QFile file(dir.filePath("Zn.INI"));
  if (file.open(QIODevice::WriteOnly)) file.write(ini.data(), static_cast<qint64>(ini.size()));
  file.close();
  // The settings file is the one just written; no old file is looked for elsewhere.
  form = std::make_unique<TZnForm>(
      Dir(), [] { return NewQtSocket(); },
      [](const std::string& programDir) { return programDir + "/Zn.INI"; });
  window = std::make_unique<TClubWindow>(*form);
}

TWindowFixture::~TWindowFixture() {
  window.reset();
  form.reset();
}

std::string TWindowFixture::Dir() const { return QFile::encodeName(dir.path()).toStdString(); }

bool TWindowFixture::ConnectTo(TScriptServer& server) {
  auto* address = window->findChild<QLineEdit*>("fdAddress");
  auto* port = window->findChild<QLineEdit*>("fdPort");
  auto* button = window->findChild<QPushButton*>("btnConnect");
  if (!address || !port || !button) return false;
  address->clear();
  QTest::keyClicks(address, "127.0.0.1");
  port->clear();
  QTest::keyClicks(port, QString::number(server.Port()));
  QTest::mouseClick(button, Qt::LeftButton);
  return server.Accept();
}

}  // namespace zn::test
