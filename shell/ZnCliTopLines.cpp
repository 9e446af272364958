// The club window's lines: "G" (ping answer), "I" (lobby), "L" (server version), "M" (message).
#include <cstdio>

#include "game/Cp1250.h"
#include "game/Desktop.h"
#include "game/ErrorHandler.h"
#include "game/Hands.h"
#include "game/Tokenizer.h"
#include "game/ZnError.h"
#include "link/Protocol.h"
#include "shell/ZnCliTop.h"

namespace zn {

using namespace zn::literals;

namespace {
std::string_view Payload(const std::string& line) {
  std::string_view rest(line);
  rest.remove_prefix(rest.empty() ? 0 : 1);
  return rest;
}
}  // namespace

void TZnForm::GLine(const std::string&) {
  const double seconds = (Now() - RequestTime) * 86400.0;
  RequestTime = seconds;
  char number[64];
  std::snprintf(number, sizeof number, "%0.3f", seconds);  // the locale's decimal separator
  AddMemo(std::string(" >>>>> Válaszidő "_cp) + number + " sec");
  Alert();
}

void TZnForm::LLine(const std::string& line) {
  const std::string_view version = Payload(line);
  if (version != "0.99")
    Desktop().ShowMessage(std::string("Szerver verzió ("_cp) + std::string(version) +
                          std::string(") eltérő.\rAjánlatos frissíteni a Kliens programot!"_cp));
  Send(proto::CmdNick(Nickname));
}

void TZnForm::MLine(const std::string& line) {
  Alert();
  AddMemo(std::string(Payload(line)));
}

void TZnForm::ILine(const std::string& line) {
  // The chat stays when the server only refreshes a lobby already shown.
  const bool refresh = Page == tabLobby;
  Page = tabConnect;
  Caption = std::string("Társalgó"_cp);
  Menus = TMenus{};
  BidForm->Hide();
  ClearLists(refresh);
  Page = tabLobby;
  Menus.Messages = true;
  Menus.Lobby = true;
  Notify(Aspect::Page);
  Notify(Aspect::Caption);
  Notify(Aspect::Menus);

  // Counts never read past the end of the line.
  std::string_view rest = Payload(line);
  const std::int32_t rooms = CutInt(rest);
  for (std::int32_t i = 0; i < rooms && !rest.empty(); ++i) {
    Rooms.emplace_back(CutWord(rest));
    RoomMembers.emplace_back();
  }
  const std::int32_t members = CutInt(rest);
  for (std::int32_t i = 0; i < members && !rest.empty(); ++i) {
    const std::int32_t room = CutInt(rest);
    std::string nickname(CutWord(rest));
    if (room < 0 || room >= static_cast<std::int32_t>(Rooms.size())) {
      Notify(Aspect::Lobby);
      Notify(Aspect::Present);
      throw EZnError(ListIndexError(room));
    }
    if (room == 0) Present.push_back(nickname);
    RoomMembers[static_cast<std::size_t>(room)].push_back(std::move(nickname));
  }
  Notify(Aspect::Present);
  if (!Rooms.empty()) fdRoomsClick(0);
  Notify(Aspect::Lobby);
}

void TZnForm::fdRoomsClick(int index) {
  Guarded([&] {
    if (index < 0 || index >= static_cast<int>(Rooms.size())) throw EZnError(ListIndexError(index));
    RoomIndex = index;
    Users = RoomMembers[static_cast<std::size_t>(index)];
    UserIndex = Users.empty() ? -1 : 0;
    Notify(Aspect::Lobby);
  });
}

void TZnForm::fdRoomsDblClick(int index) {
  fdRoomsClick(index);
  cmEnterExecute();
}

}  // namespace zn
