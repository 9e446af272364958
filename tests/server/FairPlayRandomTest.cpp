// The fair play invariant under a seeded storm of members sitting, standing, watching, leaving and
// coming back, robots filling seats, deals ordered and played out, and the server stopped and
// started again on its journal: checked after every command.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>

#include "server/base/ClubTexts.h"
#include "server/store/SqliteJournal.h"
#include "tests/fairplay/FairPlayCheck.h"
#include "tests/server/DealHarness.h"
#include "tests/support/TempDir.h"

namespace zn::server::test {
namespace {

// Param: the club opens the same-address rule (--kibitz-same-address open), so the rules of one
// seat's view per deal stand on their own.
class FairPlayStorm : public DealFixture, public ::testing::WithParamInterface<bool> {
 protected:
  // Rooms stay however long the clock runs while the members come and go.
  FairPlayStorm() { Boot(); }
  ~FairPlayStorm() override { club().SetDeals(nullptr); }

  // A server starting on the store file and its journal, the deals journaled before it stopped
  // brought back. The engine numbers its runs afresh: the check hears them moved past every run it
  // knows, and a restored deal's run as the one it had.
  void Boot() {
    std::map<std::int64_t, std::uint64_t> before;  // room store id -> the run it had
    if (deals_) {
      for (std::size_t r = 1; r < club().RoomCount(); ++r)
        if (const std::uint64_t run = deals_->RunIn(club().RoomAt(r)))
          before[club().RoomAt(r).storeId] = Translated(run);
      club().SetDeals(nullptr);
    }
    deals_.reset();
    journal_.reset();
    file_ = std::make_unique<SqliteStore>(dir_ / "club.db");
    journal_ = std::make_unique<SqliteJournal>(dir_ / "club.db");
    ClubLimits limits;
    limits.commandBurst = 1u << 30;
    limits.roomIdleFree = std::chrono::hours(1000);
    MakeClub(limits, file_.get());
    deals_ = std::make_unique<Deals>(
        club(), *file_, out, [this] { return now; }, [] { return 1234; });
    deals_->UseDealKey(zn::test::kTestDealKey);
    deals_->OpenSameAddress(GetParam());
    deals_->UseJournal(journal_.get());
    deals_->Restore(journal_->LoadRunning());
    club().SetDeals(deals_.get());
    offset_ = highest_ + 1;
    restored_.clear();
    for (std::size_t r = 1; r < club().RoomCount(); ++r)
      if (const std::uint64_t run = deals_->RunIn(club().RoomAt(r));
          run && before.count(club().RoomAt(r).storeId))
        restored_[run] = before[club().RoomAt(r).storeId];
  }
  // Every member's connection ends with the server, without a word; then it starts again.
  void Restart(bool clean) {
    if (clean) deals_->FlushJournal();  // SIGTERM; a kill loses what the last batch did not write
    for (Someone& p : people_)
      if (p.id) {
        out.Take(p.id);
        check_.Left(p.id);
        p.id = 0;
      }
    Boot();
    ++restarts_;
  }
  std::uint64_t Translated(std::uint64_t run) {
    if (run == 0) return 0;
    if (auto it = restored_.find(run); it != restored_.end()) return it->second;
    highest_ = std::max(highest_, run + offset_);
    return run + offset_;
  }

  struct Someone {
    std::string nickname, address;
    MemberId id = 0;  // 0: offline
    Player player;
    bool asleep = false;  // answers nothing: the deal waits for it, and others come and go
  };

