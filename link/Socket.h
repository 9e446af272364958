// The socket port TZnLink drives: a non-blocking TCP client whose four notifications arrive on the
// user-interface thread. link/qt implements it over QTcpSocket; tests use fakes.
#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <string_view>

namespace zn {

// The socket layer's error kinds, each with its own text in the link's error message.
enum class TSocketErrorKind { Send, Receive, Connect, Disconnect, Accept, General };

// WinSock numbers shown for the four connect conditions, and the timeout of a connect.
inline constexpr int kErrAddressInUse = 10048;
inline constexpr int kErrAddressNotAvailable = 10049;
inline constexpr int kErrNetworkUnreachable = 10051;
inline constexpr int kErrTimedOut = 10060;
inline constexpr int kErrConnectionRefused = 10061;

class TSocketPort {
 public:
  virtual ~TSocketPort() = default;

  std::function<void()> OnConnected;
  std::function<void()> OnDisconnected;
  std::function<void(std::string chunk)> OnData;  // all bytes available now, as one chunk
  std::function<void(TSocketErrorKind kind, int code)> OnError;
  // No data came for the time given to WatchQuiet (a fifth notification, on the same thread).
  std::function<void()> OnQuiet;

  // Starts an asynchronous connect (name resolution included). May report an error before it
  // returns; the link must be safe against that.
  virtual void Connect(const std::string& host, int port) = 0;
  // Closes any connection or connect in progress; no notification follows.
  virtual void Close() = 0;
  // True while connected.
  virtual bool Active() const = 0;
  // Writes the bytes exactly as given.
  virtual void Write(std::string_view bytes) = 0;
  // Starts (or restarts) the quiet timer: OnQuiet follows after `after` unless data arrives or
  // Close comes first. False: this port has no timer, and the caller must not wait for one.
  virtual bool WatchQuiet(std::chrono::milliseconds after) {
    (void)after;
    return false;
  }
};

}  // namespace zn
