#include "game/Desktop.h"

#include <cstdio>
#include <cstdlib>

namespace zn {

namespace {
TDesktop* g_desktop = nullptr;
}

TDesktop& Desktop() {
  if (!g_desktop) {
    std::fputs("znclient: no desktop installed\n", stderr);
    std::abort();
  }
  return *g_desktop;
}

TDesktop* SetDesktop(TDesktop* d) {
  TDesktop* old = g_desktop;
  g_desktop = d;
  return old;
}

}  // namespace zn
