#include "link/Protocol.h"

#include <algorithm>

#include "game/Tokenizer.h"

namespace zn::proto {

const std::array<TLineCode, 15> kLineCodes = {{
    {'A', TLineRole::RoomOption, "room option"},
    {'B', TLineRole::Bidding, "bidding so far"},
    {'D', TLineRole::Deal, "new deal number"},
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
    {'W', TLineRole::Profile, "an introduction"},
    {'X', TLineRole::Score, "score items of a pair"},
}};

const std::array<TCommandCode, 17> kCommandCodes = {{
    {'N', TCommandShape::Rest, "log in under a nickname"},
    {'M', TCommandShape::Rest, "chat line"},
    {'G', TCommandShape::Bare, "ping"},
    {'L', TCommandShape::Bare, "club news"},
    {'R', TCommandShape::Rest, "create a room"},
    {'E', TCommandShape::SignedNumber, "enter a room (0: the lobby)"},
    {'S', TCommandShape::SignedNumber, "sit, stand up or place a robot"},
    {'H', TCommandShape::SignedNumber, "ask for hands"},
    {'A', TCommandShape::SignedNumber, "switch the room option"},
    {'D', TCommandShape::SignedNumber, "order a deal"},
    {'K', TCommandShape::SignedNumber, "start or stop watching"},
    {'B', TCommandShape::Bids, "bids of one turn"},
    {'P', TCommandShape::SignedNumber, "play a card"},
    {'T', TCommandShape::Bare, "go on after a trick"},
    {'F', TCommandShape::Result, "write down the result"},
    {'Q', TCommandShape::Rest, "ask for an introduction"},
    {'W', TCommandShape::Answer, "answer an introduction request"},
}};

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

std::string Relayable(std::string_view text) {
  std::string s(text);
  std::replace(s.begin(), s.end(), '#', '?');
  return s;
}

// ---- Reading server lines -----------------------------------------------------------------------

bool ParseOption(std::string_view line) { return line.size() >= 2 && line[1] == '1'; }

std::int32_t ParseDeal(std::string_view line) {
  if (!line.empty()) line.remove_prefix(1);
  return StrToInt(line.substr(0, kDealDigits));
}

void ParseLobbyInto(std::string_view line, TLobby& lobby) {
  lobby.rooms.clear();
  lobby.members.clear();
  if (!line.empty()) line.remove_prefix(1);
  // Counts only bound the loops; the line's own length bounds the work and the memory.
  const std::int32_t roomCount = CutInt(line);
  for (std::int32_t i = 0; i < roomCount && !line.empty(); ++i) lobby.rooms.emplace_back(CutWord(line));
  const std::int32_t memberCount = CutInt(line);
  for (std::int32_t i = 0; i < memberCount && !line.empty(); ++i) {
    const std::int32_t room = CutInt(line);
    lobby.members.push_back({room, std::string(CutWord(line))});
  }
}

TLobby ParseLobby(std::string_view line) {
  TLobby lobby;
  ParseLobbyInto(line, lobby);
  return lobby;
}

void ParseRoomInto(std::string_view line, TRoom& room) {
  room.played.clear();
  room.members.clear();
  if (!line.empty()) line.remove_prefix(1);
  room.played = std::string(CutWord(line));
  while (!line.empty()) {
    const std::int32_t seat = CutInt(line);
    room.members.push_back({seat, std::string(CutWord(line))});
  }
}

TRoom ParseRoom(std::string_view line) {
  TRoom room;
  ParseRoomInto(line, room);
  return room;
}

TAnswer ParseAnswer(std::string_view line) {
  TAnswer answer;
  std::string_view first = CutWord(line);
  if (!first.empty()) first.remove_prefix(1);
  answer.asker = std::string(first);
  answer.nickname = std::string(CutWord(line));
  std::array<std::int32_t, 4> lengths{};
  for (std::int32_t& n : lengths) n = CutInt(line);
  for (std::size_t i = 0; i < lengths.size(); ++i) {
    const std::size_t n = lengths[i] > 0 ? static_cast<std::size_t>(lengths[i]) : 0;
    const std::size_t take = std::min(n, line.size());
    answer.texts[i] = std::string(line.substr(0, take));
    line.remove_prefix(take);
  }
  return answer;
}

// ---- Splitting client commands ------------------------------------------------------------------

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A reader over the buffer that never steps past its end.
struct TScan {
  std::string_view buf;
  std::size_t pos = 0;

