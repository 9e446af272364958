// TZnForm: the club window (connect, lobby and room pages, chat, presence list, seats) and the
// dispatcher of every incoming line. Plain state fields and handlers; shell/qt renders the fields.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "link/ClubPort.h"
#include "link/NextLine.h"
#include "link/Protocol.h"
#include "link/Socket.h"
#include "link/ZnLink.h"
#include "profile/ZnInfo.h"
#include "record/ZnResult.h"
#include "shell/ZnCliTopActions.h"
#include "table/ZnBid.h"

namespace zn {

// The message area: when it holds more than kMemoCap lines, the kMemoTrim oldest go before the
// next line is added, whoever adds it.
inline constexpr std::size_t kMemoCap = 99;
inline constexpr std::size_t kMemoTrim = 50;

class TZnForm {
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

  using TSocketFactory = std::function<std::unique_ptr<TSocketPort>()>;
  // The settings file's path for the program directory (LocateSettings, which first moves an old
  // file there); tests give their own so no real file outside their directory is touched.
  using TLocateSettings = std::function<std::string(const std::string& programDir)>;

  // Club window creation: the settings file is "Zn.INI" in programDir (an old one is moved there
  // first); the table, personal-data and played-games windows are created after the settings are read.
  TZnForm(const std::string& programDir, TSocketFactory socketFactory);
  TZnForm(const std::string& programDir, TSocketFactory socketFactory, const TLocateSettings& locate);
  ~TZnForm();
  TZnForm(const TZnForm&) = delete;
  TZnForm& operator=(const TZnForm&) = delete;

  // ---- State -----------------------------------------------------------------------------------
  enum TPage { tabConnect, tabLobby, tabRoom };
  struct TMenus {           // "&Külvilág" and "&Súgó" are always shown
    bool Messages = false;  // "Ü&zenetek"
    bool Lobby = false;     // "&Társalgó"
    bool Room = false;      // "&Terem"
    bool View = false;      // "&Nézet"
    bool Deal = false;      // "&Osztás"
  };

  TReceiveQueue ReceiveQueue;
  std::unique_ptr<TZnLink> Link;  // the current link; replaced by "&Távkapcsolat"
  double ConnectTime = 0;         // days since the epoch: the last accepted connect click
  double PingTime = 0;            // days since the epoch: the last "G" sent
  double PingSeconds = 0;         // the response time the last "G" line measured
  std::string SettingsPath;
  std::string Nickname;
  std::int32_t MySeat = 0;
  std::int32_t DealNumber = 0;
  int InfoThrottle = 0;
  int FlashCount = 0;
  bool Dispatching = false;  // the idle handler is installed (FormShow, CloseQuery, StopDispatching)

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
  bool SeatDownVisible = true;            // lbSeatDown (shown only on the room page)
  std::string DealText;                   // lbDeal
  std::string MatchText;                  // lbMatch
  bool Dealer1Visible = false;            // lbDealer1
  bool Dealer3Visible = false;            // lbDealer3

  // Status bar: the nickname, the fixed "Szerver ", the server.
  std::string StatusNick;
  std::string StatusServer = "nincs";

  // Window flashing of an alert (the 100 ms timer).
  bool TimerEnabled = false;
  bool FlashOn = false;

  // The other three windows, created with this one and living as long.
  std::unique_ptr<TBidForm> BidForm;
  std::unique_ptr<TInfo> InfoForm;
  std::unique_ptr<TResForm> ResForm;

  // ---- Actions ---------------------------------------------------------------------------------
  TAction cmConnect, cmDisconnect, cmExit;                                               // "&Külvilág"
  TAction cmMsg, cmClear, cmPing, cmLogMsg, cmInfo;                                      // "Ü&zenetek"
  TAction cmNewRoom, cmEnter;                                                            // "&Társalgó"
  TAction cmOpener, cmCatcher, cmOpenDef, cmCatDef, cmStand, cmRobot, cmLobby;           // "&Terem"
  TAction cmNormal, cmReverse, cmSide, cmSound, cmTable, cmShowBid, cmResults, cmKibic;  // "&Nézet"
  TAction cmReplay, cmNumDeal, cmMatch, cmNextDeal, cmAlign;                             // "&Osztás"
  TAction cmHelp, cmAbout;                                                               // "&Súgó"
  // Every action with its name, in menu order.
  std::vector<std::pair<std::string_view, TAction*>> Actions();

