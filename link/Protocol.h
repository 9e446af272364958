// The club protocol: every line code the server sends (with the role that handles it), every command
// the client sends, and the shapes both sides rely on. Client windows, the server and the tests all
// build their lines here; nobody spells a command by hand. All texts are cp1250 bytes.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "game/Seats.h"
#include "link/ClaimProof.h"

namespace zn::proto {

// The protocol version this client speaks: the server's "L" line names its own, and the about box
// shows this one.
inline constexpr std::string_view kVersion = "0.99";

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
  Challenge,   // Y: a nonce and the club's identity to sign for the nickname's claim (club window)
  Record,      // Z: the record of a deal that ended (the archive)
  Closing,     // C: the server ends the connection, and why (only to clients that read it)
  CaughtUp,    // E: the deal so far has been sent to a member back at the table (the same)
  Reads,       // V: which of those lines the server sends this connection (answer to "V")
  Unknown,     // anything else: shown in a message box (always the last role)
};
inline constexpr std::size_t kLineRoles = static_cast<std::size_t>(TLineRole::Unknown) + 1;

struct TLineCode {
  char code;
  TLineRole role;
  const char* meaning;
};

// The twenty codes, in alphabetical order.
extern const std::array<TLineCode, 20> kLineCodes;

// The role of a line by its first byte; Unknown for an empty line or any other byte.
TLineRole RoleOf(std::string_view line);

// ---- Outgoing commands (client to server) ------------------------------------------------------

// How far a command reaches in a stream where commands carry no terminator (the server splits
// joined commands by this shape).
enum class TCommandShape {
  Bare,          // G L T: the code alone
  SignedNumber,  // E S H K A D P Z: an optional sign and digits ("D" + typed text may carry "+")
  Result,        // F: a signed number, ":", a signed number
  Bids,          // B: nickname, count, that many bids
  Answer,        // W: fields, four lengths, then that many bytes of text
  Proof,         // Y: nothing (a request) or exactly kProofHex lower-case hex digits
  Rest,          // N M R Q: to the end of the read
};

// What a command asks for; the server routes each one by it (server/base/CommandRoutes.h checks at compile
// time that every command has exactly one route).
enum class TCommand {
  Nick,       // N
  Chat,       // M
  Ping,       // G
  News,       // L
  NewRoom,    // R
  Enter,      // E
  Sit,        // S
  Hand,       // H
  Option,     // A
  Deal,       // D
  Watch,      // K
  Bids,       // B
  Play,       // P
  TrickDone,  // T
  Result,     // F
  Inquiry,    // Q
  Claim,      // Y
  Answer,     // W
  Records,    // Z
  Reads,      // V: the lines beyond the old set this client reads (always the last command)
};
inline constexpr std::size_t kCommands = static_cast<std::size_t>(TCommand::Reads) + 1;

struct TCommandCode {
  char code;
  TCommand command;
  TCommandShape shape;
  const char* meaning;
};

// The eighteen command codes the client sends, one row for each TCommand.
inline constexpr std::array<TCommandCode, kCommands> kCommandCodes = {{
    {'N', TCommand::Nick, TCommandShape::Rest, "log in under a nickname"},
    {'M', TCommand::Chat, TCommandShape::Rest, "chat line"},
    {'G', TCommand::Ping, TCommandShape::Bare, "ping"},
    {'L', TCommand::News, TCommandShape::Bare, "club news"},
    {'R', TCommand::NewRoom, TCommandShape::Rest, "create a room"},
    {'E', TCommand::Enter, TCommandShape::SignedNumber, "enter a room (0: the lobby)"},
    {'S', TCommand::Sit, TCommandShape::SignedNumber, "sit, stand up or place a robot"},
    {'H', TCommand::Hand, TCommandShape::SignedNumber, "ask for hands"},
    {'A', TCommand::Option, TCommandShape::SignedNumber, "switch the room option"},
    {'D', TCommand::Deal, TCommandShape::SignedNumber, "order a deal"},
    {'K', TCommand::Watch, TCommandShape::SignedNumber, "start or stop watching"},
    {'B', TCommand::Bids, TCommandShape::Bids, "bids of one turn"},
    {'P', TCommand::Play, TCommandShape::SignedNumber, "play a card"},
    {'T', TCommand::TrickDone, TCommandShape::Bare, "go on after a trick"},
    {'F', TCommand::Result, TCommandShape::Result, "write down the result"},
    {'Q', TCommand::Inquiry, TCommandShape::Rest, "ask for an introduction"},
    {'Y', TCommand::Claim, TCommandShape::Proof, "ask for a claim challenge, or answer one"},
    {'W', TCommand::Answer, TCommandShape::Answer, "answer an introduction request"},
    {'Z', TCommand::Records, TCommandShape::SignedNumber, "send (1) or not (0) the record of every deal"},
    {'V', TCommand::Reads, TCommandShape::SignedNumber, "the newer lines this client reads (bits)"},
}};

