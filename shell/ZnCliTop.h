// TZnForm: the club window (connect, lobby and room pages, chat, presence list, seats). Its parts,
// each with one job: the state its widgets show (ClubState.h, the pages' own in PageState.h), its
// actions (ClubActions.h), the dispatcher of every incoming line (ClubDispatcher.h) and the club
// port the other windows reach (ClubPortImpl.h). The handlers live in files by job: ClubStart (first showing,
// nickname, close), ClubConnect (the link), ClubAddressList, ClubMessages, ClubLobby, ClubRoom, ClubView,
// ClubAlert.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "link/ClaimProof.h"
#include "link/ClaimProofGate.h"
#include "link/NextLine.h"
#include "link/Protocol.h"
#include "link/Socket.h"
#include "link/ZnLink.h"
#include "profile/ZnInfo.h"
#include "record/RecordGate.h"
#include "record/ZnArchive.h"
#include "record/ZnResult.h"
#include "shell/ClubActions.h"
#include "shell/ClubDispatcher.h"
#include "shell/ClubPortImpl.h"
#include "shell/ClubState.h"
#include "shell/LinkKeeper.h"
#include "table/ZnBid.h"

namespace zn {

class TZnForm : private TLineReader, private TClubPortHost {
 public:
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

  TClubState State;      // what the widgets show, the three pages' state among it
  TClubActions Actions;  // the menu items and buttons

  // ---- The link ----
  TReceiveQueue ReceiveQueue;
  std::unique_ptr<TZnLink> Link;  // the current link; replaced by "&Távkapcsolat"
  bool Dispatching = false;       // the idle handler is installed (FormShow, CloseQuery, StopDispatching)

  // ---- The other three windows, created with this one and living as long ----
  std::unique_ptr<TBidForm> BidForm;
  std::unique_ptr<TInfo> InfoForm;
  std::unique_ptr<TResForm> ResForm;
  std::unique_ptr<TArchiveForm> ArchiveForm;  // "&Archívum": every deal that ended (ClubArchive.cpp)

  // ---- Hooks the Qt window sets ----
  std::function<void()> WakeIdle;     // run IdleHandler soon (a chunk arrived, a pause was lifted)
  std::function<void()> CloseWindow;  // "&Kilépés": close the club window

  // ---- Life cycle (ClubStart.cpp) ----
  // First showing: asks for a nickname until a valid one is given, installs the dispatcher and
  // runs "&Távkapcsolat".
  void FormShow();
  // Closing: asks when the club window is the active one; false keeps the program running.
  // When closing proceeds the dispatcher is removed first.
  bool CloseQuery(bool clubWindowActive);
  // The program ends: no line is dispatched while the windows go.
  void StopDispatching() { Dispatching = false; }
  // A valid nickname by the club's one rule (link/NameRule.h).
  static bool ValidNickname(std::string_view name);

  // ---- The dispatcher ----
  // One pass: takes at most one line (none while the table window's pause is set). Returns true
  // while lines wait and no pause is set, so the caller runs it again. A call made while a pass is
  // running (from pending events) does nothing and returns false.
  bool IdleHandler() { return dispatcher_.Pass(); }
  void Dispatch(const std::string& line) { dispatcher_.Dispatch(line); }

  // ---- Continuity (ClubContinuity.cpp) ----
  TLinkKeeper Keeper;
  // The link timer (every kLinkTickMs while LinkTimerEnabled): the quiet ping and its answer, the
  // countdown to the next attempt and the attempt itself.
  void LinkTimerTimer();

  // ---- Operations other windows call ----
  void Alert() override;  // ClubAlert.cpp
  void TimerTimer();      // the 100 ms flash timer
  void EnableDealCommands(bool enable) override;

  // ---- The claimed nickname (ClubClaimKey.cpp) ----
  std::optional<claim::TSecret> ClaimSecret;  // none before the first connect, or when damaged
  void cmShowCodeExecute();
  void cmEnterCodeExecute();

  // ---- The link and the address list (ClubConnect.cpp, ClubAddressList.cpp) ----
  void cmConnectExecute();
  void cmDisconnectExecute();
  void cmExitExecute();
  void adrUpClick();
  void adrDownClick();
  void adrListClick(int index);
  void adrListDblClick(int index);

  // ---- "Ü&zenetek" and the present list (ClubMessages.cpp) ----
  void cmMsgExecute();
  void cmClearExecute();
  void cmPingExecute();
  void cmLogMsgExecute();
  void cmInfoExecute();
  void fdChatEnter();  // Enter in the chat box
  void fdPresentClick(int index);
  void fdPresentDblClick(int index);

  // ---- "&Nézet" and "&Súgó" (ClubView.cpp) ----
  void cmOrderExecute(int order);  // "&Normál" 0, "&Fordított" 1, "&Osztott" 2
  void cmSoundExecute();
  void cmTableExecute();
  void cmShowBidExecute();
  void cmResultsExecute();
  void cmArchiveExecute();
  void cmHelpExecute();
  void cmAboutExecute();

