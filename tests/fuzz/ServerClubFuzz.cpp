// Fuzzes Club::Receive with the deal engine behind it, on a recording outbox and an in-memory
// store. The input is a script of steps: a control byte picks a member (of four) and what happens
// (connect, disconnect, time passing, or bytes for the framing); the bytes up to the next 0xFF
// are that member's read. Every line the club sends must be one line without "#".
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "server/Club.h"
#include "server/Deals.h"
#include "server/Framing.h"
#include "server/Log.h"
#include "tests/support/ServerFakes.h"

namespace {

using namespace zn::server;
using zn::server::test::MemoryStore;
using zn::server::test::RecordingOutbox;

void CheckLine(std::string_view line) {
  if (line.empty() || line.find('#') != std::string_view::npos) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool silent = [] {
    SetLogSink([](std::string_view) {});
    return true;
  }();
  (void)silent;
  SteadyTime now{std::chrono::hours(1)};
  RecordingOutbox out;
  out.checkLine = CheckLine;
  MemoryStore store;
  ClubLimits limits;
  limits.roomIdleFree = std::chrono::seconds(5);
  Club club(
      store, out, [&] { return now; }, limits);
  Deals deals(
      club, store, out, [&] { return now; }, [] { return 1234; });
  club.SetDeals(&deals);
  std::map<MemberId, Framing> framing;
  std::vector<Piece> pieces;
  std::size_t at = 0;
  while (at < size) {
    const std::uint8_t control = data[at++];
    const MemberId id = 1 + (control & 3);
    switch (control >> 2 & 3) {
      case 0:
        if (!framing.count(id)) {
          framing[id];
          club.Connect(id, id % 2 ? "10.0.0.1" : "10.0.0.2");
        }
        break;
      case 1:
        if (framing.erase(id)) club.Disconnect(id);
        break;
      case 2:
        now += std::chrono::milliseconds(static_cast<int>(control >> 4) * 700);
        break;
      default: {
        std::size_t end = at;
        while (end < size && data[end] != 0xFF) ++end;
        auto it = framing.find(id);
        if (it != framing.end()) {
          pieces.clear();
          it->second.Feed(std::string_view(reinterpret_cast<const char*>(data) + at, end - at), false,
                          pieces);
          for (const Piece& p : pieces) {
            if (p.kind == Piece::Command)
              club.Receive(id, p.text);
            else if (p.kind == Piece::TooLong)
              club.RefuseTooLong(id);
            else
              club.RefuseMalformed(id);
          }
        }
        at = end + 1;
      }
    }
    club.Flush();
    out.lines.clear();  // checked as they went; only the checks matter here
    out.shared.clear();
  }
  for (auto& [id, f] : framing) club.Disconnect(id);
  return 0;
}