// The longest chat text (after "M") the server relays; the client's message box holds no more.
inline constexpr std::size_t kMaxChatBytes = 400;

// The shape of a command code; false when code is no command.
bool ShapeOf(char code, TCommandShape& shape);
// What a command code asks for; false when code is no command.
bool CommandOf(char code, TCommand& command);

std::string CmdNick(std::string_view nickname);    // "N" nickname
std::string CmdChat(std::string_view text);        // "M" text
std::string CmdPing();                             // "G"
std::string CmdNews();                             // "L"
std::string CmdNewRoom(std::string_view name);     // "R" name
std::string CmdEnter(std::int32_t room);           // "E" index ("E0" back to the lobby)
std::string CmdSit(std::int32_t seat);             // "S" seat: 1..4 sit, 0 stand, -n robot on n
std::string CmdHand(std::int32_t seat);            // "H" seat ("H0" while watching)
std::string CmdOption(bool on);                    // "A1" / "A0"
std::string CmdDeal(std::int32_t number);          // "D" number (-1 replay, 0 new match)
std::string CmdDealTyped(std::string_view typed);  // "D" + the text as the user typed it
std::string CmdWatch(bool on);                     // "K1" / "K0"
std::string CmdBids(std::string_view nickname,
                    const std::vector<std::string>& bids);              // "B" nick " " n (" " bid)*
std::string CmdPlay(std::int32_t card);                                 // "P" card code
std::string CmdTrickDone();                                             // "T"
std::string CmdResult(std::string_view result);                         // "F" result text ("a:b")
std::string CmdInquiry(std::string_view own, std::string_view chosen);  // "Q" own " " chosen
// "Y": asks for a challenge (a client whose login needed none, so its nickname gets claimed).
std::string CmdClaimRequest();
// "Y" + the public key and the signature in lower-case hex (kProofHex digits).
inline constexpr std::size_t kProofHex = 2 * (claim::kKeyBytes + claim::kSignatureBytes);
std::string CmdProof(const claim::TProof& proof);
// "W" + the Q line without its "Q" + " " + the four byte lengths + " " + the four texts joined.
std::string CmdAnswer(std::string_view inquiryWithoutQ, const std::array<std::string, 4>& texts);
std::string CmdRecords(bool on);  // "Z1" / "Z0"

// The newer lines a client reads, announced with "V" and a sum of bits before "N"; the server
// answers with a "V" line naming the bits it knows, and sends those lines from then on. A client
// that never announces gets none of them. One more line later is one more bit.
inline constexpr std::uint32_t kReadsClosing = 1;   // "C": why the server ends the connection
inline constexpr std::uint32_t kReadsCaughtUp = 2;  // "E": the end of a catch-up
inline constexpr std::uint32_t kReadsClaims = 4;    // "Y": the challenge of a claimed nickname
inline constexpr std::uint32_t kReadsKnown = kReadsClosing | kReadsCaughtUp | kReadsClaims;
std::string CmdReads(std::uint32_t bits);  // "V" bits

// ---- Server lines (built by the server, read by the client) ------------------------------------

struct TLobbyMember {
  std::int32_t room;
  std::string nickname;
  bool operator==(const TLobbyMember&) const = default;
};
struct TLobby {
  std::vector<std::string> rooms;  // rooms[0] is the lobby itself
  std::vector<TLobbyMember> members;
  bool operator==(const TLobby&) const = default;
};
struct TRoomMember {
  std::int32_t seat;  // 1..4 seated; anything else: in the room without a seat
  std::string nickname;
  bool operator==(const TRoomMember&) const = default;
};
struct TRoom {
  std::string played;  // the number of deals written down, as text
  std::vector<TRoomMember> members;
  bool operator==(const TRoom&) const = default;
};

