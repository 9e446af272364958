#include "link/Protocol.h"

#include <algorithm>

#include "game/Tokenizer.h"

namespace zn::proto {

const std::array<TLineCode, 20> kLineCodes = {{
    {'A', TLineRole::RoomOption, "room option"},
    {'B', TLineRole::Bidding, "bidding so far"},
    {'C', TLineRole::Closing, "the server ends the connection, and why"},
    {'D', TLineRole::Deal, "new deal number"},
    {'E', TLineRole::CaughtUp, "the end of a catch-up"},
    {'F', TLineRole::Result, "written-down result"},
    {'G', TLineRole::Ping, "answer to a ping"},
    {'H', TLineRole::Hand, "a hand"},
    {'I', TLineRole::Lobby, "rooms and members"},
    {'L', TLineRole::Version, "server version"},
    {'M', TLineRole::Message, "chat or notice"},
    {'P', TLineRole::Play, "table after a card"},
    {'Q', TLineRole::Inquiry, "introduction request"},
    {'R', TLineRole::Room, "current room"},
    {'T', TLineRole::Turn, "turn to bid"},
    {'V', TLineRole::Reads, "the newer lines the server sends"},
    {'W', TLineRole::Profile, "an introduction"},
    {'X', TLineRole::Score, "score items of a pair"},
    {'Y', TLineRole::Challenge, "nonce to sign for a claimed nickname"},
    {'Z', TLineRole::Record, "the record of a deal that ended"},
}};

// Every command has its row, in the order of TCommand, so a command's row is found by its value.
constexpr bool CommandRowsInOrder() {
  for (std::size_t i = 0; i < kCommandCodes.size(); ++i)
    if (static_cast<std::size_t>(kCommandCodes[i].command) != i) return false;
  return true;
}
static_assert(CommandRowsInOrder(), "kCommandCodes: one row per TCommand, in the enum's order");

namespace {

// Byte-indexed lookups built from the two tables: -1 for a byte that is no code.
template <class Table>
constexpr std::array<signed char, 256> IndexOf(const Table& table) {
  std::array<signed char, 256> index{};
  index.fill(-1);
  for (std::size_t i = 0; i < table.size(); ++i)
    index[static_cast<unsigned char>(table[i].code)] = static_cast<signed char>(i);
  return index;
}

const std::array<signed char, 256> kLineIndex = IndexOf(kLineCodes);
const std::array<signed char, 256> kCommandIndex = IndexOf(kCommandCodes);

std::string Number(std::int64_t n) { return std::to_string(n); }

// The code letter followed by a decimal number ("E12", "S-3").
std::string Coded(char code, std::int64_t n) {
  std::string s(1, code);
  s += std::to_string(n);
  return s;
}

std::string Join(char code, std::string_view payload) {
  std::string s;
  s.reserve(payload.size() + 1);
  s += code;
  s += payload;
  return s;
}

}  // namespace

TLineRole RoleOf(std::string_view line) {
  if (line.empty()) return TLineRole::Unknown;
  const int i = kLineIndex[static_cast<unsigned char>(line.front())];
  return i < 0 ? TLineRole::Unknown : kLineCodes[static_cast<std::size_t>(i)].role;
}

bool ShapeOf(char code, TCommandShape& shape) {
  const int i = kCommandIndex[static_cast<unsigned char>(code)];
  if (i < 0) return false;
  shape = kCommandCodes[static_cast<std::size_t>(i)].shape;
  return true;
}

bool CommandOf(char code, TCommand& command) {
  const int i = kCommandIndex[static_cast<unsigned char>(code)];
  if (i < 0) return false;
  command = kCommandCodes[static_cast<std::size_t>(i)].command;
  return true;
}

// ---- Client commands ----------------------------------------------------------------------------

std::string CmdNick(std::string_view nickname) { return Join('N', nickname); }
std::string CmdChat(std::string_view text) { return Join('M', text); }
std::string CmdPing() { return "G"; }
std::string CmdNews() { return "L"; }
std::string CmdNewRoom(std::string_view name) { return Join('R', name); }
std::string CmdEnter(std::int32_t room) { return Coded('E', room); }
std::string CmdSit(std::int32_t seat) { return Coded('S', seat); }
std::string CmdHand(std::int32_t seat) { return Coded('H', seat); }
std::string CmdOption(bool on) { return on ? "A1" : "A0"; }
std::string CmdDeal(std::int32_t number) { return Coded('D', number); }
std::string CmdDealTyped(std::string_view typed) { return Join('D', typed); }
std::string CmdWatch(bool on) { return on ? "K1" : "K0"; }

std::string CmdBids(std::string_view nickname, const std::vector<std::string>& bids) {
  std::string s = Join('B', nickname);
  s += ' ';
  s += Number(static_cast<std::int64_t>(bids.size()));
  for (const std::string& bid : bids) {
    s += ' ';
    s += bid;
  }
  return s;
}

std::string CmdPlay(std::int32_t card) { return Coded('P', card); }
std::string CmdTrickDone() { return "T"; }
std::string CmdResult(std::string_view result) { return Join('F', result); }

std::string CmdInquiry(std::string_view own, std::string_view chosen) {
  std::string s = Join('Q', own);
  s += ' ';
  s += chosen;
  return s;
}

std::string CmdClaimRequest() { return "Y"; }

std::string CmdProof(const claim::TProof& proof) {
  return "Y" + claim::ToHex(proof.key.data(), proof.key.size()) +
         claim::ToHex(proof.signature.data(), proof.signature.size());
}

std::string CmdAnswer(std::string_view inquiryWithoutQ, const std::array<std::string, 4>& texts) {
  std::string s = Join('W', inquiryWithoutQ);
  for (const std::string& t : texts) {
    s += ' ';
    s += Number(static_cast<std::int64_t>(t.size()));
  }
  s += ' ';
  for (const std::string& t : texts) s += t;
  return s;
}

// ---- Server lines -------------------------------------------------------------------------------

std::string LineVersion(std::string_view version) { return Join('L', version); }
std::string LineMessage(std::string_view text) { return Join('M', text); }
std::string LinePing() { return "G"; }
std::string LineOption(bool on) { return on ? "A1" : "A0"; }
std::string LineDeal(std::int32_t number) { return Coded('D', number); }
std::string LineTurn() { return "T"; }

std::string LineLobby(const TLobby& lobby) {
  std::string s = Coded('I', static_cast<std::int64_t>(lobby.rooms.size()));
  for (const std::string& room : lobby.rooms) {
    s += ' ';
    s += room;
  }
  s += ' ';
  s += Number(static_cast<std::int64_t>(lobby.members.size()));
  for (const TLobbyMember& m : lobby.members) {
    s += ' ';
    s += Number(m.room);
    s += ' ';
    s += m.nickname;
  }
  return s;
}

std::string LineChallenge(const claim::TChallenge& challenge) {
  return "Y" + claim::ToHex(challenge.nonce.data(), challenge.nonce.size()) +
         claim::ToHex(challenge.club.data(), challenge.club.size());
}

std::string LineRoom(const TRoom& room) {
  std::string s = Join('R', room.played);
  for (const TRoomMember& m : room.members) {
    s += ' ';
    s += Number(m.seat);
    s += ' ';
    s += m.nickname;
  }
  return s;
}

std::string LineBidding(std::int32_t dealer, const std::vector<TBidBlock>& blocks) {
  std::string s = Coded('B', dealer);
  bool first = true;
  for (const TBidBlock& b : blocks) {
    if (!first) s += ' ';
    first = false;
    s += b.nickname;
    s += ' ';
    s += Number(static_cast<std::int64_t>(b.bids.size()));
    for (const std::string& bid : b.bids) {
      s += ' ';
      s += bid;
    }
  }
  return s;
}

std::string LineHand(std::int32_t seat, const std::vector<std::int32_t>& cards) {
  std::string s = Coded('H', seat);
  for (std::int32_t c : cards) {
    s += ' ';
    s += Number(c);
  }
  return s;
}

std::string LinePlay(std::int32_t seat, std::int32_t trick, std::int32_t taken,
                     const std::array<std::int32_t, 4>& table) {
  std::string s = Coded('P', seat) + ' ' + Number(trick) + ' ' + Number(taken);
  for (std::int32_t c : table) {
    s += ' ';
    s += Number(c);
  }
  return s;
}

std::string LineScore(std::int32_t pair, const std::vector<TScoreItem>& items) {
  std::string s = Coded('X', pair) + ' ';
  bool first = true;
  for (const TScoreItem& item : items) {
    if (!first) s += ' ';
    first = false;
    s += item.label;
    s += ' ';
    s += Number(item.points);
  }
  return s;
}

std::string LineResult(std::int32_t ours, std::int32_t theirs) {
  return Coded('F', ours) + ':' + Number(theirs);
}

std::string LineRecord(std::string_view block) {
  std::string s = Join('Z', block);
  std::replace(s.begin(), s.end(), '\n', kRecordLineEnd);
  std::replace(s.begin(), s.end(), '#', '?');  // never in a record; a line must stay whole
  return s;
}

std::string CmdRecords(bool on) { return on ? "Z1" : "Z0"; }
std::string CmdReads(std::uint32_t bits) { return "V" + Number(bits); }
std::string LineClosing(TCloseReason why) { return "C" + Number(static_cast<std::int32_t>(why)); }
std::string LineCaughtUp() { return "E"; }
std::string LineReads(std::uint32_t bits) { return "V" + Number(bits); }

std::string Relayable(std::string_view text) {
  std::string s(text);
  std::replace(s.begin(), s.end(), '#', '?');
  return s;
}

}  // namespace zn::proto