  bool AtEnd() const { return pos >= buf.size(); }
  char Peek() const { return buf[pos]; }
  void SkipSign() {
    if (!AtEnd() && (Peek() == '-' || Peek() == '+')) ++pos;
  }
  void SkipDigits() {
    while (!AtEnd() && IsDigit(Peek())) ++pos;
  }
  // Digits as a count; false when there are none or the value passes limit (it stops adding there,
  // so no count overflows).
  bool ReadCount(std::size_t limit, std::size_t& value) {
    const std::size_t start = pos;
    value = 0;
    bool within = true;
    for (; !AtEnd() && IsDigit(Peek()); ++pos) {
      if (within) value = value * 10 + static_cast<std::size_t>(Peek() - '0');
      if (value > limit) within = false;
    }
    return pos > start && within;
  }
  // Skips to the next space (or the end); true when a space follows.
  bool SkipToken() {
    const std::size_t space = buf.find(' ', pos);
    pos = space == std::string_view::npos ? buf.size() : space;
    return space != std::string_view::npos;
  }
};

TCommandSpan Done(std::size_t length) { return {TCommandCut::Complete, length}; }
TCommandSpan Wait() { return {TCommandCut::Incomplete, 0}; }
TCommandSpan Broken(std::string_view buffer) { return {TCommandCut::Malformed, buffer.size()}; }

TCommandSpan MeasureResult(std::string_view buffer) {
  TScan s{buffer, 1};
  s.SkipSign();
  s.SkipDigits();
  if (s.AtEnd()) return Wait();
  if (s.Peek() != ':') return Broken(buffer);
  ++s.pos;
  s.SkipSign();
  s.SkipDigits();
  return Done(s.pos);
}

// "B" nickname " " count, then count times " " bid.
TCommandSpan MeasureBids(std::string_view buffer) {
  TScan s{buffer, 1};
  if (!s.SkipToken()) return Wait();
  ++s.pos;
  if (s.AtEnd()) return Wait();
  std::size_t count = 0;
  if (!s.ReadCount(kMaxCommandLength / 2, count)) return Broken(buffer);
  for (std::size_t i = 0; i < count; ++i) {
    if (s.AtEnd()) return Wait();
    if (s.Peek() != ' ') return Broken(buffer);
    const std::size_t start = ++s.pos;
    if (s.AtEnd()) return Wait();
    s.SkipToken();
    if (s.pos == start) return Broken(buffer);  // an empty bid
  }
  return Done(s.pos);
}

// "W" asker " " nickname " " a " " b " " c " " d " " then a+b+c+d bytes.
TCommandSpan MeasureAnswer(std::string_view buffer) {
  TScan s{buffer, 1};
  for (int token = 0; token < 2; ++token) {
    if (!s.SkipToken()) return Wait();
    ++s.pos;
  }
  std::size_t total = 0;
  for (int i = 0; i < 4; ++i) {
    if (s.AtEnd()) return Wait();
    std::size_t n = 0;
    if (!s.ReadCount(kMaxCommandLength, n)) return Broken(buffer);
    total += n;  // four values of at most kMaxCommandLength each: no overflow
    if (total > kMaxCommandLength) return Broken(buffer);
    if (s.AtEnd()) return Wait();
    if (s.Peek() != ' ') return Broken(buffer);
    ++s.pos;
  }
  if (buffer.size() - s.pos < total) return Wait();
  return Done(s.pos + total);
}

}  // namespace

TCommandSpan MeasureCommand(std::string_view buffer) {
  if (buffer.empty()) return Wait();
  TCommandShape shape;
  if (!ShapeOf(buffer.front(), shape)) return {TCommandCut::Unknown, buffer.size()};
  switch (shape) {
    case TCommandShape::Bare:
      return Done(1);
    case TCommandShape::SignedNumber: {
      TScan s{buffer, 1};
      s.SkipSign();
      s.SkipDigits();
      return Done(s.pos);
    }
    case TCommandShape::Result:
      return MeasureResult(buffer);
    case TCommandShape::Bids:
      return MeasureBids(buffer);
    case TCommandShape::Answer:
      return MeasureAnswer(buffer);
    case TCommandShape::Rest:
      return Done(buffer.size());
  }
  return Broken(buffer);
}

std::size_t CommandLength(std::string_view buffer, bool& complete) {
  const TCommandSpan span = MeasureCommand(buffer);
  complete = span.cut == TCommandCut::Complete;
  return span.length;
}

}  // namespace zn::proto
