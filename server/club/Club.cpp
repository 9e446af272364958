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
    : store_(store),
      out_(out),
      now_(std::move(now)),
      limits_(limits),
      noDeals_(out),
      deals_(&noDeals_),
      lobby_(limits.lobbyInterval, limits.lobbyBytesPerSecond),
      roomQuota_(limits.roomsPerHour, limits.roomsPerHourPerAddress, limits.maxMembers),
      claims_(limits.claims, limits.proofTimeout,
              {limits.claimsPerHourPerAddress, limits.claimsPerDayPerNetwork, limits.releaseUnused,
               limits.maxMembers}) {
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
  if (m.LoggedIn()) entry += " " + m.who.nickname;
  entry += ": ";
  entry += why;
  LogLimited(m, entry);
  Notice(m, text, detail);
}

// A member sending nothing but refused commands must not fill the disk with the log.
void Club::LogLimited(Member& m, const std::string& line) {
  const SteadyTime now = now_();
  if (m.link.refusalsLogged == 0 || now - m.link.refusalMinute >= std::chrono::minutes(1)) {
    EndLogMinute(m);
    m.link.refusalMinute = now;
  }
  if (m.link.refusalsLogged < kLoggedRefusalsPerMinute) {
    ++m.link.refusalsLogged;
    LogAddress(m, line);  // fresh connections of one address share its lines
  } else {
    ++m.link.refusalsDropped;
  }
}

void Club::EndLogMinute(Member& m) {
  if (m.link.refusalsDropped > 0)
    Log("refused #" + std::to_string(m.id) + " " + m.who.nickname + ": " +
        std::to_string(m.link.refusalsDropped) + " more not logged");
  m.link.refusalsDropped = 0;
  m.link.refusalsLogged = 0;
}

void Club::LogAddress(const Member& m, const std::string& line) {
  std::uint64_t dropped = 0;
  const bool log = addresses_.MayLog(m.who.addressKey, now_(), dropped);
  if (dropped > 0)
    Log("address " + m.who.addressKey + ": " + std::to_string(dropped) + " more lines not logged");
  if (log) Log(line);
}

bool Club::RefuseConnect(Member& m, std::string_view why, std::string_view text) {
  Refuse(m, why, text);
  m.link.closing = true;
  out_.Close(m.id);
  return false;
}

// The per-address limits come first, so connections an address is refused never count against
// the club; the last places are kept for addresses with nothing open.
bool Club::Connect(MemberId id, std::string_view address) {
  Member& m = members_[id];
  m.id = id;
  m.who.address.assign(address);
  m.who.addressKey = AddressKey(address);
  m.who.prefixKey = PrefixKey(address);
  m.link.rate = RateLimit(limits_.commandsPerSecond, limits_.commandBurst);
  m.link.chatBytes = RateLimit(limits_.chatBytesPerSecond, limits_.chatBurst);
  const SteadyTime now = now_();
  m.presence.lastOwn = now;
  m.presence.lastHeard = now;
  LogAddress(m, "connect #" + std::to_string(id) + " from " + (address.empty() ? "?" : m.who.address));
  const std::size_t open = address.empty() ? 0 : addresses_.OpenFrom(m.who.addressKey);
  if (open >= limits_.maxPerAddress)
    return RefuseConnect(m, "too many connections from " + m.who.addressKey, text::kTooManyFromAddress);
  if (!address.empty() && !addresses_.CountConnect(m.who.addressKey, now, limits_.connectsPerMinute))
    return RefuseConnect(m, "too many new connections from " + m.who.addressKey, text::kConnectsPerMinute);
  // Many addresses of one network count as one for the reserve: a /24 or a /48 is cheap to own.
  const bool known = open > 0 || (!m.who.prefixKey.empty() && addresses_.OpenFrom(m.who.prefixKey) > 0);
  const std::size_t reserve = std::min(limits_.reservedPlaces, limits_.maxMembers / 10);
  if (admitted_ >= (known ? limits_.maxMembers - reserve : limits_.maxMembers))
    return RefuseConnect(m, "club full", text::kClubFull);
  m.link.admitted = true;
  ++admitted_;
  if (!address.empty()) addresses_.Open(m.who.addressKey);
  if (!m.who.prefixKey.empty()) addresses_.Open(m.who.prefixKey);
  loginDeadlines_.emplace_back(now + limits_.loginTimeout, id);
  out_.Send(id, proto::LineVersion(proto::kVersion));
  return true;
}

