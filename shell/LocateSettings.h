// Where the settings file lives, and the one-time move of an old one out of the Windows directory.
#pragma once

#include <functional>
#include <string>

namespace zn {

// The settings file's full path: "Zn.INI" in programDir. An old "DoZezive.INI" found in the Windows
// directory is moved there first (ExpandCopy, then delete). Throws EZnError when the copy fails.
std::string LocateSettings(const std::string& programDir);

struct TSettingsPlaces {
  // The directory searched for the old "DoZezive.INI"; empty: there is none.
  std::string WindowsDir;
  // Deletes a file; false when it could not be deleted.
  std::function<bool(const std::string&)> RemoveFile;
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
