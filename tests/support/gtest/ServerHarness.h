// An in-process znserver on an ephemeral loopback port, and scripted clients that speak to it.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "server/net/Server.h"
#include "server/store/SqliteStore.h"

namespace zn::server::test {

class RunningServer {
 public:
  RunningServer(const std::string& dbPath, ServerOptions options = {});
  ~RunningServer();
  std::uint16_t Port() const { return server_->Port(); }
  std::size_t QueuedTotal() const { return server_->QueuedTotal(); }

 private:
  asio::io_context io_{1};
  std::unique_ptr<SqliteStore> store_;
  std::unique_ptr<Server> server_;
  std::thread thread_;
};

// A blocking loopback client with timeouts. It checks the framing of every chunk it receives:
// each starts with "#" and none ends with it.
class Client {
 public:
  // receiveBuffer: the socket's receive buffer in bytes (0: the system's), small for a member
  // whose unread lines should pile up at the server soon.
  explicit Client(std::uint16_t port, int receiveBuffer = 0);
  ~Client();
  Client(const Client&) = delete;
  Client& operator=(const Client&) = delete;

  void Send(std::string_view bytes);
  // The next line, or "<timeout>" / "<closed>".
  std::string Line(int timeoutMs = 5000);
  // The next line that does not begin with skip (lobby lines come on their own schedule).
  std::string LineSkipping(char skip, int timeoutMs = 5000);
  // Lines until the connection stays quiet for quietMs.
  std::vector<std::string> Drain(int quietMs = 100);
  // Lines until one equals want (inclusive); the rest stays queued.
  std::vector<std::string> Until(const std::string& want, int timeoutMs = 5000);
  // True when the server closes the connection within timeoutMs (lines before it are dropped).
  bool ClosedWithin(int timeoutMs);
  bool FramingOk() const { return framingOk_; }

 private:
  bool Fill(int timeoutMs);
  int fd_ = -1;
  std::string buffer_;
  bool closed_ = false;
  bool framingOk_ = true;
};

// Creates a room. "R" runs to the end of the read, so nothing may follow it in the same read: this
// waits for the lobby line that shows the room (at most two seconds, the lobby's throttle).
void MakeRoom(Client& c, const std::string& name);

// Connects, logs in and reads up to the first lobby line.
std::unique_ptr<Client> LoggedIn(std::uint16_t port, const std::string& nickname, int receiveBuffer = 0);

}  // namespace zn::server::test
