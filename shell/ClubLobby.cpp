// The lobby page: the "I" line with its rooms and members, and the room list's clicks.
#include "game/Cp1250.h"
#include "game/Desktop.h"
#include "game/ErrorHandler.h"
#include "game/ZnError.h"
#include "link/Protocol.h"
#include "shell/ZnCliTop.h"

namespace zn {

using namespace zn::literals;

void TZnForm::ILine(const std::string& line) {
  ClaimAfterLobby();
  // The chat stays when the server only refreshes a lobby already shown.
  const bool refresh = State.Page == TClubState::tabLobby;
  State.Page = TClubState::tabConnect;
  State.Caption = std::string("Társalgó"_cp);
  State.Menus = TClubState::TMenus{};
  BidForm->Hide();
  ClearLists(refresh);
  State.Page = TClubState::tabLobby;
  State.Menus.Messages = true;
  State.Menus.Lobby = true;
  Notify(Aspect::Page);
  Notify(Aspect::Caption);
  Notify(Aspect::Menus);

  // What the line held before a malformed number is shown before the error goes on: the screen
  // never shows an empty list while the window holds rooms.
  proto::TLobby lobby;
  try {
    proto::ParseLobbyInto(line, lobby);
  } catch (const EZnError&) {
    ShowLobby(lobby);
    throw;
  }
  ShowLobby(lobby);
  AskForRecords();
  AnnounceReads();
  if (!State.Lobby.Rooms.empty()) fdRoomsClick(0);
}

void TZnForm::ShowLobby(const proto::TLobby& lobby) {
  State.Lobby.Rooms = lobby.rooms;
  State.Lobby.RoomMembers.assign(State.Lobby.Rooms.size(), {});
  for (const proto::TLobbyMember& m : lobby.members) {
    if (m.room < 0 || m.room >= static_cast<std::int32_t>(State.Lobby.Rooms.size())) {
      Notify(Aspect::Lobby);
      Notify(Aspect::Present);
      throw EZnError(ListIndexError(m.room));
    }
    if (m.room == 0) State.Present.push_back(m.nickname);
    State.Lobby.RoomMembers[static_cast<std::size_t>(m.room)].push_back(m.nickname);
  }
  Notify(Aspect::Present);
  Notify(Aspect::Lobby);
}

void TZnForm::fdRoomsClick(int index) {
  Guarded([&] {
    if (index < 0 || index >= static_cast<int>(State.Lobby.Rooms.size()))
      throw EZnError(ListIndexError(index));
    State.Lobby.RoomIndex = index;
    State.Lobby.Users = State.Lobby.RoomMembers[static_cast<std::size_t>(index)];
    State.Lobby.UserIndex = State.Lobby.Users.empty() ? -1 : 0;
    Notify(Aspect::Lobby);
  });
}

void TZnForm::fdRoomsDblClick(int index) {
  fdRoomsClick(index);
  cmEnterExecute();
}

}  // namespace zn
