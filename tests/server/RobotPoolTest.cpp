// Robots thinking off the server's loop: the pool runs decisions on its workers and posts every
// answer back to the loop; the deal engine drops an answer whose room, deal or turn has passed
// (a new deal, a freed room, a seat taken over and left again, the engine gone), and rooms whose
// robots are thinking never hold up another member's lines.
#include <cerrno>
#include <condition_variable>
#include <future>
#include <mutex>
#include <set>
#include <stdexcept>
#include <thread>

#ifdef __linux__
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

#include "deal/BidNames.h"
#include "tests/server/DealHarness.h"

namespace zn::server::test {
namespace {

using namespace std::chrono_literals;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

// The server's loop as the pool sees it: posted functions wait in a queue the test runs.
class LoopQueue {
 public:
  RobotPool::Post Poster() {
    return [this](std::function<void()> f) {
      {
        std::lock_guard lock(mutex_);
        queue_.push_back(std::move(f));
      }
      wake_.notify_all();
    };
  }
  // Waits (at most ten seconds, a guard against a hang, never a pause) until n functions wait.
  bool WaitFor(std::size_t n) {
    std::unique_lock lock(mutex_);
    return wake_.wait_for(lock, 10s, [&] { return queue_.size() >= n; });
  }
  std::size_t Size() {
    std::lock_guard lock(mutex_);
    return queue_.size();
  }
  void RunAll() {
    std::deque<std::function<void()>> run;
    {
      std::lock_guard lock(mutex_);
      run.swap(queue_);
    }
    for (auto& f : run) f();
  }

