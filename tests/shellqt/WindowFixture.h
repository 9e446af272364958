// A club window on a scratch Zn.INI with the scripted desktop, and a scripted club server on a
// loopback port that speaks the protocol line by line.
#pragma once

#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "shell/ZnCliTop.h"
#include "shell/qt/ClubWindow.h"
#include "tests/support/FakeDesktop.h"

namespace zn::test {

// Runs the event loop until cond holds or ms pass; true when it holds.
bool WaitFor(const std::function<bool()>& cond, int ms = 5000);

// The server side of one connection: sends lines, checks the commands the client sends.
class TScriptServer {
 public:
  TScriptServer();
  quint16 Port() const { return server_.serverPort(); }
  bool Accept(int ms = 5000);
  // Writes raw bytes (cp1250, "#" in front of each line as the server frames them).
  void Send(std::string_view bytes);
  // Waits for the next command; true when the bytes received next are exactly command.
  // Commands carry no terminator, so this reads exactly command.size() bytes.
  bool Expect(const std::string& command, int ms = 5000);
  // Whatever arrived and was not expected yet.
  std::string Pending();

 private:
  QTcpServer server_;
  QTcpSocket* peer_ = nullptr;
  std::string received_;
  void Drain();
};

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
