// The members who asked for deal records (server/deals/DealRecords.cpp sends them), and the newer
// lines each member announced it reads.
#include <optional>

#include "link/Protocol.h"
#include "server/club/Club.h"

namespace zn::server {

// "Z1" asks for the record line at the end of every deal, "Z0" stops it. Clients that never ask
// (those before the line existed) never get it.
void Club::Records(Member& m, std::string_view command) {
  const std::optional<std::int32_t> on = proto::ReadCmdNumber(command);
  if (on && (*on == 0 || *on == 1)) m.link.records = *on == 1;
}

// "V" and a sum of bits: the newer lines the client reads. The answer names those this server
// sends; a client that never asks gets none of them.
void Club::Reads(Member& m, std::string_view command) {
  const std::optional<std::int32_t> bits = proto::ReadCmdNumber(command);
  if (!bits || *bits < 0) return;
  m.link.reads = static_cast<std::uint32_t>(*bits) & proto::kReadsKnown;
  out_.Send(m.id, proto::LineReads(m.link.reads));
}

void Club::Closing(Member& m, proto::TCloseReason why) {
  if (m.link.reads & proto::kReadsClosing) out_.Send(m.id, proto::LineClosing(why));
}

}  // namespace zn::server
