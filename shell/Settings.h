// The start-up settings of Zn.INI (section "Program"): the nickname, the five stored server
// addresses and the port, with their defaults.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace zn {

inline constexpr std::string_view kSectionProgram = "Program";
inline constexpr std::string_view kSectionPersonal = "Personal";
inline constexpr std::size_t kStoredAddresses = 5;
// The secret of the claimed nickname (shell/ClubClaimKey.cpp): its code without the spaces.
inline constexpr std::string_view kClaimKey = "ClaimCode";
// The club each server address answered for when the client first signed a claim there (trust on
// first use): "host:port" = the club's identity in hex.
inline constexpr std::string_view kSectionClaimClubs = "ClaimClubs";

struct TProgramSettings {
  std::string User;                                     // "" when missing
  std::array<std::string, kStoredAddresses> Addresses;  // Address0..Address4
  std::string Port;                                     // "22" when missing
};

// The defaults of Address0..Address4: "localhost", the default server host, "?", "??", "???".
std::array<std::string, kStoredAddresses> DefaultAddresses();

// Reads User, Address0..Address4 and Port; a missing file or key gives its default.
TProgramSettings ReadProgramSettings(const std::string& path);

// What every connect writes: User (only when nickname is not empty), Address0..Address4 from the
// first five entries of addresses, Port. Throws EZnError when the file cannot be written; the old
// file then stays as it was.
void WriteConnectSettings(const std::string& path, const std::string& nickname,
                          const std::vector<std::string>& addresses, const std::string& port);

}  // namespace zn
