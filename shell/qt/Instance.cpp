#include "shell/qt/Instance.h"

#include <QDir>
#include <QLocalSocket>
#include <QThread>
#include <QWidget>

#ifdef Q_OS_UNIX
#include <unistd.h>
#include <cerrno>
#include <csignal>
#endif

namespace zn {

namespace {

constexpr char kRaise[] = "raise\n";
constexpr int kConnectAttempts = 10;  // a client that has just taken the lock listens a moment later
constexpr int kAttemptMs = 100;

// The per-user directory for the lock and the socket: the runtime directory when the session has
// one, else the temp directory (the key holds the user, so users never share a name).
QString DefaultLockDir() {
  const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
  if (!runtime.isEmpty() && QDir(runtime).exists()) return runtime;
  return QDir::tempPath();
}

QString SafeFileName(const QString& text) {
  QString out;
  for (const QChar c : text)
    out += (c.isLetterOrNumber() && c.unicode() < 128) || c == u'-' || c == u'_' ? c : QChar(u'_');
  return out;
}

// False only when the owner is known to be gone.
bool ProcessAlive(qint64 pid) {
#ifdef Q_OS_UNIX
  if (pid <= 0) return false;
  return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
#else
  Q_UNUSED(pid);
  return true;
#endif
}

}  // namespace

QString TInstance::KeyFor(const QString& title) {
#ifdef Q_OS_UNIX
  const QString user = QString::number(::getuid());
#else
  QString user = qEnvironmentVariable("USERNAME");
  if (user.isEmpty()) user = qEnvironmentVariable("USER");
#endif
  return SafeFileName(title + u'-' + user);
}

TInstance::TInstance(const QString& title, const QString& lockDir, QObject* parent)
    : QObject(parent),
      name_(KeyFor(title)),
      lockPath_(QDir(lockDir.isEmpty() ? DefaultLockDir() : lockDir).filePath(name_ + ".lock")),
      lock_(lockPath_) {
#ifdef Q_OS_UNIX
  // A full path keeps the socket beside the lock, in the user's own directory.
  serverName_ = QDir(QFileInfo(lockPath_).absolutePath()).filePath(name_ + ".socket");
#else
  serverName_ = name_;
#endif
  // Age alone never makes the lock stale: a client may run for days. A dead owner does.
  lock_.setStaleLockTime(0);
}

TInstance::~TInstance() {
  if (server_) server_->close();
}

bool TInstance::FindRunningInstance() {
  if (Holding()) return false;
  if (TakeLock()) {
    Listen();
    return false;
  }
  if (AskRunningToRaise()) return true;
  // Nobody answers: a lock nobody holds any more (its owner's process id now belongs to another
  // program) is removed; a lock a live client still holds is not.
  if (lock_.removeStaleLockFile() && lock_.tryLock(0)) {
    Listen();
    return false;
  }
  return true;
}

bool TInstance::TakeLock() {
  if (lock_.tryLock(0)) return true;
  if (lock_.error() != QLockFile::LockFailedError) return false;
  // QLockFile removes a lock whose owner is dead; a lock file it cannot even read (cut short when
  // its owner was killed) it leaves, so that one is ours to remove.
  qint64 pid = 0;
  QString host, app;
  if (lock_.getLockInfo(&pid, &host, &app) && ProcessAlive(pid)) return false;
  return lock_.removeStaleLockFile() && lock_.tryLock(0);
}

bool TInstance::AskRunningToRaise() {
  for (int attempt = 0; attempt < kConnectAttempts; ++attempt) {
    QLocalSocket socket;
    socket.connectToServer(serverName_);
    if (socket.waitForConnected(kAttemptMs * 5)) {
      socket.write(kRaise);
      const bool sent = socket.waitForBytesWritten(kAttemptMs * 5);
      socket.disconnectFromServer();
      if (sent) return true;
    }
    QThread::msleep(kAttemptMs);
  }
  return false;
}

void TInstance::Listen() {
  server_ = std::make_unique<QLocalServer>();
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  // A socket left by a killed client would make listen fail.
  QLocalServer::removeServer(serverName_);
  if (!server_->listen(serverName_)) return;  // still the one client; later starts just end
  connect(server_.get(), &QLocalServer::newConnection, this, &TInstance::OnNewConnection);
}

void TInstance::OnNewConnection() {
  while (QLocalSocket* socket = server_->nextPendingConnection()) {
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    auto read = [this, socket] {
      if (!socket->canReadLine()) {
        if (socket->bytesAvailable() > 64) socket->abort();  // not one of ours
        return;
      }
      if (socket->readLine(64) == kRaise) emit RaiseRequested();
      socket->abort();
    };
    connect(socket, &QLocalSocket::readyRead, this, read);
    read();
  }
}

void BringToFront(QWidget* window) {
  if (!window) return;
  if (window->isMinimized())
    window->showNormal();
  else if (!window->isVisible())
    window->show();
  window->raise();
  window->activateWindow();
}

}  // namespace zn