 private:
  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<std::function<void()>> queue_;
};

TEST(RobotPool, ThinksOnAWorkerAndAnswersOnTheLoop) {
  SetLogSink([](std::string_view) {});
  LoopQueue loop;
  const auto loopThread = std::this_thread::get_id();
  std::mutex mutex;
  std::vector<std::thread::id> thinkers;
  std::vector<TCard> answers;
  {
    RobotPool pool(2, loop.Poster());
    for (TCard c = 1; c <= 8; ++c)
      pool.Run(
          [&, c] {
            std::lock_guard lock(mutex);
            thinkers.push_back(std::this_thread::get_id());
            return RobotMove{c, {}};
          },
          [&](RobotMove m) {
            EXPECT_EQ(std::this_thread::get_id(), loopThread);
            answers.push_back(m.card);
          });
    ASSERT_TRUE(loop.WaitFor(8));
    EXPECT_THAT(answers, IsEmpty());  // nothing reaches the game until the loop runs it
    loop.RunAll();
  }
  ASSERT_EQ(answers.size(), 8u);
  std::sort(answers.begin(), answers.end());
  EXPECT_EQ(answers, (std::vector<TCard>{1, 2, 3, 4, 5, 6, 7, 8}));
  for (const auto id : thinkers) EXPECT_NE(id, loopThread);
  SetLogSink({});
}

#ifdef __linux__
TEST(RobotPool, WorkersThinkAtALowerPriorityThanTheLoop) {
  // On a core the loop shares with a worker, a member's line goes before a robot's search.
  const auto niceOf = [] {
    errno = 0;
    return getpriority(PRIO_PROCESS, static_cast<id_t>(syscall(SYS_gettid)));
  };
  const int loopNice = niceOf();
  LoopQueue loop;
  int workerNice = -100;
  {
    RobotPool pool(1, loop.Poster());
    pool.Run(
        [&] {
          return RobotMove{static_cast<TCard>(niceOf() + 50), {}};
        },
        [&](RobotMove m) { workerNice = m.card - 50; });
    ASSERT_TRUE(loop.WaitFor(1));
    loop.RunAll();
  }
  EXPECT_EQ(workerNice, std::min(loopNice + kWorkerNice, 19));
}
#endif

TEST(RobotPool, ALongDecisionDoesNotHoldUpTheOthers) {
  LoopQueue loop;
  std::promise<void> release;
  std::shared_future<void> released = release.get_future().share();
  std::vector<TCard> answers;
  {
    RobotPool pool(2, loop.Poster());
    pool.Run(
        [released] {
          released.wait();
          return RobotMove{1, {}};
        },
        [&](RobotMove m) { answers.push_back(m.card); });
    for (TCard c = 2; c <= 5; ++c)
      pool.Run([c] { return RobotMove{c, {}}; }, [&](RobotMove m) { answers.push_back(m.card); });
    ASSERT_TRUE(loop.WaitFor(4));  // the other worker answered the rest meanwhile
    loop.RunAll();
    EXPECT_EQ(answers, (std::vector<TCard>{2, 3, 4, 5}));
    release.set_value();
    ASSERT_TRUE(loop.WaitFor(1));
    loop.RunAll();
  }
  EXPECT_EQ(answers.back(), 1);
}

TEST(RobotPool, AFailingDecisionAnswersWithTheEmptyMove) {
  std::vector<std::string> logged;
  SetLogSink([&](std::string_view line) { logged.emplace_back(line); });
  LoopQueue loop;
  std::optional<RobotMove> answer;
  {
    RobotPool pool(1, loop.Poster());
    pool.Run([]() -> RobotMove { throw std::runtime_error("no layout"); }, [&](RobotMove m) { answer = m; });
    ASSERT_TRUE(loop.WaitFor(2));  // the log line and the answer
    loop.RunAll();
  }
  ASSERT_TRUE(answer.has_value());
  EXPECT_EQ(answer->card, kNoCard);  // the loop plays the lowest legal card, or passes
  EXPECT_THAT(answer->bids, IsEmpty());
  EXPECT_THAT(logged, Contains(::testing::HasSubstr("no layout")));
  SetLogSink({});
}

// A decision's parts: each runs once, on idle workers too, and a decision whose other worker is
// busy runs every part itself rather than wait; a failing part fails the decision.
TEST(RobotPool, SplitsADecisionWithoutWaitingForABusyWorker) {
  SetLogSink([](std::string_view) {});
  for (const bool otherBusy : {false, true}) {
    LoopQueue loop;
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    std::mutex mutex;
    std::vector<int> ran;
    std::set<std::thread::id> threads;
    std::vector<RobotMove> answers;
    {
      RobotPool pool(2, loop.Poster());
      if (otherBusy)
        pool.Run(
            [released] {
              released.wait();
              return RobotMove{};
            },
            [](RobotMove) {});
      pool.Run(
          [&] {
            pool.Split(8, [&](int i) {
              std::this_thread::sleep_for(1ms);  // long enough for an idle worker to join in
              std::lock_guard lock(mutex);
              ran.push_back(i);
              threads.insert(std::this_thread::get_id());
            });
            return RobotMove{1, {}};
          },
          [&](RobotMove m) { answers.push_back(m); });
      pool.Run(
          [&] {
            pool.Split(3, [](int i) {
              if (i == 1) throw std::runtime_error("part failed");
            });
            return RobotMove{2, {}};
          },
          [&](RobotMove m) { answers.push_back(m); });
      ASSERT_TRUE(loop.WaitFor(3)) << otherBusy;  // both answers and the failure's log line
      loop.RunAll();
      release.set_value();
    }
    std::sort(ran.begin(), ran.end());
    EXPECT_EQ(ran, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7})) << otherBusy;
    if (otherBusy) {
      EXPECT_EQ(threads.size(), 1u);
    }
    ASSERT_EQ(answers.size(), 2u);
    std::sort(answers.begin(), answers.end(),
              [](const RobotMove& a, const RobotMove& b) { return a.card < b.card; });
    EXPECT_EQ(answers[0].card, kNoCard);  // the failed decision: the empty move
    EXPECT_EQ(answers[1].card, 1);
  }
  SetLogSink({});
}

struct BudgetCase {
  int budgetMs, thinking, workers, expectMs;
};

class SharedBudgetTest : public ::testing::TestWithParam<BudgetCase> {};

TEST_P(SharedBudgetTest, SharesTheBudgetAmongTheRobotsWaiting) {
  const BudgetCase c = GetParam();
  EXPECT_EQ(SharedBudget(std::chrono::milliseconds(c.budgetMs), c.thinking, c.workers).count(), c.expectMs);
}

