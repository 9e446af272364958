// The club window's actions: captions, menu captions, hints, initial check marks and handlers.
#include "game/Cp1250.h"
#include "shell/ZnCliTop.h"

namespace zn {

using namespace zn::literals;

namespace {
void Set(TAction& a, std::string_view caption, std::string_view menuCaption, std::string_view hint,
         std::function<void()> execute, bool checked = false) {
  a.Caption = std::string(caption);
  a.MenuCaption = std::string(menuCaption);
  a.Hint = std::string(hint);
  a.Checked = checked;
  a.Execute = std::move(execute);
}
}  // namespace

void TZnForm::InitActions() {
  Set(Actions.cmConnect, "&Bejeletkezés"_cp, "", "Felveszi a kapcsolatot a szerverrel",
      [this] { cmConnectExecute(); });
  Set(Actions.cmDisconnect, "&Távkapcsolat"_cp, "", "", [this] { cmDisconnectExecute(); });
  Set(Actions.cmShowCode, "&Névkód..."_cp, "", "A becenév kódja, amellyel másik gépre vihető"_cp,
      [this] { cmShowCodeExecute(); });
  Set(Actions.cmEnterCode, "Névkód &megadása..."_cp, "",
      "Egy másik gépen látott névkód használata ezen a gépen"_cp, [this] { cmEnterCodeExecute(); });
  Set(Actions.cmExit, "&Kilépés"_cp, "", "", [this] { cmExitExecute(); });
  Set(Actions.cmMsg, "&Elküld"_cp, "", "", [this] { cmMsgExecute(); });
  Set(Actions.cmClear, "&Töröl"_cp, "", "", [this] { cmClearExecute(); });
  Set(Actions.cmPing, "&Válaszidő"_cp, "", "", [this] { cmPingExecute(); });
  Set(Actions.cmLogMsg, "&Közhír"_cp, "", "", [this] { cmLogMsgExecute(); });
  Set(Actions.cmInfo, "&Bemutatás..."_cp, "&Bemutatkozás..."_cp, "", [this] { cmInfoExecute(); });
  Set(Actions.cmNewRoom, "Új &terem létrehozás"_cp, "", "", [this] { cmNewRoomExecute(); });
  Set(Actions.cmEnter, "&Belépés a terembe"_cp, "", "", [this] { cmEnterExecute(); });
  Set(Actions.cmOpener, "Induló &1"_cp, "<< Induló &1"_cp, "", [this] { fdSeatClick(1); });
  Set(Actions.cmCatcher, "Elfogó &4"_cp, "<< Elfogó &4"_cp, "", [this] { fdSeatClick(4); });
  Set(Actions.cmOpenDef, "Induló &3"_cp, "Induló >> &3"_cp, "", [this] { fdSeatClick(3); });
  Set(Actions.cmCatDef, "Elfogó &2"_cp, "Elfogó >> &2"_cp, "", [this] { fdSeatClick(2); });
  Set(Actions.cmStand, "&Feláll"_cp, "", "", [this] { cmStandExecute(); });
  Set(Actions.cmRobot, "&Robot", "&Robot ültetés"_cp, "", [this] { cmRobotExecute(); });
  Set(Actions.cmLobby, "&Vissza a társalgóba"_cp, "", "", [this] { cmLobbyExecute(); });
  Set(
      Actions.cmNormal, "&Normál"_cp, "", "", [this] { cmOrderExecute(0); }, true);
  Set(Actions.cmReverse, "&Fordított"_cp, "", "", [this] { cmOrderExecute(1); });
  Set(Actions.cmSide, "&Osztott", "", "", [this] { cmOrderExecute(2); });
  Set(
      Actions.cmSound, "&Hang", "", "", [this] { cmSoundExecute(); }, true);
  Set(Actions.cmTable, "&Asztal...", "", "", [this] { cmTableExecute(); });
  Set(Actions.cmShowBid, "&Licitek...", "", "Megmutatja a liciteket", [this] { cmShowBidExecute(); });
  Set(Actions.cmResults, "&Partik...", "", "", [this] { cmResultsExecute(); });
  Set(Actions.cmArchive, "A&rchívum..."_cp, "", "", [this] { cmArchiveExecute(); });
  Set(Actions.cmKibic, "&Kibic...", "", "", [this] { cmKibicExecute(); });
  Set(Actions.cmReplay, "Ú&jrajátszás"_cp, "Újra &játszás"_cp, "Ugyanezt a leosztást újrakezdi"_cp,
      [this] { cmReplayExecute(); });
  Set(Actions.cmNumDeal, "&Számozott osztás"_cp, "", "Új számozott osztás"_cp,
      [this] { cmNumDealExecute(); });
  Set(Actions.cmMatch, "Új &meccs"_cp, "", "Új véletlen osztás, eredmények törölve"_cp,
      [this] { cmMatchExecute(); });
  Set(Actions.cmNextDeal, "&Következő"_cp, "&Következő osztás"_cp, "A következő számozott leosztás"_cp,
      [this] { cmNextDealExecute(); });
  Set(
      Actions.cmAlign, "&Igazítás"_cp, "", "", [this] { cmAlignExecute(); }, true);
  Set(Actions.cmHelp, "&Tartalom", "", "", [this] { cmHelpExecute(); });
  Set(Actions.cmAbout, "&Névjegy"_cp, "", "", [this] { cmAboutExecute(); });
}

std::vector<std::pair<std::string_view, TAction*>> TClubActions::All() {
  return {
      {"cmConnect", &cmConnect},   {"cmDisconnect", &cmDisconnect},
      {"cmShowCode", &cmShowCode}, {"cmEnterCode", &cmEnterCode},
      {"cmExit", &cmExit},         {"cmMsg", &cmMsg},
      {"cmClear", &cmClear},       {"cmPing", &cmPing},
      {"cmLogMsg", &cmLogMsg},     {"cmInfo", &cmInfo},
      {"cmNewRoom", &cmNewRoom},   {"cmEnter", &cmEnter},
      {"cmOpener", &cmOpener},     {"cmCatcher", &cmCatcher},
      {"cmOpenDef", &cmOpenDef},   {"cmCatDef", &cmCatDef},
      {"cmStand", &cmStand},       {"cmRobot", &cmRobot},
      {"cmLobby", &cmLobby},       {"cmNormal", &cmNormal},
      {"cmReverse", &cmReverse},   {"cmSide", &cmSide},
      {"cmSound", &cmSound},       {"cmTable", &cmTable},
      {"cmShowBid", &cmShowBid},   {"cmResults", &cmResults},
      {"cmArchive", &cmArchive},   {"cmKibic", &cmKibic},
      {"cmReplay", &cmReplay},     {"cmNumDeal", &cmNumDeal},
      {"cmMatch", &cmMatch},       {"cmNextDeal", &cmNextDeal},
      {"cmAlign", &cmAlign},       {"cmHelp", &cmHelp},
      {"cmAbout", &cmAbout},
  };
}

}  // namespace zn
