// The members who asked for deal records (server/deals/DealRecords.cpp sends them).
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

}  // namespace zn::server
