// The socket port over QTcpSocket: the four notifications reach the link from the event loop of the
// user-interface thread, never from inside a call the link makes.
#pragma once

#include <QAbstractSocket>
#include <QObject>
#include <QString>
#include <QTcpSocket>
#include <QTimer>

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "link/Socket.h"

namespace zn {

// A connect that gets no answer at all (a dropped SYN) ends after this long.
inline constexpr std::chrono::milliseconds kConnectTimeout{15000};

// Numbers shown for the other conditions (WinSock numbers of the nearest condition).
inline constexpr int kErrConnectionReset = 10054;  // WSAECONNRESET
inline constexpr int kErrHostNotFound = 11001;     // WSAHOST_NOT_FOUND
inline constexpr int kErrUnspecified = 10000;      // no WinSock counterpart (WSABASEERR)

// The host as typed (cp1250 bytes) for name resolution.
QString HostName(const std::string& host);

// The WinSock number shown for a Qt socket error (the table is in QtSocket.cpp).
int WinSockCode(QAbstractSocket::SocketError error);

class TQtSocket : public QObject, public TSocketPort {
 public:
  explicit TQtSocket(std::chrono::milliseconds connectTimeout = kConnectTimeout);
  ~TQtSocket() override;

  void Connect(const std::string& host, int port) override;
  void Close() override;
  bool Active() const override;
  void Write(std::string_view bytes) override;
  bool WatchQuiet(std::chrono::milliseconds after) override;

  // True when TCP_NODELAY is in force on the connection.
  bool LowDelay();

 private:
  template <class F>
  void Post(F deliver);
  void PostError(TSocketErrorKind kind, int code);
  void SocketConnected();
  void SocketStateChanged(QAbstractSocket::SocketState state);
  void SocketReadyRead();
  void SocketError(QAbstractSocket::SocketError error);
  void ConnectTimedOut();

  std::chrono::milliseconds connectTimeout_;
  QTcpSocket socket_;
  QTimer connectTimer_;
  QTimer quietTimer_;  // WatchQuiet
  // Bumped by every Connect and Close: a notification posted before it is dropped.
  std::uint64_t generation_ = 0;
  // The connected signal has come since the last Connect: errors are then receive errors.
  bool established_ = false;
  // Connected and the disconnect not yet reported.
  bool connected_ = false;
};

// The socket the client's links use.
std::unique_ptr<TSocketPort> NewQtSocket(std::chrono::milliseconds connectTimeout = kConnectTimeout);

}  // namespace zn
