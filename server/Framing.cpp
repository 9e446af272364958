#include "server/Framing.h"

#include "link/Protocol.h"

namespace zn::server {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Position after an optional "-" and digits starting at p.
std::size_t SkipNumber(std::string_view s, std::size_t p) {
  if (p < s.size() && s[p] == '-') ++p;
  while (p < s.size() && IsDigit(s[p])) ++p;
  return p;
}

std::size_t SkipToken(std::string_view s, std::size_t p) {
  while (p < s.size() && s[p] != ' ') ++p;
  return p;
}

// "B" nickname " " count (" " bid) x count. The last bid runs to the next space or the end.
std::size_t BidsLength(std::string_view s) {
  std::size_t p = SkipToken(s, 1);
  if (p >= s.size()) return s.size();
  const std::size_t countStart = p + 1;
  p = countStart;
  std::uint64_t count = 0;
  while (p < s.size() && IsDigit(s[p]) && count < 1000)
    count = count * 10 + static_cast<unsigned>(s[p++] - '0');
  if (p == countStart) return p;
  for (std::uint64_t i = 0; i < count && p < s.size() && s[p] == ' '; ++i) p = SkipToken(s, p + 1);
  return p;
}

// "W" asker " " chosen " " four lengths " " texts: 0 when the texts reach past the buffer.
std::size_t AnswerLength(std::string_view s, std::uint64_t& announced) {
  std::size_t p = SkipToken(s, 1);  // asker
  if (p >= s.size()) return 0;
  p = SkipToken(s, p + 1);  // chosen
  std::uint64_t total = 0;
  for (int i = 0; i < 4; ++i) {
    if (p >= s.size() || s[p] != ' ') return p < s.size() ? p : 0;  // header cut by the read
    const std::size_t start = ++p;
    std::uint64_t n = 0;
    while (p < s.size() && IsDigit(s[p]) && n <= 0xFFFFFFFFull)
      n = n * 10 + static_cast<unsigned>(s[p++] - '0');
    if (p == start) return p < s.size() ? p : 0;
    total += n;
  }
  if (p < s.size() && s[p] == ' ') ++p;
  announced = p + total;
  return p + total <= s.size() ? static_cast<std::size_t>(p + total) : 0;
}

}  // namespace

std::size_t FirstCommandLength(std::string_view s, std::uint64_t& announced) {
  announced = 0;
  if (s.empty()) return 0;
  proto::TCommandShape shape;
  if (!proto::ShapeOf(s[0], shape)) return s.size();  // no command code: the read is junk
  switch (shape) {
    case proto::TCommandShape::Bare:
      return 1;
    case proto::TCommandShape::SignedNumber:
      return SkipNumber(s, 1);
    case proto::TCommandShape::Result: {
      std::size_t p = SkipNumber(s, 1);
      if (p < s.size() && s[p] == ':') p = SkipNumber(s, p + 1);
      return p;
    }
    case proto::TCommandShape::Bids:
      return BidsLength(s);
    case proto::TCommandShape::Answer:
      return AnswerLength(s, announced);
    case proto::TCommandShape::Rest:
      break;
  }
  return s.size();
}

void Framing::Feed(std::string_view read, bool more, std::vector<Piece>& out) {
  std::string().swap(work_);  // an idle member keeps no buffer
  if (dropBurst_) {
    dropBurst_ = more;
    if (more) return;
    read = {};  // the burst's tail ends here
  }
  if (skip_ > 0) {
    const std::size_t n = skip_ < read.size() ? static_cast<std::size_t>(skip_) : read.size();
    skip_ -= n;
    read.remove_prefix(n);
  }
  std::string_view s = read;
  if (!pending_.empty()) {
    work_ = std::move(pending_);
    pending_.clear();
    work_.append(read);
    s = work_;
  }
  while (!s.empty()) {
    std::uint64_t announced = 0;
    const std::size_t n = FirstCommandLength(s, announced);
    if (announced > kMaxCommandBytes) {  // an answer too long to keep: drop its bytes as they come
      out.push_back({{}, true});
      if (announced <= s.size()) {
        s.remove_prefix(static_cast<std::size_t>(announced));
        continue;
      }
      skip_ = announced - s.size();
      return;
    }
    if (n == 0) {  // an unfinished answer: wait for the rest
      if (s.size() > kMaxCommandBytes) {
        out.push_back({{}, true});
        return;
      }
      pending_.assign(s);
      return;
    }
    if (n > kMaxCommandBytes) {
      out.push_back({{}, true});
      if (n == s.size()) dropBurst_ = more;  // it runs on into the next read
    } else {
      out.push_back({s.substr(0, n), false});
    }
    s.remove_prefix(n);
  }
}

}  // namespace zn::server
