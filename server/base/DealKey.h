// The server's deal key: made from the system's random source at the first start and kept in the
// store, or read from a file an operator shares between servers that should deal the same cards
// for the same numbers. It is never sent and never written to the log.
//
// The file holds the key as 64 hexadecimal digits (either case); blanks and line ends around them
// are allowed, nothing else. `sqlite3 znserver.db "SELECT hex(key) FROM deal_key"` prints a
// server's own key in that form.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "deal/Shuffle.h"

namespace zn::server {

class DealKeyError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A new key from the system's random source.
deal::DealKey NewDealKey();
// A new match's secret from the system's random source.
deal::MatchSecret NewMatchSecret();
// The key written as 64 hex digits with optional blanks around them; nothing when malformed.
std::optional<deal::DealKey> ParseDealKey(std::string_view text);
// Reads a key file; throws DealKeyError naming the file (never its contents) when it cannot be
// read or holds no key.
deal::DealKey ReadDealKeyFile(const std::string& path);

}  // namespace zn::server
