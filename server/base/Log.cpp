#include "server/base/Log.h"

#include <cstdio>
#include <ctime>
#include <string>

#include "game/Cp1250.h"

namespace zn::server {
namespace {

std::function<void(std::string_view)>& Sink() {
  static std::function<void(std::string_view)> sink;
  return sink;
}

}  // namespace

void SetLogSink(std::function<void(std::string_view)> sink) { Sink() = std::move(sink); }

std::string LogText(std::string_view line) {
  std::string safe(line);
  for (char& c : safe) {
    const char32_t cp = kCp1250ToUnicode[static_cast<unsigned char>(c)];
    if (cp < 0x20 || (cp >= 0x7F && cp < 0xA0)) c = '?';
  }
  return Cp1250ToUtf8(safe);
}

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
  out.append(LogText(line));
  out.push_back('\n');
  std::fwrite(out.data(), 1, out.size(), stderr);
}

}  // namespace zn::server
