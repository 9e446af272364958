// Which folder holds Zn.INI: the program's own (a portable copy) or the user's configuration folder.
#pragma once

#include <functional>
#include <string>

namespace zn {

// Whether this process may create files in a folder.
using TWritableProbe = std::function<bool(const std::string& dir)>;

// True when this process may create files in dir: its effective ids, and a read-only file system
// says no even to root.
bool IsWritableFolder(const std::string& dir);

// The program folder when Zn.INI is already there, or when the folder is writable and lies outside
// /usr (an installed program's folder belongs to the package manager, also when root runs it);
// otherwise configDir, created when missing. An empty configDir keeps the program folder.
std::string SettingsFolder(const std::string& programDir, const std::string& configDir,
                           const TWritableProbe& writable);

}  // namespace zn
