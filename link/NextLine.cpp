#include "link/NextLine.h"

#include <cstring>
#include <string_view>
#include <utility>

#include "game/Cp1250.h"

namespace zn {

using namespace zn::literals;

namespace {

// What an entry shorter than two characters turns into: the dispatcher shows it to the user.
constexpr std::string_view kBrokenTail = " >>>>>"_cp;
constexpr std::string_view kBrokenText = " Adatátviteli hiba. Lépj ki és indítsd újra!"_cp;

}  // namespace

void TReceiveQueue::Append(std::string chunk) {
  bytes_ += chunk.size();
  entries_.push_back(TEntry{std::move(chunk), 0});
}

std::string TransmissionErrorLine() { return std::string(kBrokenTail).append(kBrokenText); }

std::string TReceiveQueue::Entry(std::size_t i) const {
  if (i >= entries_.size()) return {};
  const TEntry& e = entries_[i];
  return e.data.substr(e.pos);
}

bool NextLine(TReceiveQueue& queue, bool paused, std::string& line) {
  if (paused || queue.entries_.empty()) return false;
  auto& entry = queue.entries_.front();
  queue.bytes_ -= entry.data.size() - entry.pos;  // added back below for what stays unread

  // Only the unread part counts: the read position stands where the last cut left off.
  if (entry.data.size() - entry.pos < 2) {
    std::string broken = entry.data.substr(entry.pos);
    broken.append(kBrokenTail).append(kBrokenText);
    entry.data = std::move(broken);
    entry.pos = 0;
  }
  if (entry.data[entry.pos] == '#') ++entry.pos;

  const char* begin = entry.data.data() + entry.pos;
  const std::size_t left = entry.data.size() - entry.pos;
  const void* hash = std::memchr(begin, '#', left);
  if (hash) {
    // The rest keeps its "#": the next call removes it.
    const auto length = static_cast<std::size_t>(static_cast<const char*>(hash) - begin);
    line.assign(begin, length);
    entry.pos += length;
    queue.bytes_ += entry.data.size() - entry.pos;
  } else {
    line.assign(begin, left);
    queue.entries_.pop_front();
  }
  return true;
}

}  // namespace zn
