// A scripted club server on a loopback port: sends the lines a test gives and checks the commands
// the client sends, byte for byte.
#pragma once

#include <QTcpServer>
#include <QTcpSocket>
#include <string>
#include <string_view>

namespace zn::test {

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

}  // namespace zn::test
