// The network side of znserver: one io_context thread, Asio over epoll. Each connection feeds its
// reads through Framing into the Club and gets the Club's lines back; the lines queued for one
// member in one turn of the loop go out in one write, each as "#" + line.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include <asio.hpp>

#include "server/base/Outbox.h"
#include "server/club/Club.h"
#include "server/deals/Deals.h"
#include "server/net/Framing.h"

namespace zn::server {

struct ServerOptions {
  std::string listen = "127.0.0.1";
  std::uint16_t port = 7022;  // 0: any free port (tests)
  ClubLimits limits;
  std::vector<std::string> news;
  RobotSettings robots;
  // The deal key; none: the engine's own random one (deals change with every start).
  std::optional<deal::DealKey> dealKey;
  // Where each new match's secret comes from; none: the system's random source. Tests pin it so
  // that a deal number gives the same cards at every run.
  std::function<deal::MatchSecret()> matchSecrets;
  // Watchers at a seated member's address see all hands too (a club of one household or a LAN).
  bool kibitzSameAddressOpen = false;
  // A seated member's time for a bid or a card before the robot makes it.
  std::chrono::seconds turnLimit{60};
  // Where claimed nicknames are kept (not owned); nullptr: in memory for this run.
  NameStore* names = nullptr;
  // Output queued for one member, and for all members together, beyond which a member counts as
  // not reading: he is closed (over the club's budget, those with the most queued first).
  std::size_t queuedPerMember = kDefaultQueuedPerMember;
  std::size_t queuedTotal = kDefaultQueuedTotal;
  static constexpr std::size_t kDefaultQueuedPerMember = 8u << 20;
  static constexpr std::size_t kDefaultQueuedTotal = 64u << 20;
  // Each connection's socket send buffer in bytes (0: the system's, which grows as needed). Tests
  // make it small, so a member who does not read shows at once.
  int sendBuffer = 0;
};

class Server : private Outbox {
 public:
  // How long a connection the server closes may take to acknowledge.
  static constexpr std::chrono::seconds kLinger{2};
  // Lines queued for a member longer than this (and up to twice as long) count as his backlog.
  static constexpr std::chrono::milliseconds kAging{100};

  // Binds and starts accepting; throws std::system_error when the address cannot be bound. With a
  // journal, the deals it holds come back first and running deals are journaled from then on.
  Server(asio::io_context& io, RoomStore& store, const ServerOptions& options,
         JournalStore* journal = nullptr);
  ~Server() override;
  Server(const Server&) = delete;
  Server& operator=(const Server&) = delete;

  std::uint16_t Port() const { return port_; }
  // Bytes queued for all members together, read on any thread (tests, the log).
  std::size_t QueuedTotal() const { return queuedTotal_.load(std::memory_order_relaxed); }
  // Stops accepting and closes every connection; the io_context then runs out of work.
  void Stop();

 private:
  struct Connection;
  using ConnectionPtr = std::shared_ptr<Connection>;

  void Send(MemberId to, std::string_view line) override;
  void SendShared(MemberId to, const SharedLine& line) override;
  void Close(MemberId who) override;
  std::size_t Queued(MemberId who) const override;
  std::size_t Unacknowledged(MemberId who) const override;
  std::uint64_t Streamed(MemberId who) const override;

  void Accept();
  void Start(asio::ip::tcp::socket socket);
  void WaitRead(const ConnectionPtr& c);
  void OnReadable(const ConnectionPtr& c);
  void Drain(const ConnectionPtr& c);
  Connection* Find(MemberId id);
  void MarkDirty(Connection& c);
  void ScheduleFlush();
  void FlushAll();
  void StartWrite(const ConnectionPtr& c);
  void Finish(const ConnectionPtr& c);
  void Drop(const ConnectionPtr& c, const char* why);
  // Queued bytes of a connection change; the club's total follows.
  void Account(Connection& c, std::size_t added, std::size_t removed);
  // Whether bytes more for c fit the member's and the club's budgets; closes the members who
  // read least when they do not (c too, when it is one of them: then false).
  bool Fits(Connection& c, std::size_t bytes);
  // Marks c as not reading: its unsent output goes now, the club is told at the end of the turn.
  void NotReading(Connection& c, std::string why);
  // The club's notice to those marked; a member who still does not read is cut off after kLinger.
  void TellSlow();
  // Marks where each stream ends now, at most every kAging: the lines before the mark before are
  // the ones that waited.
  void Age();
  void ArmLobbyTimer();
  void ArmTouchTimer();
  // Wakes the loop now and then, so idle members are closed in a quiet club too.
  void ArmSweepTimer();

  asio::io_context& io_;
  asio::ip::tcp::acceptor acceptor_;
  asio::steady_timer lobbyTimer_;
  asio::steady_timer acceptRetry_;
  asio::steady_timer touchTimer_;
  asio::steady_timer sweepTimer_;
  Club club_;
  Deals deals_;
  std::uint16_t port_ = 0;
  bool stopped_ = false;
  bool journaled_ = false;
  MemberId nextId_ = 0;
  std::unordered_map<MemberId, ConnectionPtr> connections_;
  std::vector<MemberId> dirty_;
  bool flushPosted_ = false;
  int sendBuffer_;
  std::size_t queuedPerMember_;
  std::size_t queuedLimit_;
  std::atomic<std::size_t> queuedTotal_{0};
  std::size_t liveQueued_ = 0;
  std::chrono::steady_clock::time_point nextAging_{};   // queued for members not being closed for not reading
  std::vector<std::pair<MemberId, std::string>> slow_;  // marked this turn, and why
  bool lobbyArmed_ = false;
  SteadyTime lobbyDue_{};
  // One read buffer for every connection: an idle member owns none.
  std::array<char, 65536> readBuffer_{};
  std::vector<Piece> pieces_;
};

}  // namespace zn::server