  // Feeds every member's new lines to the check (after telling it the run of its room) and lets
  // the members answer them as the client would; returns whether anybody answered.
  bool Deliver() {
    club().Flush();
    bool answered = false;
    for (Someone& p : people_) {
      if (!p.id) continue;
      const Member* m = club().Find(p.id);
      check_.Run(p.id, m && m->place.room ? Translated(deals_->RunIn(club().RoomAt(m->place.room))) : 0);
      for (const std::string& line : out.Take(p.id)) {
        check_.Received(p.id, line);
        if (line[0] == 'X') ++scores_;
        if (line.rfind("M >>>>> ", 0) == 0) ++notices_[line.substr(8)];
        p.player.seat = m ? m->place.seat : 0;
        const std::string answer = p.player.React(line);
        if (!answer.empty() && !p.asleep) {
          club().Receive(p.id, answer);
          ++commands_;
          answered = true;
        }
      }
    }
    return answered;
  }
  void Command(Someone& p, const std::string& command) {
    club().Receive(p.id, command);
    ++commands_;
    for (int i = 0; i < 200 && Deliver(); ++i) {
    }
    ASSERT_TRUE(check_.Violations().empty()) << command << ": " << check_.Violations().front();
  }

  zn::test::TempDir dir_;
  std::unique_ptr<SqliteStore> file_;
  std::unique_ptr<SqliteJournal> journal_;
  std::map<std::uint64_t, std::uint64_t> restored_;  // this engine's run -> the run before the stop
  std::uint64_t offset_ = 0, highest_ = 0;
  int restarts_ = 0;
  std::vector<Someone> people_;
  FairPlayCheck check_{!GetParam()};
  std::uint64_t commands_ = 0, scores_ = 0;
  std::map<std::string, int> notices_;
};

TEST_P(FairPlayStorm, NoMemberEverSeesAHandThatIsNotTheirs) {
  const char* addresses[] = {"10.0.0.1",    "10.0.0.2", "10.0.0.2", "10.0.0.3", "2001:db8::1",
                             "2001:db8::2", "10.0.0.4", "10.0.0.1", "10.0.0.5", "10.0.0.6"};
  for (int i = 0; i < 10; ++i) people_.push_back({"tag" + std::to_string(i), addresses[i], 0, {}});
  // The rooms are there before the storm, so every "E" has somewhere to go.
  const MemberId host = ++lastId_;
  club().Connect(host, "10.0.0.9");
  club().Receive(host, "Nhost");
  club().Receive(host, "Relso");
  club().Receive(host, "Rmasodik");
  club().Disconnect(host);

  std::mt19937 random(1);  // a storm that reaches every rule below
  const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  const int kSteps = 5000;
  for (int step = 0; step < kSteps; ++step) {
    if (step % 500 == 499) Restart(step % 1000 == 999);  // killed, or stopped cleanly
    Someone& p = people_[static_cast<std::size_t>(pick(10))];
    if (!p.id) {
      p.id = ++lastId_;
      p.player = Player();
      p.player.id = p.id;
      p.player.nickname = p.nickname;
      club().Connect(p.id, p.address);
      check_.Joined(p.id, p.nickname, p.address);
      Command(p, "N" + p.nickname);
      continue;
    }
    const int what = pick(30);
    std::string command;
    if (club().Find(p.id)->place.room == 0 && pick(4) != 0) {
      command = "E" + std::to_string(1 + (pick(4) == 0));  // most of the storm is at the tables
    } else if (what == 0) {
      club().Disconnect(p.id);
      Deliver();
      check_.Left(p.id);
      p.id = 0;
      continue;
    } else if (what == 1) {
      if (pick(2)) Advance(std::chrono::seconds(31));  // a trick nobody acknowledges ends all the same
      p.asleep = !p.asleep;
      command = "G";
    } else if (what <= 3) {
      command = "E" + std::to_string(pick(6) ? 1 + (pick(4) == 0) : 0);
    } else if (what <= 10) {
      command = "S" + std::to_string(pick(5));
    } else if (what <= 13) {
      command = "S-" + std::to_string(2 + pick(3));
    } else if (what <= 19) {
      command = pick(3) ? "K1" : "K0";
    } else if (what <= 25) {
      const int order = pick(10);
      command = "D" + std::to_string(order == 0 ? 0 : order == 1 ? -1 : 1 + pick(6));
    } else if (what <= 27) {
      command = "H" + std::to_string(pick(5));
    } else {
      command = "T";
    }
    Command(p, command);
    if (HasFatalFailure()) return;
  }
  for (Someone& p : people_)
    if (p.id) {
      club().Disconnect(p.id);
      Deliver();
    }
  ASSERT_TRUE(check_.Violations().empty()) << check_.Violations().front();
  std::printf(
      "fair play storm (same address %s): %d steps, %llu commands, %llu lines, %llu hand lines, %llu scores, "
      "refused: "
      "sit after watching %d, by address %d, another seat %d, watch after sitting %d, told same "
      "address %d, seat held for a dropped member %d\n",
      GetParam() ? "open" : "closed", kSteps, static_cast<unsigned long long>(commands_),
      static_cast<unsigned long long>(check_.Lines()), static_cast<unsigned long long>(check_.HandLines()),
      static_cast<unsigned long long>(scores_), notices_[std::string(text::kWatchedThisDeal)],
      notices_[std::string(text::kWatchedFromAddress)], notices_[std::string(text::kOwnSeatOnly)],
      notices_[std::string(text::kSatThisDeal)], notices_[std::string(text::kSameAddress)],
      notices_[std::string(text::kSeatHeld)]);
  // The storm reached every rule, and deals were played out.
  EXPECT_EQ(restarts_, kSteps / 500);
  EXPECT_GT(scores_, 0u);
  EXPECT_GT(check_.HandLines(), 100u);
  for (std::string_view t : {text::kWatchedThisDeal, text::kOwnSeatOnly, text::kSatThisDeal, text::kSeatHeld})
    EXPECT_GT(notices_[std::string(t)], 0) << t;
  if (!GetParam()) {
    for (std::string_view t : {text::kWatchedFromAddress, text::kSameAddress})
      EXPECT_GT(notices_[std::string(t)], 0);
  }
}

INSTANTIATE_TEST_SUITE_P(SameAddress, FairPlayStorm, ::testing::Values(false, true),
                         [](const auto& info) { return std::string(info.param ? "Open" : "Closed"); });

// The check itself finds each way of breaking the rule.
TEST(FairPlayCheck, FindsEveryBreach) {
  const struct {
    const char* name;
    std::vector<std::string> lines;  // got by "anna" at 10.0.0.1; "bela" sits at 10.0.0.1 too
    bool breach;
  } cases[] = {
      {"own hand", {"R0 1 anna", "D5", "H1 1 2", "H1 1"}, false},
      {"another seat's hand", {"R0 1 anna", "D5", "H1 1 2", "H2 3 4"}, true},
      {"stood up and watched", {"R0 1 anna", "D5", "H1 1", "R0 0 anna", "D5", "H1 1", "H2 2"}, true},
      {"watched and sat down", {"R0 2 cili", "D5", "H1 1", "H2 2", "H3 3", "H4 4", "R0 2 cili 3 anna"}, true},
      {"the next deal is another", {"R0 1 anna", "D5", "H1 1", "X1 a 1", "R0 0 anna", "D5", "H2 2"}, false},
      {"watcher at a player's address", {"R0 2 bela", "D5", "H1 1"}, true},
      {"after that player left the deal", {"R0 2 bela", "D5", "R0 2 -Robot2", "H1 1"}, true},
      {"watcher elsewhere", {"R0 2 cili", "D5", "H1 1", "H2 2"}, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FairPlayCheck check;
    check.Joined(1, "anna", "10.0.0.1");
    check.Joined(2, "bela", "10.0.0.1");
    check.Joined(3, "cili", "10.0.0.3");
    for (const std::string& line : c.lines) check.Received(1, line);
    EXPECT_EQ(!check.Violations().empty(), c.breach);
  }
}

}  // namespace
}  // namespace zn::server::test
