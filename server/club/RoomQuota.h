// How many rooms a nickname, and all nicknames of one address together, may create in an hour.
#pragma once

#include <cstddef>
#include <string>

#include "server/base/KeyedWindow.h"

namespace zn::server {

class RoomQuota {
 public:
  // maxKeys: past this many nicknames or addresses, those whose hour has passed are forgotten.
  RoomQuota(std::size_t perMember, std::size_t perAddress, std::size_t maxKeys)
      : perMember_(perMember),
        perAddress_(perAddress),
        byMember_(std::chrono::hours(1), maxKeys),
        byAddress_(std::chrono::hours(1), maxKeys) {}

  // Whether the member (folded nickname) from addressKey (empty: none) may create a room now.
  bool May(const std::string& folded, const std::string& addressKey, SteadyTime now);
  // A room was created.
  void Count(const std::string& folded, const std::string& addressKey, SteadyTime now);

 private:
  std::size_t perMember_;
  std::size_t perAddress_;
  KeyedWindow byMember_;
  KeyedWindow byAddress_;
};

}  // namespace zn::server
