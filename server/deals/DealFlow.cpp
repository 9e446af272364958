// The run of a deal: dealing, robots' turns, the wait for "T" after a trick, the score.
#include <optional>

#include "deal/BidNames.h"
#include "deal/StrongRobot.h"
#include "link/Protocol.h"
#include "server/base/ClubTexts.h"
#include "server/base/Log.h"
#include "server/deals/Deals.h"

namespace zn::server {

bool Deals::IsRobot(const Room& room, int seat) const {
  const Seat& s = room.seats[static_cast<std::size_t>(seat)];
  return s.member == 0;  // a seat without a human during a deal is played by a robot
}

MemberId Deals::HumanOn(const Room& room, int seat) const {
  return room.seats[static_cast<std::size_t>(seat)].member;
}

void Deals::Start(Room& room, Table& t, std::int32_t number) {
  const auto missed = t.missed;  // "in a row" runs on into the next deal
  const deal::MatchSecret match = *t.match;
  t = Table();
  t.missed = missed;
  t.match = match;
  t.number = number;
  t.game = std::make_unique<deal::Game>(number, deal::DealCards(number, key_, match));
  for (int s = 1; s <= kSeats; ++s) {
    const Seat& seat = room.seats[static_cast<std::size_t>(s)];
    const Member* m = seat.member ? club_.Find(seat.member) : nullptr;
    t.names[static_cast<std::size_t>(s)] =
        m ? m->who.nickname : std::string(text::kRobotPrefix) + std::to_string(s);
    if (m) t.fair.Held(*m, s);
  }
  t.run = ++runs_;
  Log("deal " + std::to_string(number) + " in " + room.name);
  NoticeRoom(room, std::string(text::kTurnLimit) + std::to_string(turnLimit_.count()));
  ToAudience(room, proto::LineDeal(number));
  for (int s = 1; s <= kSeats; ++s)
    if (const MemberId id = HumanOn(room, s)) out_.Send(id, HandLine(t, s));
  for (const MemberId id : Audience(room)) {
    const Member* m = club_.Find(id);
    if (m && m->place.seat == 0) ShowAllHands(t, *m);
  }
  ToAudience(room, BidLine(t));
  Advance(room, t);
}

// Lets robots act until a human has to: the bidder on turn gets "T", a player on turn already has
// the "P" line naming them, a complete trick waits for the humans' "T".
void Deals::Advance(Room& room, Table& t) {
  while (Running(t) && !Paused(room, t)) {
    deal::Game& g = *t.game;
    const int seat = g.OnTurn();
    if (g.CurrentPhase() == deal::Game::Phase::Bidding) {
      if (!IsRobot(room, seat)) {
        StartTurnClock(room, t, seat);
        return out_.Send(HumanOn(room, seat), proto::LineTurn());
      }
      if (runner_) return RobotThink(room, t, seat);
      RobotBid(room, t, seat, robot_->Bid(g.ViewFor(seat)));
      continue;
    }
    if (g.CurrentPhase() != deal::Game::Phase::Playing) return;
    if (seat == 0) {
      if (!t.trick.waiting) StartWait(room, t);
      return;
    }
    if (!IsRobot(room, seat)) return StartTurnClock(room, t, seat);
    if (runner_) return RobotThink(room, t, seat);
    RobotPlay(t, seat);
    ToAudience(room, PlayLine(t));
  }
}

void Deals::RobotBid(Room& room, Table& t, int seat, std::vector<std::string> bids) {
  deal::Game& g = *t.game;
  if (g.Bid(seat, std::move(bids))) g.Bid(seat, {});  // a set the checks refuse becomes a pass
  t.bidders.push_back(t.names[static_cast<std::size_t>(seat)]);
  ToAudience(room, BidLine(t));
  if (g.Play()) ToAudience(room, PlayLine(t));  // the opening line: the dealer leads
}

void Deals::RobotPlay(Table& t, int seat) {
  deal::Game& g = *t.game;
  if (g.PlayCard(seat, robot_->Play(g.ViewFor(seat)))) return;
  for (const TCard c : TCards(g.HandOf(seat)))  // a robot that errs plays its lowest legal card
    if (g.PlayCard(seat, c)) return;
}

void Deals::UseRobots(const RobotSettings& settings, std::unique_ptr<RobotRunner> runner) {
  robots_ = settings;
  runner_ = settings.kind == RobotKind::Strong ? std::move(runner) : nullptr;
}

// The robot thinks on a copy of what its seat may see; the game itself stays on the loop. The
// request carries a ticket (new for every request, so a new deal never takes an old answer) and
// the turn it is for.
void Deals::RobotThink(Room& room, Table& t, int seat) {
  if (t.thinking.ticket != 0) return;  // its move is on the way
  t.thinking.ticket = ++tickets_;
  t.thinking.turn = MovesMade(*t.game);
  struct Copy {
    int seat, dealer, leader;
    TCards hand;
    std::vector<deal::BidBlock> bids;
    std::array<TCard, kSeats + 1> table;
    std::optional<deal::PlayRecord> played;  // none during bidding
  };
  const deal::RobotView v = t.game->ViewFor(seat);
  auto copy = std::make_shared<Copy>(Copy{v.seat, v.dealer, v.leader, TCards(v.hand.begin(), v.hand.end()),
                                          std::vector<deal::BidBlock>(v.bids.begin(), v.bids.end()), v.table,
                                          v.played ? std::optional(*v.played) : std::nullopt});
  int thinkingNow = 0;
  for (const auto& [id, other] : tables_) thinkingNow += other.thinking.ticket != 0;
  deal::StrongSettings settings;
  settings.budget = SharedBudget(robots_.budget, thinkingNow, runner_->Workers());
  settings.parts = runner_->Workers();  // the pool outlives every decision it runs
  settings.split = [runner = runner_.get()](int parts, const RobotRunner::Part& part) {
    runner->Split(parts, part);
  };
  auto think = [copy, settings] {
    deal::RobotView view;
    view.seat = copy->seat;
    view.dealer = copy->dealer;
    view.leader = copy->leader;
    view.hand = copy->hand;
    view.bids = copy->bids;
    view.table = copy->table;
    view.played = copy->played ? &*copy->played : nullptr;
    deal::StrongRobot robot(settings);
    RobotMove move;
    if (view.played)
      move.card = robot.Play(view);
    else
      move.bids = robot.Bid(view);
    return move;
  };
  const std::weak_ptr<bool> alive = alive_;
  runner_->Run(std::move(think), [this, alive, id = room.storeId, ticket = t.thinking.ticket,
                                  turn = t.thinking.turn, seat](RobotMove move) {
    if (alive.lock()) RobotAnswer(id, ticket, turn, seat, std::move(move));
  });
}

// A move thought of for a room that is gone, a deal or a turn that has passed meanwhile (a new
// deal, a member took the seat and played) is dropped; an illegal card becomes the lowest legal
// card, a refused set of bids a pass.
void Deals::RobotAnswer(std::int64_t roomId, std::uint64_t ticket, int turn, int seat, RobotMove move) {
  Room* room = club_.FindRoom(roomId);
  auto it = tables_.find(roomId);
  if (!room || it == tables_.end() || it->second.thinking.ticket != ticket) return;
  Table& t = it->second;
  t.thinking.ticket = 0;
  if (!Running(t) || t.game->OnTurn() != seat || !IsRobot(*room, seat) || MovesMade(*t.game) != turn)
    return Advance(*room, t);
  if (!t.game->Play()) {
    RobotBid(*room, t, seat, std::move(move.bids));
  } else {
    if (!t.game->PlayCard(seat, move.card)) RobotPlay(t, seat);
    ToAudience(*room, PlayLine(t));
  }
  Advance(*room, t);
}

void Deals::StartWait(Room& room, Table& t) {
  t.trick.awaiting = {};
  bool any = false;
  for (int s = 1; s <= kSeats; ++s)
    if (HumanOn(room, s)) any = t.trick.awaiting[static_cast<std::size_t>(s)] = true;
  t.trick.waiting = true;
  t.trick.due = now_() + kTrickWait;
  if (!any) EndTrick(room, t);
}

// Every human acknowledged the trick, or the wait ran out.
void Deals::EndTrick(Room& room, Table& t) {
  t.trick.waiting = false;
  deal::Game& g = *t.game;
  g.Continue();
  if (g.CurrentPhase() == deal::Game::Phase::Over) {
    t.scored = true;
    for (int pair = 1; pair <= 2; ++pair) {
      std::vector<proto::TScoreItem> items;
      for (const deal::ScoreItem& item : g.Score(pair)) items.push_back({item.label, item.points});
      ToAudience(room, proto::LineScore(pair, items));
    }
    KeepRecord(room, t);  // first: a result the server writes itself marks the record
    return WriteOwnResult(room, t);
  }
  for (int s = 1; s <= kSeats; ++s)
    if (const MemberId id = HumanOn(room, s)) out_.Send(id, HandLine(t, s));
  ToAudience(room, PlayLine(t));
  Advance(room, t);
}

}  // namespace zn::server
