// zn_soak: many rooms playing deals back to back against a znserver on loopback, each room one
// scripted member on seat 1 and three robots, while watchers in some of the rooms send "G" pings
// and time the answers. Prints the deals finished per second against those asked for, and the ping
// latencies; exits 3 when no deal or no ping was counted (a latency over nothing is no figure). It
// checks every line each member gets against the fair play rule (the watchers share the players'
// loopback address, so they must get no hand at all): a breach fails the run.
//
//   zn_soak --port P [--rooms N] [--watchers W] [--seconds S] [--warmup S] [--min-deal-ms MS] [--echo 1]
//           [--lockstep] [--seed N] [--think-ms MS]
//
// A member may send at most 20 commands a second for long; a deal takes about 25 commands, so each
// member starts its next deal no sooner than --min-deal-ms (default 1500) after the last one. Each
// room starts its first deal at a random offset within that time, as members of a real club do;
// --lockstep starts them all at once, so that every room deals together (the worst case). A member
// who finds a deal running when it sits down (a server restarted on the same file brought it back)
// plays that deal to the end and writes it down before it orders its own. --think-ms makes each
// member wait before every bid, card and "T", as people do: deals then run long enough for the
// crash trials to kill the server in the middle of many.
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <asio.hpp>

#include "game/PlayRules.h"
#include "game/Tokenizer.h"
#include "tests/fairplay/FairPlayCheck.h"

namespace {

using asio::ip::tcp;
using Clock = std::chrono::steady_clock;

struct Settings {
  std::uint16_t port = 0;
  int rooms = 500;
  int watchers = 10;
  double seconds = 30;
  int minDealMs = 1500;
  double warmup = 5;  // seconds of pings not counted: the rooms are still being set up
  bool echo = false;  // print every "F" the server echoes: "echo room a:b"
  bool lockstep = false;
  unsigned seed = 1;
  int thinkMs = 0;
};

struct Conn {
  explicit Conn(asio::io_context& io) : socket(io), timer(io) {}
  tcp::socket socket;
  asio::steady_timer timer;
  std::string nick, room;
  std::uint64_t id = 0;  // for the fair play check
  bool watcher = false;
  int stage = 0;  // 0 login, 1 room asked for, 2 entering, 3 playing / watching
  std::string partial;
  std::deque<std::string> out;
  bool writing = false;
  std::array<char, 16384> buffer{};
  zn::TCards hand;
  std::array<zn::TCard, 5> table{};
  std::int32_t deal = 1;
  std::int32_t written = 0;  // results this member wrote down
  bool sitting = false;      // "S1" sent; its "R" line not seen yet
  bool dealing = false;      // a "D" line came and its "F" not yet
  Clock::time_point dealStart{}, pingSent{};
  bool pinging = false;
};
using ConnPtr = std::shared_ptr<Conn>;

class Soak {
 public:
  Soak(asio::io_context& io, const Settings& s) : io_(io), s_(s), end_(io), random_(s.seed) {}

  void Start() {
    for (int i = 0; i < s_.rooms + s_.watchers; ++i) {
      auto c = std::make_shared<Conn>(io_);
      c->watcher = i >= s_.rooms;
      const int r = c->watcher ? (i - s_.rooms) * std::max(1, s_.rooms / std::max(1, s_.watchers)) : i;
      c->nick = (c->watcher ? "watch" : "soak") + std::to_string(i);
      c->room = "room" + std::to_string(r);
      // Each room its own deal numbers: a number running in another room is refused, and the
      // member would wait for ever for a deal that never came.
      c->deal = 1 + 2 * 20000 * r;
      c->id = conns_.size() + 1;
      conns_.push_back(c);
      c->socket.async_connect({asio::ip::make_address("127.0.0.1"), s_.port}, [this, c](std::error_code ec) {
        if (ec) return Fail(c, "connect");
        c->socket.set_option(tcp::no_delay(true));
        check.Joined(c->id, c->nick, "127.0.0.1");
        Send(c, "N" + c->nick);
        Read(c);
      });
    }
  }

