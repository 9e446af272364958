// The one QApplication of a Qt test executable, offscreen unless told otherwise.
#pragma once

#include <QString>

namespace zn::test {

// Makes sure the application object exists (safe to call from any test).
void EnsureQtApp();

// The path of this test executable (child processes re-run it with a filter).
QString SelfPath();

}  // namespace zn::test
