// Fuzzes the server's framing: one member's byte stream cut into reads at the places the input
// chooses. Every command must be whole, start with its code and stay within the length limit.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "server/net/Framing.h"

using zn::server::Framing;
using zn::server::Piece;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  // The first byte picks the read size; "more" is set when a read fills it, as the server does.
  const std::size_t chunk = 1 + data[0] % 64;
  const std::string_view stream(reinterpret_cast<const char*>(data) + 1, size - 1);
  Framing framing;
  std::vector<Piece> pieces;
  for (std::size_t at = 0; at < stream.size(); at += chunk) {
    const std::string_view read = stream.substr(at, chunk);
    pieces.clear();
    framing.Feed(read, read.size() == chunk, pieces);
    for (const Piece& p : pieces) {
      if (p.kind != Piece::Command) continue;
      if (p.text.empty() || p.text.size() > zn::server::kMaxCommandBytes) std::abort();
    }
    if (framing.Pending() > zn::server::kMaxCommandBytes + chunk) std::abort();
  }
  return 0;
}
