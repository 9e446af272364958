// The deal through the club: who gets which line, whole deals with robots and with four members,
// every refusal, the wait for "T", members leaving and taking over, results and new matches.
#include "tests/server/DealHarness.h"

namespace zn::server::test {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;
using ::testing::Not;
using ::testing::StartsWith;

// Every member of the room hears the turn clock when a deal starts.
const std::string kClock = Cp("M >>>>> Ebben az osztásban egy lépésre ennyi másodperc jut: 60"_cp);

std::vector<std::string> Starting(const std::vector<std::string>& lines, char code) {
  std::vector<std::string> out;
  for (const auto& l : lines)
    if (!l.empty() && l[0] == code) out.push_back(l);
  return out;
}

class DealTest : public DealFixture {
 protected:
  // anna on seat 1 and robots on 2 to 4.
  Player& AnnaAndRobots() {
    Player& anna = Seat("anna", 1);
    for (int s = 2; s <= 4; ++s) Do(anna.id, "S-" + std::to_string(s));
    out.Take(anna.id);
    return anna;
  }
};

TEST_F(DealTest, OneMemberAndThreeRobotsPlayWholeDealsAndWriteThemDown) {
  Player& anna = AnnaAndRobots();
  Player& bela = Seat("bela", 0);  // stands in the room without watching
  int written = 0;
  for (std::int32_t n : {1, 2, 36, 1001}) {
    SCOPED_TRACE(n);
    out.Take(anna.id);
    anna.seen.clear();
    anna.scores.clear();
    Play(anna, "D" + std::to_string(n));
    ASSERT_EQ(Game()->CurrentPhase(), deal::Game::Phase::Over);
    const auto& seen = anna.seen;
    ASSERT_GE(seen.size(), 5u);
    EXPECT_EQ(seen[0], kClock);
    EXPECT_EQ(seen[1], "D" + std::to_string(n));
    EXPECT_EQ(seen[2], proto::LineHand(1, Game()->Dealt().hands[1]));
    EXPECT_EQ(seen[3], n % 2 ? "B1" : "B3");
    // Only the own hand, ten "P0" lines, and the two score lines at the very end.
    for (const auto& h : Starting(seen, 'H')) EXPECT_THAT(h, StartsWith("H1"));
    int complete = 0;
    for (const auto& p : Starting(seen, 'P')) complete += p.starts_with("P0 ");
    EXPECT_EQ(complete, 10);
    ASSERT_EQ(anna.scores.size(), 2u);
    EXPECT_THAT(seen[seen.size() - 2], StartsWith("X1 "));
    EXPECT_THAT(seen.back(), StartsWith("X2 "));
    EXPECT_THAT(Do(anna.id, "F12:-12"),
                ElementsAre("F12:-12", "R" + std::to_string(++written) +
                                           " 1 anna 2 -Robot2 3 -Robot3 4 -Robot4 0 bela"));
  }
  EXPECT_EQ(store_.ResultCount(club().RoomAt(1).storeId), 4);
  EXPECT_EQ(club().RoomAt(1).played, 4);
  // Standing members get nothing of the deal, only the room lines and the turn clock.
  for (const auto& line : out.Take(bela.id)) EXPECT_THAT(line, ::testing::AnyOf(StartsWith("R"), kClock));
  for (const auto& line : bela.seen) EXPECT_THAT(line, ::testing::AnyOf(StartsWith("R"), kClock));
}

TEST_F(DealTest, TheOpeningLinesInTheirOrder) {
  Player& anna = AnnaAndRobots();
  Player& cili = Seat("cili", 0);
  Do(cili.id, "K1");
  out.Take(anna.id);
  club().Receive(anna.id, "D1");
  const auto hands = Game()->Dealt().hands;
  // Deal 1: anna deals and is first to bid.
  EXPECT_THAT(out.Take(anna.id), ElementsAre(kClock, "D1", proto::LineHand(1, hands[1]), "B1", "T"));
  EXPECT_THAT(out.Take(cili.id),
              ElementsAre(kClock, "D1", proto::LineHand(1, hands[1]), proto::LineHand(2, hands[2]),
                          proto::LineHand(3, hands[3]), proto::LineHand(4, hands[4]), "B1"));
  // anna passes; the robots answer at once, each line to the table and the watcher.
  const auto after = Do(anna.id, "Banna 0");
  ASSERT_GE(after.size(), 4u);
  EXPECT_EQ(after[0], "B1anna 0");
  EXPECT_THAT(after[1], StartsWith("B1anna 0 -Robot2 "));
  EXPECT_EQ(after.back(), "T");
  EXPECT_EQ(Starting(out.Take(cili.id), 'B').size(), 4u);
  EXPECT_THAT(Do(anna.id, "H1"), ElementsAre(proto::LineHand(1, hands[1])));
  EXPECT_THAT(Do(cili.id, "H0"),
              ElementsAre(StartsWith("H1"), StartsWith("H2"), StartsWith("H3"), StartsWith("H4")));
  EXPECT_THAT(Do(cili.id, "H2"), IsEmpty());  // not the watcher's to ask
}

TEST_F(DealTest, FourMembersPlayOneDealAndEachSeesOnlyTheOwnHand) {
  Player& anna = Seat("anna", 1);
  Seat("bela", 2);
  Seat("cili", 3);
  Seat("dani", 4);
  Pump();
  Play(anna, "D36");
  ASSERT_EQ(Game()->CurrentPhase(), deal::Game::Phase::Over);
  for (const auto& p : players_) {
    SCOPED_TRACE(p->nickname);
    for (const auto& h : Starting(p->seen, 'H'))
      EXPECT_THAT(h, StartsWith("H" + std::to_string(p->seat) + " "));
    EXPECT_EQ(p->scores.size(), 2u);
    // Deal 36: seat 3 deals, and bidding ends after four passes.
    EXPECT_THAT(p->seen, Contains("B3cili 0 dani 0 anna 0 bela 0"));
    EXPECT_THAT(p->seen, Contains("P3 1 0 0 0 0 0"));
  }
  EXPECT_EQ(Starting(players_[2]->seen, 'T').size(), 1u);  // only the dealer was asked to bid
}

struct Refusal {
  const char* name;
  int who;  // index of the player (0 anna on seat 1, 1 bela on seat 2)
  std::string command;
  std::vector<std::string> lines;
};
void PrintTo(const Refusal& r, std::ostream* os) { *os << r.name; }

// Deal 1 with anna on seat 1 (the dealer) and bela on seat 2, robots on 3 and 4; anna on turn.
class DealRefusal : public DealFixture, public ::testing::WithParamInterface<Refusal> {};

TEST_P(DealRefusal, ChangesNothing) {
  Player& anna = Seat("anna", 1);
  Player& bela = Seat("bela", 2);
  Do(anna.id, "S-3");
  Do(anna.id, "S-4");
  Do(anna.id, "D1");
  out.Take(bela.id);
  const std::size_t blocks = Game()->Bids().Blocks().size();
  const Player& who = GetParam().who == 0 ? anna : bela;
  EXPECT_EQ(Do(who.id, GetParam().command), GetParam().lines);
  EXPECT_EQ(Game()->Bids().Blocks().size(), blocks);
  EXPECT_EQ(Game()->CurrentPhase(), deal::Game::Phase::Bidding);
}

const std::string kBid = Cp(" >>>>> Hibás licit: "_cp);
INSTANTIATE_TEST_SUITE_P(
    Bidding, DealRefusal,
    ::testing::Values(
        Refusal{"out_of_turn", 1, "Bbela 0", {"M" + kBid + "bela 0"}},
        Refusal{"another_nickname", 0, "Bbela 0", {"M" + kBid + "bela", "T"}},
        Refusal{"count_too_big", 0, "Banna 2 Vizi", {"M" + kBid + "2", "T"}},
        Refusal{"count_too_small", 0, "Banna 0 Vizi", {"M" + kBid + "0", "T"}},
        Refusal{"count_not_a_number", 0, "Banna x", {"M" + kBid + "x", "T"}},
        Refusal{"not_in_the_catalogue", 0, "Banna 2 Vizi Gem", {"M" + kBid + "Gem", "T"}},
        Refusal{"signal_the_hand_lacks", 0, "Banna 1 Flush", {"M" + kBid + "Flush", "T"}},
        Refusal{"two_of_the_chain", 0, Cp("Banna 2 Trull Köpf"_cp), {"M" + kBid + Cp("Köpf"_cp), "T"}},
        Refusal{"card_while_bidding", 0, "P1", {Cp("M >>>>> Ezt a lapot most nem teheted"_cp)}},
        Refusal{"result_before_the_end", 0, "F1:2", {Cp("M >>>>> Nincs felírható eredmény"_cp)}},
        Refusal{"result_not_from_seat_1", 1, "F1:2", {Cp("M >>>>> Ezt csak az induló helyén ülő teheti"_cp)}},
        Refusal{"deal_not_from_seat_1", 1, "D5", {Cp("M >>>>> Ezt csak az induló helyén ülő teheti"_cp)}},
        Refusal{"trick_done_without_a_trick", 0, "T", {}}, Refusal{"hand_of_another_seat", 0, "H2", {}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DealTest, WrongCardsAreRefusedWithTheSamePlayLineAgain) {
  Player& anna = AnnaAndRobots();
  Do(anna.id, "D1");
  Do(anna.id, "Banna 0");
  Do(anna.id, "Banna 0");  // robots pass in the second round: bidding ends, anna leads
  ASSERT_EQ(Game()->OnTurn(), 1);
  const std::string wrong = Cp("M >>>>> Ezt a lapot most nem teheted"_cp);
  // Deal 1 (the tests' key and first match): anna holds 1 3 5 6 9 13 16 29 31 32.
  EXPECT_THAT(Do(anna.id, "P2"), ElementsAre(wrong, "P1 1 0 0 0 0 0"));
  EXPECT_THAT(Do(anna.id, "P99"), ElementsAre(wrong, "P1 1 0 0 0 0 0"));
  EXPECT_THAT(Do(anna.id, "Pxx"), ElementsAre(wrong, "P1 1 0 0 0 0 0"));
  // The robots on seats 2 and 4 follow suit, seat 3 has none and takes it with a tarokk.
  const auto lines = Do(anna.id, "P6");
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0], "P2 1 0 6 0 0 0");
  EXPECT_EQ(lines[3], "P0 1 1 6 7 21 8");
  // Seat 3 took it; a card now is out of turn.
  EXPECT_THAT(Do(anna.id, "P1"), ElementsAre(wrong, "P0 1 1 6 7 21 8"));
  // "T" goes on: the remaining hand, then seat 3 leads and the robots play up to anna.
  const auto next = Do(anna.id, "T");
  ASSERT_GE(next.size(), 2u);
  EXPECT_EQ(next[0], "H1 1 3 5 9 13 16 29 31 32");
  EXPECT_EQ(next[1], "P3 2 1 0 0 0 0");
  EXPECT_THAT(Do(anna.id, "T"), IsEmpty());  // nothing waits for it now
}

TEST_F(DealTest, TheTrickWaitsThirtySecondsForTheHumans) {
  Player& anna = Seat("anna", 1);
  Player& bela = Seat("bela", 2);
  Player& cili = Seat("cili", 3);
  Player& dani = Seat("dani", 4);
  bela.acknowledge = cili.acknowledge = false;
  Pump();
  Play(anna, "D1");
  ASSERT_EQ(Game()->Play()->TrickNumber(), 1);
  ASSERT_TRUE(Game()->Play()->TrickComplete());
  Advance(std::chrono::seconds(29));
  club().Flush();
  EXPECT_THAT(out.Take(anna.id), IsEmpty());
  EXPECT_EQ(deals_->NextDue(), now + std::chrono::seconds(1));
  Advance(std::chrono::seconds(1));
  Pump();  // the wait ran out: trick 2 starts, and so on until the next waits
  EXPECT_EQ(Game()->Play()->TrickNumber(), 2);
  EXPECT_THAT(dani.seen, Contains(StartsWith("P2 2 1 0 0 0 0")));
}

TEST_F(DealTest, AMemberLeavingIsReplacedByARobotAndANewcomerTakesOver) {
  Player& anna = Seat("anna", 1);
  Player& bela = Seat("bela", 2);
  Do(anna.id, "S-3");
  Do(anna.id, "S-4");
  bela.acknowledge = false;  // the first trick waits for bela
  Pump();
  Play(anna, "D2");  // seat 3 deals
  ASSERT_EQ(Game()->CurrentPhase(), deal::Game::Phase::Playing);
  const int before = Game()->Play()->TrickNumber();
  // bela leaves the room in the middle of play (a drop would keep his seat for him).
  club().Receive(bela.id, "E0");
  players_.erase(players_.begin() + 1);
  const auto annaLines = out.Take(anna.id);
  EXPECT_THAT(annaLines, Contains("R0 1 anna 2 -Robot2 3 -Robot3 4 -Robot4"));
  std::vector<std::string> annaSends;
  for (const auto& l : annaLines)
    if (auto c = anna.React(l); !c.empty()) annaSends.push_back(c);
  // A newcomer takes seat 2 over: the room, then the deal so far.
  Player& dani = Seat("dani", 0);
  club().Receive(dani.id, "S2");
  dani.seat = 2;
  const auto lines = out.Take(dani.id);
  ASSERT_GE(lines.size(), 5u);
  EXPECT_EQ(lines[0], "R0 1 anna 2 dani 3 -Robot3 4 -Robot4");
  EXPECT_EQ(lines[1], "D2");
  EXPECT_EQ(lines[2], proto::LineHand(2, Game()->HandOf(2)));
  EXPECT_THAT(lines[3], StartsWith("B3-Robot3 "));
  EXPECT_THAT(lines[4], StartsWith("P"));
  for (const auto& l : lines)
    if (auto c = dani.React(l); !c.empty()) club().Receive(dani.id, c);
  for (const auto& c : annaSends) club().Receive(anna.id, c);
  Pump();
  ASSERT_EQ(Game()->CurrentPhase(), deal::Game::Phase::Over) << before;
  EXPECT_EQ(dani.scores.size(), 2u);
  EXPECT_THAT(Do(anna.id, "F5:-5"), Contains("F5:-5"));
  const auto rows = store_.ResultCount(club().RoomAt(1).storeId);
  EXPECT_EQ(rows, 1);
}

// A freed room takes its deal with it; a new room in the slot starts clean.
TEST_F(DealTest, AFreedRoomDropsItsDealAndTheSlotStartsClean) {
  for (const bool finished : {true, false}) {
    SCOPED_TRACE(finished ? "after a whole deal" : "in the middle of the bidding");
    Rebuild(store_);
    players_.clear();
    Player& anna = AnnaAndRobots();
    if (finished)
      Play(anna, "D3");
    else
      Do(anna.id, "D3");
    ASSERT_NE(Game(), nullptr);
    Do(anna.id, "E0");
    Advance(ClubLimits{}.roomIdleFree + std::chrono::seconds(2));
    club().Flush();
    ASSERT_TRUE(club().RoomAt(1).gone);
    EXPECT_EQ(deals_->TableCount(), 0u);
    EXPECT_EQ(deals_->NextDue(), std::nullopt);
    Advance(std::chrono::minutes(1));
    club().Flush();  // the lobby has seen it gone: the slot may be reused
    Do(anna.id, "Rudvar");
    ASSERT_EQ(club().RoomAt(1).name, "udvar");
    EXPECT_EQ(Game(), nullptr);
  }
}

TEST_F(DealTest, ANewMatchResetsTheCounterAndReplayDealsAgain) {
  Player& anna = AnnaAndRobots();
  Play(anna, "D7");
  Do(anna.id, "F3:-3");
  ASSERT_EQ(club().RoomAt(1).played, 1);
  auto lines = Do(anna.id, "D0");
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[0], "R0 1 anna 2 -Robot2 3 -Robot3 4 -Robot4");
  EXPECT_EQ(lines[2], "D4321");
  EXPECT_EQ(club().RoomAt(1).played, 0);
  EXPECT_EQ(store_.LoadRooms().at(0).played, 0);
  drawn = 7;  // a draw below 1000 is raised to it
  EXPECT_EQ(Do(anna.id, "D0").at(2), "D1000");
  EXPECT_EQ(Do(anna.id, "D-1").at(1), "D1000");
  EXPECT_THAT(Do(anna.id, "D-2"), ElementsAre(Cp("M >>>>> Hibás parancs"_cp)));
}

