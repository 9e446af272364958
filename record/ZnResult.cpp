#include "record/ZnResult.h"

#include <string_view>

#include "game/Tokenizer.h"
#include "link/ClubPort.h"

namespace zn {

TResForm::TResForm(TClubPort& club) : club_(club) {}

void TResForm::NewGame(std::int32_t dealNumber) {
  TGame game;
  game.Number = std::to_string(dealNumber);
  Games.push_back(std::move(game));
  Selected = GameCount() - 1;
  Notify(Aspect::Games);
}

// The record of bids and tricks comes with the full played-games window.
void TResForm::SetBids(const std::vector<std::string>&) {}
void TResForm::SetTrickCard(int, int, std::int32_t) {}

void TResForm::SetTricks(const std::string& text) {
  if (Games.empty()) return;
  Games.back().Tricks = text;
  Notify(Aspect::Games);
}

void TResForm::GameResult(const std::string& line) {
  std::string_view rest(line);
  rest.remove_prefix(rest.empty() ? 0 : 1);
  // A result without an announced deal has no row to go into; it still ends the deal.
  if (!Games.empty()) {
    TGame& game = Games.back();
    game.Points14 = std::string(CutToken(rest, ':'));
    game.Points23 = std::string(CutWord(rest));
    game.Played = club_.MatchText();
    game.Mark = "+";
    Notify(Aspect::Games);
  }
  ShowGames();
  club_.EnableDealCommands(true);
}

void TResForm::ShowGames() {
  Visible = true;
  Page = tabHand;
  Notify(Aspect::Visible);
  Notify(Aspect::Page);
}

void TResForm::ShowBids() {
  Visible = true;
  Page = tabBid;
  Notify(Aspect::Visible);
  Notify(Aspect::Page);
}

}  // namespace zn
