// Which deal records ("Z" lines) one connection may keep. The server is not trusted: only a deal
// the member was at (a "D" line for its number on this connection) is kept, each deal once, and a
// connection keeps a bounded number in all, however many records it sends.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>

namespace zn {

class TRecordGate {
 public:
  // Far more deals than a member plays or watches on one connection in a day.
  static constexpr std::size_t kMaxPerConnection = 500;
  // The deals announced last that may still send their record.
  static constexpr std::size_t kRemembered = 4;

  // A new connection: nothing seen, nothing kept.
  void Reset();
  // The "D" line of a deal the member plays or watches.
  void DealSeen(std::int32_t number);
  // Whether the record of deal number may be kept; true at most once for each deal seen.
  bool Admit(std::int32_t number);

 private:
  std::deque<std::int32_t> seen_;
  std::size_t admitted_ = 0;
};

}  // namespace zn
