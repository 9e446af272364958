#include "server/club/Club.h"

#include <algorithm>

#include "game/Cp1250.h"
#include "link/Protocol.h"
#include "server/base/ClubTexts.h"
#include "server/base/CommandRoutes.h"
#include "server/base/Log.h"
#include "server/base/Names.h"

namespace zn::server {

Club::Club(RoomStore& store, Outbox& out, NowFn now, ClubLimits limits, std::vector<std::string> news)
    : store_(store), out_(out), now_(std::move(now)), limits_(limits), noDeals_(out), deals_(&noDeals_) {
  if (news.empty()) news.emplace_back(text::kDefaultNews);
  for (auto& line : news) news_.push_back(proto::Relayable(line));
  Room lobby;
  lobby.name = std::string(text::kLobbyName);
  rooms_.push_back(std::move(lobby));
  for (StoredRoom& stored : store_.LoadRooms()) {
    Room room;
    room.storeId = stored.id;
    room.name = std::move(stored.name);
    room.option = stored.option;
    room.played = stored.played;
    room.emptySince = now_();
    rooms_.push_back(std::move(room));
  }
}

Club::~Club() = default;

void Club::SetDeals(DealSeam* deals) { deals_ = deals ? deals : &noDeals_; }

Member* Club::Get(MemberId id) {
  auto it = members_.find(id);
  return it == members_.end() ? nullptr : &it->second;
}

const Member* Club::Find(MemberId id) const {
  auto it = members_.find(id);
  return it == members_.end() ? nullptr : &it->second;
}

Room* Club::FindRoom(std::int64_t storeId) {
  if (storeId == 0) return nullptr;
  for (Room& room : rooms_)
    if (room.storeId == storeId) return &room;
  return nullptr;
}

Member* Club::FindOnline(std::string_view nickname) {
  auto it = online_.find(NameKey(nickname));
  return it == online_.end() ? nullptr : Get(it->second);
}

void Club::Notice(Member& m, std::string_view text, std::string_view detail) {
  std::string line(text::kNotice);
  line.append(text);
  line.append(proto::Relayable(detail));  // a refused name may carry "#"
  out_.Send(m.id, proto::LineMessage(line));
}

void Club::Refuse(Member& m, std::string_view why, std::string_view text, std::string_view detail) {
  std::string entry = "refused #" + std::to_string(m.id);
  if (m.LoggedIn()) entry += " " + m.nickname;
  entry += ": ";
  entry += why;
  LogLimited(m, entry);
  Notice(m, text, detail);
}

// A member sending nothing but refused commands must not fill the disk with the log.
void Club::LogLimited(Member& m, const std::string& line) {
  const SteadyTime now = now_();
  if (m.refusalsLogged == 0 || now - m.refusalMinute >= std::chrono::minutes(1)) {
    EndLogMinute(m);
    m.refusalMinute = now;
  }
  if (m.refusalsLogged < kLoggedRefusalsPerMinute) {
    ++m.refusalsLogged;
    LogAddress(m, line);  // fresh connections of one address share its lines
  } else {
    ++m.refusalsDropped;
  }
}

void Club::EndLogMinute(Member& m) {
  if (m.refusalsDropped > 0)
    Log("refused #" + std::to_string(m.id) + " " + m.nickname + ": " + std::to_string(m.refusalsDropped) +
        " more not logged");
  m.refusalsDropped = 0;
  m.refusalsLogged = 0;
}

void Club::LogAddress(const Member& m, const std::string& line) {
  std::uint64_t dropped = 0;
  const bool log = addresses_.MayLog(m.addressKey, now_(), dropped);
  if (dropped > 0) Log("address " + m.addressKey + ": " + std::to_string(dropped) + " more lines not logged");
  if (log) Log(line);
}

bool Club::RefuseConnect(Member& m, std::string_view why, std::string_view text) {
  Refuse(m, why, text);
  m.closing = true;
  out_.Close(m.id);
  return false;
}

// The per-address limits come first, so connections an address is refused never count against
// the club; the last places are kept for addresses with nothing open.
bool Club::Connect(MemberId id, std::string_view address) {
  Member& m = members_[id];
  m.id = id;
  m.address.assign(address);
  m.addressKey = AddressKey(address);
  m.rate = RateLimit(limits_.commandsPerSecond, limits_.commandBurst);
  m.chatBytes = RateLimit(limits_.chatBytesPerSecond, limits_.chatBurst);
  const SteadyTime now = now_();
  m.lastOwn = now;
  m.lastHeard = now;
  LogAddress(m, "connect #" + std::to_string(id) + " from " + (address.empty() ? "?" : m.address));
  const std::size_t open = address.empty() ? 0 : addresses_.OpenFrom(m.addressKey);
  if (open >= limits_.maxPerAddress)
    return RefuseConnect(m, "too many connections from " + m.addressKey, text::kTooManyFromAddress);
  if (!address.empty() && !addresses_.CountConnect(m.addressKey, now, limits_.connectsPerMinute))
    return RefuseConnect(m, "too many new connections from " + m.addressKey, text::kConnectsPerMinute);
  const std::size_t reserve = std::min(limits_.reservedPlaces, limits_.maxMembers / 10);
  if (admitted_ >= (open > 0 ? limits_.maxMembers - reserve : limits_.maxMembers))
    return RefuseConnect(m, "club full", text::kClubFull);
  m.admitted = true;
  ++admitted_;
  if (!address.empty()) addresses_.Open(m.addressKey);
  loginDeadlines_.emplace_back(now + limits_.loginTimeout, id);
  out_.Send(id, proto::LineVersion(proto::kVersion));
  return true;
}

// Connections that never log in would fill the club; the deadlines come in connection order.
void Club::CloseLateLogins(SteadyTime now) {
  while (!loginDeadlines_.empty()) {
    Member* m = Get(loginDeadlines_.front().second);
    const bool settled = !m || m->closing || m->LoggedIn();
    if (!settled && loginDeadlines_.front().first > now) return;
    loginDeadlines_.pop_front();
    if (settled) continue;
    Refuse(*m, "no login in time", text::kLoginTimeout);
    m->closing = true;
    out_.Close(m->id);
  }
}

bool Club::Charge(Member& m) {
  if (m.rate.Count(now_())) return true;
  Refuse(m, "too many commands", text::kTooFast);
  Closing(m, proto::TCloseReason::TooFast);
  m.closing = true;
  out_.Close(m.id);
  return false;
}

// Commands the framing refused never reached the bucket: they pay here, so a stream of refusals
// costs what a stream of commands costs.
// Members who send nothing hold a place for ever; a seated one in a running deal is left alone,
// since his silence is the deal's business.
void Club::CloseIdleMembers(SteadyTime now) {
  if (now < nextIdleSweep_) return;
  nextIdleSweep_ = now + kIdleSweepInterval;
  for (auto& [id, m] : members_) {
    if (m.closing || !m.LoggedIn() || now - m.lastOwn < limits_.idleTimeout) continue;
    if (m.seat != 0 && deals_->DealRunning(rooms_[m.room])) continue;
    Refuse(m, "idle", text::kIdle);
    Closing(m, proto::TCloseReason::Idle);
    m.closing = true;
    out_.Close(id);
  }
  if (const std::uint64_t dropped = addresses_.Sweep(now))
    Log("addresses gone quiet: " + std::to_string(dropped) + " more lines not logged");
}

void Club::RefuseTooLong(MemberId id) {
  Member* m = Get(id);
  if (m && !m->closing) m->lastHeard = now_();
  if (m && !m->closing && Charge(*m)) Refuse(*m, "command too long", text::kTooLong);
}

void Club::RefuseMalformed(MemberId id) {
  Member* m = Get(id);
  if (m && !m->closing) m->lastHeard = now_();
  if (m && !m->closing && Charge(*m)) Refuse(*m, "malformed command", text::kBadCommand);
}

void Club::Receive(MemberId id, std::string_view command) {
  Member* m = Get(id);
  if (!m || m->closing || command.empty()) return;
  m->lastHeard = now_();  // whatever it is, the connection is alive
  // Answers are sent by the client on its own; counting them would let anyone flood a member.
  // A refused answer pays (Answer).
  if (command[0] != 'W') {
    if (!Charge(*m)) return;
    // The client pings by itself to keep its link alive: a ping is no sign of a member at the keys.
    if (command[0] != 'G') m->lastOwn = now_();
  }
  if (!m->LoggedIn()) {
    if (command[0] == 'N' && !AwaitingTakeover(m->id)) Login(*m, proto::ReadText(command));
    if (command[0] == 'Y' && claims_.count(id)) ClaimCommand(*m, command);  // the login's proof
    return;  // anything else before login is ignored
  }
  Dispatch(*m, command);
}

void Club::Dispatch(Member& m, std::string_view command) {
  using Handler = void (*)(Club&, Member&, std::string_view);
  using proto::TCommand;
  static constexpr CommandRoute<Handler> kRoutes[] = {
      {TCommand::Nick, [](Club&, Member&, std::string_view) {}},  // already logged in
      {TCommand::Chat, [](Club& c, Member& m, std::string_view s) { c.Chat(m, proto::ReadText(s)); }},
      {TCommand::Ping, [](Club& c, Member& m, std::string_view) { c.out_.Send(m.id, proto::LinePing()); }},
      {TCommand::News, [](Club& c, Member& m, std::string_view) { c.News(m); }},
      {TCommand::NewRoom,
       [](Club& c, Member& m, std::string_view s) { c.CreateRoom(m, proto::ReadText(s)); }},
      {TCommand::Enter, [](Club& c, Member& m, std::string_view s) { c.Enter(m, s); }},
      {TCommand::Sit, [](Club& c, Member& m, std::string_view s) { c.Sit(m, s); }},
      {TCommand::Watch, [](Club& c, Member& m, std::string_view s) { c.Watch(m, s); }},
      {TCommand::Option, [](Club& c, Member& m, std::string_view s) { c.SetOption(m, s); }},
      {TCommand::Deal, [](Club& c, Member& m, std::string_view s) { c.OrderDeal(m, s); }},
      {TCommand::Inquiry, [](Club& c, Member& m, std::string_view s) { c.Inquiry(m, s); }},
      {TCommand::Claim, [](Club& c, Member& m, std::string_view s) { c.ClaimCommand(m, s); }},
      {TCommand::Answer, [](Club& c, Member& m, std::string_view s) { c.Answer(m, s); }},
      {TCommand::Records, [](Club& c, Member& m, std::string_view s) { c.Records(m, s); }},
      {TCommand::Reads, [](Club& c, Member& m, std::string_view s) { c.Reads(m, s); }},
  };
  // The deal commands go to the deal engine, whose own table routes them (server/deals/Deals.cpp).
  static constexpr std::array<Handler, proto::kCommands> kHandlerOf = RoutesByCommand(kRoutes, IsClubCommand);
  proto::TCommand which;
  if (!proto::CommandOf(command[0], which)) {
    LogLimited(m, "ignored #" + std::to_string(m.id) + " " + m.nickname + ": unknown command");
  } else if (IsDealCommand(which)) {
    if (Room* room = RoomOf(m)) deals_->Command(*room, m, command);
  } else {
    kHandlerOf[static_cast<std::size_t>(which)](*this, m, command);
  }
}

void Club::Login(Member& m, std::string_view nickname) {
  if (!ValidNickname(nickname)) return RefuseNickname(m, nickname);
  if (ClaimGate(m, nickname)) Admit(m, nickname);
}

void Club::RefuseNickname(Member& m, std::string_view nickname) {
  Refuse(m, "nickname", text::kBadNickname, nickname);
  m.closing = true;
  out_.Close(m.id);
}

// The nickname is the member's (proved, or not claimed): a silent connection holding it is probed
// and replaced, else the login is accepted now.
void Club::Admit(Member& m, std::string_view nickname) {
  if (Member* old = FindOnline(nickname)) return StartTakeover(m, *old, nickname);
  AcceptLogin(m, nickname);
}

void Club::AcceptLogin(Member& m, std::string_view nickname) {
  m.nickname.assign(nickname);
  m.folded = NameKey(nickname);
  online_.emplace(m.folded, m.id);
  m.room = 0;
  rooms_[0].present.push_back(m.id);
  LogAddress(m, "login #" + std::to_string(m.id) + " " + m.nickname);
  LobbyChanged();
  ArriveInLobby(m);
}

void Club::Disconnect(MemberId id, std::string_view why) {
  Member* m = Get(id);
  if (!m) return;
  EndLogMinute(*m);
  if (m->admitted) {
    --admitted_;
    if (!m->address.empty()) addresses_.Close(m->addressKey);
  }
  if (!why.empty()) LogAddress(*m, "disconnect #" + std::to_string(id) + ": " + std::string(why));
  claims_.erase(id);
  if (m->LoggedIn()) {
    // A drop, not a leave: a seat in a running deal waits for the member's return.
    const std::size_t room = m->room;
    const int seat = m->seat;
    if (seat > 0 && deals_->DealRunning(rooms_[room])) {
      rooms_[room].seats[static_cast<std::size_t>(seat)] = {};
      m->seat = 0;
      HoldSeat(rooms_[room], seat, m->nickname);  // held before the robots are told to go on
      deals_->SeatChanged(rooms_[room], seat);
    }
    LeaveRoom(*m);
    online_.erase(m->folded);
    LogAddress(*m, "logout #" + std::to_string(id) + " " + m->nickname);
    LobbyChanged();
  }
  members_.erase(id);
}

void Club::LobbyChanged() {
  lobbyStale_ = true;
  for (MemberId id : rooms_[0].present) {
    Member* m = Get(id);
    if (m && !m->lobbyDue) {
      m->lobbyDue = true;
      lobbyWaiting_.push_back(id);
    }
  }
}

void Club::ArriveInLobby(Member& m) {
  m.lobbyNext = now_();  // a newcomer gets the lobby at once
  if (!m.lobbyDue) {
    m.lobbyDue = true;
    lobbyWaiting_.push_back(m.id);
  }
}

const SharedLine& Club::LobbyLine() {
  if (lobbyStale_ || !lobbyLine_) {
    proto::TLobby lobby;
    lobby.rooms.reserve(rooms_.size());
    for (const Room& r : rooms_) lobby.rooms.push_back(r.gone ? std::string(text::kGoneRoom) : r.name);
    lobby.members.reserve(online_.size());
    for (const auto& [id, m] : members_)
      if (m.LoggedIn()) lobby.members.push_back({static_cast<std::int32_t>(m.room), m.nickname});
    lobbyLine_ = std::make_shared<const std::string>(proto::LineLobby(lobby));
    ++lobbyGeneration_;
    lobbyStale_ = false;
  }
  return lobbyLine_;
}

void Club::Flush() {
  const SteadyTime now = now_();
  deals_->Tick(now);
  CloseLateLogins(now);
  CloseUnproven(now);
  CloseIdleMembers(now);
  SettleTakeovers(now);
  FreeIdleRooms(now);
  if (lobbyWaiting_.empty()) return;
  std::vector<MemberId> later;
  for (MemberId id : lobbyWaiting_) {
    Member* m = Get(id);
    if (!m) continue;
    if (m->closing || m->room != 0) {
      m->lobbyDue = false;
      continue;
    }
    if (m->lobbyNext > now) {
      later.push_back(id);
      continue;
    }
    out_.SendShared(id, LobbyLine());
    m->lobbySeen = lobbyGeneration_;
    m->lobbyNext = NextLobbySlot(now);
    m->lobbyDue = false;
  }
  lobbyWaiting_ = std::move(later);
}

std::chrono::milliseconds Club::LobbyInterval() const {
  const auto base = limits_.lobbyInterval;
  if (!lobbyLine_ || limits_.lobbyBytesPerSecond == 0) return base;
  const std::uint64_t round = static_cast<std::uint64_t>(lobbyLine_->size()) * rooms_[0].present.size();
  const auto byBudget = std::chrono::milliseconds(round * 1000 / limits_.lobbyBytesPerSecond);
  return byBudget > base ? byBudget : base;
}

// Members' next lobby lines fall on a grid of an eighth of the interval, so those due together
// share one line instead of each turn of the loop building a new one.
SteadyTime Club::NextLobbySlot(SteadyTime now) const {
  const auto interval = LobbyInterval();
  const auto grid = std::max<SteadyTime::duration>(interval / 8, std::chrono::milliseconds(1));
  const auto t = (now + interval).time_since_epoch();
  return SteadyTime((t + grid - SteadyTime::duration(1)) / grid * grid);
}

std::optional<SteadyTime> Club::NextDue() const {
  std::optional<SteadyTime> due = deals_->NextDue();
  if (!loginDeadlines_.empty() && (!due || loginDeadlines_.front().first < *due))
    due = loginDeadlines_.front().first;
  if (!takeovers_.empty() && (!due || takeovers_.front().since + kProbeWait < *due))
    due = takeovers_.front().since + kProbeWait;
  if (!proofDeadlines_.empty() && (!due || proofDeadlines_.front().first < *due))
    due = proofDeadlines_.front().first;
  for (MemberId id : lobbyWaiting_) {
    const Member* m = Find(id);
    if (m && (!due || m->lobbyNext < *due)) due = m->lobbyNext;
  }
  return due;
}

}  // namespace zn::server
