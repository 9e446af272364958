#include "link/qt/QtSocket.h"

#include <QByteArray>
#include <QMetaObject>
#include <QString>
#include <utility>

#include "game/qt/Cp1250Codec.h"

namespace zn {

// Qt's socket errors and the number the link shows for each:
//
//   Qt error                          number  WinSock condition
//   ConnectionRefusedError            10061   WSAECONNREFUSED
//   AddressInUseError                 10048   WSAEADDRINUSE
//   SocketAddressNotAvailableError    10049   WSAEADDRNOTAVAIL (also a port outside 1..65535)
//   NetworkError (net or host unreachable) 10051 WSAENETUNREACH
//   SocketTimeoutError                10060   WSAETIMEDOUT (also our own connect timeout)
//   RemoteHostClosedError             10054   WSAECONNRESET (while connected it is no error: the
//                                             disconnect notification follows instead)
//   HostNotFoundError                 11001   WSAHOST_NOT_FOUND
//   SocketAccessError                 10013   WSAEACCES
//   SocketResourceError               10055   WSAENOBUFS
//   DatagramTooLargeError             10040   WSAEMSGSIZE
//   UnsupportedSocketOperationError   10045   WSAEOPNOTSUPP
//   UnfinishedSocketOperationError    10036   WSAEINPROGRESS
//   OperationError                    10022   WSAEINVAL
//   TemporaryError                    10035   WSAEWOULDBLOCK
//   anything else (proxy, TLS, unknown) 10000 WSABASEERR
//
// The kind: before the connected signal every error is a connect error; after it, an error
// reported by the socket is a receive error, a write the socket refuses at once a send error.
int WinSockCode(QAbstractSocket::SocketError error) {
  switch (error) {
    case QAbstractSocket::ConnectionRefusedError:
      return kErrConnectionRefused;
    case QAbstractSocket::AddressInUseError:
      return kErrAddressInUse;
    case QAbstractSocket::SocketAddressNotAvailableError:
      return kErrAddressNotAvailable;
    case QAbstractSocket::NetworkError:
      return kErrNetworkUnreachable;
    case QAbstractSocket::SocketTimeoutError:
      return kErrTimedOut;
    case QAbstractSocket::RemoteHostClosedError:
      return kErrConnectionReset;
    case QAbstractSocket::HostNotFoundError:
      return kErrHostNotFound;
    case QAbstractSocket::SocketAccessError:
      return 10013;
    case QAbstractSocket::SocketResourceError:
      return 10055;
    case QAbstractSocket::DatagramTooLargeError:
      return 10040;
    case QAbstractSocket::UnsupportedSocketOperationError:
      return 10045;
    case QAbstractSocket::UnfinishedSocketOperationError:
      return 10036;
    case QAbstractSocket::OperationError:
      return 10022;
    case QAbstractSocket::TemporaryError:
      return 10035;
    default:
      return kErrUnspecified;
  }
}

QString HostName(const std::string& host) { return ToQt(host); }  // the table: no ICU converter

TQtSocket::TQtSocket(std::chrono::milliseconds connectTimeout) : connectTimeout_(connectTimeout) {
  connectTimer_.setSingleShot(true);
  quietTimer_.setSingleShot(true);
  // Direct connections: the slots only record and post, so nothing reaches the link while Qt
  // is inside connectToHost, write or abort (a refused connect to a literal address is reported
  // there), and the link may destroy this socket from any notification.
  connect(&socket_, &QTcpSocket::connected, this, &TQtSocket::SocketConnected);
  connect(&socket_, &QTcpSocket::stateChanged, this, &TQtSocket::SocketStateChanged);
  connect(&socket_, &QTcpSocket::readyRead, this, &TQtSocket::SocketReadyRead);
  connect(&socket_, &QTcpSocket::errorOccurred, this, &TQtSocket::SocketError);
  connect(&connectTimer_, &QTimer::timeout, this, &TQtSocket::ConnectTimedOut);
  // Fired from the event loop, never inside a call of the link; a Close stops it.
  connect(&quietTimer_, &QTimer::timeout, this, [this] {
    if (auto cb = OnQuiet) cb();
  });
}

TQtSocket::~TQtSocket() {
  // Nothing more may come out of the socket: the link that owns us is going away.
  disconnect(&socket_, nullptr, this, nullptr);
  connectTimer_.stop();
  quietTimer_.stop();
  socket_.abort();
}

template <class F>
void TQtSocket::Post(F deliver) {
  // Queued on this object: dropped with it when the link is destroyed first, and dropped when
  // a Connect or Close came in between. Nothing of this object is used after the delivery,
  // which may have destroyed it.
  QMetaObject::invokeMethod(
      this,
      [this, generation = generation_, deliver = std::move(deliver)]() mutable {
        if (generation == generation_) deliver();
      },
      Qt::QueuedConnection);
}

void TQtSocket::PostError(TSocketErrorKind kind, int code) {
  Post([this, kind, code] {
    if (auto cb = OnError) cb(kind, code);
  });
}

void TQtSocket::Connect(const std::string& host, int port) {
  Close();
  if (port < 1 || port > 65535) {
    // QTcpSocket takes a 16-bit port: a larger number would silently reach another port.
    PostError(TSocketErrorKind::Connect, kErrAddressNotAvailable);
    return;
  }
  connectTimer_.start(connectTimeout_);
  socket_.connectToHost(HostName(host), static_cast<quint16>(port));
}

void TQtSocket::Close() {
  connectTimer_.stop();
  quietTimer_.stop();
  established_ = false;
  connected_ = false;
  socket_.abort();
  ++generation_;  // whatever abort (or anything before it) posted is stale now
}

bool TQtSocket::Active() const { return socket_.state() == QAbstractSocket::ConnectedState; }

void TQtSocket::Write(std::string_view bytes) {
  const auto size = static_cast<qint64>(bytes.size());
  if (socket_.write(bytes.data(), size) != size) {
    PostError(TSocketErrorKind::Send, WinSockCode(socket_.error()));
    return;
  }
  socket_.flush();  // out now, not at the next pass of the event loop
}

bool TQtSocket::WatchQuiet(std::chrono::milliseconds after) {
  quietTimer_.start(after);
  return true;
}

bool TQtSocket::LowDelay() {
  return Active() && socket_.socketOption(QAbstractSocket::LowDelayOption).toInt() != 0;
}

void TQtSocket::SocketConnected() {
  connectTimer_.stop();
  established_ = true;
  connected_ = true;
  // Commands carry no terminator: do not let the network join two of them into one segment.
  socket_.setSocketOption(QAbstractSocket::LowDelayOption, 1);
  Post([this] {
    if (auto cb = OnConnected) cb();
  });
}

void TQtSocket::SocketStateChanged(QAbstractSocket::SocketState state) {
  if (state != QAbstractSocket::UnconnectedState || !connected_) return;
  connected_ = false;
  SocketReadyRead();  // bytes that came with the close are still a chunk of their own
  Post([this] {
    if (auto cb = OnDisconnected) cb();
  });
}

void TQtSocket::SocketReadyRead() {
  const QByteArray bytes = socket_.readAll();
  if (bytes.isEmpty()) return;  // an empty entry would read as a transmission error
  quietTimer_.stop();           // not quiet: the delivery below starts the timer again
  Post([this, chunk = bytes.toStdString()]() mutable {
    if (auto cb = OnData) cb(std::move(chunk));
  });
}

void TQtSocket::SocketError(QAbstractSocket::SocketError error) {
  connectTimer_.stop();
  if (established_) {
    // The server closing the connection is the ordinary end: the disconnect notification says so.
    if (error == QAbstractSocket::RemoteHostClosedError) return;
    PostError(TSocketErrorKind::Receive, WinSockCode(error));
  } else {
    PostError(TSocketErrorKind::Connect, WinSockCode(error));
  }
}

void TQtSocket::ConnectTimedOut() {
  if (established_) return;
  Close();
  PostError(TSocketErrorKind::Connect, kErrTimedOut);
}

std::unique_ptr<TSocketPort> NewQtSocket(std::chrono::milliseconds connectTimeout) {
  return std::make_unique<TQtSocket>(connectTimeout);
}

}  // namespace zn
