// Reading what the other side built: every server line and every client command, beside the
// builders of link/Protocol.cpp. No reader throws; each says where it stopped.
#include <algorithm>

#include "game/Tokenizer.h"
#include "game/ZnError.h"
#include "link/Protocol.h"

namespace zn::proto {

namespace {

// The text after the code letter.
std::string_view AfterCode(std::string_view text) { return text.substr(text.empty() ? 0 : 1); }

// The next token as an integer; false (and the stop at field) when it is none.
bool Int(std::string_view& rest, std::int32_t& value, TReadStop& stop, int field) {
  const std::string_view token = CutWord(rest);
  if (TryStrToInt(token, value)) return true;
  stop = {NotAnInteger(token), field};
  return false;
}

// What was read goes into out, then the conversion error, if any, is raised.
template <class T>
void Keep(TRead<T> read, T& out) {
  out = std::move(read.value);
  read.stop.Raise();
}

}  // namespace

void TReadStop::Raise() const {
  if (Failed()) throw EZnError(error);
}

// ---- Server lines -------------------------------------------------------------------------------

bool ParseOption(std::string_view line) { return line.size() >= 2 && line[1] == '1'; }

std::int32_t ParseDeal(std::string_view line) { return StrToInt(AfterCode(line).substr(0, kDealDigits)); }

std::string_view ReadText(std::string_view line) { return AfterCode(line); }

TRead<TLobby> ReadLobby(std::string_view line) {
  TRead<TLobby> r;
  line = AfterCode(line);
  // Counts only bound the loops; the line's own length bounds the work and the memory.
  std::int32_t roomCount = 0;
  if (!Int(line, roomCount, r.stop, 0)) return r;
  for (std::int32_t i = 0; i < roomCount && !line.empty(); ++i) r.value.rooms.emplace_back(CutWord(line));
  std::int32_t memberCount = 0;
  if (!Int(line, memberCount, r.stop, 1)) return r;
  for (std::int32_t i = 0; i < memberCount && !line.empty(); ++i) {
    std::int32_t room = 0;
    if (!Int(line, room, r.stop, 2)) return r;
    r.value.members.push_back({room, std::string(CutWord(line))});
  }
  return r;
}

void ParseLobbyInto(std::string_view line, TLobby& lobby) { Keep(ReadLobby(line), lobby); }

TLobby ParseLobby(std::string_view line) {
  TLobby lobby;
  ParseLobbyInto(line, lobby);
  return lobby;
}

TRead<TRoom> ReadRoom(std::string_view line) {
  TRead<TRoom> r;
  line = AfterCode(line);
  r.value.played = std::string(CutWord(line));
  while (!line.empty()) {
    std::int32_t seat = 0;
    if (!Int(line, seat, r.stop, 1)) return r;
    r.value.members.push_back({seat, std::string(CutWord(line))});
  }
  return r;
}

void ParseRoomInto(std::string_view line, TRoom& room) { Keep(ReadRoom(line), room); }

TRoom ParseRoom(std::string_view line) {
  TRoom room;
  ParseRoomInto(line, room);
  return room;
}

TRead<TBidding> ReadBidding(std::string_view line) {
  TRead<TBidding> r;
  std::string_view digit = line.substr(std::min<std::size_t>(1, line.size()), 1);
  if (!Int(digit, r.value.dealer, r.stop, 0)) return r;
  std::string_view rest = line.substr(std::min<std::size_t>(2, line.size()));
  while (!rest.empty()) {
    TBidBlock& block = r.value.blocks.emplace_back();
    block.nickname = std::string(CutWord(rest));
    std::int32_t count = 0;
    if (!Int(rest, count, r.stop, 1)) return r;
    for (std::int32_t i = 0; i < count && !rest.empty(); ++i) block.bids.emplace_back(CutWord(rest));
  }
  return r;
}

TRead<THandLine> ReadHand(std::string_view line) {
  TRead<THandLine> r;
  std::string_view rest = AfterCode(line);
  if (!Int(rest, r.value.seat, r.stop, 0)) return r;
  for (std::size_t i = 0; i < kHandCards && !rest.empty(); ++i) {
    std::int32_t card = 0;
    if (!Int(rest, card, r.stop, 1)) return r;
    r.value.cards.push_back(card);
  }
  return r;
}

TRead<TPlayLine> ReadPlay(std::string_view line) {
  TRead<TPlayLine> r;
  std::string_view rest = AfterCode(line);
  if (!Int(rest, r.value.seat, r.stop, 0) || !Int(rest, r.value.trick, r.stop, 1)) return r;
  r.value.taken = std::string(CutWord(rest));
  for (int seat = 1; seat <= kSeats; ++seat) {
    std::int32_t card = 0;
    if (!Int(rest, card, r.stop, 2)) return r;
    r.value.cards.push_back(card);
  }
  return r;
}

TRead<TScore> ReadScore(std::string_view line) {
  TRead<TScore> r;
  r.value.pair = line.size() >= 2 && line[1] == '1' ? 1 : 2;
  std::string_view rest = line.substr(std::min<std::size_t>(3, line.size()));
  while (!rest.empty()) {
    const std::string_view label = CutWord(rest);
    std::int32_t points = 0;
    if (!Int(rest, points, r.stop, 1)) return r;
    r.value.items.push_back({std::string(label), points});
  }
  return r;
}

std::string ReadRecord(std::string_view line) {
  std::string block(AfterCode(line));
  std::replace(block.begin(), block.end(), kRecordLineEnd, '\n');
  return block;
}

TResultText ReadResult(std::string_view line) {
  std::string_view rest = AfterCode(line);
  TResultText result;
  result.ours = std::string(CutToken(rest, ':'));
  result.theirs = std::string(CutWord(rest));
  return result;
}

TRead<TAnswer> ReadAnswer(std::string_view line) {
  TRead<TAnswer> r;
  r.value.asker = std::string(AfterCode(CutWord(line)));
  r.value.nickname = std::string(CutWord(line));
  std::array<std::int32_t, 4> lengths{};
  for (std::int32_t& n : lengths)
    if (!Int(line, n, r.stop, 0)) return r;
  for (std::size_t i = 0; i < lengths.size(); ++i) {
    const std::size_t n = lengths[i] > 0 ? static_cast<std::size_t>(lengths[i]) : 0;
    const std::size_t take = std::min(n, line.size());
    r.value.texts[i] = std::string(line.substr(0, take));
    line.remove_prefix(take);
  }
  return r;
}

TAnswer ParseAnswer(std::string_view line) {
  TRead<TAnswer> r = ReadAnswer(line);
  r.stop.Raise();
  return std::move(r.value);
}

TInquiry ReadInquiry(std::string_view text) {
  std::string_view rest = AfterCode(text);
  TInquiry inquiry;
  inquiry.asker = std::string(CutWord(rest));
  inquiry.chosen = std::string(rest);
  return inquiry;
}

std::optional<claim::TChallenge> ReadChallenge(std::string_view line) {
  const std::string_view hex = AfterCode(line);
  constexpr std::size_t kNonceHex = 2 * claim::kNonceBytes;
  claim::TChallenge c;
  if (hex.size() != kNonceHex + 2 * claim::kClubIdBytes ||
      !claim::FromHex(hex.substr(0, kNonceHex), c.nonce.data(), c.nonce.size()) ||
      !claim::FromHex(hex.substr(kNonceHex), c.club.data(), c.club.size()))
    return std::nullopt;
  return c;
}

// ---- Client commands ----------------------------------------------------------------------------

std::optional<claim::TProof> ReadCmdProof(std::string_view command) {
  const std::string_view hex = AfterCode(command);
  claim::TProof proof;
  constexpr std::size_t kKeyHex = 2 * claim::kKeyBytes;
  if (hex.size() != kProofHex ||
      !claim::FromHex(hex.substr(0, kKeyHex), proof.key.data(), proof.key.size()) ||
      !claim::FromHex(hex.substr(kKeyHex), proof.signature.data(), proof.signature.size()))
    return std::nullopt;
  return proof;
}

std::optional<std::int32_t> ReadCmdNumber(std::string_view command) {
  std::int32_t value = 0;
  if (!TryStrToInt(AfterCode(command), value)) return std::nullopt;
  return value;
}

TBidCommand ReadCmdBids(std::string_view command) {
  std::string_view rest = AfterCode(command);
  TBidCommand read;
  read.block.nickname = std::string(CutWord(rest));
  read.count = std::string(CutWord(rest));
  while (!rest.empty()) read.block.bids.emplace_back(CutWord(rest));
  std::int32_t count = -1;
  read.counted = TryStrToInt(read.count, count) && count >= 0 &&
                 static_cast<std::size_t>(count) == read.block.bids.size();
  return read;
}

std::optional<TPoints> ReadCmdResult(std::string_view command) {
  std::string_view rest = AfterCode(command);
  TPoints points;
  if (!TryStrToInt(CutToken(rest, ':'), points.ours) || !TryStrToInt(rest, points.theirs))
    return std::nullopt;
  return points;
}

}  // namespace zn::proto
