#include "server/RobotPool.h"

#include <algorithm>

#include "server/Log.h"

namespace zn::server {

std::chrono::milliseconds SharedBudget(std::chrono::milliseconds budget, int thinking, int workers) {
  if (thinking <= workers || workers <= 0) return budget;
  const auto share = budget * workers / thinking;
  return std::max(share, std::min(budget, kLeastBudget));
}

RobotPool::RobotPool(int threads, Post post) : post_(std::move(post)) {
  if (threads <= 0) threads = std::clamp(static_cast<int>(std::thread::hardware_concurrency()) - 1, 1, 4);
  for (int i = 0; i < threads; ++i) workers_.emplace_back([this] { Work(); });
}

RobotPool::~RobotPool() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
    jobs_.clear();
  }
  wake_.notify_all();
  for (std::thread& w : workers_) w.join();
}

void RobotPool::Run(Think think, Done done) {
  {
    std::lock_guard lock(mutex_);
    jobs_.push_back({std::move(think), std::move(done)});
  }
  wake_.notify_one();
}

void RobotPool::Work() {
  for (;;) {
    Job job;
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
      if (stopping_) return;
      job = std::move(jobs_.front());
      jobs_.pop_front();
    }
    RobotMove move;
    try {
      move = job.think();
    } catch (const std::exception& e) {
      // The loop then plays the lowest legal card or passes: a failing robot costs a good move,
      // not the deal.
      post_([what = std::string(e.what())] { Log("robot: " + what); });
    } catch (...) {
      post_([] { Log("robot: unknown failure"); });
    }
    post_([done = std::move(job.done), move = std::move(move)]() mutable { done(std::move(move)); });
  }
}

}  // namespace zn::server
