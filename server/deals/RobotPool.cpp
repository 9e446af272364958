#include "server/deals/RobotPool.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <exception>

#ifdef __linux__
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

#include "server/base/Log.h"

namespace zn::server {
namespace {

// A worker thinks at a lower priority than the server's loop: on a core they share, a member's
// line is answered before a robot's search goes on (a robot's move may wait a few milliseconds,
// a watcher's ping should not). Linux gives each thread its own nice value.
void LowerThisThread() {
#ifdef __linux__
  const auto self = static_cast<id_t>(syscall(SYS_gettid));
  errno = 0;
  const int now = getpriority(PRIO_PROCESS, self);
  if (errno == 0) setpriority(PRIO_PROCESS, self, std::min(now + kWorkerNice, 19));
#endif
}

}  // namespace

std::chrono::milliseconds SharedBudget(std::chrono::milliseconds budget, int thinking, int workers) {
  if (thinking <= workers || workers <= 0) return budget;
  const auto share = budget * workers / thinking;
  return std::max(share, std::min(budget, kLeastBudget));
}

// The parts of one decision: whoever is free takes the next part, the deciding worker included,
// so the decision never waits for a worker that is busy elsewhere.
struct RobotPool::Fanout {
  Fanout(int n, const Part& p) : parts(n), part(&p) {}
  const int parts;
  const Part* part;  // the deciding worker's; only touched for a part taken below
  std::atomic<int> next{0};
  std::mutex mutex;
  std::condition_variable finished;
  int done = 0;
  std::exception_ptr failure;

  void Work() {
    for (int i = next.fetch_add(1); i < parts; i = next.fetch_add(1)) {
      std::exception_ptr failed;
      try {
        (*part)(i);
      } catch (...) {
        failed = std::current_exception();
      }
      std::lock_guard lock(mutex);
      if (failed && !failure) failure = failed;
      if (++done == parts) finished.notify_all();
    }
  }
};

RobotPool::RobotPool(int threads, Post post) : post_(std::move(post)) {
  if (threads <= 0) threads = std::max(static_cast<int>(std::thread::hardware_concurrency()) - 1, 1);
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
    jobs_.push_back({std::move(think), std::move(done), {}});
  }
  wake_.notify_one();
}

void RobotPool::Split(int parts, const Part& part) {
  if (parts <= 0) return;
  auto fanout = std::make_shared<Fanout>(parts, part);
  const int helpers = std::min(parts, Workers()) - 1;
  if (helpers > 0) {
    {
      // At the front: a decision under way goes before the ones that wait.
      std::lock_guard lock(mutex_);
      for (int i = 0; i < helpers && !stopping_; ++i) jobs_.push_front({{}, {}, fanout});
    }
    for (int i = 0; i < helpers; ++i) wake_.notify_one();
  }
  fanout->Work();
  std::unique_lock lock(fanout->mutex);
  fanout->finished.wait(lock, [&] { return fanout->done == parts; });
  if (fanout->failure) std::rethrow_exception(fanout->failure);
}

void RobotPool::Work() {
  LowerThisThread();
  for (;;) {
    Job job;
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
      if (stopping_) return;
      job = std::move(jobs_.front());
      jobs_.pop_front();
    }
    if (job.help) {
      job.help->Work();
      continue;
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