// Connections that never log in would fill the club; the deadlines come in connection order.
void Club::CloseLateLogins(SteadyTime now) {
  while (!loginDeadlines_.empty()) {
    Member* m = Get(loginDeadlines_.front().second);
    const bool settled = !m || m->link.closing || m->LoggedIn();
    if (!settled && loginDeadlines_.front().first > now) return;
    loginDeadlines_.pop_front();
    if (settled) continue;
    Refuse(*m, "no login in time", text::kLoginTimeout);
    m->link.closing = true;
    out_.Close(m->id);
  }
}

bool Club::Charge(Member& m) {
  if (m.link.rate.Count(now_())) return true;
  Refuse(m, "too many commands", text::kTooFast);
  Closing(m, proto::TCloseReason::TooFast);
  m.link.closing = true;
  out_.Close(m.id);
  return false;
}

void Club::NotReading(MemberId id, std::string_view why) {
  Member* m = Get(id);
  if (!m || m->link.closing) return;
  Refuse(*m, "not reading its lines: " + std::string(why), text::kNotReading);
  Closing(*m, proto::TCloseReason::NotReading);
  m->link.closing = true;
  out_.Close(id);
}

// Commands the framing refused never reached the bucket: they pay here, so a stream of refusals
// costs what a stream of commands costs.
// Members who send nothing hold a place for ever; a seated one in a running deal is left alone,
// since his silence is the deal's business.
void Club::CloseIdleMembers(SteadyTime now) {
  if (now < nextIdleSweep_) return;
  nextIdleSweep_ = now + kIdleSweepInterval;
  for (auto& [id, m] : members_) {
    if (m.link.closing || !m.LoggedIn() || now - m.presence.lastOwn < limits_.idleTimeout) continue;
    if (m.place.seat != 0 && deals_->DealRunning(rooms_[m.place.room])) continue;
    Refuse(m, "idle", text::kIdle);
    Closing(m, proto::TCloseReason::Idle);
    m.link.closing = true;
    out_.Close(id);
  }
  if (const std::uint64_t dropped = addresses_.Sweep(now))
    Log("addresses gone quiet: " + std::to_string(dropped) + " more lines not logged");
}

void Club::RefuseTooLong(MemberId id) {
  Member* m = Get(id);
  if (m && !m->link.closing) m->presence.lastHeard = now_();
  if (m && !m->link.closing && Charge(*m)) Refuse(*m, "command too long", text::kTooLong);
}

void Club::RefuseMalformed(MemberId id) {
  Member* m = Get(id);
  if (m && !m->link.closing) m->presence.lastHeard = now_();
  if (m && !m->link.closing && Charge(*m)) Refuse(*m, "malformed command", text::kBadCommand);
}

void Club::Receive(MemberId id, std::string_view command) {
  Member* m = Get(id);
  if (!m || m->link.closing || command.empty()) return;
  m->presence.lastHeard = now_();  // whatever it is, the connection is alive
  // Answers are sent by the client on its own; counting them would let anyone flood a member.
  // A refused answer pays (Answer).
  if (command[0] != 'W') {
    if (!Charge(*m)) return;
    // The client pings by itself to keep its link alive: a ping is no sign of a member at the keys.
    if (command[0] != 'G') m->presence.lastOwn = now_();
  }
  if (!m->LoggedIn()) {
    if (command[0] == 'N' && !takeovers_.Awaiting(m->id)) Login(*m, proto::ReadText(command));
    if (command[0] == 'Y' && claims_.Challenged(id)) ClaimCommand(*m, command);  // the login's proof
    if (command[0] == 'V') Reads(*m, command);  // what the client reads decides how "N" is met
    return;                                     // anything else before login is ignored
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
    LogLimited(m, "ignored #" + std::to_string(m.id) + " " + m.who.nickname + ": unknown command");
  } else if (IsDealCommand(which)) {
    if (Room* room = RoomOf(m)) deals_->Command(*room, m, command);
  } else {
    kHandlerOf[static_cast<std::size_t>(which)](*this, m, command);
  }
}

void Club::Login(Member& m, std::string_view nickname) {
  if (!ValidNickname(nickname)) return RefuseNickname(m, nickname);
  if (PassClaimGate(m, nickname)) Admit(m, nickname);
}

