#include "link/LineJoiner.h"

#include <cstring>
#include <utility>

namespace zn {

namespace {

// The bytes of the line in text, which is "#" and the line or, at the stream's start, the line.
std::size_t LineBytes(std::string_view text) {
  return !text.empty() && text.front() == '#' ? text.size() - 1 : text.size();
}

}  // namespace

bool TLineJoiner::Feed(std::string_view chunk, TReceiveQueue& queue) {
  if (dropping_) {
    const std::size_t hash = chunk.find('#');
    if (hash == std::string_view::npos) return true;
    dropping_ = false;
    chunk.remove_prefix(hash);
  }
  const std::size_t last = chunk.rfind('#');
  if (last == std::string_view::npos) {
    held_.append(chunk);
    if (LineBytes(held_) > kMaxLineBytes) DropHeld(queue);
    return !held_.empty() || dropping_;
  }
  // Everything before the last "#" is complete: the held line and the lines that end in it.
  std::string complete = std::move(held_);
  complete.append(chunk.substr(0, last));
  held_.assign(chunk.substr(last));
  if (!complete.empty()) Push(std::move(complete), queue);
  if (LineBytes(held_) > kMaxLineBytes) DropHeld(queue);
  return !held_.empty() || dropping_;
}

void TLineJoiner::Flush(TReceiveQueue& queue) {
  dropping_ = false;
  if (held_.empty()) return;
  Push(std::exchange(held_, {}), queue);
}

void TLineJoiner::DropHeld(TReceiveQueue& queue) {
  held_.clear();
  dropping_ = true;
  queue.Append(std::string(kLineTooLongText));
}

void TLineJoiner::Push(std::string text, TReceiveQueue& queue) {
  // Every entry starts with "#", so even a one-letter first line is cut as a line.
  if (text.front() != '#') text.insert(text.begin(), '#');
  if (Seen) {
    for (std::size_t at = 0; at < text.size();) {
      std::size_t next = text.find('#', at + 1);
      if (next == std::string::npos) next = text.size();
      if (next - at - 1 <= kMaxLineBytes) Seen(std::string_view(text).substr(at + 1, next - at - 1));
      at = next;
    }
  }
  bool tooLong = false;
  for (std::size_t at = 0; at < text.size() && !tooLong;) {
    std::size_t next = text.find('#', at + 1);
    if (next == std::string::npos) next = text.size();
    tooLong = next - at - 1 > kMaxLineBytes;
    at = next;
  }
  if (!tooLong) {
    queue.Append(std::move(text));
    return;
  }
  // Rare: keep the lines around each overlong one, each overlong one becomes the notice.
  std::string kept;
  for (std::size_t at = 0; at < text.size();) {
    std::size_t next = text.find('#', at + 1);
    if (next == std::string::npos) next = text.size();
    if (next - at - 1 > kMaxLineBytes) {
      if (!kept.empty()) queue.Append(std::exchange(kept, {}));
      queue.Append(std::string(kLineTooLongText));
    } else {
      kept.append(text, at, next - at);
    }
    at = next;
  }
  if (!kept.empty()) queue.Append(std::move(kept));
}

}  // namespace zn
