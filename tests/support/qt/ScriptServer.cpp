#include "tests/support/qt/ScriptServer.h"

#include <QTest>

namespace zn::test {

TScriptServer::TScriptServer() { server_.listen(QHostAddress::LocalHost, 0); }

bool TScriptServer::Accept(int ms) {
  if (!QTest::qWaitFor([this] { return server_.hasPendingConnections(); }, ms)) return false;
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
  (void)QTest::qWaitFor(
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

}  // namespace zn::test
