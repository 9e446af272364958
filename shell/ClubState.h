// The club window's state: the fields its widgets show and the values of the session its handlers
// keep. Plain data with one change notification; TZnForm's handlers change it, shell/qt renders it.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace zn {

// The message area: when it holds more than kMemoCap lines, the kMemoTrim oldest go before the
// next line is added, whoever adds it.
inline constexpr std::size_t kMemoCap = 99;
inline constexpr std::size_t kMemoTrim = 50;

class TClubState {
 public:
  // What changed; the Qt window redraws only that part.
  enum class Aspect {
    Page,     // Page
    Caption,  // Caption
    Menus,    // Menus
    Actions,  // a caption, check mark, enabled or visible flag of an action
    Memo,     // Memo
    Address,  // Address, AddressList, AddressIndex, PortText
    Lobby,    // Rooms, RoomIndex, Users, UserIndex
    Present,  // Present, PresentIndex
    Room,     // SeatLabels, SeatDownVisible, DealText, MatchText, dealer marks
    Status,   // StatusNick, StatusServer
    Chat,     // ChatText
    Flash,    // TimerEnabled, FlashOn
  };
  std::function<void(Aspect)> Changed;
  void Notify(Aspect a) {
    if (Changed) Changed(a);
  }

  enum TPage { tabConnect, tabLobby, tabRoom };
  struct TMenus {           // "&Külvilág" and "&Súgó" are always shown
    bool Messages = false;  // "Ü&zenetek"
    bool Lobby = false;     // "&Társalgó"
    bool Room = false;      // "&Terem"
    bool View = false;      // "&Nézet"
    bool Deal = false;      // "&Osztás"
  };

  // ---- The session ----
  double ConnectTime = 0;  // days since the epoch: the last accepted connect click
  double PingTime = 0;     // days since the epoch: the last "G" sent
  double PingSeconds = 0;  // the response time the last "G" line measured
  std::string SettingsPath;
  std::string Nickname;
  std::int32_t MySeat = 0;
  std::int32_t DealNumber = 0;
  std::string RoomName;  // the room entered last, for the way back after a drop
  int InfoThrottle = 0;
  int FlashCount = 0;

  // ---- What the widgets show ----
  TPage Page = tabConnect;
  std::string Caption;
  TMenus Menus;

  // Connect page.
  std::string Address;                   // fdAddress
  std::vector<std::string> AddressList;  // adrList, most recently used first
  int AddressIndex = -1;                 // selected entry of adrList
  std::string PortText;                  // fdPort

  // Lobby page.
  std::vector<std::string> Rooms;                     // fdRooms; Rooms[0] is the lobby itself
  std::vector<std::vector<std::string>> RoomMembers;  // one member list per room
  int RoomIndex = -1;                                 // selected room
  std::vector<std::string> Users;                     // fdUsers: the selected room's members
  int UserIndex = -1;

  // Below the pages, on every page.
  std::string ChatText;           // fdChat
  std::vector<std::string> Memo;  // the message area, oldest first
  // Bumped by every change of Memo other than appending (clear, trim): the view then redraws the
  // whole area; otherwise it only appends the lines past those it shows.
  std::uint64_t MemoRewrites = 0;
  std::vector<std::string> Present;
  int PresentIndex = -1;

  // Room page.
  std::array<std::string, 5> SeatLabels;  // index 1..4; empty until the first "R" line
  // Who holds each seat (index 1..4) by the last "R" line's pairs: the rules read this, never
  // the label's text.
  enum class TSeatHolder { Free, Robot, Member };
  std::array<TSeatHolder, 5> SeatHolders{};
  // A seat the member may take: free, or a robot's.
  bool SeatTakeable(int seat) const {
    return seat >= 1 && seat <= 4 && SeatHolders[static_cast<std::size_t>(seat)] != TSeatHolder::Member;
  }
  bool SeatFree(int seat) const {
    return seat >= 1 && seat <= 4 && SeatHolders[static_cast<std::size_t>(seat)] == TSeatHolder::Free;
  }
  bool SeatDownVisible = true;  // lbSeatDown (shown only on the room page)
  std::string DealText;         // lbDeal
  std::string MatchText;        // lbMatch
  bool Dealer1Visible = false;  // lbDealer1
  bool Dealer3Visible = false;  // lbDealer3

  // Status bar: the nickname, the fixed "Szerver ", the server; while the client finds its way
  // back after a drop, StatusReturn stands in the server's place.
  std::string StatusNick;
  std::string StatusServer = "nincs";
  std::string StatusReturn;
  bool LinkTimerEnabled = false;  // the link timer runs (Aspect::Status)

  // Window flashing of an alert (the 100 ms timer).
  bool TimerEnabled = false;
  bool FlashOn = false;

  // The ten preset phrases of the chat box.
  static const std::array<std::string_view, 10> ChatPhrases;

  // ---- The message area ----
  void AddMemo(std::string line);  // appends, trimming first at the cap
  void ClearMemo();

  // Seated on 1..4; any other number the server gave counts as not seated.
  bool Seated() const { return MySeat >= 1 && MySeat <= 4; }
};

}  // namespace zn
