// Splitting the client's commands on the server: where one command ends in a stream of joined ones.
#include <algorithm>

#include "link/Protocol.h"

namespace zn::proto {

// ---- Splitting client commands ------------------------------------------------------------------

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A reader over the buffer that never steps past its end.
struct TScan {
  std::string_view buf;
  std::size_t pos = 0;

  bool AtEnd() const { return pos >= buf.size(); }
  char Peek() const { return buf[pos]; }
  void SkipSign() {
    if (!AtEnd() && (Peek() == '-' || Peek() == '+')) ++pos;
  }
  void SkipDigits() {
    while (!AtEnd() && IsDigit(Peek())) ++pos;
  }
  // Digits as a count; false when there are none or the value passes limit (it stops adding there,
  // so no count overflows).
  bool ReadCount(std::size_t limit, std::size_t& value) {
    const std::size_t start = pos;
    value = 0;
    bool within = true;
    for (; !AtEnd() && IsDigit(Peek()); ++pos) {
      if (within) value = value * 10 + static_cast<std::size_t>(Peek() - '0');
      if (value > limit) within = false;
    }
    return pos > start && within;
  }
  // Skips to the next space (or the end); true when a space follows.
  bool SkipToken() {
    const std::size_t space = buf.find(' ', pos);
    pos = space == std::string_view::npos ? buf.size() : space;
    return space != std::string_view::npos;
  }
};

TCommandSpan Done(std::size_t length) { return {TCommandCut::Complete, length}; }
TCommandSpan Wait() { return {TCommandCut::Incomplete, 0}; }
TCommandSpan Broken(std::string_view buffer) { return {TCommandCut::Malformed, buffer.size()}; }

TCommandSpan MeasureResult(std::string_view buffer) {
  TScan s{buffer, 1};
  s.SkipSign();
  s.SkipDigits();
  if (s.AtEnd()) return Wait();
  if (s.Peek() != ':') return Broken(buffer);
  ++s.pos;
  s.SkipSign();
  s.SkipDigits();
  return Done(s.pos);
}

// "B" nickname " " count, then count times " " bid.
TCommandSpan MeasureBids(std::string_view buffer) {
  TScan s{buffer, 1};
  if (!s.SkipToken()) return Wait();
  ++s.pos;
  if (s.AtEnd()) return Wait();
  std::size_t count = 0;
  if (!s.ReadCount(kMaxCommandLength / 2, count)) return Broken(buffer);
  for (std::size_t i = 0; i < count; ++i) {
    if (s.AtEnd()) return Wait();
    if (s.Peek() != ' ') return Broken(buffer);
    const std::size_t start = ++s.pos;
    if (s.AtEnd()) return Wait();
    s.SkipToken();
    if (s.pos == start) return Broken(buffer);  // an empty bid
  }
  return Done(s.pos);
}

// "W" asker " " nickname " " a " " b " " c " " d " " then a+b+c+d bytes.
TCommandSpan MeasureAnswer(std::string_view buffer) {
  TScan s{buffer, 1};
  for (int token = 0; token < 2; ++token) {
    if (!s.SkipToken()) return Wait();
    ++s.pos;
  }
  std::size_t total = 0;
  for (int i = 0; i < 4; ++i) {
    if (s.AtEnd()) return Wait();
    std::size_t n = 0;
    if (!s.ReadCount(kMaxCommandLength, n)) return Broken(buffer);
    total += n;  // four values of at most kMaxCommandLength each: no overflow
    if (total > kMaxCommandLength) return Broken(buffer);
    if (s.AtEnd()) return Wait();
    if (s.Peek() != ' ') return Broken(buffer);
    ++s.pos;
  }
  if (buffer.size() - s.pos < total) return Wait();
  return Done(s.pos + total);
}

// "Y" alone (a request) or "Y" and exactly kProofHex lower-case hex digits. The digits are no
// command codes, so a request followed by another command ends at that command's code.
TCommandSpan MeasureProof(std::string_view buffer) {
  std::size_t n = 1;
  while (n < buffer.size() && n <= kProofHex &&
         ((buffer[n] >= '0' && buffer[n] <= '9') || (buffer[n] >= 'a' && buffer[n] <= 'f')))
    ++n;
  const std::size_t digits = n - 1;
  if (digits == 0 || digits == kProofHex) return Done(1 + std::min(digits, kProofHex));
  if (n == buffer.size()) return Wait();  // a proof cut short by the read
  return Broken(buffer);
}

}  // namespace

TCommandSpan MeasureCommand(std::string_view buffer) {
  if (buffer.empty()) return Wait();
  TCommandShape shape;
  if (!ShapeOf(buffer.front(), shape)) return {TCommandCut::Unknown, buffer.size()};
  switch (shape) {
    case TCommandShape::Bare:
      return Done(1);
    case TCommandShape::SignedNumber: {
      TScan s{buffer, 1};
      s.SkipSign();
      s.SkipDigits();
      return Done(s.pos);
    }
    case TCommandShape::Result:
      return MeasureResult(buffer);
    case TCommandShape::Bids:
      return MeasureBids(buffer);
    case TCommandShape::Answer:
      return MeasureAnswer(buffer);
    case TCommandShape::Proof:
      return MeasureProof(buffer);
    case TCommandShape::Rest:
      return Done(buffer.size());
  }
  return Broken(buffer);
}

std::size_t CommandLength(std::string_view buffer, bool& complete) {
  const TCommandSpan span = MeasureCommand(buffer);
  complete = span.cut == TCommandCut::Complete;
  return span.length;
}

}  // namespace zn::proto
