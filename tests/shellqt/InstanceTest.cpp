// The single-instance guard: a second start finds the first and asks it to come to the front; a
// lock left by a killed client is taken over.
#include <gtest/gtest.h>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThread>
#include <QWidget>

#include "shell/qt/Instance.h"
#include "tests/support/qt/TestApp.h"

namespace zn {
namespace {

using test::EnsureQtApp;

const QString kTitle = QStringLiteral("ZnClientTest");

// Child-process roles, run by re-executing this binary with a gtest filter. ZN_GUARD_CHILD says
// what to do, ZN_GUARD_DIR where the lock lives.
TEST(InstanceChild, Run) {
  const QString role = qEnvironmentVariable("ZN_GUARD_CHILD");
  if (role.isEmpty()) GTEST_SKIP() << "only run as a child process";
  EnsureQtApp();
  TInstance guard(kTitle, qEnvironmentVariable("ZN_GUARD_DIR"));
  const bool running = guard.FindRunningInstance();
  if (role == "hold") {
    std::printf(running ? "found\n" : "holding\n");
    std::fflush(stdout);
    for (;;) QThread::sleep(1);  // until killed
  }
  std::_Exit(running ? 3 : 4);  // "second": 3 = found the running client, 4 = became it
}

QProcess* StartChild(const QString& role, const QString& dir, QObject* parent) {
  auto* child = new QProcess(parent);
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("ZN_GUARD_CHILD", role);
  env.insert("ZN_GUARD_DIR", dir);
  child->setProcessEnvironment(env);
  child->start(test::SelfPath(), {"--gtest_filter=InstanceChild.Run"});
  return child;
}

// Qt's waitForFinished answers false for a child that has already ended, as one does while a
// signal spy runs the event loop: the state is asked first.
bool Finished(QProcess& child) {
  return child.state() == QProcess::NotRunning || child.waitForFinished(20000);
}

class InstanceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EnsureQtApp();
    ASSERT_TRUE(dir.isValid());
  }
  QTemporaryDir dir;
};

TEST_F(InstanceTest, SecondGuardFindsTheFirstAndAsksItToRaise) {
  TInstance first(kTitle, dir.path());
  QSignalSpy raised(&first, &TInstance::RaiseRequested);
  ASSERT_FALSE(first.FindRunningInstance());
  EXPECT_TRUE(first.Holding());

  TInstance second(kTitle, dir.path());
  EXPECT_TRUE(second.FindRunningInstance());
  EXPECT_FALSE(second.Holding());
  EXPECT_TRUE(raised.wait(3000));
  EXPECT_EQ(raised.count(), 1);

  // Asking again raises again; the running client keeps its lock.
  TInstance third(kTitle, dir.path());
  EXPECT_TRUE(third.FindRunningInstance());
  EXPECT_TRUE(raised.wait(3000));
  EXPECT_TRUE(first.Holding());
}

TEST_F(InstanceTest, KeyHoldsTitleAndUser) {
  EXPECT_NE(TInstance::KeyFor("ZnClient"), TInstance::KeyFor("Other"));
  EXPECT_TRUE(TInstance::KeyFor("ZnClient").startsWith("ZnClient-"));
  EXPECT_GT(TInstance::KeyFor("ZnClient").size(), QString("ZnClient-").size());
  // Another title in the same place is another program: both run.
  TInstance a(kTitle, dir.path()), b(QStringLiteral("OtherTitle"), dir.path());
  EXPECT_FALSE(a.FindRunningInstance());
  EXPECT_FALSE(b.FindRunningInstance());
}

TEST_F(InstanceTest, ClosingTheFirstLetsTheNextStartRun) {
  {
    TInstance first(kTitle, dir.path());
    ASSERT_FALSE(first.FindRunningInstance());
  }
  TInstance next(kTitle, dir.path());
  EXPECT_FALSE(next.FindRunningInstance());
  EXPECT_TRUE(next.Holding());
}

TEST_F(InstanceTest, AnotherProcessFindsTheRunningClient) {
  TInstance first(kTitle, dir.path());
  QSignalSpy raised(&first, &TInstance::RaiseRequested);
  ASSERT_FALSE(first.FindRunningInstance());

  QProcess* child = StartChild("second", dir.path(), nullptr);
  std::unique_ptr<QProcess> own(child);
  // The running client serves the socket while the child waits for it.
  ASSERT_TRUE(raised.wait(20000));
  ASSERT_TRUE(Finished(*child));
  EXPECT_EQ(child->exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(child->exitCode(), 3);
}

TEST_F(InstanceTest, LockOfAKilledClientIsTakenOver) {
  std::unique_ptr<QProcess> child(StartChild("hold", dir.path(), nullptr));
  QByteArray said;
  while (!said.contains("holding\n") && !said.contains("found\n") && child->waitForReadyRead(20000))
    said += child->readAll();
  ASSERT_TRUE(said.contains("holding\n")) << said.toStdString();
  ASSERT_TRUE(QFile::exists(TInstance(kTitle, dir.path()).LockPath()));
  child->kill();  // no clean-up: the lock file and the socket file stay behind
  ASSERT_TRUE(Finished(*child));

  TInstance next(kTitle, dir.path());
  QSignalSpy raised(&next, &TInstance::RaiseRequested);
  EXPECT_FALSE(next.FindRunningInstance());
  EXPECT_TRUE(next.Holding());
  // It listens again on the name the dead client left: a later start reaches it.
  TInstance later(kTitle, dir.path());
  EXPECT_TRUE(later.FindRunningInstance());
  EXPECT_TRUE(raised.wait(3000));
}

// Lock files a dead or foreign owner left, which must not keep the client from starting.
struct LeftLock {
  const char* name;
  QByteArray content;
  friend void PrintTo(const LeftLock& lock, std::ostream* os) { *os << lock.name; }
};

class LeftLockTest : public InstanceTest, public ::testing::WithParamInterface<LeftLock> {};

TEST_P(LeftLockTest, IsTakenOver) {
  const QString path = TInstance(kTitle, dir.path()).LockPath();
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write(GetParam().content);
  file.close();

  TInstance guard(kTitle, dir.path());
  EXPECT_FALSE(guard.FindRunningInstance());
  EXPECT_TRUE(guard.Holding());
}

INSTANTIATE_TEST_SUITE_P(Leftovers, LeftLockTest,
                         ::testing::Values(LeftLock{"Empty", ""}, LeftLock{"Garbage", "not a lock\n"},
                                           LeftLock{"DeadPid", "2147483000\nznclient\nsomehost\n"},
                                           // A live process that is not a client and holds no lock: pid 1.
                                           LeftLock{"ForeignLivePid", "1\nznclient\n\n"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(InstanceTest, BringToFrontRestoresAMinimizedWindow) {
  QWidget window;
  window.showMinimized();
  ASSERT_TRUE(window.isMinimized());
  BringToFront(&window);
  EXPECT_FALSE(window.isMinimized());
  EXPECT_TRUE(window.isVisible());

  QWidget hidden;
  BringToFront(&hidden);
  EXPECT_TRUE(hidden.isVisible());
  BringToFront(nullptr);  // nothing to raise yet
}

}  // namespace
}  // namespace zn
