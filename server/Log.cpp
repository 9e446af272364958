#include "server/Log.h"

#include <cstdio>
#include <ctime>
#include <string>

namespace zn::server {
namespace {

std::function<void(std::string_view)>& Sink() {
  static std::function<void(std::string_view)> sink;
  return sink;
}

}  // namespace

void SetLogSink(std::function<void(std::string_view)> sink) { Sink() = std::move(sink); }

void Log(std::string_view line) {
  if (Sink()) {
    Sink()(line);
    return;
  }
  char stamp[32];
  const std::time_t now = std::time(nullptr);
  std::tm tm{};
  gmtime_r(&now, &tm);
  std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S ", &tm);
  std::string out = stamp;
  out.append(line);
  out.push_back('\n');
  std::fwrite(out.data(), 1, out.size(), stderr);
}

}  // namespace zn::server
