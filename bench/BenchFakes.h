// The doubles the client benchmarks share, from the tests' support library: a desktop that keeps
// nothing it is shown, and a socket that is never connected (every send is a message box).
#pragma once

#include "tests/support/FakeDesktop.h"
#include "tests/support/FakeSocket.h"

namespace zn::bench {

class QuietDesktop : public zn::test::FakeDesktop {
 public:
  QuietDesktop() {
    Keep = false;  // a long run must not grow
    Clock = 0;
  }
};

using NullSocket = zn::test::FakeSocket;

}  // namespace zn::bench
