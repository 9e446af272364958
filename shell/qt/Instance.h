// The single-instance guard: one running client per user and desktop. The first start holds a lock
// file and listens on a local socket; a later start finds the lock, asks the running client over the
// socket to come to the front, and ends.
#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>
#include <memory>

class QWidget;

namespace zn {

class TInstance : public QObject {
  Q_OBJECT

 public:
  // title keys the guard (the application title); the user's name or id is added to it. lockDir is
  // where the lock file goes (empty: the user's runtime directory, else the temp directory).
  explicit TInstance(const QString& title, const QString& lockDir = {}, QObject* parent = nullptr);
  ~TInstance() override;

  // True when another client runs; it has then been asked to come to the front. False when this
  // process is now the running client (it holds the lock and listens for later starts).
  bool FindRunningInstance();

  const QString& Name() const { return name_; }
  const QString& LockPath() const { return lockPath_; }
  const QString& ServerName() const { return serverName_; }
  bool Holding() const { return lock_.isLocked(); }

  // The name shared by every start of title for this user.
  static QString KeyFor(const QString& title);

 signals:
  // A later start asked this client to restore itself and come to the front.
  void RaiseRequested();

 private:
  bool TakeLock();
  bool AskRunningToRaise();
  void Listen();
  void OnNewConnection();

  QString name_;
  QString lockPath_;
  QString serverName_;
  QLockFile lock_;
  std::unique_ptr<QLocalServer> server_;
};

// What the running client does when asked: restore a minimized window, raise it, activate it.
void BringToFront(QWidget* window);

}  // namespace zn
