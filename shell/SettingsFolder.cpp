#include "shell/SettingsFolder.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <system_error>

#include "shell/LocateSettings.h"

namespace zn {

namespace {

bool Exists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0;
}

// The folder or one below it, by whole path components ("/usrlocal" is not under "/usr").
bool IsUnder(const std::string& path, const std::string& root) {
  std::error_code ec;
  std::string p = std::filesystem::weakly_canonical(path, ec).string();
  if (ec) p = path;
  return p.compare(0, root.size(), root) == 0 && (p.size() == root.size() || p[root.size()] == '/');
}

}  // namespace

bool IsWritableFolder(const std::string& dir) {
  return !dir.empty() && ::faccessat(AT_FDCWD, dir.c_str(), W_OK | X_OK, AT_EACCESS) == 0;
}

std::string SettingsFolder(const std::string& programDir, const std::string& configDir,
                           const TWritableProbe& writable) {
  if (configDir.empty()) return programDir;
  if (Exists(JoinPath(programDir, "Zn.INI"))) return programDir;
  if (!IsUnder(programDir, "/usr") && writable(programDir)) return programDir;
  // A folder that cannot be made shows itself at the first write, with the settings file's message.
  std::error_code ec;
  std::filesystem::create_directories(configDir, ec);
  return configDir;
}

}  // namespace zn