TEST_F(DealTest, AResultIsWrittenOnceAndAFailedWriteIsNotAnnounced) {
  Player& anna = AnnaAndRobots();
  Play(anna, "D1");
  EXPECT_THAT(Do(anna.id, "F1"), ElementsAre(Cp("M >>>>> Hibás parancs"_cp)));
  EXPECT_THAT(Do(anna.id, "F1:2"), Contains("F1:2"));
  EXPECT_THAT(Do(anna.id, "F1:2"),
              ElementsAre(Cp("M >>>>> Ennek az osztásnak az eredménye már fel van írva"_cp)));
  EXPECT_THAT(Do(anna.id, "H1"), IsEmpty());  // the deal is over
}

// The disk is full: nothing is announced that is not stored, and the deal can be written later.
TEST_F(DealTest, ResultsAndNewMatchesThatCannotBeStoredAreNotAnnounced) {
  FailingStore failing;
  Rebuild(failing);
  Player& anna = AnnaAndRobots();
  Play(anna, "D1");
  const std::string notStored = Cp("M >>>>> A változás nem menthető, elmaradt"_cp);
  EXPECT_THAT(Do(anna.id, "F1:-1"), ElementsAre(notStored));
  EXPECT_EQ(club().RoomAt(1).played, 3);
  EXPECT_THAT(Do(anna.id, "D0"), ElementsAre(notStored));
  EXPECT_EQ(Game()->Number(), 1);  // the finished deal is still there to write down
}

