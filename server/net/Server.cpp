#include "server/net/Server.h"

#include <linux/sockios.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/ioctl.h>
#include <sys/socket.h>

#include <algorithm>

#include "server/base/Log.h"

namespace zn::server {

using asio::ip::tcp;

// One piece of output: a line of its own (already framed) or a line shared by many members.
struct OutPiece {
  SharedLine shared;
  std::string own;  // "#line#line..." when shared is empty
};

struct Server::Connection {
  explicit Connection(tcp::socket s, MemberId i) : socket(std::move(s)), id(i) {}
  tcp::socket socket;
  MemberId id;
  Framing framing;
  std::vector<OutPiece> out;                   // queued in this turn
  std::vector<OutPiece> inflight;              // being written
  std::size_t queued = 0;                      // bytes in out and inflight
  std::uint64_t streamed = 0;                  // bytes ever queued
  std::unique_ptr<asio::steady_timer> linger;  // only while the server closes it
  bool dirty = false;
  bool writing = false;
  bool closeAfter = false;  // the club closed it: close once the output is out
  bool draining = false;    // our side is shut down; reading until the peer closes
  bool closed = false;
  bool slow = false;      // closed for not reading: nothing more is queued for it
  bool farewell = false;  // but the club's last lines to it
  // Where the stream ended at the last two agings: what of it before agedEnd is still queued has
  // waited at least kAging.
  std::uint64_t agedEnd = 0;
  std::uint64_t recentEnd = 0;
  // Bytes queued that waited at least kAging: a member who reads has none.
  std::size_t Backlog() const {
    const std::uint64_t written = streamed - queued;
    return agedEnd > written ? static_cast<std::size_t>(agedEnd - written) : 0;
  }
};

namespace {

const char kHash = '#';

// Keepalive finds a dropped member within about a minute, so the nickname is free again.
void Tune(tcp::socket& s) {
  std::error_code ec;
  s.set_option(tcp::no_delay(true), ec);  // writes are already coalesced per turn
  s.set_option(asio::socket_base::keep_alive(true), ec);
  const int fd = s.native_handle();
  const int idle = 30, interval = 10, count = 3;
  ::setsockopt(fd, IPPROTO_TCP, TCP_KEEPIDLE, &idle, sizeof idle);
  ::setsockopt(fd, IPPROTO_TCP, TCP_KEEPINTVL, &interval, sizeof interval);
  ::setsockopt(fd, IPPROTO_TCP, TCP_KEEPCNT, &count, sizeof count);
  s.non_blocking(true, ec);
}

}  // namespace

Server::Server(asio::io_context& io, RoomStore& store, const ServerOptions& options, JournalStore* journal)
    : io_(io),
      acceptor_(io),
      lobbyTimer_(io),
      acceptRetry_(io),
      touchTimer_(io),
      sweepTimer_(io),
      club_(
          store, *this, [] { return std::chrono::steady_clock::now(); }, options.limits, options.news),
      deals_(club_, store, *this, [] { return std::chrono::steady_clock::now(); }),
      sendBuffer_(options.sendBuffer),
      queuedPerMember_(options.queuedPerMember),
      queuedLimit_(options.queuedTotal) {
  club_.SetDeals(&deals_);
  club_.SetNames(options.names);
  if (options.dealKey) deals_.UseDealKey(*options.dealKey);
  if (options.matchSecrets) deals_.UseMatchSecrets(options.matchSecrets);
  deals_.OpenSameAddress(options.kibitzSameAddressOpen);
  deals_.UseTurnLimit(options.turnLimit);
  deals_.UseRobots(options.robots, std::make_unique<RobotPool>(options.robots.threads, [this](auto job) {
                     asio::post(io_, std::move(job));
                   }));
  if (journal) {
    journaled_ = true;
    deals_.UseJournal(journal);
    try {
      deals_.Restore(journal->LoadRunning());
    } catch (const StoreError& e) {
      Log(std::string("journal: cannot read the running deals: ") + e.what());
    }
  }
  const tcp::endpoint endpoint(asio::ip::make_address(options.listen), options.port);
  acceptor_.open(endpoint.protocol());
  acceptor_.set_option(tcp::acceptor::reuse_address(true));
  acceptor_.bind(endpoint);
  acceptor_.listen(asio::socket_base::max_listen_connections);
  port_ = acceptor_.local_endpoint().port();
  Log("listening on " + options.listen + ":" + std::to_string(port_));
  Accept();
  ArmTouchTimer();
  ArmSweepTimer();
}

Server::~Server() { Stop(); }

void Server::Stop() {
  if (stopped_) return;
  stopped_ = true;
  std::error_code ec;
  acceptor_.close(ec);
  lobbyTimer_.cancel();
  acceptRetry_.cancel();
  touchTimer_.cancel();
  sweepTimer_.cancel();
  club_.TouchOccupiedRooms();
  if (journaled_) {  // everything the deals did, before the store closes
    deals_.FlushJournal();
    Log(deals_.JournalSummary());
  }
  for (auto& [id, c] : connections_) {
    c->closed = true;
    c->socket.close(ec);
    if (c->linger) c->linger->cancel();
  }
  connections_.clear();
}

void Server::Accept() {
  acceptor_.async_accept([this](std::error_code ec, tcp::socket socket) {
    if (stopped_ || ec == asio::error::operation_aborted) return;
    if (ec) {
      // Out of descriptors and the like: wait a little instead of spinning.
      Log("accept failed: " + ec.message());
      acceptRetry_.expires_after(std::chrono::milliseconds(100));
      acceptRetry_.async_wait([this](std::error_code e) {
        if (!e && !stopped_) Accept();
      });
      return;
    }
    Start(std::move(socket));
    Accept();
  });
}

void Server::Start(tcp::socket socket) {
  Tune(socket);
  if (sendBuffer_ > 0) {
    std::error_code ec;
    socket.set_option(asio::socket_base::send_buffer_size(sendBuffer_), ec);
  }
  std::error_code ec;
  const auto peer = socket.remote_endpoint(ec);
  auto c = std::make_shared<Connection>(std::move(socket), ++nextId_);
  connections_.emplace(c->id, c);
  club_.Connect(c->id, ec ? std::string() : peer.address().to_string());
  if (!c->closeAfter) WaitRead(c);
  ScheduleFlush();
}

Server::Connection* Server::Find(MemberId id) {
  auto it = connections_.find(id);
  return it == connections_.end() || it->second->closed ? nullptr : it->second.get();
}

void Server::WaitRead(const ConnectionPtr& c) {
  c->socket.async_wait(tcp::socket::wait_read, [this, c](std::error_code ec) {
    if (c->closed) return;
    if (ec) return Drop(c, "read failed");
    if (c->draining) return Drain(c);
    OnReadable(c);
  });
}

void Server::OnReadable(const ConnectionPtr& c) {
  std::error_code ec;
  const std::size_t n = c->socket.read_some(asio::buffer(readBuffer_), ec);
  if (ec == asio::error::would_block || ec == asio::error::try_again) return WaitRead(c);
  if (ec || n == 0) return Drop(c, "closed by peer");
  // Whether the stream goes on is what the socket still holds, not whether this read filled the
  // buffer: a read that happens to end on the buffer's size must not swallow the next command.
  std::error_code unread;
  const bool more = c->socket.available(unread) > 0 && !unread;
  pieces_.clear();
  c->framing.Feed(std::string_view(readBuffer_.data(), n), more, pieces_);
  for (const Piece& p : pieces_) {
    if (c->closed || c->closeAfter) break;
    switch (p.kind) {
      case Piece::TooLong:
        club_.RefuseTooLong(c->id);
        break;
      case Piece::Malformed:
        club_.RefuseMalformed(c->id);
        break;
      case Piece::Command:
        club_.Receive(c->id, p.text);
        break;
    }
  }
  if (!c->closed && !c->closeAfter) WaitRead(c);
  ScheduleFlush();
}

void Server::Drain(const ConnectionPtr& c) {
  std::error_code ec;
  c->socket.read_some(asio::buffer(readBuffer_), ec);  // dropped unread
  if (ec && ec != asio::error::would_block && ec != asio::error::try_again)
    return Drop(c, "closed by server");
  WaitRead(c);
}

void Server::MarkDirty(Connection& c) {
  if (!c.dirty) {
    c.dirty = true;
    dirty_.push_back(c.id);
  }
  ScheduleFlush();
}

void Server::Send(MemberId to, std::string_view line) {
  Connection* c = Find(to);
  if (!c || !Fits(*c, line.size() + 1)) return;
  if (c->out.empty() || c->out.back().shared) c->out.emplace_back();
  c->out.back().own.push_back(kHash);
  c->out.back().own.append(line);
  Account(*c, line.size() + 1, 0);
  c->streamed += line.size() + 1;
  MarkDirty(*c);
}

void Server::SendShared(MemberId to, const SharedLine& line) {
  Connection* c = Find(to);
  if (!c || !Fits(*c, line->size() + 1)) return;
  c->out.push_back({line, {}});
  Account(*c, line->size() + 1, 0);
  c->streamed += line->size() + 1;
  MarkDirty(*c);
}

void Server::Account(Connection& c, std::size_t added, std::size_t removed) {
  c.queued = c.queued + added - removed;
  if (!c.slow) liveQueued_ = liveQueued_ + added - removed;
  if (added) queuedTotal_.fetch_add(added, std::memory_order_relaxed);
  if (removed) queuedTotal_.fetch_sub(removed, std::memory_order_relaxed);
}

// Only a member who does not read keeps lines queued for long: one who reads has them taken by the
// kernel within moments. So a line that would break the member's budget closes him, and one that
// would break the club's closes the members with the most lines waiting since the last aging until
// it fits; members with nothing waiting that long are never closed for it.

bool Server::Fits(Connection& c, std::size_t bytes) {
  if (c.slow) return c.farewell;
  if (c.queued + bytes > queuedPerMember_) {
    NotReading(c, std::to_string(c.queued) + " bytes queued, the member's limit " +
                      std::to_string(queuedPerMember_));
    return false;
  }
  if (liveQueued_ + bytes <= queuedLimit_) return true;
  std::vector<Connection*> byQueue;
  for (const auto& [id, other] : connections_)
    if (!other->closed && !other->slow && other->Backlog() > 0) byQueue.push_back(other.get());
  std::sort(byQueue.begin(), byQueue.end(), [](const Connection* a, const Connection* b) {
    return a->Backlog() != b->Backlog() ? a->Backlog() > b->Backlog() : a->id < b->id;
  });
  for (Connection* other : byQueue) {
    if (liveQueued_ + bytes <= queuedLimit_) break;
    NotReading(*other, std::to_string(other->queued) + " bytes queued, the club's limit " +
                           std::to_string(queuedLimit_) + " reached");
  }
  return !c.slow;  // with nothing old left anywhere the line is taken: readers are never closed
}

// What was not handed to the socket yet is dropped at once; at the end of the turn the club queues
// its notice (and the closing line for a client that reads it) and closes him; a member who takes
// nothing in is cut off kLinger later. One whose last write has not ended is cut off at once.
void Server::NotReading(Connection& c, std::string why) {
  std::size_t unsent = 0;
  for (const OutPiece& p : c.out) unsent += p.shared ? p.shared->size() + 1 : p.own.size();
  std::vector<OutPiece>().swap(c.out);
  Account(c, 0, unsent);
  liveQueued_ -= c.queued;  // what is in flight goes with the connection
  c.slow = true;
  slow_.emplace_back(c.id, std::move(why));
  MarkDirty(c);
}

void Server::Age() {
  const auto now = std::chrono::steady_clock::now();
  if (now < nextAging_) return;
  nextAging_ = now + kAging;
  for (auto& [id, c] : connections_) {
    c->agedEnd = c->recentEnd;
    c->recentEnd = c->streamed;
  }
}

void Server::TellSlow() {
  std::vector<std::pair<MemberId, std::string>> slow;
  slow.swap(slow_);
  for (auto& [id, why] : slow) {
    auto it = connections_.find(id);
    if (it == connections_.end() || it->second->closed) continue;
    const ConnectionPtr c = it->second;
    c->farewell = !c->writing;  // lines after a write that does not end would never arrive
    club_.NotReading(id, why);
    c->farewell = false;
    if (c->writing) {  // what is in flight goes now, not after the linger
      Drop(c, "not reading its lines");
      continue;
    }
    c->linger = std::make_unique<asio::steady_timer>(io_, kLinger);
    c->linger->async_wait([this, c](std::error_code e) {
      if (!e && !c->closed) Drop(c, "not reading its lines");
    });
  }
}

std::size_t Server::Queued(MemberId who) const {
  auto it = connections_.find(who);
  return it == connections_.end() ? 0 : it->second->queued;
}

std::uint64_t Server::Streamed(MemberId who) const {
  auto it = connections_.find(who);
  return it == connections_.end() ? 0 : it->second->streamed;
}

// What the server still holds, and what the kernel sent but the peer has not acknowledged.
std::size_t Server::Unacknowledged(MemberId who) const {
  auto it = connections_.find(who);
  if (it == connections_.end()) return 0;
  const Connection& c = *it->second;
  int sent = 0;
  if (c.closed || ::ioctl(const_cast<tcp::socket&>(c.socket).native_handle(), SIOCOUTQ, &sent) != 0) sent = 0;
  return c.queued + static_cast<std::size_t>(std::max(sent, 0));
}

void Server::Close(MemberId who) {
  if (Connection* c = Find(who)) {
    c->closeAfter = true;
    MarkDirty(*c);
  }
}

void Server::ScheduleFlush() {
  if (flushPosted_ || stopped_) return;
  flushPosted_ = true;
  asio::post(io_, [this] { FlushAll(); });
}

// The end of a turn: the lobby lines that are due, then one write per member with output.
void Server::FlushAll() {
  flushPosted_ = false;
  if (stopped_) return;
  Age();
  club_.Flush();
  std::vector<MemberId> dirty;
  dirty.swap(dirty_);
  std::vector<ConnectionPtr> flushed;
  flushed.reserve(dirty.size());
  for (MemberId id : dirty) {
    auto it = connections_.find(id);
    if (it == connections_.end()) continue;
    it->second->dirty = false;
    flushed.push_back(it->second);
  }
  TellSlow();
  for (const ConnectionPtr& c : flushed) StartWrite(c);
  ArmLobbyTimer();
}

void Server::StartWrite(const ConnectionPtr& c) {
  if (c->writing || c->closed || c->draining) return;
  if (c->out.empty()) {
    if (c->closeAfter) Finish(c);
    return;
  }
  c->inflight.swap(c->out);
  std::vector<asio::const_buffer> buffers;
  buffers.reserve(c->inflight.size() * 2);
  std::size_t bytes = 0;
  for (const OutPiece& p : c->inflight) {
    if (p.shared) {
      buffers.emplace_back(&kHash, 1);
      buffers.emplace_back(p.shared->data(), p.shared->size());
      bytes += p.shared->size() + 1;
    } else {
      buffers.emplace_back(p.own.data(), p.own.size());
      bytes += p.own.size();
    }
  }
  c->writing = true;
  asio::async_write(c->socket, buffers, [this, c, bytes](std::error_code ec, std::size_t) {
    c->writing = false;
    std::vector<OutPiece>().swap(c->inflight);  // an idle member keeps no buffer
    if (c->closed) return;
    if (ec) return Drop(c, "write failed");
    Account(*c, 0, bytes);
    StartWrite(c);
  });
}

// The club closed the member: its last lines are out; shut down our side and wait for the peer,
// so a close with unread input does not reset the connection before the notice arrives.
void Server::Finish(const ConnectionPtr& c) {
  std::error_code ec;
  c->socket.shutdown(tcp::socket::shutdown_send, ec);
  c->draining = true;
  c->linger = std::make_unique<asio::steady_timer>(io_, kLinger);
  c->linger->async_wait([this, c](std::error_code e) {
    if (!e && !c->closed) Drop(c, "closed by server");
  });
  WaitRead(c);
}

void Server::Drop(const ConnectionPtr& c, const char* why) {
  if (c->closed) return;
  c->closed = true;
  std::error_code ec;
  c->socket.close(ec);
  if (c->linger) c->linger->cancel();
  Account(*c, 0, c->queued);
  connections_.erase(c->id);
  club_.Disconnect(c->id, why);
  ScheduleFlush();
}

void Server::ArmSweepTimer() {
  sweepTimer_.expires_after(Club::kIdleSweepInterval);
  sweepTimer_.async_wait([this](std::error_code ec) {
    if (ec || stopped_) return;
    ScheduleFlush();
    ArmSweepTimer();
  });
}

void Server::ArmTouchTimer() {
  touchTimer_.expires_after(std::chrono::hours(1));
  touchTimer_.async_wait([this](std::error_code ec) {
    if (ec || stopped_) return;
    club_.TouchOccupiedRooms();
    ArmTouchTimer();
  });
}

void Server::ArmLobbyTimer() {
  const auto due = club_.NextDue();
  if (!due || (lobbyArmed_ && lobbyDue_ <= *due)) return;
  lobbyArmed_ = true;
  lobbyDue_ = *due;
  lobbyTimer_.expires_at(*due);
  lobbyTimer_.async_wait([this](std::error_code ec) {
    if (ec) return;
    lobbyArmed_ = false;
    ScheduleFlush();
  });
}

}  // namespace zn::server
