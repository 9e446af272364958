#include "tests/support/qt/TestApp.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QFileInfo>

namespace zn::test {

namespace {
int g_argc = 1;
char g_name[] = "zn_test";
char* g_argv[] = {g_name, nullptr};

class QtAppEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { EnsureQtApp(); }
};

[[maybe_unused]] auto* const g_env = ::testing::AddGlobalTestEnvironment(new QtAppEnvironment);
}  // namespace

void EnsureQtApp() {
  if (QCoreApplication::instance()) return;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  new QApplication(g_argc, g_argv);  // lives until the process ends
}

QString SelfPath() { return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath(); }

}  // namespace zn::test

// Fontconfig keeps a few caches for the life of the process, which LeakSanitizer reports at exit.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig\n"; }
