// Robot thinking off the network thread: worker threads (the cores less one) run the robots'
// decisions and post each answer back to the server's loop, so a room of thinking robots never
// delays another member's lines. A decision may split its layouts over the workers that have
// nothing else to do. The kind of robot and its time budget come from the command line.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "game/Hands.h"

namespace zn::server {

enum class RobotKind { Simple, Strong };

struct RobotSettings {
  RobotKind kind = RobotKind::Strong;
  std::chrono::milliseconds budget{150};  // per card decision of a strong robot
  int threads = 0;                        // 0: one less than the cores, at least one
};

// What a robot decided: its card, or during bidding its set of bids. A decision that failed is
// the empty move (no card: the lowest legal card is played; no bids: a pass).
struct RobotMove {
  TCard card = kNoCard;
  std::vector<std::string> bids;
};

// Runs a robot's decision somewhere and hands it to `done` on the server's loop.
class RobotRunner {
 public:
  using Think = std::function<RobotMove()>;
  using Done = std::function<void(RobotMove)>;
  using Part = std::function<void(int)>;
  virtual ~RobotRunner() = default;
  virtual void Run(Think think, Done done) = 0;
  // How many decisions run at once.
  virtual int Workers() const { return 1; }
  // From inside a decision: runs part(0) .. part(parts - 1), on idle workers too, and returns when
  // all are done (rethrowing the first failure of a part). Here: one after the other.
  virtual void Split(int parts, const Part& part) {
    for (int i = 0; i < parts; ++i) part(i);
  }
};

// The time of one decision when `thinking` robots wait for `workers` threads: a robot's move
// waits behind the others, so under load each gets a share and a member's wait for a robot's move
// stays near the budget; never less than kLeastBudget (a search needs a few layouts: 3 ms of
// today's search covers as many as 30 ms of the search before its masks).
inline constexpr std::chrono::milliseconds kLeastBudget{3};
// How much nicer than the loop the workers run (capped at nice 19).
inline constexpr int kWorkerNice = 5;
std::chrono::milliseconds SharedBudget(std::chrono::milliseconds budget, int thinking, int workers);

class RobotPool : public RobotRunner {
 public:
  // post: runs a function on the server's loop (thread-safe, like asio::post).
  using Post = std::function<void(std::function<void()>)>;

  RobotPool(int threads, Post post);
  // Drops the decisions not yet started and waits for the running ones; their answers are still
  // posted (the loop's side drops what it no longer wants).
  ~RobotPool() override;
  RobotPool(const RobotPool&) = delete;
  RobotPool& operator=(const RobotPool&) = delete;

  void Run(Think think, Done done) override;
  int Workers() const override { return static_cast<int>(workers_.size()); }
  void Split(int parts, const Part& part) override;

 private:
  struct Fanout;
  struct Job {
    Think think;
    Done done;
    std::shared_ptr<Fanout> help;  // set: a share of another decision's parts, nothing to post
  };
  void Work();

  Post post_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::deque<Job> jobs_;
  bool stopping_ = false;
  std::vector<std::thread> workers_;
};

}  // namespace zn::server
