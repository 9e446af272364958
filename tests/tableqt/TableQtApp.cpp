// The one QApplication of test_tableqt, offscreen unless told otherwise.
#include <gtest/gtest.h>

#include <QApplication>

namespace {

int g_argc = 1;
char g_name[] = "test_tableqt";
char* g_argv[] = {g_name, nullptr};

class QtAppEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    if (QCoreApplication::instance()) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    new QApplication(g_argc, g_argv);  // lives until the process ends
  }
};

[[maybe_unused]] auto* const g_env = ::testing::AddGlobalTestEnvironment(new QtAppEnvironment);

}  // namespace

// Fontconfig keeps a few caches for the life of the process, which LeakSanitizer reports at exit.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig\n"; }