std::string LineVersion(std::string_view version);  // "L" version
std::string LineMessage(std::string_view text);     // "M" text
std::string LinePing();                             // "G"
std::string LineOption(bool on);                    // "A1" / "A0"
std::string LineDeal(std::int32_t number);          // "D" number
std::string LineTurn();                             // "T"
std::string LineLobby(const TLobby& lobby);         // "I" n rooms m (index name)*
std::string LineRoom(const TRoom& room);            // "R" played (seat name)*
// "Y" nonce and club identity, 128 lower-case hex digits.
std::string LineChallenge(const claim::TChallenge& challenge);

// Why the server ends a connection ("C" reason), after the notice that says it in words.
enum class TCloseReason : std::int32_t {
  Other = 0,
  Idle = 1,         // sent nothing for too long
  TooFast = 2,      // too many commands
  Replaced = 3,     // the same nickname logged in from elsewhere
  ClaimFailed = 4,  // a proof for the nickname's claim failed
  NotReading = 5,   // the lines queued for it went over the server's budget
};
std::string LineClosing(TCloseReason why);  // "C" reason
std::string LineCaughtUp();                 // "E"
std::string LineReads(std::uint32_t bits);  // "V" bits

// One turn of the bidding: the bidder's name and the bids made in that turn (none: a pass).
struct TBidBlock {
  std::string nickname;
  std::vector<std::string> bids;
  bool operator==(const TBidBlock&) const = default;
};
// "B" dealer digit, then the blocks separated by single spaces, each nickname " " n (" " bid)*.
// The dealer's opening line has no blocks: "B1".
std::string LineBidding(std::int32_t dealer, const std::vector<TBidBlock>& blocks);
std::string LineHand(std::int32_t seat, const std::vector<std::int32_t>& cards);  // "H" seat (" " card)*
// "P" seat to play (0: trick complete) " " trick " " tricks taken by seats 2 and 3, then the cards
// on the table for seats 1 to 4 (0 where none yet), each after a space.
std::string LinePlay(std::int32_t seat, std::int32_t trick, std::int32_t taken,
                     const std::array<std::int32_t, 4>& table);
struct TScoreItem {
  std::string label;  // "Ütések" or a bid name (one token)
  std::int32_t points;
  bool operator==(const TScoreItem&) const = default;
};
// "X" pair digit " " then label " " points pairs separated by single spaces.
std::string LineScore(std::int32_t pair, const std::vector<TScoreItem>& items);
std::string LineResult(std::int32_t ours, std::int32_t theirs);  // "F" a ":" b
// "Z" + the deal's block of the record format (docs/deal-format.md) in cp1250, its line ends
// written as byte 1F; only to members who asked for records ("Z1").
inline constexpr char kRecordLineEnd = '\x1F';
std::string LineRecord(std::string_view block);

// A text the server passes on ("M", "Q", "W") made safe for a "#"-separated stream: every "#"
// becomes "?", byte for byte, so the line stays whole and the byte lengths of a W stay right.
std::string Relayable(std::string_view text);

// ---- Reading what the other side built --------------------------------------------------------
// Every reader takes the whole line or command, code letter included, and never throws: it returns
// what it read up to the first malformed number and says where it stopped, so a window can show
// what came before the error and then raise it (TReadStop::Raise) at the same point it would have
// read the bad field. Counts sent by the other side are never trusted: reading stops at the end of
// the text whatever count it announced.

// Where a reader stopped early. error is empty when the whole text was read; otherwise it is the
// tokenizer's conversion message ("'<token>' is not a valid integer value") and field says which
// field of the line was malformed (each reader lists its fields).
struct TReadStop {
  std::string error;
  int field = -1;
  bool Failed() const { return !error.empty(); }
  // True when reading failed at field or before it: that field was not read.
  bool Before(int at) const { return Failed() && field <= at; }
  // Throws EZnError with the message when reading failed.
  void Raise() const;
  // Raise, when reading failed at field or before it.
  void RaiseBefore(int at) const {
    if (Before(at)) Raise();
  }
};
template <class T>
struct TRead {
  T value;  // what was read before the stop
  TReadStop stop;
};

// A line: true when the character after "A" is "1".
bool ParseOption(std::string_view line);

// D line: the characters after "D", at most kDealDigits of them, read as a signed decimal integer.
// Longer payloads are read only that far ("D0000000000042" reads 0); the server never sends them.
// A malformed number raises EZnError.
inline constexpr std::size_t kDealDigits = 11;
std::int32_t ParseDeal(std::string_view line);

