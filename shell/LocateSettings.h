// Where the settings file lives, and the one-time move of an old one out of the Windows directory.
#pragma once

#include <functional>
#include <string>
#include <utility>

namespace zn {

// The settings file's full path: "Zn.INI" in programDir. An old "DoZezive.INI" found in the Windows
// directory is moved there first (ExpandCopy, then delete). Throws EZnError when the copy fails.
std::string LocateSettings(const std::string& programDir);
// The same in the folder SettingsFolder chooses: programDir, or configDir when the program's folder
// holds no Zn.INI and may not take one (an installed program).
std::string LocateSettings(const std::string& programDir, const std::string& configDir);

struct TSettingsPlaces {
  TSettingsPlaces() = default;
  TSettingsPlaces(std::string windowsDir, std::function<bool(const std::string&)> removeFile,
                  std::string configDir = {}, std::function<bool(const std::string&)> isWritableDir = {})
      : WindowsDir(std::move(windowsDir)),
        RemoveFile(std::move(removeFile)),
        ConfigDir(std::move(configDir)),
        IsWritableDir(std::move(isWritableDir)) {}

  // The directory searched for the old "DoZezive.INI"; empty: there is none.
  std::string WindowsDir;
  // Deletes a file; false when it could not be deleted.
  std::function<bool(const std::string&)> RemoveFile;
  // The user's configuration folder for this program; empty: Zn.INI always stays in programDir.
  std::string ConfigDir;
  // Whether a folder takes new files; empty: IsWritableFolder.
  std::function<bool(const std::string&)> IsWritableDir;
};

// The Windows directory on this machine: $WINDIR when set and not empty, else the Wine prefix's
// drive_c/windows ($WINEPREFIX, by default $HOME/.wine). Empty when neither can be told.
std::string WindowsDirectory();

// The old settings file in dir, its name matched without regard to case ("dozezive.ini" in a
// Wine prefix); empty when there is none.
std::string FindOldSettings(const std::string& dir);

// dir joined with name, with one separator between them ("Zn.INI" alone for an empty dir).
std::string JoinPath(const std::string& dir, const std::string& name);

// LocateSettings with the places given (tests give their own directory and file removal).
std::string LocateSettings(const std::string& programDir, const TSettingsPlaces& places);

}  // namespace zn
