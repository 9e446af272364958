// A named action of the club window as its menu items and buttons show it, and the club window's
// actions. The Qt window renders the record and runs Execute on a click; it never keeps a check
// mark or an enabled state itself.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zn {

struct TAction {
  std::string Caption;      // cp1250, with "&" before the accelerator
  std::string MenuCaption;  // the menu item's caption where it differs from Caption, else empty
  std::string Hint;
  bool Checked = false;
  bool Enabled = true;
  bool Visible = true;
  std::function<void()> Execute;  // the handler, inside the general error handler

  const std::string& MenuText() const { return MenuCaption.empty() ? Caption : MenuCaption; }
};

// The club window's actions by menu; TZnForm gives them their captions and handlers.
struct TClubActions {
  TAction cmConnect, cmDisconnect, cmShowCode, cmEnterCode, cmExit;             // "&Külvilág"
  TAction cmMsg, cmClear, cmPing, cmLogMsg, cmInfo;                             // "Ü&zenetek"
  TAction cmNewRoom, cmEnter;                                                   // "&Társalgó"
  TAction cmOpener, cmCatcher, cmOpenDef, cmCatDef, cmStand, cmRobot, cmLobby;  // "&Terem"
  TAction cmNormal, cmReverse, cmSide, cmSound, cmTable, cmShowBid, cmResults, cmArchive,
      cmKibic;                                                // "&Nézet"
  TAction cmReplay, cmNumDeal, cmMatch, cmNextDeal, cmAlign;  // "&Osztás"
  TAction cmHelp, cmAbout;                                    // "&Súgó"
  // Every action with its name, in menu order.
  std::vector<std::pair<std::string_view, TAction*>> All();
};

}  // namespace zn
