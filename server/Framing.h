// Splitting a member's input into commands. Commands carry no terminator and TCP may join them, so
// a read is cut by the commands' own shapes; commands of the free-text kinds run to the end of the
// read. An answer ("W") whose texts have not all arrived waits for the next read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zn::server {

inline constexpr std::size_t kMaxCommandBytes = 4096;

struct Piece {
  std::string_view text;  // the command, code included (valid until the next Feed)
  bool tooLong = false;   // longer than kMaxCommandBytes: refused, text is empty
};

// The length of the first command of buffer (at least 1 for a non-empty buffer), or 0 when it is an
// answer whose announced texts reach past the buffer. announced gets the answer's full length when
// it is known (0 otherwise), so an oversized answer can be refused before its bytes arrive.
std::size_t FirstCommandLength(std::string_view buffer, std::uint64_t& announced);

class Framing {
 public:
  // Splits one read into pieces. more: the read filled the reader's buffer, so the stream goes on;
  // an oversized free-text command then swallows everything up to the end of that burst.
  void Feed(std::string_view read, bool more, std::vector<Piece>& out);

  // Bytes held back (an unfinished answer); for tests and accounting.
  std::size_t Pending() const { return pending_.size(); }

 private:
  std::string pending_;     // an unfinished answer, kept for the next read
  std::string work_;        // pending_ + the read; pieces point into it
  std::uint64_t skip_ = 0;  // bytes of a refused answer still to be dropped
  bool dropBurst_ = false;  // drop until a read ends the burst
};

}  // namespace zn::server
