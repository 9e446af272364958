// The club window's state: the fields its widgets show and the values of the session its handlers
// keep, the three pages' own state among them. Plain data with one change notification; TZnForm's
// handlers change it, shell/qt renders it.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "shell/PageState.h"

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
    Address,  // Connect
    Lobby,    // Lobby
    Present,  // Present, PresentIndex
    Room,     // Room: its labels, texts and dealer marks
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
  double PingTime = 0;     // days since the epoch: the last "G" sent
  double PingSeconds = 0;  // the response time the last "G" line measured
  std::string SettingsPath;
  std::string Nickname;
  int InfoThrottle = 0;
  int FlashCount = 0;

  // ---- What the widgets show ----
  TPage Page = tabConnect;
  std::string Caption;
  TMenus Menus;
  TConnectState Connect;  // Aspect::Address
  TLobbyState Lobby;      // Aspect::Lobby
  TRoomState Room;        // Aspect::Room

  // Below the pages, on every page.
  std::string ChatText;           // fdChat
  std::vector<std::string> Memo;  // the message area, oldest first
  // Bumped by every change of Memo other than appending (clear, trim): the view then redraws the
  // whole area; otherwise it only appends the lines past those it shows.
  std::uint64_t MemoRewrites = 0;
  std::vector<std::string> Present;
  int PresentIndex = -1;

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
};

}  // namespace zn
