// The duplicate tournament: seeded deals, each played on two tables with the pairs swapped between
// the strong and the simple robots. Prints the strong pair's mean points per deal over the simple
// pair with a 95% confidence interval, and the time per strong decision (median, p99).
//   zn_tournament [--deals N] [--first N] [--layouts N] [--ms N]
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "deal/Duplicate.h"
#include "deal/StrongRobot.h"

namespace {

using Clock = std::chrono::steady_clock;

// The thread's own processor time: what a decision costs when another program shares the core.
double CpuMicros() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e6 + static_cast<double>(t.tv_nsec) / 1e3;
}

// Times every decision of the robot it wraps: cards (wall clock and processor time) and bids.
class TimedRobot : public zn::deal::Robot {
 public:
  explicit TimedRobot(zn::deal::Robot& inner) : inner_(inner) {}
  std::vector<std::string> Bid(const zn::deal::RobotView& view) override {
    const auto start = Clock::now();
    auto bids = inner_.Bid(view);
    bidMicros.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    return bids;
  }
  zn::TCard Play(const zn::deal::RobotView& view) override {
    const auto start = Clock::now();
    const double cpu = CpuMicros();
    const zn::TCard card = inner_.Play(view);
    micros.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
    cpuMicros.push_back(CpuMicros() - cpu);
    return card;
  }
  std::vector<double> micros;
  std::vector<double> cpuMicros;
  std::vector<double> bidMicros;

 private:
  zn::deal::Robot& inner_;
};

double Quantile(std::vector<double> v, double q) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  return v[static_cast<std::size_t>(q * static_cast<double>(v.size() - 1))];
}

}  // namespace

int main(int argc, char** argv) {
  long deals = 2000;
  long first = 1;
  zn::deal::StrongSettings settings;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string flag = argv[i];
    const long value = std::strtol(argv[i + 1], nullptr, 10);
    if (flag == "--deals")
      deals = std::clamp(value, 1L, 1000000L);
    else if (flag == "--first")
      first = std::clamp(value, 1L, 1000000000L);
    else if (flag == "--layouts")
      settings.layouts = static_cast<int>(std::clamp(value, 1L, 1000L));
    else if (flag == "--ms")
      settings.budget = std::chrono::milliseconds(std::clamp(value, 0L, 60000L));
    else {
      std::fprintf(stderr, "unknown option %s\n", flag.c_str());
      return 2;
    }
  }
  zn::deal::StrongRobot strong(settings);
  TimedRobot timed(strong);
  zn::deal::SimpleRobot simple;
  double sum = 0;
  double squares = 0;
  const auto start = Clock::now();
  for (long d = 0; d < deals; ++d) {
    // Per table: the strong pair's points minus the simple pair's, the mean of the two tables.
    const double diff =
        zn::deal::PlayDuplicate(static_cast<std::int32_t>(first + d), timed, simple, simple) / 2.0;
    sum += diff;
    squares += diff * diff;
    if ((d + 1) % 100 == 0)
      std::fprintf(stderr, "%ld deals, mean %.2f\n", d + 1, sum / static_cast<double>(d + 1));
  }
  const double n = static_cast<double>(deals);
  const double mean = sum / n;
  const double sd = n > 1 ? std::sqrt(std::max(0.0, (squares - n * mean * mean) / (n - 1))) : 0;
  const double half = 1.96 * sd / std::sqrt(n);
  std::printf("deals %ld (numbers %ld..%ld), layouts %d, budget %lld ms\n", deals, first, first + deals - 1,
              settings.layouts, static_cast<long long>(settings.budget.count()));
  std::printf("strong minus simple, points per deal and table: %.2f  95%% CI [%.2f, %.2f]  sd %.2f\n", mean,
              mean - half, mean + half, sd);
  std::printf("card decisions %zu: median %.2f ms, p99 %.2f ms, max %.2f ms\n", timed.micros.size(),
              Quantile(timed.micros, 0.5) / 1000, Quantile(timed.micros, 0.99) / 1000,
              Quantile(timed.micros, 1.0) / 1000);
  std::printf("  processor time: median %.2f ms, p99 %.2f ms, max %.2f ms\n",
              Quantile(timed.cpuMicros, 0.5) / 1000, Quantile(timed.cpuMicros, 0.99) / 1000,
              Quantile(timed.cpuMicros, 1.0) / 1000);
  std::printf("bid decisions %zu: median %.2f ms, p99 %.2f ms, max %.2f ms\n", timed.bidMicros.size(),
              Quantile(timed.bidMicros, 0.5) / 1000, Quantile(timed.bidMicros, 0.99) / 1000,
              Quantile(timed.bidMicros, 1.0) / 1000);
  std::printf("wall %.1f s\n", std::chrono::duration<double>(Clock::now() - start).count());
  return 0;
}
