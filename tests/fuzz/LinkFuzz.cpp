// The received stream through the link: reads cut anywhere, quiet times, disconnects and
// reconnects in any order, lines taken off in between. A stream read without a quiet time in
// between must come out as exactly the lines of the whole stream.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "link/LineJoiner.h"
#include "link/NextLine.h"
#include "link/ZnLink.h"
#include "tests/support/FakeDesktop.h"
#include "tests/support/FakeSocket.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

std::size_t QueueBytes(const zn::TReceiveQueue& q) {
  std::size_t n = 0;
  for (std::size_t i = 0; i < q.Entries(); ++i) n += q.Entry(i).size();
  return n;
}

// The lines of a whole stream without empty lines, as the server frames them.
bool PlainStream(const std::string& s) {
  if (s.size() < 2 || s.back() == '#' || s.find("##") != std::string::npos) return false;
  return s.size() > 2 || s[0] != '#';
}

std::vector<std::string> Split(const std::string& s) {
  std::vector<std::string> lines;
  std::size_t at = s[0] == '#' ? 1 : 0;
  while (true) {
    const std::size_t hash = s.find('#', at);
    lines.push_back(s.substr(at, hash - at));
    if (hash == std::string::npos) break;
    at = hash + 1;
  }
  return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  zn::test::ScopedFakeDesktop desk;
  desk.desk.Keep = false;
  FuzzedDataProvider in(data, size);
  zn::TReceiveQueue queue;
  zn::test::SocketLog log;
  log.active = true;
  auto socket = std::make_unique<zn::test::FakeSocket>(log);
  zn::TSocketPort* port = socket.get();
  zn::TZnLink link(queue, std::move(socket));
  log.hasTimer = in.ConsumeBool();

  std::string stream;  // everything received since the last quiet time or reconnect
  bool plain = true;   // no quiet time or disconnect cut the stream
  std::vector<std::string> lines;
  auto take = [&](int most) {
    std::string line;
    for (int i = 0; i < most && zn::NextLine(queue, false, line); ++i) {
      Check(line.find('#') == std::string::npos);
      lines.push_back(line);
    }
  };
  while (in.remaining_bytes() > 0) {
    switch (in.ConsumeIntegralInRange<int>(0, 5)) {
      case 0:
      case 1: {
        const std::string chunk = in.ConsumeRandomLengthString(512);
        if (chunk.empty()) break;
        stream += chunk;
        port->OnData(chunk);
        if (!log.hasTimer) plain = false;  // every read is whole without a timer
        break;
      }
      case 2:
        port->OnQuiet();
        plain = false;
        break;
      case 3:
        take(in.ConsumeIntegralInRange<int>(0, 4));
        break;
      case 4:
        port->OnDisconnected();
        plain = false;
        break;
      default:
        link.Open();
        plain = false;
        break;
    }
    Check(queue.Bytes() == QueueBytes(queue));
  }
  port->OnQuiet();
  take(1 << 20);
  Check(queue.Empty() && queue.Bytes() == 0);
  if (plain && PlainStream(stream)) Check(lines == Split(stream));
  return 0;
}
