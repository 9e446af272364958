#include "record/ZnResult.h"

#include <algorithm>
#include <string_view>

#include "game/Confirm.h"
#include "game/Cp1250.h"
#include "game/Desktop.h"
#include "game/Tokenizer.h"
#include "link/ClubPort.h"
#include "link/Protocol.h"

namespace zn {

using namespace zn::literals;

TResForm::TResForm(TClubPort& club) : club_(club) {
  Game[0][0] = std::string("Ütés"_cp);
  for (int k = 1; k < kPlayRows; ++k) Game[static_cast<std::size_t>(k)][0] = std::to_string(k);
}

TResForm::TGame* TResForm::Row(int r) {
  if (r < 1 || r > GameCount()) return nullptr;
  return &Games[static_cast<std::size_t>(r - 1)];
}

const TResForm::TGame* TResForm::Row(int r) const { return const_cast<TResForm*>(this)->Row(r); }

void TResForm::NewGame(std::int32_t dealNumber) {
  TGame game;
  game.Number = std::to_string(dealNumber);
  Games.push_back(std::move(game));
  Selected = GameCount();
  NotifyRow(GameCount());
}

void TResForm::SetBids(const std::vector<std::string>& lines) {
  TGame* game = Current();
  if (!game) return;
  game->Bids = lines;
  if (Selected == GameCount()) ShowBidPage();
}

void TResForm::SetTrickCard(int trick, int seat, std::int32_t card) {
  TGame* game = Current();
  if (game) game->Trick.SetCard(trick, seat, card);
}

void TResForm::CompleteTricks(const dealrecord::DealRecord& deal) {
  TGame* game = Current();
  if (!game || game->Number != std::to_string(deal.number)) return;
  const std::size_t tricks = std::min<std::size_t>(deal.tricks.size(), kTricks);
  for (std::size_t k = 0; k < tricks; ++k) {
    const dealrecord::TrickRecord& trick = deal.tricks[k];
    if (!ValidSeat(trick.leader)) continue;
    for (int i = 0; i < kSeats; ++i) {
      const TCard card = trick.cards[static_cast<std::size_t>(i)];
      if (card != kNoCard) game->Trick.SetCard(static_cast<int>(k) + 1, trick.SeatAt(i), card);
    }
  }
  if (Selected == GameCount() && Page == tabPlay) ShowPlayPage();
}

void TResForm::SetTricks(const std::string& text) {
  TGame* game = Current();
  if (!game) return;
  game->Tricks = text;
  NotifyRow(GameCount());
}

void TResForm::GameResult(const std::string& line) {
  // A result without an announced deal has no row to go into; it still ends the deal.
  if (TGame* game = Current()) {
    proto::TResultText points = proto::ReadResult(line);
    game->Points14 = std::move(points.ours);
    game->Points23 = std::move(points.theirs);
    game->Played = club_.MatchText();
    game->Mark = "+";
    NotifyRow(GameCount());
    SumColumn(3);
    SumColumn(4);
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
  ShowBidPage();
  Notify(Aspect::Visible);
  Notify(Aspect::Page);
}

void TResForm::Toggle(int row) {
  TGame* game = Row(row);
  if (!game) return;  // the empty row of a list without games has nothing to mark
  game->Mark = game->Marked() ? " -" : "+";
  NotifyRow(row);
  SumColumn(3);
  SumColumn(4);
}

void TResForm::SumColumn(int column) {
  if (column != 3 && column != 4) return;
  std::int64_t sum = 0;
  for (const TGame& game : Games) {
    if (!game.Marked()) continue;
    std::int32_t value = 0;
    if (TryStrToInt(column == 3 ? game.Points14 : game.Points23, value)) sum += value;
  }
  (column == 3 ? Header3 : Header4) = std::to_string(sum);
  Notify(Aspect::Headers);
}

void TResForm::DeleteGame(int row) {
  if (row < 1 || row >= GameCount()) {
    Desktop().Beep();
    return;
  }
  Games.erase(Games.begin() + (row - 1));
  Selected = std::clamp(Selected, 1, std::max(GameCount(), 1));
  Notify(Aspect::Games);
}

int TResForm::MarkedCount() const {
  return static_cast<int>(
      std::count_if(Games.begin(), Games.end(), [](const TGame& g) { return g.Marked(); }));
}

void TResForm::PlayedSelect(int row) { Selected = std::clamp(row, 1, std::max(GameCount(), 1)); }

void TResForm::cmChangeClick() { Toggle(Selected); }

void TResForm::cmDeleteClick() {
  if (Confirm(std::string("Törölhető ez a parti?"_cp))) DeleteGame(Selected);
}

void TResForm::cmDelAllClick() {
  if (!Confirm(std::string("Törölhető az összes \"-\" parti?"_cp))) return;
  for (int r = GameCount() - 1; r >= 1; --r)
    if (!Row(r)->Marked()) DeleteGame(r);
}

void TResForm::PagesChange(TPage page) {
  Page = page;
  if (page == tabBid) ShowBidPage();
  if (page == tabPlay) ShowPlayPage();
  Notify(Aspect::Page);
}

void TResForm::FormClose() {
  Visible = false;
  Notify(Aspect::Visible);
}

void TResForm::ShowBidPage() {
  if (const TGame* game = Row(Selected)) {
    BidList = game->Bids;
    Notify(Aspect::Bids);
  }
}

void TResForm::ShowPlayPage() {
  static constexpr std::array<std::string_view, 4> kHeads = {"<< Elfogó"_cp, "<< Induló"_cp, "Elfogó >>"_cp,
                                                             "Induló >>"_cp};
  for (auto& row : Game)
    for (std::size_t j = 1; j < row.size(); ++j) row[j].clear();
  for (std::size_t j = 1; j < kPlayCols; ++j) Game[0][j] = std::string(kHeads[j - 1]);
  const TGame* game = Row(Selected);
  if (game && !game->Tricks.empty()) {
    for (int k = 1; k < kPlayRows; ++k)
      for (int j = 1; j < kPlayCols; ++j)
        Game[static_cast<std::size_t>(k)][static_cast<std::size_t>(j)] =
            CardName(game->Trick.Trick(k).Card(j - 1));
  }
  Notify(Aspect::Play);
}

}  // namespace zn
