// One deal from the shuffle to the score: the dealt hands, the bidding, then the card play led by
// the dealer, and at the end the score items of both pairs. Pure: no network, no clock.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "deal/Bidding.h"
#include "deal/CardPlay.h"
#include "deal/Robot.h"
#include "deal/Scoring.h"
#include "deal/Shuffle.h"

namespace zn::deal {

class Game {
 public:
  enum class Phase { Bidding, Playing, Over };

  explicit Game(std::int32_t number);
  // Deal number with cards dealt elsewhere (the server's keyed deal).
  Game(std::int32_t number, DealtCards dealt);

  std::int32_t Number() const { return number_; }
  int Dealer() const { return bidding_.Dealer(); }
  Phase CurrentPhase() const;
  const DealtCards& Dealt() const { return dealt_; }
  const Bidding& Bids() const { return bidding_; }
  // The card play; only once bidding is over.
  const CardPlay* Play() const { return play_ ? &*play_ : nullptr; }
  // A seat's cards now: the dealt ten during bidding, what is left during play.
  const TCards& HandOf(int seat) const;
  // The seat to bid or play; 0 while a complete trick waits and when the deal is over.
  int OnTurn() const;

  // The seat's set of bids: the refused bid, or nothing when it was accepted. When bidding ends
  // the play starts with the dealer to lead.
  std::optional<std::string> Bid(int seat, std::vector<std::string> bids);
  // False (and nothing changes) when the card may not be played by that seat now.
  bool PlayCard(int seat, TCard card);
  // After a complete trick: the next trick starts (or, after the tenth, the deal is over).
  void Continue();

  // What a robot on seat may see: its own hand and the public table.
  RobotView ViewFor(int seat) const;
  // Lets the robot on turn act once (a set of bids, or a card). False when it made no legal move.
  bool RobotMove(Robot& robot);

  // The items of pair 1 (seats 1 and 4) or pair 2; only meaningful when the deal is over.
  std::vector<ScoreItem> Score(int pair) const;

 private:
  std::int32_t number_;
  DealtCards dealt_;
  Bidding bidding_;
  std::optional<CardPlay> play_;
};

}  // namespace zn::deal