  long deals = 0;
  zn::server::FairPlayCheck check;
  std::vector<double> pingsMs;
  int failures = 0;
  double elapsed = 0;

 private:
  void Fail(const ConnPtr& c, const char* what) {
    ++failures;
    std::fprintf(stderr, "%s: %s\n", c->nick.c_str(), what);
  }

  void Send(const ConnPtr& c, std::string command) {
    c->out.push_back(std::move(command));
    if (!c->writing) WriteNext(c);
  }
  // One command per write: "N", "R" and "M" run to the end of a read.
  void WriteNext(const ConnPtr& c) {
    if (c->out.empty()) {
      c->writing = false;
      return;
    }
    c->writing = true;
    auto data = std::make_shared<std::string>(std::move(c->out.front()));
    c->out.pop_front();
    asio::async_write(c->socket, asio::buffer(*data), [this, c, data](std::error_code ec, std::size_t) {
      if (ec) return Fail(c, "write");
      WriteNext(c);
    });
  }

  void Read(const ConnPtr& c) {
    c->socket.async_read_some(asio::buffer(c->buffer), [this, c](std::error_code ec, std::size_t n) {
      if (ec) {
        if (!done_) Fail(c, "closed");
        return;
      }
      c->partial.append(c->buffer.data(), n);
      std::size_t start = 0, hash;
      // Every line is "#" + line; the last one of a chunk is complete too (no "#" ends a write).
      while ((hash = c->partial.find('#', start + 1)) != std::string::npos) {
        Line(c, c->partial.substr(start + 1, hash - start - 1));
        start = hash;
      }
      Line(c, c->partial.substr(start + 1));
      c->partial.clear();
      Read(c);
    });
  }

  void Line(const ConnPtr& c, const std::string& line) {
    if (line.empty()) return;
    check.Received(c->id, line);
    const char code = line[0];
    std::string_view rest(line);
    rest.remove_prefix(1);
    if (code == 'I' && c->stage <= 2) return Lobby(c, rest);
    if (code == 'A' && c->stage == 2) return Seated(c);
    if (c->stage != 3) return;
    if (code == 'G' && c->pinging) return Pong(c);
    if (c->watcher) return;
    try {
      Play(c, code, rest);
    } catch (const std::exception&) {
      Fail(c, "bad line");
    }
  }

  // The room may be there already (a server restarted on the same file): then it is entered.
  void Lobby(const ConnPtr& c, std::string_view rest) {
    if (c->stage >= 2) return;
    const int n = zn::CutInt(rest);
    for (int i = 0; i < n; ++i)
      if (zn::CutWord(rest) == c->room) {
        c->stage = 2;
        return Send(c, "E" + std::to_string(i));
      }
    if (c->stage == 0 && !c->watcher) {
      c->stage = 1;
      Send(c, "R" + c->room);
    }
  }

  void Seated(const ConnPtr& c) {
    c->stage = 3;
    if (c->watcher) {
      Send(c, "K1");
      return Ping(c);
    }
    for (const char* command : {"S1", "S-2", "S-3", "S-4"}) Send(c, command);
    c->sitting = true;  // the first deal is ordered once the seat is ours (SatDown)
  }

  // A deal brought back by a restart follows the "R" line of the seat at once: it is played instead.
  void SatDown(const ConnPtr& c) {
    c->sitting = false;
    if (s_.lockstep || s_.minDealMs <= 0) {
      c->timer.expires_after(std::chrono::milliseconds(0));
      return c->timer.async_wait([this, c](std::error_code ec) {
        if (!ec && !done_ && !c->dealing) NextDeal(c);
      });
    }
    std::uniform_int_distribution<int> offset(0, s_.minDealMs - 1);
    c->timer.expires_after(std::chrono::milliseconds(offset(random_)));
    c->timer.async_wait([this, c](std::error_code ec) {
      if (!ec && !done_ && !c->dealing) NextDeal(c);
    });
  }

  void NextDeal(const ConnPtr& c) {
    c->dealStart = Clock::now();
    Send(c, "D" + std::to_string(c->deal));
    c->deal += 2;  // odd deals: seat 1 deals and bids first
  }

