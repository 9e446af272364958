// The club without the network: members, the lobby, rooms, seats, robots, chat and the introduction
// relay. It takes complete commands of one member and queues lines for members in an Outbox; the
// server feeds it and writes the lines. Time comes from an injectable clock, so the lobby's
// throttling and the rate limits are tested without waiting.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "link/Protocol.h"
#include "server/base/Addresses.h"
#include "server/base/ClaimStore.h"
#include "server/base/ClubTypes.h"
#include "server/base/DealSeam.h"
#include "server/base/Outbox.h"
#include "server/base/Store.h"
#include "server/club/ClaimGate.h"
#include "server/club/LobbyPacer.h"
#include "server/club/RoomQuota.h"
#include "server/club/Takeovers.h"

namespace zn::server {

struct ClubLimits {
  std::size_t maxMembers = 1000;  // connections at once, logged in or not
  std::size_t maxRooms = 250;     // rooms besides the lobby
  // At most one lobby line per member in this time (tests of the network shorten it).
  std::chrono::milliseconds lobbyInterval{2000};
  // The lobby lines of one round (line size times members in the lobby) may take at most this
  // much per second: a crowded lobby gets its lines less often instead of flooding everyone.
  std::size_t lobbyBytesPerSecond = 16u << 20;
  // Connections at once from one address (an IPv6 /64 counts as one), logged in or not.
  std::size_t maxPerAddress = 16;
  // New connections one address may open in a minute.
  std::uint32_t connectsPerMinute = 60;
  // Places only a connection from an address with none open, and from a network (/24, /48) with
  // none open, may take (at most a tenth of the club), so addresses that fill the club, many of one
  // network too, cannot keep a newcomer out.
  std::size_t reservedPlaces = 20;
  // A member who sends nothing of his own for this long is closed, unless seated in a running deal.
  std::chrono::minutes idleTimeout{60};
  // A connection that has not logged in by then is closed with a notice.
  std::chrono::seconds loginTimeout{30};
  // Commands of one member: a token bucket ("W" answers do not count).
  std::uint32_t commandsPerSecond = RateLimit::kPerSecond;
  std::uint32_t commandBurst = RateLimit::kBurst;
  // Relayed chat bytes (the whole line: name and text) of one member, and of one address.
  std::uint32_t chatBytesPerSecond = 2048;
  std::uint32_t chatBurst = 8192;
  std::uint32_t chatBytesPerSecondPerAddress = 8192;
  std::uint32_t chatBurstPerAddress = 32768;
  // A member with more queued than this gets no chat (one notice) until the queue is below half;
  // well under what the server disconnects at (ServerOptions::queuedPerMember).
  std::size_t chatDropQueued = 256u << 10;
  // Rooms one nickname may create in an hour, and all nicknames of one address together.
  std::size_t roomsPerHour = 3;
  std::size_t roomsPerHourPerAddress = 6;
  // A room nobody has been in for this long is freed.
  std::chrono::seconds roomIdleFree{15 * 60};
  // A member seated in a running deal whose connection drops keeps the seat this long.
  std::chrono::seconds seatGrace{120};
  // Claimed nicknames (--claims), and how long a challenged client has to answer.
  ClaimMode claims = ClaimMode::On;
  std::chrono::seconds proofTimeout{10};
  // Nicknames claimed from one address (an IPv6 /64 counts as one) in an hour, and from one
  // network (/24, /48) in a day; a claimed nickname not used for this long is freed (0: never).
  std::size_t claimsPerHourPerAddress = 3;
  std::size_t claimsPerDayPerNetwork = 10;
  std::chrono::hours releaseUnused{365 * 24};
};

class Club : public DealClub {
 public:
  using NowFn = std::function<SteadyTime()>;

