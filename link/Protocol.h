// The club protocol: every line code the server sends (with the role that handles it), every command
// the client sends, and the shapes both sides rely on. Client windows, the server and the tests all
// build their lines here; nobody spells a command by hand. All texts are cp1250 bytes.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zn::proto {

// ---- Incoming lines (server to client) ---------------------------------------------------------

// Who handles a line, by its first character.
enum class TLineRole {
  RoomOption,  // A: the room option "&Igazítás" (club window, room page)
  Bidding,     // B: the bidding so far (bidding panel)
  Deal,        // D: the new deal's number (room page)
  Result,      // F: the written-down result (played-games list)
  Ping,        // G: answer to a ping (club window)
  Hand,        // H: a hand (card play view)
  Lobby,       // I: rooms and members (club window)
  Version,     // L: the server's version (club window)
  Message,     // M: chat or notice (club window)
  Play,        // P: the table after a card (card play view)
  Inquiry,     // Q: a request for the user's introduction (personal-data window)
  Room,        // R: the current room (room page)
  Turn,        // T: the user's turn to bid (bidding panel)
  Profile,     // W: an introduction (personal-data window)
  Score,       // X: the score items of one pair (score tab)
  Unknown,     // anything else: shown in a message box
};

struct TLineCode {
  char code;
  TLineRole role;
  const char* meaning;
};

// The fifteen codes, in alphabetical order.
extern const std::array<TLineCode, 15> kLineCodes;

// The role of a line by its first byte; Unknown for an empty line or any other byte.
TLineRole RoleOf(std::string_view line);

// ---- Outgoing commands (client to server) ------------------------------------------------------

// How far a command reaches in a stream where commands carry no terminator (the server splits
// joined commands by this shape).
enum class TCommandShape {
  Bare,          // G L T: the code alone
  SignedNumber,  // E S H K A D P: an optional "-" and digits
  Result,        // F: a signed number, ":", a signed number
  Bids,          // B: nickname, count, that many bids
  Answer,        // W: fields, four lengths, then that many bytes of text
  Rest,          // N M R Q: to the end of the read
};

struct TCommandCode {
  char code;
  TCommandShape shape;
  const char* meaning;
};

// The fifteen command codes the client sends.
extern const std::array<TCommandCode, 15> kCommandCodes;

// The shape of a command code; false when code is no command.
bool ShapeOf(char code, TCommandShape& shape);

std::string CmdNick(std::string_view nickname);             // "N" nickname
std::string CmdChat(std::string_view text);                 // "M" text
std::string CmdPing();                                      // "G"
std::string CmdNews();                                      // "L"
std::string CmdNewRoom(std::string_view name);              // "R" name
std::string CmdEnter(std::int32_t room);                    // "E" index ("E0" back to the lobby)
std::string CmdSit(std::int32_t seat);                      // "S" seat: 1..4 sit, 0 stand, -n robot on n
std::string CmdHand(std::int32_t seat);                     // "H" seat ("H0" while watching)
std::string CmdOption(bool on);                             // "A1" / "A0"
std::string CmdDeal(std::int32_t number);                   // "D" number (-1 replay, 0 new match)
std::string CmdDealTyped(std::string_view typed);           // "D" + the text as the user typed it
std::string CmdWatch(bool on);                              // "K1" / "K0"
std::string CmdBids(std::string_view nickname, const std::vector<std::string>& bids);  // "B" nick " " n (" " bid)*
std::string CmdPlay(std::int32_t card);                     // "P" card code
std::string CmdTrickDone();                                 // "T"
std::string CmdResult(std::string_view result);             // "F" result text ("a:b")
std::string CmdInquiry(std::string_view own, std::string_view chosen);  // "Q" own " " chosen
// "W" + the Q line without its "Q" + " " + the four byte lengths + " " + the four texts joined.
std::string CmdAnswer(std::string_view inquiryWithoutQ, const std::array<std::string, 4>& texts);

// ---- Server lines (built by the server, read by the client) ------------------------------------

struct TLobbyMember {
  std::int32_t room;
  std::string nickname;
};
struct TLobby {
  std::vector<std::string> rooms;  // rooms[0] is the lobby itself
  std::vector<TLobbyMember> members;
};
struct TRoomMember {
  std::int32_t seat;  // 1..4 seated; anything else: in the room without a seat
  std::string nickname;
};
struct TRoom {
  std::string played;  // the number of deals written down, as text
  std::vector<TRoomMember> members;
};

std::string LineVersion(std::string_view version);   // "L" version
std::string LineMessage(std::string_view text);      // "M" text
std::string LinePing();                              // "G"
std::string LineOption(bool on);                     // "A1" / "A0"
std::string LineDeal(std::int32_t number);           // "D" number
std::string LineTurn();                              // "T"
std::string LineLobby(const TLobby& lobby);          // "I" n rooms m (index name)*
std::string LineRoom(const TRoom& room);             // "R" played (seat name)*

}  // namespace zn::proto
