// Where the club's outgoing lines go: the network server in production, a recorder in tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace zn::server {

using MemberId = std::uint64_t;

// A line built once and sent to many members (the lobby, a room).
using SharedLine = std::shared_ptr<const std::string>;

class Outbox {
 public:
  virtual ~Outbox() = default;
  // Queues one line (without the "#" the wire puts in front) for a member.
  virtual void Send(MemberId to, std::string_view line) = 0;
  virtual void SendShared(MemberId to, const SharedLine& line) = 0;
  // Bytes queued for the member and not yet written (0 for one not known).
  virtual std::size_t Queued(MemberId who) const = 0;
  // Bytes sent to the member that its end has not taken in yet, those still queued included (0 for
  // one not known). A live connection takes a line in within moments, even from a client that
  // answers nothing.
  virtual std::size_t Unacknowledged(MemberId who) const { return Queued(who); }
  // Bytes ever queued for the member: the length of its stream so far (0 for one not known). With
  // Unacknowledged it tells how far into the stream its end has taken in.
  virtual std::uint64_t Streamed(MemberId) const { return 0; }
  // Closes the member's connection once what was queued for it has gone out.
  virtual void Close(MemberId who) = 0;
};

}  // namespace zn::server
