// TResForm: the played-games window. This holds the rows of the run the club window starts and
// completes; the bids, tricks, marks, totals and sheets come with the full window.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace zn {

class TClubPort;

class TResForm {
 public:
  enum class Aspect { Visible, Page, Games };
  std::function<void(Aspect)> Changed;

  enum TPage { tabHand, tabBid, tabPlay };  // "Partik", "Licitek", "Lejátszás"

  // One row of the game list.
  struct TGame {
    std::string Mark = "-";  // "+" chosen for the match sheet
    std::string Played;      // deals played in the room when the result arrived
    std::string Number;      // the deal number
    std::string Points14 = "0";
    std::string Points23 = "0";
    std::string Tricks;  // the trick split
  };

  explicit TResForm(TClubPort& club);

  bool Visible = false;
  TPage Page = tabHand;
  std::vector<TGame> Games;  // Games.back() is the current game
  int Selected = -1;         // index into Games

  int GameCount() const { return static_cast<int>(Games.size()); }
  // A new deal was announced ("D" line).
  void NewGame(std::int32_t dealNumber);
  // The table window's feed of the current game: the listing of all bids, one card of a trick
  // (trick 1..10, seat 1..4), the trick split of the finished deal.
  void SetBids(const std::vector<std::string>& lines);
  void SetTrickCard(int trick, int seat, std::int32_t card);
  void SetTricks(const std::string& text);
  // The "F" line: the written-down result of the current game.
  void GameResult(const std::string& line);
  void ShowGames();
  void ShowBids();

 private:
  TClubPort& club_;
  void Notify(Aspect a) {
    if (Changed) Changed(a);
  }
};

}  // namespace zn
