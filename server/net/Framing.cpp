#include "server/net/Framing.h"

namespace zn::server {
namespace {

// A login or a room name runs to the end of its read, so a client that sends it twice before the
// server reads gets one command with its own text glued on ("NBenceNBence"). A read that is one
// such command repeated is refused rather than taken as a nickname or a room everyone would see.
bool RepeatedRunToEnd(std::string_view read) {
  if (read.empty() || (read[0] != 'N' && read[0] != 'R')) return false;
  for (std::size_t unit = 2; unit <= read.size() / 2; ++unit) {
    if (read.size() % unit != 0 || read[unit] != read[0]) continue;
    bool repeated = true;
    for (std::size_t i = unit; i < read.size() && repeated; ++i) repeated = read[i] == read[i - unit];
    if (repeated) return true;
  }
  return false;
}

}  // namespace

void Framing::Feed(std::string_view read, bool more, std::vector<Piece>& out) {
  std::string().swap(work_);  // an idle member keeps no buffer
  if (dropBurst_) {
    dropBurst_ = more;
    return;  // the tail of an oversized command
  }
  std::string_view s = read;
  if (!pending_.empty()) {
    work_ = std::move(pending_);
    pending_.clear();
    work_.append(read);
    s = work_;
  }
  while (!s.empty()) {
    const proto::TCommandSpan span = proto::MeasureCommand(s);
    switch (span.cut) {
      case proto::TCommandCut::Incomplete:
        if (s.size() > kMaxCommandBytes)
          out.push_back({Piece::TooLong, {}});
        else
          pending_.assign(s);
        return;
      case proto::TCommandCut::Malformed:
        out.push_back({Piece::Malformed, {}});
        return;  // nothing after it can be trusted to start a command
      case proto::TCommandCut::Unknown:
      case proto::TCommandCut::Complete:
        break;
    }
    const std::size_t n = span.length;
    if (n == s.size() && RepeatedRunToEnd(s)) {
      out.push_back({Piece::Malformed, {}});
      return;
    }
    if (n > kMaxCommandBytes) {
      out.push_back({Piece::TooLong, {}});
      if (n == s.size()) dropBurst_ = more;  // it runs on into the next read
    } else {
      out.push_back({Piece::Command, s.substr(0, n)});
    }
    s.remove_prefix(n);
  }
}

}  // namespace zn::server
