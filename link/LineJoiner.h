// Whole lines across reads: TCP may cut a server line anywhere, so the text after the last "#" of
// the stream is held until the next read shows whether it goes on or the connection falls quiet.
#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "game/Cp1250.h"
#include "link/NextLine.h"

namespace zn {

// A held line counts as complete after this long without data. Segments of one burst follow
// each other within a few milliseconds even over slow links; a line followed by "#" never waits.
inline constexpr std::chrono::milliseconds kQuietTime{50};

// The longest line the client takes: far above any real one (a lobby of 10,000 members is about
// 230 KB; the client is known to cope with 100,000).
inline constexpr std::size_t kMaxLineBytes = std::size_t{4} << 20;

// Shown (through the dispatcher, as a line with no code) once for every longer line dropped.
inline constexpr std::string_view kLineTooLongText =
    " >>>>> Túl hosszú sor érkezett a szervertől, eldobva."_cp;

class TLineJoiner {
 public:
  // Appends every line the stream has completed to the queue and holds the rest. True when
  // something is held (or being dropped): the caller reports the quiet time with Flush.
  bool Feed(std::string_view chunk, TReceiveQueue& queue);
  // The stream fell quiet or ended: the held text is a whole line.
  void Flush(TReceiveQueue& queue);
  // Bytes held back.
  std::size_t Held() const { return held_.size(); }
  // Told of every whole line (without its "#") as it goes to the queue, in order.
  std::function<void(std::string_view line)> Seen;

 private:
  std::string held_;       // from the last "#" on (no "#" only at the start of the stream)
  bool dropping_ = false;  // inside an overlong line: everything up to the next "#" goes
  void Push(std::string text, TReceiveQueue& queue);
  void DropHeld(TReceiveQueue& queue);
};

}  // namespace zn
