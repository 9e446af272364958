// Zn.INI access: one key of an INI-style file read or written in cp1250 bytes, with the file opened
// for each read or write and never held open. Section and key names compare without regard to case,
// as the Windows profile routines do; a write keeps every other line of the file byte for byte.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zn {

// The lines of one INI file as read, with their own line ends, so a write can keep them as they were.
class TIniText {
 public:
  TIniText() = default;
  explicit TIniText(std::string_view bytes);

  // The value of key in section, blanks around it removed; def when the section or key is missing.
  // The first section and the first key of a name count, as in the Windows routines.
  std::string Get(std::string_view section, std::string_view key, std::string_view def) const;
  // Replaces the value of the key's first line, or adds "key=value" at the end of the section, or
  // adds the section at the end of the file. Nothing else changes.
  void Set(std::string_view section, std::string_view key, std::string_view value);
  // The whole file as it would be written.
  std::string Bytes() const;

 private:
  struct TLine {
    std::string text;
    std::string eol;  // "\r\n", "\n" or empty for a last line without one
  };
  std::vector<TLine> lines_;
  std::string eol_ = "\r\n";  // the file's own line end, used for added lines

  // Index of the header line of the first section of that name; -1 when missing.
  int FindSection(std::string_view section) const;
  void EndLine(TLine& line) const;
};

// Reads a whole INI file; an empty text when it is missing or cannot be read.
TIniText IniLoad(const std::string& path);
// Writes text as the file at path: first a temporary file beside it, then a rename over the old one,
// so a failing write leaves the old file as it was. A symbolic link at path is written through to
// its target and stays a link. Throws EZnError with a Hungarian message when the
// file cannot be written (read-only file, missing directory, full disk).
void IniSave(const std::string& path, const TIniText& text);

struct TIniEntry {
  std::string section;
  std::string key;
  std::string value;
};

std::string IniRead(const std::string& path, std::string_view section, std::string_view key,
                    std::string_view def);
// Writes the entries in one pass over the file (open, change, replace). Throws as IniSave.
void IniWrite(const std::string& path, const std::vector<TIniEntry>& entries);
void IniWrite(const std::string& path, std::string_view section, std::string_view key,
              std::string_view value);

}  // namespace zn
