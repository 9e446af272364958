// Splitting a member's input into commands. Commands carry no terminator and TCP may join them, so
// a read is cut by the commands' own shapes (proto::MeasureCommand); N M R Q run to the end of the
// read. A command the read cut short (B, W, F) waits for the next read. A login or room name
// repeated within its read ("NBenceNBence") is refused as broken.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "link/Protocol.h"

namespace zn::server {

inline constexpr std::size_t kMaxCommandBytes = proto::kMaxCommandLength;

struct Piece {
  enum Kind { Command, TooLong, Malformed };
  Kind kind = Command;
  std::string_view text;  // the command, code included (valid until the next Feed); empty if refused
};

class Framing {
 public:
  // Splits one read into pieces. more: the socket still holds unread bytes after this read; an
  // oversized free-text command then swallows everything until a read leaves the socket drained.
  void Feed(std::string_view read, bool more, std::vector<Piece>& out);

  // Bytes held back (an unfinished command); for tests and accounting.
  std::size_t Pending() const { return pending_.size(); }

 private:
  std::string pending_;     // an unfinished command, kept for the next read
  std::string work_;        // pending_ + the read; pieces point into it
  bool dropBurst_ = false;  // drop until a read drains the socket
};

}  // namespace zn::server
