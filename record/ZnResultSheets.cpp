// The two sheet commands of the played-games window.
#include "game/Cp1250.h"
#include "game/Desktop.h"
#include "game/Seats.h"
#include "link/ClubPort.h"
#include "record/SheetFile.h"
#include "record/Sheets.h"
#include "record/ZnResult.h"

namespace zn {

using namespace zn::literals;

std::string TResForm::AskFile(const std::string& title) {
  // The first time the dialog proposes "Results.txt" in the program's folder, then the last choice.
  const bool first = LastSaved.empty();
  const auto chosen =
      Desktop().SaveFileName(title, first ? SaveFolder : LastSaved, first ? "Results.txt" : "",
                             std::string("Szöveges állományok (*.txt)|*.txt|Minden (*.*)|*.*"_cp));
  if (!chosen || chosen->empty()) return {};
  LastSaved = *chosen;
  return *chosen;
}

void TResForm::cmSaveClick() {
  const TGame* game = Row(Selected);
  if (!game) {  // the empty row of a list without games: there is no game to write
    Desktop().Beep();
    return;
  }
  const std::string path = AskFile(std::string("Játszmalap mentés"_cp));
  if (path.empty()) return;
  ShowPlayPage();  // the trick lines are read from the play page, filled for this game
  WriteSheet(path, GameSheetLines(StampText(Desktop().NowMs()), *game, Game));
}

void TResForm::cmMatchClick() {
  if (MarkedCount() != 8) {
    Desktop().ShowMessage(
        std::string("Jelöld ki (kettős kattintással) azt a 8 partit, amelyikről a meccslapot kéred!"_cp));
    return;
  }
  const std::string path = AskFile(std::string("Meccslap mentés"_cp));
  if (path.empty()) return;
  TMatchHead head;
  for (int seat = 1; seat <= kSeats; ++seat)
    head.seats[static_cast<std::size_t>(seat - 1)] = club_.SeatLabel(seat);
  head.total14 = Header3;
  head.total23 = Header4;
  WriteSheet(path, MatchSheetLines(StampText(Desktop().NowMs()), head, Games));
  // Only a written sheet uses up its games: after a failed write the member can try again.
  for (TGame& game : Games)
    if (game.Marked()) game.Mark = " -";
  Notify(Aspect::Games);
}

}  // namespace zn
