// A club window on a scratch Zn.INI with the scripted desktop, connected to the scripted club
// server of tests/support/qt.
#pragma once

#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "shell/ZnCliTop.h"
#include "shell/qt/ClubWindow.h"
#include "tests/support/FakeDesktop.h"
#include "tests/support/qt/ScriptServer.h"

namespace zn::test {

class TWindowFixture {
 public:
  // Writes Zn.INI (cp1250 bytes) beside the "program" and creates the form and its window.
  explicit TWindowFixture(std::string_view ini);
  ~TWindowFixture();

  std::string Dir() const;
  // Types the server address and port and clicks "Bejelentkezés"; the server accepts.
  bool ConnectTo(TScriptServer& server);

  ScopedFakeDesktop fake;
  QTemporaryDir dir;
  std::unique_ptr<TZnForm> form;
  std::unique_ptr<TClubWindow> window;
};

}  // namespace zn::test
