// A club with the deal engine, and scripted players that answer the deal's lines as the client
// does: they pass when told "T", play the first card the follow rule allows when a "P" line names
// their seat, and acknowledge every complete trick.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "game/PlayRules.h"
#include "game/Tokenizer.h"
#include "link/Protocol.h"
#include "server/deals/Deals.h"
#include "tests/server/ClubHarness.h"
#include "tests/support/TestDealKey.h"

namespace zn::server::test {

struct Player {
  MemberId id = 0;
  std::string nickname;
  int seat = 0;
  TCards hand;
  std::array<TCard, 5> table{};     // by seat [1..4]
  std::vector<std::string> seen;    // every line this player got
  std::vector<std::string> scores;  // the X lines
  bool acknowledge = true;          // answers a complete trick with "T"
  bool asleep = false;              // answers nothing (the turn clock's tests)
  int budget = -1;                  // commands it still sends (-1: no limit); the rest go unsent

  // The command this line makes the player send (empty: none).
  std::string React(const std::string& line) {
    seen.push_back(line);
    std::string_view rest(line);
    if (line.empty()) return {};
    const char code = line[0];
    rest.remove_prefix(1);
    if (code == 'H') {
      if (CutInt(rest) != seat) return {};
      hand.clear();
      while (!rest.empty()) hand.push_back(CutInt(rest));
    } else if (code == 'T') {
      return asleep ? "" : "B" + nickname + " 0";
    } else if (code == 'X') {
      scores.push_back(line);
    } else if (code == 'P') {
      const int who = CutInt(rest);
      CutInt(rest);
      CutInt(rest);
      for (int s = 1; s <= 4; ++s) table[static_cast<std::size_t>(s)] = CutInt(rest);
      if (asleep) return {};
      if (who == 0) return acknowledge ? "T" : "";
      if (who == seat) return "P" + std::to_string(Choose());
    }
    return {};
  }

  // The client's own reading of the lead: the seat before us has no card, we lead; else the
  // first card after our seat.
  TCard Choose() const {
    TCard lead = kNoCard;
    if (table[static_cast<std::size_t>(seat == 1 ? 4 : seat - 1)] != kNoCard)
      for (int i = 1, s = seat % 4 + 1; i <= 4; ++i, s = s % 4 + 1)
        if (table[static_cast<std::size_t>(s)] != kNoCard) {
          lead = table[static_cast<std::size_t>(s)];
          break;
        }
    const THand h(hand);
    for (const TCard c : hand)
      if (MayPlay(h, lead, c)) return c;
    return kNoCard;
  }
};

class DealFixture : public ClubFixture {
 protected:
  DealFixture() { Rebuild(store_); }
  // A fresh club and deal engine over store.
  void Rebuild(RoomStore& store) {
    if (deals_) club().SetDeals(nullptr);
    ClubLimits limits;
    limits.commandBurst = 1u << 30;  // the clock stands still while whole deals are played
    MakeClub(limits, &store);
    deals_ = std::make_unique<Deals>(
        club(), store, out, [this] { return now; }, [this] { return drawn; });
    deals_->UseDealKey(zn::test::kTestDealKey);
    deals_->UseMatchSecrets([this] {  // the first match of a test is kTestMatch, each later one new
      deal::MatchSecret secret = zn::test::kTestMatch;
      secret[31] = static_cast<unsigned char>(secret[31] + matches_++);
      return secret;
    });
    club().SetDeals(deals_.get());
  }
  ~DealFixture() override { club().SetDeals(nullptr); }

  // Logs in, enters room 1 and sits down (seat 0: stays standing).
  Player& Seat(const std::string& nickname, int seat) {
    Player& p = *players_.emplace_back(std::make_unique<Player>());
    p.id = Join(nickname);
    p.nickname = nickname;
    p.seat = seat;
    if (club().RoomCount() < 2) Do(p.id, "Rkertes");  // a stored room may be there already
    Do(p.id, "E1");
    if (seat > 0) Do(p.id, "S" + std::to_string(seat));
    return p;
  }
  // Every player reacts to the lines it got, until nobody has anything more to send.
  void Pump(int rounds = 2000) {
    for (int i = 0; i < rounds; ++i) {
      club().Flush();
      bool sent = false;
      for (auto& p : players_) {
        for (const std::string& line : out.Take(p->id)) {
          const std::string command = p->React(line);
          if (command.empty() || p->budget == 0) continue;
          if (p->budget > 0) --p->budget;
          club().Receive(p->id, command);
          sent = true;
        }
      }
      if (!sent) return;
    }
  }
  // One command of a player, then everybody reacts.
  void Play(Player& p, const std::string& command) {
    club().Receive(p.id, command);
    Pump();
  }
  const deal::Game* Game() { return deals_->GameIn(club().RoomAt(1)); }

  std::int32_t drawn = 4321;
  int matches_ = 0;
  std::unique_ptr<Deals> deals_;
  std::vector<std::unique_ptr<Player>> players_;
};

}  // namespace zn::server::test
