#include "server/base/DealSeam.h"

#include <string>

#include "link/Protocol.h"
#include "server/base/ClubTexts.h"

namespace zn::server {

void NoDeals::Order(Room&, const Member& from, std::int32_t) {
  out_.Send(from.id, proto::LineMessage(std::string(text::kNotice) + std::string(text::kNoDeals)));
}

}  // namespace zn::server
