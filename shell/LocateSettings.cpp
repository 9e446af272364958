#include "shell/LocateSettings.h"

#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "game/Cp1250.h"
#include "shell/ExpandCopy.h"
#include "shell/SettingsFolder.h"

namespace zn {

namespace {

constexpr const char* kSettingsName = "Zn.INI";
constexpr const char* kOldName = "DoZezive.INI";
// Written beside Zn.INI when an old file was copied but could not be deleted; it names that old
// file (path, inode, size, modification time) so the next start does not copy it over Zn.INI again.
constexpr const char* kMovedMarker = "Zn.INI.moved";

std::string Env(const char* name) {
  const char* v = std::getenv(name);
  return v ? std::string(v) : std::string();
}

bool IsRegularFile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// What tells this old file from any later one: a rewritten file has another size or time.
std::string Identity(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return {};
  return path + "\n" + std::to_string(st.st_ino) + " " + std::to_string(st.st_size) + " " +
         std::to_string(st.st_mtim.tv_sec) + " " + std::to_string(st.st_mtim.tv_nsec) + "\n";
}

std::string ReadSmallFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  std::string text;
  text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return text;
}

void RemoveQuietly(const std::string& path) {
  std::error_code ec;
  std::filesystem::remove(path, ec);
}

// Best effort: without the marker the next start just copies the old file once more.
void WriteMarker(const std::string& path, const std::string& identity) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << identity;
  out.close();
  if (!out) RemoveQuietly(path);
}

}  // namespace

std::string JoinPath(const std::string& dir, const std::string& name) {
  if (dir.empty() || dir.back() == '/') return dir + name;
  return dir + "/" + name;
}

std::string WindowsDirectory() {
  std::string dir = Env("WINDIR");
  if (!dir.empty()) return dir;
  std::string prefix = Env("WINEPREFIX");
  if (prefix.empty()) {
    const std::string home = Env("HOME");
    if (home.empty()) return {};
    prefix = JoinPath(home, ".wine");
  }
  return JoinPath(JoinPath(prefix, "drive_c"), "windows");
}

std::string FindOldSettings(const std::string& dir) {
  if (dir.empty()) return {};
  const std::string exact = JoinPath(dir, kOldName);
  if (IsRegularFile(exact)) return exact;
  // Windows file names ignore case; take the first match in name order so the choice is stable.
  std::string found;
  std::error_code ec;
  for (std::filesystem::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (!SameText(name, kOldName) || (!found.empty() && name >= found)) continue;
    if (IsRegularFile(JoinPath(dir, name))) found = name;
  }
  return found.empty() ? std::string() : JoinPath(dir, found);
}

std::string LocateSettings(const std::string& programDir, const TSettingsPlaces& places) {
  const std::string folder =
      SettingsFolder(programDir, places.ConfigDir,
                     places.IsWritableDir ? places.IsWritableDir : TWritableProbe(IsWritableFolder));
  const std::string fileName = JoinPath(folder, kSettingsName);
  const std::string old = FindOldSettings(places.WindowsDir);
  if (old.empty()) return fileName;

  const std::string marker = JoinPath(folder, kMovedMarker);
  const std::string identity = Identity(old);
  if (!identity.empty() && ReadSmallFile(marker) == identity) {
    // Copied at an earlier start; Zn.INI may have changed since, so it is not overwritten again.
    if (places.RemoveFile(old)) RemoveQuietly(marker);
    return fileName;
  }
  ExpandCopy(old, fileName);  // on failure the old file stays and the error goes to the caller
  if (places.RemoveFile(old))
    RemoveQuietly(marker);
  else
    WriteMarker(marker, identity);
  return fileName;
}

std::string LocateSettings(const std::string& programDir) {
  return LocateSettings(programDir, std::string());
}

std::string LocateSettings(const std::string& programDir, const std::string& configDir) {
  TSettingsPlaces places;
  places.WindowsDir = WindowsDirectory();
  places.RemoveFile = [](const std::string& path) { return std::remove(path.c_str()) == 0; };
  places.ConfigDir = configDir;
  return LocateSettings(programDir, places);
}

}  // namespace zn