// L, M, N, R (command) and M (line): the text after the code letter.
std::string_view ReadText(std::string_view line);

// I line. Reads n, then up to n room names and the member count m, then up to m (room index,
// nickname) pairs. Fields: 0 the room count, 1 the member count, 2 a member's room index. A member's
// room index is kept as the server sent it, even outside 0..rooms.size()-1: the club window decides
// what to do with it (it raises the list-index error).
TRead<TLobby> ReadLobby(std::string_view line);
// ReadLobby into lobby (replaced), then the conversion error raised, if any.
void ParseLobbyInto(std::string_view line, TLobby& lobby);
TLobby ParseLobby(std::string_view line);

// R line: the deals-played token, then (seat, nickname) pairs while the line is not empty. A pair
// cut short by the end of the line gets an empty nickname, as the club window reads it. Field: 1 a
// seat.
TRead<TRoom> ReadRoom(std::string_view line);
void ParseRoomInto(std::string_view line, TRoom& room);
TRoom ParseRoom(std::string_view line);

// B line as the bidding panel reads it: the dealer is the one character after "B"; the first block
// follows it without a space. A count beyond the end of the line reads what the line holds; a
// negative count reads no bids. Fields: 0 the dealer digit, 1 a block's count (the last block then
// has its nickname and no bids).
struct TBidding {
  std::int32_t dealer = 0;
  std::vector<TBidBlock> blocks;
  bool operator==(const TBidding&) const = default;
};
TRead<TBidding> ReadBidding(std::string_view line);

// H line: the seat, then at most kHandCards cards (more are not read). Fields: 0 the seat, 1 a
// card (cards holds those before it).
inline constexpr std::size_t kHandCards = kTricks;
struct THandLine {
  std::int32_t seat = 0;
  std::vector<std::int32_t> cards;
  bool operator==(const THandLine&) const = default;
};
TRead<THandLine> ReadHand(std::string_view line);

// P line: the seat to play, the trick, the taken count as a token (the table window shows it as
// text, never as a number), then the four table cards. Fields: 0 the seat, 1 the trick, 2 a card
// (cards holds those before it; a card missing at the end of the line is malformed too).
struct TPlayLine {
  std::int32_t seat = 0;
  std::int32_t trick = 0;
  std::string taken;
  std::vector<std::int32_t> cards;
  bool operator==(const TPlayLine&) const = default;
};
TRead<TPlayLine> ReadPlay(std::string_view line);

// X line: pair 1 when the character after "X" is "1", else pair 2; the items start at the fourth
// character. An item is kept only with its points: a label whose points are malformed is not in
// items. Field: 1 an item's points.
struct TScore {
  std::int32_t pair = 0;
  std::vector<TScoreItem> items;
  bool operator==(const TScore&) const = default;
};
TRead<TScore> ReadScore(std::string_view line);

// F line as the played-games window keeps it: the texts before and after the ":" (the second ends
// at the first space). Never malformed: the window shows the texts as they came.
struct TResultText {
  std::string ours;
  std::string theirs;
  bool operator==(const TResultText&) const = default;
};
TResultText ReadResult(std::string_view line);
// Y line: the block of the record format with its line ends back (cp1250; the archive reads it).
std::string ReadRecord(std::string_view line);

// A W line (and the W command, the same text): "W" asker " " nickname " " four byte lengths " "
// then the four texts (full name, occupation, introduction, bidding conventions) back to back.
struct TAnswer {
  std::string asker;     // the first token without its "W"
  std::string nickname;  // whose introduction this is
  std::array<std::string, 4> texts;
  bool operator==(const TAnswer&) const = default;
};
// A text that runs past the end of the line is cut short there; a negative length counts as 0.
// Field: 0 a length (no text is read then).
TRead<TAnswer> ReadAnswer(std::string_view line);
// ReadAnswer, raising the conversion error.
TAnswer ParseAnswer(std::string_view line);

// A Q line or command: "Q" asker " " chosen; chosen is the rest of the text, spaces and all.
struct TInquiry {
  std::string asker;
  std::string chosen;
  bool operator==(const TInquiry&) const = default;
};
TInquiry ReadInquiry(std::string_view text);

