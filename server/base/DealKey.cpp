#include "server/base/DealKey.h"

#include <sodium.h>

#include <fstream>

namespace zn::server {
namespace {

// A key file is a line of 64 digits; anything much longer is not one.
constexpr std::size_t kMaxKeyFile = 4096;

bool Blank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

}  // namespace

deal::DealKey NewDealKey() {
  if (sodium_init() < 0) throw DealKeyError("the system's random source cannot be used");
  deal::DealKey key;
  randombytes_buf(key.data(), key.size());
  return key;
}

deal::MatchSecret NewMatchSecret() {
  if (sodium_init() < 0) throw DealKeyError("the system's random source cannot be used");
  deal::MatchSecret secret;
  randombytes_buf(secret.data(), secret.size());
  return secret;
}

std::optional<deal::DealKey> ParseDealKey(std::string_view text) {
  while (!text.empty() && Blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && Blank(text.back())) text.remove_suffix(1);
  if (text.size() != 2 * deal::kDealKeyBytes) return std::nullopt;
  deal::DealKey key;
  std::size_t length = 0;
  const char* end = nullptr;
  if (sodium_hex2bin(key.data(), key.size(), text.data(), text.size(), nullptr, &length, &end) != 0 ||
      length != key.size() || end != text.data() + text.size())
    return std::nullopt;
  return key;
}

deal::DealKey ReadDealKeyFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw DealKeyError("cannot read the deal key file " + path);
  std::string text;
  text.resize(kMaxKeyFile + 1);
  in.read(text.data(), static_cast<std::streamsize>(text.size()));
  if (in.bad()) throw DealKeyError("cannot read the deal key file " + path);
  text.resize(static_cast<std::size_t>(in.gcount()));
  std::optional<deal::DealKey> key = ParseDealKey(text);
  sodium_memzero(text.data(), text.size());
  if (!key) throw DealKeyError("the deal key file " + path + " does not hold 64 hexadecimal digits");
  return *key;
}

}  // namespace zn::server