  // ---- The lobby and the room (ClubLobby.cpp, ClubRoom.cpp) ----
  void fdRoomsClick(int index);
  void fdRoomsDblClick(int index);
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

 private:
  TClubPortImpl club_{State, Actions, *this};  // the club port the other windows reach
  TClubDispatcher dispatcher_{ReceiveQueue, *this};
  TSocketFactory socketFactory_;

  void InitActions();

  // The dispatcher's reader (ClubRoutes.cpp).
  bool Reading() const override;
  bool Held() const override;
  void PassStarts() override;
  void Route(const std::string& line) override;

  // The club port's host (ClubPortImpl.cpp).
  TZnLink& CurrentLink() override { return *Link; }
  void WakeDispatcher() override {
    if (WakeIdle) WakeIdle();
  }
  TResForm& PlayedGames() override { return *ResForm; }

  // Incoming lines (whole, letter included); ClubRoutes.cpp routes them.
  void ALine(const std::string& line);
  void DLine(const std::string& line);
  void GLine(const std::string& line);
  void ILine(const std::string& line);
  void LLine(const std::string& line);
  void MLine(const std::string& line);
  void RLine(const std::string& line);
  void TLine(const std::string& line);
  void YLine(const std::string& line);
  void ZLine(const std::string& line);          // the record of a deal that ended: kept in the archive
  void ArchiveResult(const std::string& line);  // "F": the result of the kept deal
  void AskForRecords();                         // the first lobby after logging in: "Z1"
  void AnnounceReads();                         // then the newer lines this client reads: "V"
  void VLine(const std::string& line);          // the newer lines the server sends
  void CaughtUpLine(const std::string& line);   // "E": the deal so far has come

  // The deal archive's gate (ClubArchive.cpp).
  std::int64_t ArchivedDeal = 0;  // the last deal kept, which an "F" line marks
  bool RecordsAsked = false;      // "Z1" sent on this connection
  TRecordGate RecordGate;         // the records this connection may keep

  // The nickname (ClubStart.cpp).
  // Asks for a nickname until a valid one is typed (why: the first prompt's reason); none on Cancel.
  std::optional<std::string> AskNickname(std::string_view why, std::string typed);

  // The claimed nickname (ClubClaimKey.cpp).
  bool ClaimDamaged = false;    // Zn.INI holds a code that does not read
  bool ClaimAnswered = false;   // this connection got a challenge
  bool ClaimAsked = true;       // this connection asked for one (or sent no "N")
  claim::TProofGate ClaimGate;  // which challenges the client signs
  void LoadClaimSecret();       // at creation
  void MakeClaimSecret();       // the first connect: made and written once
  void ClaimNewConnection();    // the "L" line: a new connection
  void ClaimAfterLobby();       // an "I" line
  static bool IsClaimRefusal(std::string_view line);
  // The server refused the nickname (why says how): asks for another and logs in with it; Cancel
  // leaves the member on the connect page.
  void NicknameRefused(std::string_view why);

  // The pages (ZnCliTop.cpp, ClubRoom.cpp).
  void ResetToConnectPage();
  void TakeSeat(std::int32_t seat);

  void NewLink();
  void ClearLists(bool keepMemo);
  void ShowLobby(const proto::TLobby& lobby);      // the rooms and members read from an "I" line
  void ShowRoomMembers(const proto::TRoom& room);  // the seats and present list of an "R" line
  void StartDeal(std::int32_t command);
  void Send(std::string_view command) { Link->Send(command); }
  using Aspect = TClubState::Aspect;
  void Notify(Aspect a) { State.Notify(a); }

  // Continuity (ClubContinuity.cpp).
  void ReturnLobbyShown();  // after an "I" line: on the way back, into the room
  void ReturnRoomShown();   // after an "R" line: on the way back, onto the seat
  // A deal's lines now may be the deal the member dropped out of.
  bool CatchingUp() const;
  bool serverEnded_ = false;      // the server said it ends this connection (a refused login...)
  std::uint64_t connection_ = 0;  // connections made so far
  std::uint64_t loginSent_ = 0;   // the connection the last "N" went on
  bool readsAnnounced_ = false;   // "V" answered on this connection, or sent after the login
  std::int64_t loginDueMs_ = -1;  // "N" waits for the answer to "V" until then; -1: sent
  void AnnounceBeforeLogin();
  void SendLogin();
  std::uint32_t serverReads_ = 0;  // the newer lines the server said it sends (proto::kReads*)
  std::int64_t catchUpUntil_ = 0;
  void LinkConnected();
  void LinkDropped();
  bool LinkErrorHandled(TSocketErrorKind kind);  // true: no error box
  void ReturnAttempt();
  void ReturnEnd(std::string memo, bool back);
  void StopReturning();
  void DrainOldLines();
  void ShowReturnStatus();
  void SetReturnStatus(std::string text);
  void SyncLinkTimer();
  static double Now();  // days since the epoch
};

}  // namespace zn