INSTANTIATE_TEST_SUITE_P(Load, SharedBudgetTest,
                         ::testing::Values(BudgetCase{150, 0, 1, 150},    // nobody else waits
                                           BudgetCase{150, 1, 1, 150},    // the robot itself
                                           BudgetCase{150, 2, 2, 150},    // one worker each
                                           BudgetCase{150, 3, 1, 50},     // a third each
                                           BudgetCase{150, 6, 2, 50},     // two workers, six waiting
                                           BudgetCase{150, 100, 1, 3},    // never below the least
                                           BudgetCase{2, 100, 1, 2},      // a budget below it stays
                                           BudgetCase{150, 5, 0, 150}));  // no worker count known

// A runner that keeps every request until the test answers it; the requests outlive the engine.
struct Requests {
  struct Request {
    RobotRunner::Think think;
    RobotRunner::Done done;
  };
  std::vector<Request> list;
};

class HeldRunner : public RobotRunner {
 public:
  explicit HeldRunner(Requests& requests) : requests_(requests) {}
  void Run(Think think, Done done) override { requests_.list.push_back({std::move(think), std::move(done)}); }

 private:
  Requests& requests_;
};

class RobotTurnTest : public DealFixture {
 protected:
  RobotTurnTest() { UseHeldRunner(); }
  void UseHeldRunner() {
    RobotSettings settings;
    settings.budget = 20ms;
    deals_->UseRobots(settings, std::make_unique<HeldRunner>(requests));
  }
  // Answers request i on the loop with move (the thinking is not run).
  void Answer(std::size_t i, RobotMove move = {}) {
    requests.list.at(i).done(std::move(move));
    Pump();
  }
  // Answers request i with what the strong robot thinks.
  void Think(std::size_t i) {
    RobotMove move = requests.list.at(i).think();
    Answer(i, std::move(move));
  }
  std::size_t Blocks() { return Game()->Bids().Blocks().size(); }

  Requests requests;
};

TEST_F(RobotTurnTest, StrongRobotsBidAndPlayAWholeDealThroughTheRunner) {
  Player& anna = Seat("anna", 1);
  for (int s = 2; s <= 4; ++s) Do(anna.id, "S-" + std::to_string(s));
  Play(anna, "D1");  // anna deals and passes; seat 2 thinks
  ASSERT_EQ(requests.list.size(), 1u);
  EXPECT_EQ(Blocks(), 1u);  // nothing is decided on the loop meanwhile
  for (std::size_t i = 0; i < requests.list.size() && i < 200; ++i) Think(i);
  ASSERT_EQ(Game()->CurrentPhase(), deal::Game::Phase::Over);
  EXPECT_EQ(anna.scores.size(), 2u);
  // Every robot move was thought of once: its bids and its ten cards, no request left over.
  std::size_t robotBlocks = 0;
  for (const auto& b : Game()->Bids().Blocks()) robotBlocks += b.seat != 1;
  EXPECT_EQ(requests.list.size(), robotBlocks + 30);
}

TEST_F(RobotTurnTest, ANewDealDropsTheAnswerForTheOldOne) {
  Player& anna = Seat("anna", 1);
  for (int s = 2; s <= 4; ++s) Do(anna.id, "S-" + std::to_string(s));
  Play(anna, "D1");
  ASSERT_EQ(requests.list.size(), 1u);
  Play(anna, "D2");  // seat 3 deals: its robot thinks
  ASSERT_EQ(requests.list.size(), 2u);
  out.Take(anna.id);
  Answer(0, {kNoCard, {std::string(deal::GameBid())}});
  EXPECT_EQ(Blocks(), 0u);  // no bid of deal 1 lands in deal 2
  EXPECT_THAT(out.Take(anna.id), IsEmpty());
  Answer(1);
  EXPECT_EQ(Blocks(), 1u);
  EXPECT_EQ(Game()->Bids().Blocks()[0].seat, 3);
}

