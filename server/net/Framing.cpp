#include "server/net/Framing.h"

namespace zn::server {

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