// Y line: the nonce; nothing unless exactly 2 * kNonceBytes lower-case hex digits follow "Y".
std::optional<claim::TChallenge> ReadChallenge(std::string_view line);

// ---- Reading the client's commands (server side) ------------------------------------------------

// Y: the proof; nothing for a bare "Y" (a request) or anything that is not kProofHex hex digits.
std::optional<claim::TProof> ReadCmdProof(std::string_view command);

// E S H A D K P: the number after the code; nullopt when it is no 32-bit integer. (The server
// itself refuses an A or K that is neither 0 nor 1.)
std::optional<std::int32_t> ReadCmdNumber(std::string_view command);
// B: the nickname, the count as sent and the bids that follow. counted is true when the count is an
// integer equal to the number of bids.
struct TBidCommand {
  TBidBlock block;
  std::string count;
  bool counted = false;
};
TBidCommand ReadCmdBids(std::string_view command);
// F: a ":" b as two 32-bit integers; nullopt when either is not one.
struct TPoints {
  std::int32_t ours = 0;
  std::int32_t theirs = 0;
  bool operator==(const TPoints&) const = default;
};
std::optional<TPoints> ReadCmdResult(std::string_view command);

// ---- Splitting the client's commands (server side) ---------------------------------------------
// The client sends commands without a terminator, so one read may hold several joined commands.
// Each command's own shape (TCommandShape) says where it ends.

// A command longer than this is refused by the server; counts and lengths in B and W that could
// only describe a longer command are malformed at once instead of being waited for.
inline constexpr std::size_t kMaxCommandLength = 4096;

enum class TCommandCut {
  Complete,    // a whole command of `length` bytes starts the buffer
  Incomplete,  // the buffer ends inside a B, W or F command: wait for more bytes (length 0)
  Malformed,   // a known code whose command is broken: drop `length` bytes (the rest of the buffer)
  Unknown,     // the first byte is no command code: drop `length` bytes (the rest of the buffer)
};
struct TCommandSpan {
  TCommandCut cut;
  std::size_t length;
};

// Where the first command of buffer ends. After a broken or unknown command nothing in the buffer
// can be trusted to start a command, so those spans reach to the end of the buffer. N M R Q run to
// the end of the buffer, the last bid of a B to the next space or the end of the buffer (a command
// glued to it without a space cannot be told from the bid). A number of E S H K A D P ends at the
// end of the buffer too. A W carries exactly two tokens (asker and nickname, as its Q line had them)
// before its four lengths. An empty buffer is Incomplete.
TCommandSpan MeasureCommand(std::string_view buffer);
// The same as a length: complete is true for a whole command; a result of 0 with complete false
// means "wait for more bytes"; any other result with complete false is bytes to drop.
std::size_t CommandLength(std::string_view buffer, bool& complete);

// ---- Printing (test failures show the values, not just a row's name) ----------------------------
// Texts in double quotes, every byte outside printable ASCII as \xNN (cp1250 stays exact).

std::ostream& operator<<(std::ostream& os, const TLobbyMember& m);
std::ostream& operator<<(std::ostream& os, const TLobby& lobby);
std::ostream& operator<<(std::ostream& os, const TRoomMember& m);
std::ostream& operator<<(std::ostream& os, const TRoom& room);
std::ostream& operator<<(std::ostream& os, const TBidBlock& block);
std::ostream& operator<<(std::ostream& os, const TScoreItem& item);
std::ostream& operator<<(std::ostream& os, const TBidding& bidding);
std::ostream& operator<<(std::ostream& os, const THandLine& hand);
std::ostream& operator<<(std::ostream& os, const TPlayLine& play);
std::ostream& operator<<(std::ostream& os, const TScore& score);
std::ostream& operator<<(std::ostream& os, const TResultText& result);
std::ostream& operator<<(std::ostream& os, const TAnswer& answer);
std::ostream& operator<<(std::ostream& os, const TInquiry& inquiry);
std::ostream& operator<<(std::ostream& os, const TPoints& points);
std::ostream& operator<<(std::ostream& os, const TBidCommand& command);
std::ostream& operator<<(std::ostream& os, const TReadStop& stop);
std::ostream& operator<<(std::ostream& os, const TCommandSpan& span);
template <class T>
std::ostream& operator<<(std::ostream& os, const TRead<T>& read) {
  return os << "{" << read.value << " " << read.stop << "}";
}

}  // namespace zn::proto
