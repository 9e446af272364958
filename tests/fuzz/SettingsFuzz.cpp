// The settings file reader: any bytes as Zn.INI, every key the client reads, and a write that
// must read back and keep the rest of the file.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "shell/IniFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  zn::TIniText ini(bytes);
  for (const char* key : {"User", "Address0", "Address4", "Port"}) (void)ini.Get("Program", key, "?");
  for (const char* key : {"Real", "Work", "Info", "Bid"}) (void)ini.Get("Personal", key, "");
  if (ini.Bytes() != bytes) std::abort();  // reading alone changes nothing
  ini.Set("Program", "Port", "2222");
  const zn::TIniText again(ini.Bytes());
  if (again.Get("Program", "Port", "") != "2222") std::abort();
  return 0;
}
