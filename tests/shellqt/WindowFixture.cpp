#include "tests/shellqt/WindowFixture.h"

#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "link/qt/QtSocket.h"
#include "tests/shellqt/TestApp.h"

namespace zn::test {

bool WaitFor(const std::function<bool()>& cond, int ms) {
  QElapsedTimer timer;
  timer.start();
  while (!cond()) {
    if (timer.elapsed() > ms) return false;
    QTest::qWait(5);
  }
  return true;
}

TScriptServer::TScriptServer() { server_.listen(QHostAddress::LocalHost, 0); }

bool TScriptServer::Accept(int ms) {
  if (!WaitFor([this] { return server_.hasPendingConnections(); }, ms)) return false;
  peer_ = server_.nextPendingConnection();
  return peer_ != nullptr;
}

void TScriptServer::Send(std::string_view bytes) {
  if (!peer_) return;
  peer_->write(bytes.data(), static_cast<qint64>(bytes.size()));
  peer_->flush();
}

void TScriptServer::Drain() {
  if (!peer_) return;
  const QByteArray bytes = peer_->readAll();
  received_.append(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

bool TScriptServer::Expect(const std::string& command, int ms) {
  WaitFor(
      [&] {
        Drain();
        return received_.size() >= command.size();
      },
      ms);
  if (received_.compare(0, command.size(), command) != 0) return false;
  received_.erase(0, command.size());
  return true;
}

std::string TScriptServer::Pending() {
  Drain();
  return received_;
}

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