  // A move of the member, after its time to think.
  void Move(const ConnPtr& c, std::string command) {
    if (s_.thinkMs <= 0) return Send(c, std::move(command));
    auto wait = std::make_shared<asio::steady_timer>(io_, std::chrono::milliseconds(s_.thinkMs));
    wait->async_wait([this, c, wait, command = std::move(command)](std::error_code ec) mutable {
      if (!ec && !done_) Send(c, std::move(command));
    });
  }

  void Play(const ConnPtr& c, char code, std::string_view rest) {
    if (code == 'R' && c->sitting) {
      SatDown(c);
    } else if (code == 'D') {
      if (c->dealStart == Clock::time_point{}) c->dealStart = Clock::now();  // a deal brought back
      c->dealing = true;
    } else if (code == 'H') {
      if (zn::CutInt(rest) != 1) return;
      c->hand.clear();
      while (!rest.empty()) c->hand.push_back(zn::CutInt(rest));
    } else if (code == 'T') {
      Move(c, "B" + c->nick + " 0");
    } else if (code == 'P') {
      const int who = zn::CutInt(rest);
      zn::CutInt(rest);
      zn::CutInt(rest);
      for (int s = 1; s <= 4; ++s) c->table[static_cast<std::size_t>(s)] = zn::CutInt(rest);
      if (who == 0) return Move(c, "T");
      if (who == 1) Move(c, "P" + std::to_string(Choose(*c)));
    } else if (code == 'X' && rest.starts_with('2')) {
      // Results differ from each other, so the crash trials can find each one in the file.
      Send(c, "F" + std::to_string(++c->written) + ":" + c->room.substr(4));
    } else if (code == 'F') {
      c->dealing = false;
      if (s_.echo) {
        std::printf("echo %s %.*s\n", c->room.c_str(), static_cast<int>(rest.size()), rest.data());
        std::fflush(stdout);
      }
      if (!done_ && Clock::now() - start_ >= std::chrono::duration<double>(s_.warmup)) ++deals;
      const auto due = c->dealStart + std::chrono::milliseconds(s_.minDealMs);
      c->timer.expires_at(due);
      c->timer.async_wait([this, c](std::error_code ec) {
        if (!ec && !done_) NextDeal(c);
      });
    }
  }

  // Seat 1 leads when seat 4 has no card on the table; else it follows the first card after it.
  static zn::TCard Choose(const Conn& c) {
    zn::TCard lead = zn::kNoCard;
    if (c.table[4] != zn::kNoCard)
      for (int s = 2; s <= 4 && lead == zn::kNoCard; ++s) lead = c.table[static_cast<std::size_t>(s)];
    const zn::THand hand(c.hand);
    for (const zn::TCard card : c.hand)
      if (zn::MayPlay(hand, lead, card)) return card;
    return zn::kNoCard;
  }

  void Ping(const ConnPtr& c) {
    c->pinging = true;
    c->pingSent = Clock::now();
    Send(c, "G");
    if (!started_) {
      started_ = true;
      start_ = Clock::now();
      end_.expires_after(
          std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(s_.seconds + s_.warmup)));
      end_.async_wait([this](std::error_code) { Finish(); });
    }
  }

  void Pong(const ConnPtr& c) {
    c->pinging = false;
    if (done_) return;
    if (Clock::now() - start_ >= std::chrono::duration<double>(s_.warmup))
      pingsMs.push_back(std::chrono::duration<double, std::milli>(Clock::now() - c->pingSent).count());
    c->timer.expires_after(std::chrono::milliseconds(100));  // ten a second: far below the limit
    c->timer.async_wait([this, c](std::error_code ec) {
      if (!ec && !done_) Ping(c);
    });
  }

  void Finish() {
    done_ = true;
    elapsed = std::chrono::duration<double>(Clock::now() - start_).count() - s_.warmup;
    io_.stop();
  }

