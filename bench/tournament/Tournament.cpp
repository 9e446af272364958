// The duplicate tournament: seeded deals, each played on two tables with the pairs swapped between
// the strong and the simple robots. Prints the strong pair's mean points per deal over the simple
// pair with a 95% confidence interval, and the time per strong decision (median, p99). With
// --all-seeing 1 (the default) every deal is also played by the all-seeing robots against the
// simple ones, and the share of that gap the strong robots close is printed with its interval.
//   zn_tournament [--deals N] [--first N] [--layouts N] [--ms N] [--all-seeing 0|1] [--seconds S]
//                 [--early 0|1] [--gains FILE]
// --seconds bounds the run: no deal starts after that, and the figures are over the deals played.
// --early 0 searches every layout a decision's budget allows (no early stop). --gains writes each
// deal's number and gains (strong, all-seeing), so that two runs can be compared deal by deal.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "bench/tournament/AllSeeing.h"
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

// The strong pair's gain over the simple pair per deal and table (mean, 95% interval), and with the
// all-seeing robots' gains the share of their gap the strong robots close: r = mean(x) / mean(y)
// of the paired gains, its interval by the delta method, var(r) = var(x - r y) / (n mean(y)^2).
void Report(std::FILE* out, const std::vector<double>& x, const std::vector<double>& y) {
  const double n = static_cast<double>(x.size());
  if (x.empty()) return;
  double mean = 0;
  for (const double v : x) mean += v / n;
  double squares = 0;
  for (const double v : x) squares += (v - mean) * (v - mean);
  const double sd = n > 1 ? std::sqrt(squares / (n - 1)) : 0;
  const double half = 1.96 * sd / std::sqrt(n);
  std::fprintf(out, "strong minus simple, points per deal and table: %.2f  95%% CI [%.2f, %.2f]  sd %.2f\n",
               mean, mean - half, mean + half, sd);
  if (y.size() != x.size()) return;
  double seeing = 0;
  for (const double v : y) seeing += v / n;
  const double r = seeing != 0 ? mean / seeing : 0;
  double residual = 0;
  for (std::size_t i = 0; i < x.size(); ++i) residual += (x[i] - r * y[i]) * (x[i] - r * y[i]);
  const double rHalf = n > 1 && seeing != 0 ? 1.96 * std::sqrt(residual / (n - 1) / n) / std::abs(seeing) : 0;
  std::fprintf(out, "all-seeing minus simple, points per deal and table: %.2f\n", seeing);
  std::fprintf(out,
               "share of the simple-to-all-seeing gap the strong robots close: %.3f  95%% CI [%.3f, %.3f]\n",
               r, r - rHalf, r + rHalf);
}

}  // namespace

int main(int argc, char** argv) {
  long deals = 2000;
  long first = 1;
  bool allSeeing = true;
  double seconds = 0;  // 0: no limit; else no deal starts after this many seconds
  zn::deal::StrongSettings settings;
  std::string gainsPath;
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
    else if (flag == "--seconds")
      seconds = static_cast<double>(std::clamp(value, 0L, 1000000L));
    else if (flag == "--all-seeing")
      allSeeing = value != 0;
    else if (flag == "--early")
      settings.early.enabled = value != 0;
    else if (flag == "--gains")
      gainsPath = argv[i + 1];
    else {
      std::fprintf(stderr, "unknown option %s\n", flag.c_str());
      return 2;
    }
  }
  std::FILE* gains = gainsPath.empty() ? nullptr : std::fopen(gainsPath.c_str(), "w");
  if (!gainsPath.empty() && gains == nullptr) {
    std::fprintf(stderr, "cannot write %s\n", gainsPath.c_str());
    return 1;
  }
  zn::deal::StrongRobot strong(settings);
  TimedRobot timed(strong);
  zn::deal::SimpleRobot simple;
  zn::bench::AllSeeingRobot seeing(settings);
  std::vector<double> strongGain, seeingGain;  // per deal and table, over the simple pair
  const auto start = Clock::now();
  long played = 0;
  for (; played < deals; ++played) {
    if (seconds > 0 && std::chrono::duration<double>(Clock::now() - start).count() >= seconds) break;
    const auto number = static_cast<std::int32_t>(first + played);
    // Per table: the strong pair's points minus the simple pair's, the mean of the two tables.
    strongGain.push_back(zn::deal::PlayDuplicate(number, timed, simple, simple) / 2.0);
    if (allSeeing) {
      seeing.SetDeal(number);
      seeingGain.push_back(zn::deal::PlayDuplicate(number, seeing, simple, simple) / 2.0);
    }
    if (gains) {
      std::fprintf(gains, "%d %.1f %.1f\n", number, strongGain.back(), allSeeing ? seeingGain.back() : 0.0);
      std::fflush(gains);
    }
    if ((played + 1) % 100 == 0) {
      std::fprintf(stderr, "%ld deals\n", played + 1);
      Report(stderr, strongGain, seeingGain);
    }
  }
  if (gains) std::fclose(gains);
  std::printf("deals %ld (numbers %ld..%ld), layouts %d, budget %lld ms, early stop %s\n", played, first,
              first + played - 1, settings.layouts, static_cast<long long>(settings.budget.count()),
              settings.early.enabled ? "on" : "off");
  Report(stdout, strongGain, seeingGain);
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