TEST_F(DealTest, ARoomLineDuringBiddingGivesTheBidderTAgain) {
  Player& anna = Seat("anna", 1);
  Player& bela = Seat("bela", 2);
  Do(anna.id, "S-3");
  Do(anna.id, "S-4");
  Do(anna.id, "D1");
  Do(anna.id, "Banna 0");
  out.Take(bela.id);
  Seat("cili", 0);  // enters: the room gets "R"
  EXPECT_THAT(out.Take(bela.id), ElementsAre("R0 1 anna 2 bela 3 -Robot3 4 -Robot4 0 cili", "T"));
  EXPECT_THAT(out.Take(anna.id), ElementsAre("R0 1 anna 2 bela 3 -Robot3 4 -Robot4 0 cili"));
}

TEST_F(DealTest, AWatcherJoiningMidDealCatchesUp) {
  Player& anna = AnnaAndRobots();
  Do(anna.id, "D1");
  Do(anna.id, "Banna 0");
  Do(anna.id, "Banna 0");
  Player& cili = Seat("cili", 0);
  out.Take(cili.id);
  const auto lines = Do(cili.id, "K1");
  ASSERT_EQ(lines.size(), 8u);
  EXPECT_THAT(lines[0], StartsWith("R"));
  EXPECT_EQ(lines[1], "D1");
  EXPECT_THAT(lines[6], StartsWith("B1anna 0 -Robot2 "));
  EXPECT_EQ(lines[7], "P1 1 0 0 0 0 0");
}

}  // namespace
}  // namespace zn::server::test
