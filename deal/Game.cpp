#include "deal/Game.h"

#include <utility>

namespace zn::deal {

Game::Game(std::int32_t number) : Game(number, DealCards(number)) {}

Game::Game(std::int32_t number, DealtCards dealt)
    : number_(number), dealt_(std::move(dealt)), bidding_(DealerOf(number)) {}

Game::Phase Game::CurrentPhase() const {
  if (!play_) return Phase::Bidding;
  return play_->Finished() ? Phase::Over : Phase::Playing;
}

const TCards& Game::HandOf(int seat) const {
  static const TCards kNone;
  if (!ValidSeat(seat)) return kNone;
  return play_ ? play_->Hand(seat).Cards : dealt_.hands[static_cast<std::size_t>(seat)];
}

int Game::OnTurn() const { return play_ ? play_->OnTurn() : bidding_.OnTurn(); }

std::optional<std::string> Game::Bid(int seat, std::vector<std::string> bids) {
  if (play_ || seat != bidding_.OnTurn()) return bids.empty() ? std::string() : bids.front();
  if (auto refused = bidding_.Refusal(bids, HandOf(seat))) return refused;
  bidding_.Accept(std::move(bids));
  if (bidding_.Over()) play_.emplace(dealt_.hands, Dealer());
  return std::nullopt;
}

bool Game::PlayCard(int seat, TCard card) {
  if (!play_ || !play_->MayPlayCard(seat, card)) return false;
  play_->Play(seat, card);
  return true;
}

void Game::Continue() {
  if (play_) play_->Continue();
}

RobotView Game::ViewFor(int seat) const {
  RobotView view;
  view.seat = seat;
  view.dealer = Dealer();
  view.hand = HandOf(seat);
  view.bids = bidding_.Blocks();
  if (play_) {
    view.table = play_->Table();
    view.leader = play_->Leader();
    view.played = &play_->Record();
  }
  return view;
}

bool Game::RobotMove(Robot& robot) {
  const int seat = OnTurn();
  if (seat == 0) return false;
  if (!play_) return !Bid(seat, robot.Bid(ViewFor(seat))).has_value();
  return PlayCard(seat, robot.Play(ViewFor(seat)));
}

std::vector<ScoreItem> Game::Score(int pair) const {
  static const PlayRecord kNothing;
  return ScorePair(bidding_.BidsOfPair(pair), play_ ? play_->Record() : kNothing, pair);
}

}  // namespace zn::deal
