// TResForm: the played-games window. One row per deal the club window announced during the run,
// with its bids, tricks and result; the member reviews a game on three pages, marks games for the
// match sheet, deletes the unwanted ones and saves the two sheets.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "dealrecord/DealRecord.h"
#include "record/Trick.h"

namespace zn {

class TClubPort;

class TResForm {
 public:
  // Games: any row of the list may have changed; GameRow: only row ChangedRow did (it may be a new
  // last row); Headers: the totals above the list.
  enum class Aspect { Visible, Page, Games, GameRow, Headers, Bids, Play };
  std::function<void(Aspect)> Changed;

  enum TPage { tabHand, tabBid, tabPlay };  // "Partik", "Licitek", "Lejátszás"

  // One row of the game list, with the two objects it owns: the bid lines and the tricks.
  struct TGame {
    std::string Mark = "-";  // only "+" counts as chosen for the match sheet
    std::string Played;      // deals played in the room when the result arrived
    std::string Number;      // the deal number
    std::string Points14 = "0";
    std::string Points23 = "0";
    std::string Tricks;             // the trick split; empty until the deal ended
    std::vector<std::string> Bids;  // the listing of all bids
    TTrick Trick;
    bool Marked() const { return Mark == "+"; }
  };

  static constexpr int kPlayRows = 11;  // header + ten tricks
  static constexpr int kPlayCols = 5;   // trick number + seats 4, 1, 2, 3
  using TPlayGrid = std::array<std::array<std::string, kPlayCols>, kPlayRows>;

  explicit TResForm(TClubPort& club);

  bool Visible = false;
  TPage Page = tabHand;
  std::vector<TGame> Games;  // row r of the list is Games[r - 1]; the last is the current game
  // The selected row of the list, 1..max(GameCount, 1); row 1 is an empty row while there is no game.
  int Selected = 1;
  int ChangedRow = 0;                            // the row a GameRow change touched
  std::string Header3 = "<<<", Header4 = ">>>";  // the totals of the marked games once counted
  std::vector<std::string> BidList;              // the "Licitek" page
  TPlayGrid Game;                                // the "Lejátszás" page, [row][column]

  // The save dialog: the folder it opens in (the program's folder) and the file chosen last.
  std::string SaveFolder;
  std::string LastSaved;

  int GameCount() const { return static_cast<int>(Games.size()); }
  // The game of row r, or nullptr when r is no game row.
  TGame* Row(int r);
  const TGame* Row(int r) const;

  // ---- Fed by the other windows -------------------------------------------------------------
  // A new deal was announced ("D" line): a new current game.
  void NewGame(std::int32_t dealNumber);
  // The table window's feed of the current game: the listing of all bids, one card of a trick
  // (trick 1..10, seat 1..4), the trick split of the finished deal. Before the first "D" line there
  // is no current game and they are dropped; so is a card outside its trick, seat or code range.
  void SetBids(const std::vector<std::string>& lines);
  void SetTrickCard(int trick, int seat, std::int32_t card);
  void SetTricks(const std::string& text);
  // The server's record of the deal that ended: when it is the current game's deal, its tricks
  // replace what the table window passed on, which misses the cards played while the link was down.
  void CompleteTricks(const dealrecord::DealRecord& deal);
  // The "F" line: the written-down result of the current game.
  void GameResult(const std::string& line);
  void ShowGames();
  void ShowBids();

  // ---- The list -----------------------------------------------------------------------------
  // "+" becomes " -", anything else "+"; then the totals.
  void Toggle(int row);
  // Header of column 3 or 4 := the sum of that column over the marked rows (non-numbers count 0).
  void SumColumn(int column);
  // Removes a game that is not the current one; the current game (or none) only beeps.
  void DeleteGame(int row);
  int MarkedCount() const;

  // ---- Commands and user events --------------------------------------------------------------
  void PlayedSelect(int row);    // the user selected a row of the list
  void cmChangeClick();          // "&Vált", or a double click on a row
  void cmDeleteClick();          // "&Ezt törli"
  void cmDelAllClick();          // "&Töröl (- mind)"
  void PagesChange(TPage page);  // the user brought up a page
  void cmSaveClick();            // "&Megőriz": the game sheet of the selected row
  void cmMatchClick();           // "Meccs&lap": the match sheet of the eight marked games
  void FormClose();              // the window's own close hides it

  // Fills BidList / Game from the selected row, as when the page comes up.
  void ShowBidPage();
  void ShowPlayPage();

 private:
  TClubPort& club_;
  TGame* Current() { return Games.empty() ? nullptr : &Games.back(); }
  void Notify(Aspect a) {
    if (Changed) Changed(a);
  }
  // One row changed: a deal costs the view the same however many games are listed.
  void NotifyRow(int row) {
    ChangedRow = row;
    Notify(Aspect::GameRow);
  }
  // The save dialog with title; the chosen path or empty when cancelled.
  std::string AskFile(const std::string& title);
};

}  // namespace zn