  static constexpr std::chrono::seconds kInquiryInterval{2};
  static constexpr std::size_t kMaxInquirers = 8;
  // Refusals of one member written to the log per minute; the rest are counted in one line.
  static constexpr std::uint32_t kLoggedRefusalsPerMinute = 5;
  // The store keeps when a human was last in a room to the hour; it hears of a visit at most so often.
  static constexpr std::chrono::minutes kTouchInterval{60};
  // How often idle members are looked for (and the address table swept).
  static constexpr std::chrono::seconds kIdleSweepInterval{30};
  // A login under the nickname of a member online probes that member's connection and waits this
  // long: only a connection that neither sent anything nor took in the probe is replaced.
  static constexpr std::chrono::seconds kProbeWait = Takeovers::kProbeWait;
  static constexpr std::chrono::seconds kSilentAfter = Takeovers::kSilentAfter;

  // Loads the rooms from the store. news: the lines "L" answers with.
  Club(RoomStore& store, Outbox& out, NowFn now, ClubLimits limits = {}, std::vector<std::string> news = {});
  ~Club() override;
  Club(const Club&) = delete;
  Club& operator=(const Club&) = delete;

  // Replaces the deal engine (the club does not own it); nullptr restores NoDeals.
  void SetDeals(DealSeam* deals);
  // Where claimed nicknames are kept (not owned); nullptr: in memory, for this run only.
  void SetNames(NameStore* names);

  // A new connection from address: sends the version line. False when the club is full or the
  // address has too many connections: the member got a notice and is being closed (Disconnect
  // still follows).
  bool Connect(MemberId id, std::string_view address = {});
  // One complete command of a member.
  void Receive(MemberId id, std::string_view command);
  // A command of the member was longer than the limit: notice, nothing else changes.
  void RefuseTooLong(MemberId id);
  // A command of the member was broken (a bid or answer count that does not fit): notice.
  void RefuseMalformed(MemberId id);
  // The connection ended (either side closed it); why goes to the log when given.
  void Disconnect(MemberId id, std::string_view why = {});
  // The member's queue broke the server's budget (why, for the log): notice, closing line, close.
  void NotReading(MemberId id, std::string_view why);

  // Sends the lobby lines that are due. The server calls it at the end of every turn of its loop.
  void Flush();
  // When Flush has something to send next, if anything waits.
  std::optional<SteadyTime> NextDue() const;

  // Marks every room with a human in it as visited now, so a room in use for days is not taken for
  // an idle one at the next start. The server calls it every hour and when it stops.
  void TouchOccupiedRooms();

  // Keeps seat 1..4 of room for the nickname for the grace period from now: a robot plays it, and
  // only that nickname may take it back ("S" + seat).
  void HoldSeat(Room& room, int seat, std::string_view nickname) override;

  // What the deal engine asks of the club (DealClub).
  const Member* Find(MemberId id) const override;
  Room* FindRoom(std::int64_t storeId) override;
  void SetPlayed(Room& room, std::int32_t played) override;
  void RobotTakesSeat(Room& room, int seat) override;
  void StandUp(Room& room, int seat) override;

  // Read-only views for the server's log and for tests.
  std::size_t Connections() const { return members_.size(); }
  std::size_t Online() const { return online_.size(); }
  // Room slots, the lobby and freed rooms included: the room count of the "I" line.
  std::size_t RoomCount() const { return rooms_.size(); }
  // Rooms in use besides the lobby.
  std::size_t LiveRooms() const { return rooms_.size() - 1 - goneRooms_; }
  const Room& RoomAt(std::size_t index) const { return rooms_.at(index); }

 private:
  Member* Get(MemberId id);
  Member* FindOnline(std::string_view nickname);
  void Notice(Member& m, std::string_view text, std::string_view detail = {});
  void Refuse(Member& m, std::string_view why, std::string_view text, std::string_view detail = {});
  // Takes a token for something the member sent; an empty bucket closes the member. False then.
  bool Charge(Member& m);
  // Routes a command by proto::kCommandCodes (the table is checked while compiling).
  void Dispatch(Member& m, std::string_view command);
  // Writes a line about the member to the log, at most kLoggedRefusalsPerMinute a minute.
  void LogLimited(Member& m, const std::string& line);
  void EndLogMinute(Member& m);
  void CloseLateLogins(SteadyTime now);
  void CloseIdleMembers(SteadyTime now);
  // Connection, login and close lines: at most Addresses::kLoggedPerMinute an address a minute.
  void LogAddress(const Member& m, const std::string& line);
  // Refuses a new connection: notice, close, nothing counted.
  bool RefuseConnect(Member& m, std::string_view why, std::string_view text);