  // The ten preset phrases of the chat box.
  static const std::array<std::string_view, 10> ChatPhrases;

  // ---- Hooks the Qt window sets ----------------------------------------------------------------
  std::function<void()> WakeIdle;     // run IdleHandler soon (a chunk arrived, a pause was lifted)
  std::function<void()> CloseWindow;  // "&Kilépés": close the club window

  // ---- Life cycle ------------------------------------------------------------------------------
  // First showing: asks for a nickname until a valid one is given, installs the dispatcher and
  // runs "&Távkapcsolat".
  void FormShow();
  // Closing: asks when the club window is the active one; false keeps the program running.
  // When closing proceeds the dispatcher is removed first.
  bool CloseQuery(bool clubWindowActive);
  // The program ends: no line is dispatched while the windows go.
  void StopDispatching() { Dispatching = false; }
  // One pass of the dispatcher: takes at most one line (none while the table window's pause is
  // set). Returns true while lines wait and no pause is set, so the caller runs it again.
  // A call made while a pass is running (from pending events) does nothing and returns false.
  bool IdleHandler();
  // The 100 ms flash timer.
  void TimerTimer();

  // ---- Operations other windows call -----------------------------------------------------------
  void Alert();
  void ResetToConnectPage();
  void TakeSeat(std::int32_t seat);
  void EnableDealCommands(bool enable);
  // A valid nickname: more than 3 characters, not beginning with "-", no space and no "#".
  static bool ValidNickname(std::string_view name);

  // ---- Handlers of the widgets -----------------------------------------------------------------
  void cmConnectExecute();
  void cmDisconnectExecute();
  void cmExitExecute();
  void cmMsgExecute();
  void cmClearExecute();
  void cmPingExecute();
  void cmLogMsgExecute();
  void cmInfoExecute();
  void cmOrderExecute(int order);  // "&Normál" 0, "&Fordított" 1, "&Osztott" 2
  void cmSoundExecute();
  void cmTableExecute();
  void cmShowBidExecute();
  void cmResultsExecute();
  void cmHelpExecute();
  void cmAboutExecute();
  void cmEnterExecute();
  void cmNewRoomExecute();
  void cmStandExecute();
  void cmRobotExecute();
  void cmKibicExecute();
  void cmLobbyExecute();
  void cmReplayExecute();
  void cmMatchExecute();
  void cmNumDealExecute();
  void cmNextDealExecute();
  void cmAlignExecute();
  void fdSeatClick(int seat);  // also the four "&Leül" actions
  void adrUpClick();
  void adrDownClick();
  void adrListClick(int index);
  void adrListDblClick(int index);
  void fdRoomsClick(int index);
  void fdRoomsDblClick(int index);
  void fdPresentClick(int index);
  void fdPresentDblClick(int index);
  void fdChatEnter();  // Enter in the chat box

  // ---- Incoming lines (whole, letter included) -------------------------------------------------
  void Dispatch(const std::string& line);
  void ALine(const std::string& line);
  void DLine(const std::string& line);
  void GLine(const std::string& line);
  void ILine(const std::string& line);
  void LLine(const std::string& line);
  void MLine(const std::string& line);
  void RLine(const std::string& line);
  void TLine(const std::string& line);

 private:
  class TClub;  // the club port the other windows reach
  std::unique_ptr<TClub> club_;
  TSocketFactory socketFactory_;
  bool inIdle_ = false;  // a pass is running (pending events let other events run inside it)

  void Notify(Aspect a) {
    if (Changed) Changed(a);
  }
  // Seated on 1..4; any other number the server gave counts as not seated.
  bool Seated() const { return MySeat >= 1 && MySeat <= 4; }
  void InitActions();
  void NewLink();
  void ClearLists(bool keepMemo);
  void ShowLobby(const proto::TLobby& lobby);      // the rooms and members read from an "I" line
  void ShowRoomMembers(const proto::TRoom& room);  // the seats and present list of an "R" line
  void AddMemo(std::string line);                  // appends, trimming first at the cap
  void ClearMemo();
  void StartDeal(std::int32_t command);
  void Send(std::string_view command) { Link->Send(command); }
  static double Now();  // days since the epoch
};

}  // namespace zn
