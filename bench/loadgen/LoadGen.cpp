// zn_loadgen: opens many club connections to a znserver on loopback from one thread and either
// measures pings ("G" answered by "G", one outstanding per connection) or logs members in and
// holds them idle until its standard input closes.
//
//   zn_loadgen ping --port P --conns N [--seconds S] [--requests R] [--settle MS]
//   zn_loadgen idle --port P --conns N
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include <asio.hpp>

#include "link/Protocol.h"

namespace {

using asio::ip::tcp;
using Clock = std::chrono::steady_clock;

struct Settings {
  std::string mode;
  std::uint16_t port = 0;
  int conns = 50;
  double seconds = 3;
  long requests = 2'000'000;
  int settleMs = 2500;  // lets the lobby lines of the logins go out before pings start
};

enum class Phase { Connecting, LoggingIn, Ready, Pinging, Done };

struct Conn {
  explicit Conn(asio::io_context& io) : socket(io) {}
  tcp::socket socket;
  int index = 0;
  bool loggedIn = false;
  bool hashAtEnd = false;  // the last chunk ended with "#"
  bool outstanding = false;
};

class LoadGen {
 public:
  LoadGen(asio::io_context& io, const Settings& s) : io_(io), s_(s), timer_(io) {}

  void Start() {
    for (int i = 0; i < s_.conns; ++i) {
      conns_.push_back(std::make_shared<Conn>(io_));
      conns_.back()->index = i;
    }
    for (int i = 0; i < kConnectWindow && next_ < s_.conns; ++i) ConnectNext();
  }

  long replies = 0;
  double elapsed = 0;
  int failures = 0;

 private:
  static constexpr int kConnectWindow = 256;  // connects in flight, so the listen queue keeps up

  void ConnectNext() {
    auto c = conns_[static_cast<std::size_t>(next_++)];
    const tcp::endpoint server(asio::ip::make_address("127.0.0.1"), s_.port);
    c->socket.async_connect(server, [this, c](std::error_code ec) {
      if (ec) {
        ++failures;
        std::fprintf(stderr, "connect %d: %s\n", c->index, ec.message().c_str());
        return Counted();
      }
      c->socket.set_option(tcp::no_delay(true));
      c->socket.non_blocking(true);
      Write(c, zn::proto::CmdNick("bench" + std::to_string(c->index)));
      Read(c);
      if (next_ < s_.conns) ConnectNext();
    });
  }

  void Write(const std::shared_ptr<Conn>& c, std::string text) {
    auto data = std::make_shared<std::string>(std::move(text));
    asio::async_write(c->socket, asio::buffer(*data), [data](std::error_code, std::size_t) {});
  }

  void Read(const std::shared_ptr<Conn>& c) {
    c->socket.async_wait(tcp::socket::wait_read, [this, c](std::error_code ec) {
      if (ec) return;
      std::error_code rec;
      const std::size_t n = c->socket.read_some(asio::buffer(buffer_), rec);
      if (rec == asio::error::would_block) return Read(c);
      if (rec || n == 0) {
        ++failures;
        std::fprintf(stderr, "connection %d closed: %s\n", c->index, rec.message().c_str());
        if (!c->loggedIn) Counted();
        return;
      }
      OnChunk(c, std::string_view(buffer_.data(), n));
      Read(c);
    });
  }

  // Ping answers are "#G"; the lobby line "#I..." tells that the login went through.
  void OnChunk(const std::shared_ptr<Conn>& c, std::string_view chunk) {
    int pongs = 0;
    for (std::size_t i = 0; i < chunk.size(); ++i) {
      const bool afterHash = i == 0 ? c->hashAtEnd : chunk[i - 1] == '#';
      if (!afterHash) continue;
      if (chunk[i] == 'G') ++pongs;
      if (chunk[i] == 'I' && !c->loggedIn) {
        c->loggedIn = true;
        Counted();
      }
    }
    c->hashAtEnd = chunk.back() == '#';
    if (pongs > 0 && phase_ == Phase::Pinging && c->outstanding) {
      c->outstanding = false;
      ++replies;
      if (replies >= s_.requests || Clock::now() >= deadline_) return Finish();
      Ping(c);
    }
  }