  asio::io_context& io_;
  Settings s_;
  asio::steady_timer end_;
  std::vector<ConnPtr> conns_;
  bool started_ = false, done_ = false;
  Clock::time_point start_{};
  std::mt19937 random_;
};

double Percentile(std::vector<double> v, double p) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  return v[static_cast<std::size_t>(p * static_cast<double>(v.size() - 1))];
}

}  // namespace

int main(int argc, char** argv) {
  Settings s;
  for (int i = 1; i < argc; i += 2) {
    const std::string key = argv[i];
    if (key == "--lockstep") {
      s.lockstep = true;
      --i;  // a flag without a value
      continue;
    }
    if (i + 1 >= argc) {
      s.port = 0;
      break;
    }
    const char* v = argv[i + 1];
    if (key == "--port")
      s.port = static_cast<std::uint16_t>(std::atoi(v));
    else if (key == "--rooms")
      s.rooms = std::atoi(v);
    else if (key == "--watchers")
      s.watchers = std::atoi(v);
    else if (key == "--seconds")
      s.seconds = std::atof(v);
    else if (key == "--warmup")
      s.warmup = std::atof(v);
    else if (key == "--min-deal-ms")
      s.minDealMs = std::atoi(v);
    else if (key == "--echo")
      s.echo = std::atoi(v) != 0;
    else if (key == "--think-ms")
      s.thinkMs = std::atoi(v);
    else if (key == "--seed")
      s.seed = static_cast<unsigned>(std::strtoul(v, nullptr, 10));
    else
      s.port = 0;
  }
  if (s.port == 0 || s.rooms <= 0 || s.watchers <= 0) {
    std::fputs(
        "usage: zn_soak --port P [--rooms N] [--watchers W] [--seconds S] [--warmup S] [--min-deal-ms MS]\n"
        "               [--echo 1] [--lockstep] [--seed N] [--think-ms MS]\n",
        stderr);
    return 2;
  }
  rlimit limit{};
  if (getrlimit(RLIMIT_NOFILE, &limit) == 0) {
    limit.rlim_cur = limit.rlim_max;
    setrlimit(RLIMIT_NOFILE, &limit);
  }
  asio::io_context io(1);
  Soak soak(io, s);
  soak.Start();
  io.run();
  // At pace: every room finishes a deal each --min-deal-ms (a deal never goes faster).
  const double asked = s.minDealMs > 0 ? s.rooms * 1000.0 / s.minDealMs : 0;
  const double rate = soak.elapsed > 0 ? static_cast<double>(soak.deals) / soak.elapsed : 0;
  std::printf("soak rooms=%d start=%s seconds=%.1f deals=%ld deals_per_s=%.1f asked_per_s=%.1f pace=%.2f ",
              s.rooms, s.lockstep ? "lockstep" : "random", soak.elapsed, soak.deals, rate, asked,
              asked > 0 ? rate / asked : 0);
  const unsigned long long lines = soak.check.Lines(), hands = soak.check.HandLines();
  const std::size_t breaches = soak.check.Violations().size();
  for (const std::string& breach : soak.check.Violations())
    std::fprintf(stderr, "fair play: %s\n", breach.c_str());
  if (soak.deals == 0 || soak.pingsMs.empty()) {
    std::printf(
        "pings=%zu p99_ms=none failures=%d fairplay_lines=%llu fairplay_hands=%llu fairplay_breaches=%zu\n",
        soak.pingsMs.size(), soak.failures, lines, hands, breaches);
    std::fprintf(stderr, "zn_soak: no deal or no ping counted: no latency figure\n");
    return 3;
  }
  std::printf(
      "pings=%zu p50_ms=%.2f p99_ms=%.2f max_ms=%.2f failures=%d fairplay_lines=%llu fairplay_hands=%llu "
      "fairplay_breaches=%zu\n",
      soak.pingsMs.size(), Percentile(soak.pingsMs, 0.5), Percentile(soak.pingsMs, 0.99),
      Percentile(soak.pingsMs, 1.0), soak.failures, lines, hands, breaches);
  return soak.failures == 0 && breaches == 0 ? 0 : 1;
}
