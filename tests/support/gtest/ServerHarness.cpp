#include "tests/support/gtest/ServerHarness.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <filesystem>

#include "server/base/Log.h"
#include "tests/support/TestDealKey.h"

namespace zn::server::test {

RunningServer::RunningServer(const std::string& dbPath, ServerOptions options) {
  SetLogSink([](std::string_view) {});
  options.listen = "127.0.0.1";
  options.port = 0;
  if (!options.dealKey) options.dealKey = zn::test::kTestDealKey;
  // Every match of a test deals the cards of the test match: a numbered deal is the same at each run.
  if (!options.matchSecrets) options.matchSecrets = [] { return zn::test::kTestMatch; };
  if (options.limits.lobbyInterval == ClubLimits{}.lobbyInterval)
    options.limits.lobbyInterval = std::chrono::milliseconds(100);  // keeps the tests quick
  store_ = std::make_unique<SqliteStore>(dbPath);
  server_ = std::make_unique<Server>(io_, *store_, options);
  thread_ = std::thread([this] { io_.run(); });
}

RunningServer::~RunningServer() {
  asio::post(io_, [this] { server_->Stop(); });
  thread_.join();
  server_.reset();
  store_->Flush();
  store_.reset();
  SetLogSink({});
}

Client::Client(std::uint16_t port, int receiveBuffer) {
  fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
  if (receiveBuffer > 0) ::setsockopt(fd_, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_port = htons(port);
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::connect(fd_, reinterpret_cast<sockaddr*>(&addr), sizeof addr) != 0) {
    ADD_FAILURE() << "cannot connect to port " << port;
    closed_ = true;
  }
}

Client::~Client() {
  if (fd_ >= 0) ::close(fd_);
}

void Client::Send(std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (n <= 0) return;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
}

bool Client::Fill(int timeoutMs) {
  if (closed_) return false;
  pollfd p{fd_, POLLIN, 0};
  if (::poll(&p, 1, timeoutMs) <= 0) return false;
  char chunk[65536];
  const ssize_t n = ::recv(fd_, chunk, sizeof chunk, 0);
  if (n <= 0) {
    closed_ = true;
    return false;
  }
  // A chunk may continue a line cut by the kernel, but a write never ends with "#".
  if (buffer_.empty() && chunk[0] != '#') framingOk_ = false;
  buffer_.append(chunk, static_cast<std::size_t>(n));
  return true;
}

std::string Client::Line(int timeoutMs) {
  for (;;) {
    // A line is complete when the next "#" follows it, or when the stream pauses.
    if (!buffer_.empty() && buffer_[0] == '#') {
      const std::size_t next = buffer_.find('#', 1);
      if (next != std::string::npos) {
        std::string line = buffer_.substr(1, next - 1);
        buffer_.erase(0, next);
        return line;
      }
    }
    if (!Fill(buffer_.empty() ? timeoutMs : 50)) {
      if (buffer_.size() > 1 && buffer_[0] == '#') {
        std::string line = buffer_.substr(1);
        buffer_.clear();
        return line;
      }
      if (!buffer_.empty()) {
        framingOk_ = false;
        buffer_.clear();
      }
      return closed_ ? "<closed>" : "<timeout>";
    }
  }
}

std::string Client::LineSkipping(char skip, int timeoutMs) {
  for (;;) {
    std::string line = Line(timeoutMs);
    if (line.empty() || line[0] != skip) return line;
  }
}

std::vector<std::string> Client::Drain(int quietMs) {
  std::vector<std::string> lines;
  for (;;) {
    std::string line = Line(quietMs);
    if (line == "<timeout>" || line == "<closed>") return lines;
    lines.push_back(std::move(line));
  }
}

std::vector<std::string> Client::Until(const std::string& want, int timeoutMs) {
  std::vector<std::string> lines;
  for (;;) {
    std::string line = Line(timeoutMs);
    lines.push_back(line);
    if (line == want || line == "<timeout>" || line == "<closed>") return lines;
  }
}

bool Client::ClosedWithin(int timeoutMs) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!closed_ && std::chrono::steady_clock::now() < end) {
    buffer_.clear();
    Fill(50);
  }
  return closed_;
}

std::unique_ptr<Client> LoggedIn(std::uint16_t port, const std::string& nickname, int receiveBuffer) {
  auto c = std::make_unique<Client>(port, receiveBuffer);
  EXPECT_EQ(c->Line(), "L0.99");
  c->Send("N" + nickname);
  const std::string lobby = c->Line();
  EXPECT_EQ(lobby.substr(0, 1), "I") << nickname << ": " << lobby;
  return c;
}

void MakeRoom(Client& c, const std::string& name) {
  c.Send("R" + name);
  for (;;) {
    const std::string line = c.Line(4000);
    if (line[0] != 'I' && line[0] != 'R' && line[0] != 'A' && line[0] != 'M') {
      ADD_FAILURE() << "no lobby line with room " << name << ": " << line;
      return;
    }
    if (line[0] == 'I' && (line + " ").find(" " + name + " ") != std::string::npos) return;
  }
}

}  // namespace zn::server::test
