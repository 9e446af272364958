// The scripted socket port of the link and club window tests, the fuzz targets and the benchmarks:
// records what the link asks of it in a log the caller owns (or one of its own).
#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "link/Socket.h"

namespace zn::test {

// What the fake sockets saw; owned by the test so it outlives each socket (and each link).
struct SocketLog {
  std::vector<std::string> connects;  // "host:port"
  std::vector<std::string> sent;      // one entry per write, i.e. per command
  std::string written;                // every byte written, joined
  int closes = 0;
  int sockets = 0;  // sockets made
  bool active = false;
  int notificationsDuringClose = 0;
  // Runs inside Connect, before it returns (a socket layer that reports at once).
  std::function<void(TSocketPort&)> duringConnect;
  // The quiet timer: without one every read is taken as whole.
  bool hasTimer = false;
  int watches = 0;                   // WatchQuiet calls
  std::chrono::milliseconds last{};  // the time the last WatchQuiet was given
};

// Like the real adapter, it copies a callback before calling it and touches nothing of itself
// afterwards, since the link (and so the port) may be gone by then.
class FakeSocket : public TSocketPort {
 public:
  explicit FakeSocket(SocketLog& log) : log_(log) { ++log_.sockets; }
  // A socket with a log of its own: never connected unless told, so every send is a message box.
  FakeSocket() : log_(own_) { ++log_.sockets; }
  FakeSocket(const FakeSocket&) = delete;
  FakeSocket& operator=(const FakeSocket&) = delete;

  void Connect(const std::string& host, int port) override {
    log_.connects.push_back(host + ":" + std::to_string(port));
    if (auto hook = log_.duringConnect) hook(*this);
  }
  void Close() override {
    ++log_.closes;
    log_.active = false;
    // A careless port might still report the close: the link must not be reached by it.
    if (OnDisconnected) {
      ++log_.notificationsDuringClose;
      auto cb = OnDisconnected;
      cb();
    }
  }
  bool Active() const override { return log_.active; }
  void Write(std::string_view bytes) override {
    log_.sent.emplace_back(bytes);
    log_.written.append(bytes);
  }
  bool WatchQuiet(std::chrono::milliseconds after) override {
    ++log_.watches;
    log_.last = after;
    return log_.hasTimer;
  }

 private:
  SocketLog own_;  // before log_, which may refer to it
  SocketLog& log_;
};

}  // namespace zn::test