TEST_F(RobotTurnTest, AFreedRoomDropsTheAnswer) {
  Player& anna = Seat("anna", 1);
  for (int s = 2; s <= 4; ++s) Do(anna.id, "S-" + std::to_string(s));
  Play(anna, "D1");
  ASSERT_EQ(requests.list.size(), 1u);
  Do(anna.id, "E0");  // the deal is abandoned, the room empties
  Advance(ClubLimits{}.roomIdleFree + 1s);
  club().Flush();
  ASSERT_TRUE(club().RoomAt(1).gone);
  out.Take(anna.id);
  Answer(0);
  EXPECT_THAT(out.Take(anna.id), IsEmpty());
  EXPECT_EQ(requests.list.size(), 1u);
}

TEST_F(RobotTurnTest, AnAnswerAfterTheEngineIsGoneIsDropped) {
  Player& anna = Seat("anna", 1);
  for (int s = 2; s <= 4; ++s) Do(anna.id, "S-" + std::to_string(s));
  Play(anna, "D1");
  ASSERT_EQ(requests.list.size(), 1u);
  club().SetDeals(nullptr);
  deals_.reset();
  requests.list[0].done(RobotMove{});  // the sanitizer build catches a use of the engine
  SUCCEED();
}

TEST_F(RobotTurnTest, ASeatTakenOverAndLeftAgainDoesNotTakeTheOldAnswer) {
  // Humans on seats 1, 3 and 4 answer by hand; the robot on seat 2 thinks in the first round.
  const auto id = [this](const std::string& name) { return Join(name); };
  const MemberId anna = id("anna");
  Do(anna, "Rkertes");
  Do(anna, "E1");
  Do(anna, "S1");
  Do(anna, "S-2");
  const MemberId cili = id("cili");
  Do(cili, "E1");
  Do(cili, "S3");
  const MemberId dani = id("dani");
  Do(dani, "E1");
  Do(dani, "S4");
  const MemberId bela = id("bela");
  Do(bela, "E1");
  Do(anna, "D1");
  const std::string game(deal::GameBid());
  Do(anna, "Banna 1 " + game);
  ASSERT_EQ(requests.list.size(), 1u);  // seat 2 thinks of its first bids
  Do(bela, "S2");                       // bela takes the hand over and passes
  Do(bela, "Bbela 0");
  Do(cili, "Bcili 1 " + std::string(deal::HonorBid()));
  Do(dani, "Bdani 0");
  Do(anna, "Banna 0");
  ASSERT_EQ(Game()->OnTurn(), 2);
  Do(bela, "S0");  // bela stands up: the robot has seat 2 again, on turn in the second round
  const std::size_t blocks = Blocks();
  Answer(0);  // the answer for the first round is dropped and the robot thinks again
  EXPECT_EQ(Blocks(), blocks);
  ASSERT_EQ(requests.list.size(), 2u);
  Answer(1);
  EXPECT_EQ(Blocks(), blocks + 1);
  EXPECT_EQ(Game()->Bids().Blocks().back().seat, 2);
}

TEST_F(RobotTurnTest, RoomsWhoseRobotsThinkNeverHoldUpAnotherMembersLines) {
  // Three rooms, each with a robot thinking and its answer held back.
  std::vector<MemberId> openers;
  for (const std::string name : {"anna", "bela", "cili"}) {
    const MemberId m = Join(name);
    Do(m, "R" + name + "terem");
    Do(m, "E" + std::to_string(openers.size() + 1));
    Do(m, "S1");
    for (int s = 2; s <= 4; ++s) Do(m, "S-" + std::to_string(s));
    Do(m, "D" + std::to_string(openers.size() + 1));  // one number runs in one room at a time
    Do(m, "B" + name + " 0");
    openers.push_back(m);
  }
  ASSERT_EQ(requests.list.size(), 3u);
  const MemberId dani = Join("dani");
  Do(dani, "E1");
  EXPECT_THAT(Do(dani, "G"), Contains("G"));
  EXPECT_THAT(Do(openers[1], "Mszia"), Contains("Mbela: szia"));
  EXPECT_THAT(Do(openers[0], "G"), Contains("G"));
}

}  // namespace
}  // namespace zn::server::test
