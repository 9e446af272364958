// Robot thinking off the network thread: a few worker threads run the robots' decisions and post
// each answer back to the server's loop, so a room of thinking robots never delays another
// member's lines. The kind of robot and its time budget come from the command line.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "game/Hands.h"

namespace zn::server {

enum class RobotKind { Simple, Strong };

struct RobotSettings {
  RobotKind kind = RobotKind::Strong;
  std::chrono::milliseconds budget{150};  // per card decision of a strong robot
  int threads = 0;                        // 0: one less than the cores, at least one, at most four
};

// Runs a robot's decision somewhere and hands its card to `done` on the server's loop.
class RobotRunner {
 public:
  virtual ~RobotRunner() = default;
  virtual void Run(std::function<TCard()> think, std::function<void(TCard)> done) = 0;
};

class RobotPool : public RobotRunner {
 public:
  // post: runs a function on the server's loop (thread-safe, like asio::post).
  using Post = std::function<void(std::function<void()>)>;

  RobotPool(int threads, Post post);
  // Drops the decisions not yet started and waits for the running ones.
  ~RobotPool() override;
  RobotPool(const RobotPool&) = delete;
  RobotPool& operator=(const RobotPool&) = delete;

  void Run(std::function<TCard()> think, std::function<void(TCard)> done) override;

 private:
  struct Job {
    std::function<TCard()> think;
    std::function<void(TCard)> done;
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