  // Login and the lobby (Club.cpp).
  void Login(Member& m, std::string_view nickname);
  // A claimed nickname's proof came or none was needed (ClubClaimGate.cpp): on to the takeover or
  // the login.
  void Admit(Member& m, std::string_view nickname);
  void RefuseNickname(Member& m, std::string_view nickname);
  // The one place a login is accepted: the nickname is free (a silent connection under it has
  // been replaced); the member enters the lobby.
  void AcceptLogin(Member& m, std::string_view nickname);
  // A login under the nickname of a member online (ClubContinuity.cpp): the old connection is
  // probed and replaced only when it stays silent.
  void StartTakeover(Member& newcomer, Member& old, std::string_view nickname);
  void SettleTakeovers(SteadyTime now);
  void LobbyChanged();
  void ArriveInLobby(Member& m);
  void SendLobbyLines(SteadyTime now);
  // The lobby line as it stands (built again only after a change).
  const SharedLine& LobbyLine();

  // Claimed nicknames (ClubClaimGate.cpp). A login challenged for its nickname waits for the proof.
  // False when the login waits for a proof (or was refused); true: admit it now.
  bool PassClaimGate(Member& m, std::string_view nickname);
  void Challenge(Member& m, std::string_view nickname, bool free);
  void ClaimCommand(Member& m, std::string_view command);
  void RefuseClaim(Member& m, std::string_view why, std::string_view text);
  void CloseUnproven(SteadyTime now);

  // Rooms and seats (ClubRooms.cpp).
  void CreateRoom(Member& m, std::string_view name);
  void Enter(Member& m, std::string_view command);
  void LeaveRoom(Member& m);
  void Sit(Member& m, std::string_view command);
  void Watch(Member& m, std::string_view command);
  void SetOption(Member& m, std::string_view command);
  void OrderDeal(Member& m, std::string_view command);
  void SendRoom(Room& room);
  // The room's picture to one member; false when the same picture is still on its way to him.
  bool SendRoomTo(Room& room, Member& m);
  bool SendPicture(Member& m, const SharedLine& line);
  // Whether the member's stream has not been written up to end yet.
  bool Unwritten(const Member& m, std::uint64_t end) const;
  SharedLine RoomLine(const Room& room) const;
  void Touch(Room& room, bool always = false);
  void FreeIdleRooms(SteadyTime now);
  std::size_t SlotForNewRoom() const;
  Room* RoomOf(Member& m);

  // Chat, news and introductions (ClubRelay.cpp).
  void Chat(Member& m, std::string_view text);
  // Whether a chat line may go to the member now; the first line dropped brings a notice.
  bool ChatReaches(Member& to);
  void News(Member& m);
  void Inquiry(Member& m, std::string_view command);
  void Answer(Member& m, std::string_view command);
  void Records(Member& m, std::string_view command);
  void Reads(Member& m, std::string_view command);
  // Before a close the server means: the reason, to a member that reads it.
  void Closing(Member& m, proto::TCloseReason why);

  RoomStore& store_;
  Outbox& out_;
  NowFn now_;
  ClubLimits limits_;
  std::vector<std::string> news_;
  NoDeals noDeals_;
  DealSeam* deals_;

  std::map<MemberId, Member> members_;                // by id: connection order
  std::unordered_map<std::string, MemberId> online_;  // folded nickname -> member
  std::vector<Room> rooms_;                           // [0] is the lobby

  LobbyPacer lobby_;

  Addresses addresses_;
  std::size_t admitted_ = 0;  // connections holding a place in the club
  SteadyTime nextIdleSweep_{};
  std::deque<std::pair<SteadyTime, MemberId>> loginDeadlines_;  // in connection order
  RoomQuota roomQuota_;
  std::size_t goneRooms_ = 0;
  SteadyTime nextRoomSweep_{};
  Takeovers takeovers_;
  ClaimGate claims_;
};

}  // namespace zn::server
