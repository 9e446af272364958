// The room page: entering and creating rooms, seats, robots, watching, the deal commands of seat 1,
// and the "A", "D", "R" and "T" lines.
#include "game/Cp1250.h"
#include "game/Desktop.h"
#include "game/ErrorHandler.h"
#include "game/Tokenizer.h"
#include "game/ZnError.h"
#include "link/Protocol.h"
#include "shell/ZnCliTop.h"

namespace zn {

using namespace zn::literals;

namespace {
constexpr std::string_view kFreeSeat = "- - -";
constexpr char kNoBreakSpace = static_cast<char>(0xA0);
void Say(std::string_view text) { Desktop().ShowMessage(std::string(text)); }
}  // namespace

void TZnForm::cmEnterExecute() {
  Guarded([&] {
    if (State.Lobby.RoomIndex <= 0 || State.Lobby.RoomIndex >= static_cast<int>(State.Lobby.Rooms.size())) {
      Say("Előbb válassz termet, majd újra add ki a belépés utasítást!"_cp);
      return;
    }
    // Sending lets other events run: take what is needed of the lists first.
    const std::int32_t room = State.Lobby.RoomIndex;
    const std::string caption = State.Lobby.Rooms[static_cast<std::size_t>(room)] + std::string(" terem");
    Send(proto::CmdEnter(room));
    State.Room.RoomName = State.Lobby.Rooms.size() > static_cast<std::size_t>(room)
                              ? State.Lobby.Rooms[static_cast<std::size_t>(room)]
                              : std::string();
    State.ClearMemo();
    BidForm->LeaveTable();  // another room's deal is not this one's
    State.Caption = caption;
    State.Room.DealText.clear();
    State.Room.MatchText.clear();
    Notify(Aspect::Caption);
    Notify(Aspect::Room);
  });
}

void TZnForm::cmNewRoomExecute() {
  Guarded([&] {
    auto typed =
        Desktop().InputBox(std::string("Új terem"_cp), std::string("Teremnév:  (legalább 4 betű)"_cp), "");
    if (!typed || typed->size() <= 3) return;
    // A room name travels as one token: "#" would cut the line, and spaces join the words with
    // the no-break space as every multi-word token does.
    if (typed->find('#') != std::string::npos) {
      Say("A teremnév nem tartalmazhat # jelet!"_cp);
      return;
    }
    std::string name = *typed;
    for (char& c : name)
      if (c == ' ') c = kNoBreakSpace;
    Send(proto::CmdNewRoom(name));
  });
}

void TZnForm::TakeSeat(std::int32_t seat) {
  // The server sends the deal as it stands: nothing of the last one the window showed may stay.
  if (seat > 0) BidForm->ClearTable();
  Send(proto::CmdSit(seat));
  BidForm->EnableGo(false);
  State.Room.DealText.clear();
  Notify(Aspect::Room);
}

void TZnForm::fdSeatClick(int seat) {
  Guarded([&] {
    if (seat < 1 || seat > 4) return;
    if (Actions.cmKibic.Checked) {
      Say("Kibic nem játszhat!"_cp);
    } else if (State.Room.Seated()) {
      Say("Előbb állj fel, ha át akarsz ülni!"_cp);
    } else if (State.Room.SeatTakeable(seat)) {
      TakeSeat(seat);
    }
  });
}

void TZnForm::cmStandExecute() {
  Guarded([&] {
    if (!State.Room.Seated()) {
      Say("Előbb ülj le, ha fel akarsz állni!"_cp);
      return;
    }
    TakeSeat(0);
    BidForm->LeaveTable();
  });
}

void TZnForm::cmRobotExecute() {
  Guarded([&] {
    if (State.Room.SeatFree(1)) {
      Say("Az induló helyén ülni kell valakinek!"_cp);
      return;
    }
    for (std::int32_t seat = 2; seat <= 4; ++seat) {
      if (State.Room.SeatFree(seat)) {
        Send(proto::CmdSit(-seat));
        return;
      }
    }
  });
}

void TZnForm::cmKibicExecute() {
  Guarded([&] {
    if (State.Room.Seated()) {
      Say("Előbb állj fel, ha kibicelni akarsz!"_cp);
      return;
    }
    Actions.cmKibic.Checked = BidForm->ToggleWatch();
    Notify(Aspect::Actions);
  });
}

void TZnForm::cmLobbyExecute() {
  Guarded([&] {
    Send(proto::CmdEnter(0));
    State.ClearMemo();
    BidForm->Hide();
  });
}

void TZnForm::StartDeal(std::int32_t command) {
  BidForm->ResetDeal();
  Send(proto::CmdDeal(command));
  BidForm->ShowPage(1);
}

void TZnForm::cmReplayExecute() {
  Guarded([&] { StartDeal(-1); });
}

void TZnForm::cmMatchExecute() {
  Guarded([&] { StartDeal(0); });
}

void TZnForm::cmNumDealExecute() {
  Guarded([&] {
    auto typed = Desktop().InputBox(std::string("Új oszás"_cp), std::string("Leosztás száma:"_cp), "");
    if (!typed) return;
    if (StrToInt(*typed) <= 0) return;
    BidForm->ResetDeal();
    Send(proto::CmdDealTyped(*typed));  // as typed: "0042" stays "0042"
    BidForm->ShowPage(1);
  });
}

void TZnForm::cmNextDealExecute() {
  Guarded([&] {
    BidForm->ResetDeal();
    Desktop().ProcessPendingEvents();
    // In 64 bits: the last deal number must not wrap round to a negative command.
    const std::int64_t number =
        static_cast<std::int64_t>(State.Room.DealNumber) + (State.Room.DealNumber < 1000 ? 2 : 1);
    Send(proto::CmdDealTyped(std::to_string(number)));
    BidForm->ShowPage(1);
  });
}

void TZnForm::cmAlignExecute() {
  Guarded([&] { Send(proto::CmdOption(!Actions.cmAlign.Checked)); });
}

void TZnForm::EnableDealCommands(bool enable) {
  Actions.cmMatch.Enabled = enable;
  Actions.cmNextDeal.Enabled = enable;
  BidForm->FixEnabled = !enable;
  Notify(Aspect::Actions);
  if (BidForm->Changed) BidForm->Changed(TBidForm::Aspect::Buttons);
}

// ---- Lines ----------------------------------------------------------------------------------

void TZnForm::ALine(const std::string& line) {
  Actions.cmAlign.Checked = proto::ParseOption(line);
  Notify(Aspect::Actions);
}

void TZnForm::DLine(const std::string& line) {
  State.Room.DealNumber = proto::ParseDeal(line);
  State.Room.DealText = std::to_string(State.Room.DealNumber);
  RecordGate.DealSeen(State.Room.DealNumber);
  Notify(Aspect::Room);
  // Back after a drop, the deal the member left goes on in its own row of the record.
  const bool same = !ResForm->Games.empty() && ResForm->Games.back().Number == State.Room.DealText &&
                    !ResForm->Games.back().Marked();
  if (!(same && CatchingUp())) ResForm->NewGame(State.Room.DealNumber);
}

void TZnForm::RLine(const std::string& line) {
  // What the line held before a malformed number is shown before the error goes on: a seat shown
  // as free while the window holds it taken would send "S" on a click.
  proto::TRoom room;
  try {
    proto::ParseRoomInto(line, room);
  } catch (const EZnError&) {
    ShowRoomMembers(room);
    Notify(Aspect::Room);
    throw;
  }
  ShowRoomMembers(room);

  State.Page = TClubState::tabRoom;
  State.Menus.Messages = true;
  State.Menus.Lobby = false;
  State.Menus.Room = true;
  State.Menus.View = true;
  // The seated member with the lowest seat orders deals and writes results down: seat 1's, or
  // another's when seat 1 is free or a robot holds it (its member left during a deal). Robots'
  // names begin with "-", which no nickname may.
  bool leads = State.Room.MySeat >= 1 && State.Room.MySeat <= 4;
  for (const proto::TRoomMember& m : room.members)
    if (m.seat >= 1 && m.seat < State.Room.MySeat && !m.nickname.starts_with('-')) leads = false;
  State.Menus.Deal = leads;
  Notify(Aspect::Page);
  Notify(Aspect::Menus);
  BidForm->DealButtonsVisible = leads;
  BidForm->EnableGo(false);

  if (BidForm->Watching) {
    State.Room.SeatDownVisible = false;
    Notify(Aspect::Room);
    BidForm->Show();
    Send(proto::CmdHand(0));
    return;
  }
  State.Room.SeatDownVisible = State.Room.MySeat == 0;
  Notify(Aspect::Room);
  if (State.Room.MySeat != 0)
    BidForm->Show();
  else
    BidForm->Hide();
  if (State.Room.Seated()) Send(proto::CmdHand(State.Room.MySeat));
}

void TZnForm::ShowRoomMembers(const proto::TRoom& room) {
  State.Present.clear();
  State.PresentIndex = -1;
  State.Room.MatchText = room.played;
  for (int seat = 1; seat <= 4; ++seat)
    State.Room.SeatLabels[static_cast<std::size_t>(seat)] = std::string(kFreeSeat);
  State.Room.SeatHolders.fill(TRoomState::TSeatHolder::Free);
  for (const proto::TRoomMember& m : room.members) {
    // Members without a seat 1..4 are only present; robots' nicknames begin with "-".
    if (m.seat >= 1 && m.seat <= 4) {
      State.Room.SeatLabels[static_cast<std::size_t>(m.seat)] = m.nickname;
      State.Room.SeatHolders[static_cast<std::size_t>(m.seat)] = !m.nickname.empty() && m.nickname[0] == '-'
                                                                     ? TRoomState::TSeatHolder::Robot
                                                                     : TRoomState::TSeatHolder::Member;
    }
    if (m.nickname == State.Nickname) State.Room.MySeat = m.seat;
    State.Present.push_back(m.nickname);
  }
  Notify(Aspect::Present);
}

void TZnForm::TLine(const std::string& line) { BidForm->TurnLine(line); }

}  // namespace zn