  void Ping(const std::shared_ptr<Conn>& c) {
    c->outstanding = true;
    Write(c, zn::proto::CmdPing());
  }

  // One more connection logged in (or failed); when all are, the next phase starts.
  void Counted() {
    if (++settled_ < s_.conns) return;
    std::fprintf(stderr, "%d connections logged in (%d failed)\n", s_.conns - failures, failures);
    if (s_.mode == "idle") {
      std::printf("idle %d\n", s_.conns - failures);
      std::fflush(stdout);
      return WaitForStdin();
    }
    timer_.expires_after(std::chrono::milliseconds(s_.settleMs));
    timer_.async_wait([this](std::error_code) { StartPings(); });
  }

  void StartPings() {
    phase_ = Phase::Pinging;
    start_ = Clock::now();
    deadline_ =
        start_ + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(s_.seconds));
    for (auto& c : conns_)
      if (c->loggedIn) Ping(c);
    timer_.expires_at(deadline_ + std::chrono::seconds(2));  // a lost answer must not hang the run
    timer_.async_wait([this](std::error_code ec) {
      if (!ec) Finish();
    });
  }

  void Finish() {
    if (phase_ == Phase::Done) return;
    phase_ = Phase::Done;
    elapsed = std::chrono::duration<double>(Clock::now() - start_).count();
    io_.stop();
  }

  void WaitForStdin() {
    stdin_ = std::make_unique<asio::posix::stream_descriptor>(io_, ::dup(0));
    stdin_->async_wait(asio::posix::stream_descriptor::wait_read, [this](std::error_code) { io_.stop(); });
  }

  asio::io_context& io_;
  Settings s_;
  asio::steady_timer timer_;
  std::vector<std::shared_ptr<Conn>> conns_;
  std::array<char, 65536> buffer_{};
  std::unique_ptr<asio::posix::stream_descriptor> stdin_;
  int next_ = 0;
  int settled_ = 0;
  Phase phase_ = Phase::Connecting;
  Clock::time_point start_{}, deadline_{};
};

int Usage() {
  std::fputs("usage: zn_loadgen ping|idle --port P --conns N [--seconds S] [--requests R] [--settle MS]\n",
             stderr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  Settings s;
  s.mode = argv[1];
  if (s.mode != "ping" && s.mode != "idle") return Usage();
  for (int i = 2; i + 1 < argc; i += 2) {
    const std::string key = argv[i];
    const char* v = argv[i + 1];
    if (key == "--port")
      s.port = static_cast<std::uint16_t>(std::atoi(v));
    else if (key == "--conns")
      s.conns = std::atoi(v);
    else if (key == "--seconds")
      s.seconds = std::atof(v);
    else if (key == "--requests")
      s.requests = std::atol(v);
    else if (key == "--settle")
      s.settleMs = std::atoi(v);
    else
      return Usage();
  }
  if (s.port == 0 || s.conns <= 0) return Usage();
  rlimit limit{};
  if (getrlimit(RLIMIT_NOFILE, &limit) == 0) {
    limit.rlim_cur = limit.rlim_max;
    setrlimit(RLIMIT_NOFILE, &limit);
  }
  asio::io_context io(1);
  LoadGen gen(io, s);
  gen.Start();
  io.run();
  if (s.mode == "ping") {
    const double rate = gen.elapsed > 0 ? static_cast<double>(gen.replies) / gen.elapsed : 0;
    std::printf("ping conns=%d replies=%ld seconds=%.2f rate=%.0f failures=%d\n", s.conns, gen.replies,
                gen.elapsed, rate, gen.failures);
  }
  return gen.failures == 0 ? 0 : 1;
}
