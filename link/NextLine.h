// The receive queue and the cutting of "#"-separated lines out of it.
#pragma once

#include <cstddef>
#include <deque>
#include <string>

namespace zn {

// Received text, oldest first. The link appends whole lines only (TLineJoiner joins a line that
// came in several reads), several to an entry. An entry keeps a read position so that cutting a
// line never copies the rest of its chunk.
class TReceiveQueue {
 public:
  void Append(std::string chunk);
  bool Empty() const { return entries_.empty(); }
  std::size_t Entries() const { return entries_.size(); }
  // Unread bytes of every entry together.
  std::size_t Bytes() const { return bytes_; }
  // The unread text of entry i (tests and diagnostics).
  std::string Entry(std::size_t i) const;

 private:
  friend bool NextLine(TReceiveQueue& queue, bool paused, std::string& line);
  struct TEntry {
    std::string data;
    std::size_t pos = 0;
  };
  std::deque<TEntry> entries_;
  std::size_t bytes_ = 0;
};

// The transmission-error line: what an entry shorter than two characters turns into.
std::string TransmissionErrorLine();

// Cuts the next line off the queue: false (queue untouched) when paused or empty.
bool NextLine(TReceiveQueue& queue, bool paused, std::string& line);

}  // namespace zn
