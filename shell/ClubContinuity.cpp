// The club window's continuity: the quiet ping while connected, and the way back after a drop the
// member did not ask for: connect to the same server, log in, enter the same room (by its name:
// the index may differ after a server restart), and take the same seat or watch again.
#include <string>

#include "game/Cp1250.h"
#include "game/Desktop.h"
#include "link/Protocol.h"
#include "shell/ZnCliTop.h"

namespace zn {

using namespace zn::literals;

namespace {
std::int64_t Steady() { return Desktop().SteadyMs(); }
constexpr std::string_view kReturning = "Újrakapcsolódás ("_cp;
}  // namespace

void TZnForm::SyncLinkTimer() {
  const bool on = (Link && Link->Connected) || Keeper.Returning();
  if (on == State.LinkTimerEnabled) return;
  State.LinkTimerEnabled = on;
  Notify(Aspect::Status);
}

void TZnForm::SetReturnStatus(std::string text) {
  if (text == State.StatusReturn) return;
  State.StatusReturn = std::move(text);
  Notify(Aspect::Status);
}

void TZnForm::ShowReturnStatus() {
  std::string attempt(kReturning);
  attempt += std::to_string(Keeper.Attempt()) + ".)";
  if (Keeper.Stage() == TLinkKeeper::TStage::Waiting)
    SetReturnStatus(attempt + " " + std::to_string(Keeper.SecondsLeft(Steady())) +
                    std::string(" mp múlva..."_cp));
  else if (Keeper.Returning())
    SetReturnStatus(attempt + "...");
}

void TZnForm::LinkConnected() {
  ++connection_;
  Keeper.Connected(Steady());
  serverEnded_ = false;
  if (Keeper.Stage() == TLinkKeeper::TStage::Connecting) {
    Keeper.Reached(TLinkKeeper::TStage::LoggingIn, Steady());
    ShowReturnStatus();
  }
  SyncLinkTimer();
}

void TZnForm::LinkDropped() {
  Keeper.Disconnected();
  if (serverEnded_ || !Dispatching) {
    // A close the server meant ends the way back: its notice says why.
    Keeper.Stop();
    SetReturnStatus({});
    SyncLinkTimer();
    return;
  }
  TReturnPlace place;
  if (!Keeper.Returning()) {
    if (!Link || Link->Host.empty()) return;
    place.Host = Link->Host;
    place.Port = Link->Port;
    if (State.Page == TClubState::tabRoom) {
      place.Room = State.Room.RoomName;
      place.Watching = BidForm->Watching;
      place.Seat = State.Room.Seated() ? State.Room.MySeat : 0;
    }
  }
  if (Keeper.Dropped(Steady(), place))
    ShowReturnStatus();
  else
    SetReturnStatus(std::string("Nem sikerült újrakapcsolódni"_cp));
  SyncLinkTimer();
}

bool TZnForm::LinkErrorHandled(TSocketErrorKind kind) {
  if (!Keeper.Returning()) return false;  // the error box, as ever
  // A failed attempt shows no box: the status bar counts down to the next one.
  if (kind == TSocketErrorKind::Connect && Keeper.Stage() == TLinkKeeper::TStage::Connecting) LinkDropped();
  return true;
}

void TZnForm::DrainOldLines() {
  // The old connection's lines go first, every one of them, without a trick pause: the lines of
  // the new one then start afresh, and the answers to its pings are told apart again.
  for (int i = 0; i < 100000 && !ReceiveQueue.Empty(); ++i) {
    BidForm->LiftPause();
    const std::size_t before = ReceiveQueue.Bytes();
    dispatcher_.Pass();
    if (ReceiveQueue.Bytes() == before && ReceiveQueue.Entries() > 0 && !BidForm->TrickPause) break;
  }
  BidForm->LiftPause();
}

void TZnForm::ReturnAttempt() {
  const TReturnPlace place = Keeper.Place();
  Keeper.Attempting(Steady());
  ShowReturnStatus();
  NewLink();  // the old link goes first: its last held line joins the queue
  DrainOldLines();
  // The server has the member nowhere now: no seat, not watching.
  State.Room.MySeat = 0;
  if (BidForm->Watching) {
    BidForm->Watching = false;
    Actions.cmKibic.Checked = false;
    Notify(Aspect::Actions);
  }
  Link->Host = place.Host;
  Link->Port = place.Port;
  Link->Open();  // a refused connect may be reported before it returns
  SyncLinkTimer();
}

void TZnForm::ReturnEnd(std::string memo, bool back) {
  Keeper.Stop();
  // A server that marks the end of its catch-up ends it; the time bound is for one that does not.
  if (back) catchUpUntil_ = Steady() + (serverReads_ & proto::kReadsCaughtUp ? kCatchUpMarkMs : kCatchUpMs);
  SetReturnStatus({});
  if (!memo.empty()) State.AddMemo(std::move(memo));
  SyncLinkTimer();
}

void TZnForm::ReturnLobbyShown() {
  if (Keeper.Stage() != TLinkKeeper::TStage::LoggingIn) return;
  const std::string& room = Keeper.Place().Room;
  if (room.empty()) return ReturnEnd({}, true);
  for (std::size_t i = 1; i < State.Lobby.Rooms.size(); ++i) {
    if (State.Lobby.Rooms[i] != room) continue;
    Keeper.Reached(TLinkKeeper::TStage::Entering, Steady());
    State.Lobby.RoomIndex = static_cast<int>(i);
    cmEnterExecute();
    return;
  }
  ReturnEnd(std::string(" >>>>> A terem már nem létezik: "_cp) + room, false);
}

void TZnForm::ReturnRoomShown() {
  const TLinkKeeper::TStage stage = Keeper.Stage();
  if (stage != TLinkKeeper::TStage::Entering && stage != TLinkKeeper::TStage::Sitting) return;
  const TReturnPlace& place = Keeper.Place();
  if (stage == TLinkKeeper::TStage::Entering) {
    // The old deal's cards go: if a deal runs, the server sends it as it stands.
    BidForm->LeaveTable();
    BidForm->ResetDeal();
    if (State.Room.MySeat != 0) BidForm->Show();
  }
  if (place.Watching) {
    if (!BidForm->Watching) cmKibicExecute();
    return ReturnEnd({}, true);
  }
  if (place.Seat < 1 || place.Seat > 4 || State.Room.MySeat == place.Seat) return ReturnEnd({}, true);
  if (!State.Room.SeatTakeable(place.Seat))
    return ReturnEnd(std::string(" >>>>> A helyedre időközben más ült le."_cp), false);
  if (stage == TLinkKeeper::TStage::Entering) {
    Keeper.Reached(TLinkKeeper::TStage::Sitting, Steady());
    TakeSeat(place.Seat);
  }
  // Sitting: the seat is still free for us; the "R" line that shows us on it ends the way back.
}

void TZnForm::CaughtUpLine(const std::string&) { catchUpUntil_ = 0; }

void TZnForm::VLine(const std::string& line) {
  const std::optional<std::int32_t> bits = proto::ReadCmdNumber(line);
  serverReads_ = bits && *bits > 0 ? static_cast<std::uint32_t>(*bits) & proto::kReadsKnown : 0;
  readsAnnounced_ = true;
  SendLogin();  // the server knows what this client reads: the nickname may go
}

// "V" goes alone before "N": a server that predates it drops what follows it in the same read,
// so "N" waits for the answer, or a moment for a server that gives none.
void TZnForm::AnnounceBeforeLogin() {
  readsAnnounced_ = false;
  Send(proto::CmdReads(proto::kReadsKnown));
  loginDueMs_ = Desktop().SteadyMs() + kReadsAnswerMs;
}

void TZnForm::SendLogin() {
  if (loginDueMs_ < 0) return;
  loginDueMs_ = -1;
  Send(proto::CmdNick(State.Nickname));
}

// A server that read no "V" before the login may read it now.
void TZnForm::AnnounceReads() {
  if (readsAnnounced_ || loginSent_ != connection_) return;  // once, after this connection's "N"
  readsAnnounced_ = true;
  Send(proto::CmdReads(proto::kReadsKnown));
}

bool TZnForm::CatchingUp() const {
  const TLinkKeeper::TStage stage = Keeper.Stage();
  return stage == TLinkKeeper::TStage::Entering || stage == TLinkKeeper::TStage::Sitting ||
         Steady() < catchUpUntil_;
}

void TZnForm::StopReturning() {
  Keeper.Stop();
  serverEnded_ = false;
  SetReturnStatus({});
}

void TZnForm::LinkTimerTimer() {
  const std::int64_t now = Steady();
  if (loginDueMs_ >= 0 && now >= loginDueMs_ && Link && Link->Connected) SendLogin();
  switch (Keeper.Stage()) {
    case TLinkKeeper::TStage::Idle:
      break;
    case TLinkKeeper::TStage::Waiting:
      if (now >= Keeper.Due())
        ReturnAttempt();
      else
        ShowReturnStatus();
      break;
    default:
      if (!Keeper.StepOverdue(now)) break;
      // Not even connected or logged in: another attempt; later steps keep what they reached.
      if (Keeper.Stage() == TLinkKeeper::TStage::Connecting ||
          Keeper.Stage() == TLinkKeeper::TStage::LoggingIn) {
        NewLink();
        LinkDropped();
      } else {
        ReturnEnd({}, true);
      }
      break;
  }
  if (!Link || !Link->Connected) return SyncLinkTimer();
  if (Keeper.Silent(now)) {
    // No answer: the connection counts as dropped; a new link stands for the dead one.
    LinkDropped();
    NewLink();
    return SyncLinkTimer();
  }
  // Never from inside a Send (its pending events run this timer): the command just written
  // counts as the member's last one, so the spell has not begun.
  if (Link->Socket().Active() && Keeper.QuietPingDue(now, Link->LastSendMs()))
    Link->Socket().Write(proto::CmdPing());
}

}  // namespace zn