void Club::RefuseNickname(Member& m, std::string_view nickname) {
  Refuse(m, "nickname", text::kBadNickname, nickname);
  m.link.closing = true;
  out_.Close(m.id);
}

// The nickname is the member's (proved, or not claimed): a silent connection holding it is probed
// and replaced, else the login is accepted now.
void Club::Admit(Member& m, std::string_view nickname) {
  if (Member* old = FindOnline(nickname)) return StartTakeover(m, *old, nickname);
  AcceptLogin(m, nickname);
}

void Club::AcceptLogin(Member& m, std::string_view nickname) {
  m.who.nickname.assign(nickname);
  m.who.folded = NameKey(nickname);
  online_.emplace(m.who.folded, m.id);
  m.place.room = 0;
  rooms_[0].present.push_back(m.id);
  LogAddress(m, "login #" + std::to_string(m.id) + " " + m.who.nickname);
  LobbyChanged();
  ArriveInLobby(m);
}

void Club::Disconnect(MemberId id, std::string_view why) {
  Member* m = Get(id);
  if (!m) return;
  EndLogMinute(*m);
  if (m->link.admitted) {
    --admitted_;
    if (!m->who.address.empty()) addresses_.Close(m->who.addressKey);
    if (!m->who.prefixKey.empty()) addresses_.Close(m->who.prefixKey);
  }
  if (!why.empty()) LogAddress(*m, "disconnect #" + std::to_string(id) + ": " + std::string(why));
  claims_.Forget(id);
  takeovers_.Forget(id);
  lobby_.Forget(id);
  if (m->LoggedIn()) {
    // A drop, not a leave: a seat in a running deal waits for the member's return.
    const std::size_t room = m->place.room;
    const int seat = m->place.seat;
    if (seat > 0 && deals_->DealRunning(rooms_[room])) {
      rooms_[room].seats[static_cast<std::size_t>(seat)] = {};
      m->place.seat = 0;
      HoldSeat(rooms_[room], seat, m->who.nickname);  // held before the robots are told to go on
      deals_->SeatChanged(rooms_[room], seat);
    }
    LeaveRoom(*m);
    online_.erase(m->who.folded);
    LogAddress(*m, "logout #" + std::to_string(id) + " " + m->who.nickname);
    LobbyChanged();
  }
  members_.erase(id);
}

void Club::LobbyChanged() { lobby_.Changed(rooms_[0].present); }

void Club::ArriveInLobby(Member& m) { lobby_.Arrive(m.id, now_()); }

const SharedLine& Club::LobbyLine() {
  return lobby_.Line([&] {
    proto::TLobby lobby;
    lobby.rooms.reserve(rooms_.size());
    for (const Room& r : rooms_) lobby.rooms.push_back(r.gone ? std::string(text::kGoneRoom) : r.name);
    lobby.members.reserve(online_.size());
    for (const auto& [mid, m] : members_)
      if (m.LoggedIn()) lobby.members.push_back({static_cast<std::int32_t>(m.place.room), m.who.nickname});
    return proto::LineLobby(lobby);
  });
}

void Club::SendLobbyLines(SteadyTime now) {
  const std::vector<MemberId> due = lobby_.TakeDue(
      now,
      [&](MemberId id) {
        const Member* m = Find(id);
        return m && !m->link.closing && m->place.room == 0;
      },
      [&](MemberId id) { return Unwritten(*Find(id), Find(id)->link.lobbyLineEnd); });
  for (MemberId id : due) {
    out_.SendShared(id, LobbyLine());
    Get(id)->link.lobbyLineEnd = out_.Streamed(id);
    lobby_.Sent(id, now, rooms_[0].present.size());
  }
}

void Club::Flush() {
  const SteadyTime now = now_();
  deals_->Tick(now);
  CloseLateLogins(now);
  CloseUnproven(now);
  CloseIdleMembers(now);
  SettleTakeovers(now);
  FreeIdleRooms(now);
  SendLobbyLines(now);
}

std::optional<SteadyTime> Club::NextDue() const {
  std::optional<SteadyTime> due = deals_->NextDue();
  if (!loginDeadlines_.empty() && (!due || loginDeadlines_.front().first < *due))
    due = loginDeadlines_.front().first;
  for (const std::optional<SteadyTime> next : {takeovers_.NextDue(), claims_.NextDue(), lobby_.NextDue()})
    if (next && (!due || *next < *due)) due = next;
  return due;
}

}  // namespace zn::server
