#include "shell/Settings.h"

#include "shell/IniFile.h"

#ifndef ZN_DEFAULT_SERVER_HOST
#define ZN_DEFAULT_SERVER_HOST "localhost"
#endif

namespace zn {

namespace {
std::string AddressKey(std::size_t i) { return "Address" + std::to_string(i); }
}  // namespace

std::array<std::string, kStoredAddresses> DefaultAddresses() {
  return {"localhost", ZN_DEFAULT_SERVER_HOST, "?", "??", "???"};
}

TProgramSettings ReadProgramSettings(const std::string& path) {
  const TIniText ini = IniLoad(path);
  TProgramSettings s;
  s.User = ini.Get(kSectionProgram, "User", "");
  const auto defaults = DefaultAddresses();
  for (std::size_t i = 0; i < kStoredAddresses; ++i)
    s.Addresses[i] = ini.Get(kSectionProgram, AddressKey(i), defaults[i]);
  s.Port = ini.Get(kSectionProgram, "Port", "22");
  return s;
}

void WriteConnectSettings(const std::string& path, const std::string& nickname,
                          const std::vector<std::string>& addresses, const std::string& port) {
  std::vector<TIniEntry> entries;
  const std::string section(kSectionProgram);
  if (!nickname.empty()) entries.push_back({section, "User", nickname});
  for (std::size_t i = 0; i < kStoredAddresses && i < addresses.size(); ++i)
    entries.push_back({section, AddressKey(i), addresses[i]});
  entries.push_back({section, "Port", port});
  IniWrite(path, entries);
}

}  // namespace zn
