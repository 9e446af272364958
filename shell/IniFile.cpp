#include "shell/IniFile.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include <fcntl.h>
#include <unistd.h>

#include "game/Cp1250.h"
#include "game/LinkTarget.h"
#include "game/ZnError.h"

namespace zn {

using namespace zn::literals;

namespace {

// A CR counts as a blank: whether one ends a line depends on the LF after it, which a write may add.
constexpr bool Blank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string_view Trim(std::string_view s) {
  while (!s.empty() && Blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && Blank(s.back())) s.remove_suffix(1);
  return s;
}

// The section name of a header line "[name]"; false for any other line.
bool SectionName(std::string_view line, std::string_view& name) {
  line = Trim(line);
  if (line.empty() || line.front() != '[') return false;
  const std::size_t close = line.find(']');
  name = Trim(line.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
  return true;
}

// The key of a "key=value" line; false for a line without "=".
bool KeyOf(std::string_view line, std::string_view& key) {
  const std::size_t eq = line.find('=');
  if (eq == std::string_view::npos) return false;
  key = Trim(line.substr(0, eq));
  return true;
}

// Blank lines and comments at the end of a section stay in front of the next section.
bool BlankOrComment(std::string_view line) {
  line = Trim(line);
  return line.empty() || line.front() == ';';
}

[[noreturn]] void CannotWrite(const std::string& path) {
  throw EZnError(std::string("A beállítási fájl nem írható: "_cp) + path);
}

}  // namespace

TIniText::TIniText(std::string_view bytes) {
  bool eolKnown = false;
  while (!bytes.empty()) {
    const std::size_t nl = bytes.find('\n');
    TLine line;
    if (nl == std::string_view::npos) {
      // A last line cut after its CR ends there; read as text, the CR would end it only once a
      // write adds the LF.
      const bool cr = bytes.back() == '\r';
      line.text = std::string(bytes.substr(0, bytes.size() - (cr ? 1 : 0)));
      if (cr) line.eol = "\r";
      bytes = {};
    } else {
      std::size_t end = nl;
      if (end > 0 && bytes[end - 1] == '\r') --end;
      line.text = std::string(bytes.substr(0, end));
      line.eol = std::string(bytes.substr(end, nl + 1 - end));
      bytes.remove_prefix(nl + 1);
      if (!eolKnown) {
        eol_ = line.eol;
        eolKnown = true;
      }
    }
    lines_.push_back(std::move(line));
  }
}

int TIniText::FindSection(std::string_view section) const {
  std::string_view name;
  for (std::size_t i = 0; i < lines_.size(); ++i)
    if (SectionName(lines_[i].text, name) && SameText(name, Trim(section))) return static_cast<int>(i);
  return -1;
}

std::string TIniText::Get(std::string_view section, std::string_view key, std::string_view def) const {
  const int header = FindSection(section);
  if (header < 0) return std::string(def);
  std::string_view name;
  for (std::size_t i = static_cast<std::size_t>(header) + 1; i < lines_.size(); ++i) {
    const std::string& text = lines_[i].text;
    if (SectionName(text, name)) break;
    if (KeyOf(text, name) && SameText(name, Trim(key)))
      return std::string(Trim(std::string_view(text).substr(text.find('=') + 1)));
  }
  return std::string(def);
}

void TIniText::Set(std::string_view section, std::string_view key, std::string_view value) {
  // A line end inside a value would make the rest of it a line of its own.
  std::string safe(value);
  for (char& c : safe)
    if (c == '\r' || c == '\n') c = ' ';
  value = safe;
  const std::string newLine = std::string(Trim(key)) + "=" + std::string(value);
  const int header = FindSection(section);
  if (header < 0) {
    if (!lines_.empty()) EndLine(lines_.back());
    std::string header_line(1, '[');
    header_line.append(Trim(section)).push_back(']');
    lines_.push_back({std::move(header_line), eol_});
    lines_.push_back({newLine, eol_});
    return;
  }
  std::string_view name;
  std::size_t last = static_cast<std::size_t>(header);  // last line of the section's own
  for (std::size_t i = last + 1; i < lines_.size(); ++i) {
    std::string& text = lines_[i].text;
    if (SectionName(text, name)) break;
    if (KeyOf(text, name) && SameText(name, Trim(key))) {
      // Keep the key as it is spelled and the blanks after "=", replace only the value.
      std::size_t start = text.find('=') + 1;
      while (start < text.size() && (text[start] == ' ' || text[start] == '\t')) ++start;
      text = text.substr(0, start) + std::string(value);
      return;
    }
    if (!BlankOrComment(text)) last = i;
  }
  EndLine(lines_[last]);
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(last) + 1, TLine{newLine, eol_});
}

// A line that gets a line after it needs a whole line end.
void TIniText::EndLine(TLine& line) const {
  if (line.eol.empty() || line.eol == "\r") line.eol = eol_;
}

std::string TIniText::Bytes() const {
  std::string out;
  for (const TLine& line : lines_) {
    out += line.text;
    out += line.eol;
  }
  return out;
}

TIniText IniLoad(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return TIniText();
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return TIniText(bytes);
}

void IniSave(const std::string& path, const TIniText& text) {
  namespace fs = std::filesystem;
  // A symbolic link is written through to its target, so the link stays a link.
  std::string target;
  if (LinkTarget(path, target) != 0) CannotWrite(path);
  std::error_code ec;
  const fs::file_status old = fs::status(target, ec);
  const bool exists = !ec && fs::exists(old);
  // The read-only mark is honoured even where the file system would let the owner replace the file.
  constexpr fs::perms anyWrite = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
  if (exists && fs::is_regular_file(old) && (old.permissions() & anyWrite) == fs::perms::none)
    throw EZnError(std::string("A beállítási fájl írásvédett: "_cp) + path);

  // A link found where the temporary file goes is not followed: it would carry the settings away.
  const std::string temp = target + ".new";
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666);
  std::FILE* f = fd < 0 ? nullptr : ::fdopen(fd, "wb");
  if (!f) {
    if (fd >= 0) ::close(fd);
    CannotWrite(path);
  }
  const std::string bytes = text.Bytes();
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  ok = std::fflush(f) == 0 && ok;
  ok = ::fsync(::fileno(f)) == 0 && ok;
  ok = std::fclose(f) == 0 && ok;
  if (ok && exists) fs::permissions(temp, old.permissions(), ec);  // keep the old file's mode
  if (ok) {
    fs::rename(temp, target, ec);
    ok = !ec;
  }
  if (!ok) {
    fs::remove(temp, ec);
    CannotWrite(path);
  }
}

std::string IniRead(const std::string& path, std::string_view section, std::string_view key,
                    std::string_view def) {
  return IniLoad(path).Get(section, key, def);
}

void IniWrite(const std::string& path, const std::vector<TIniEntry>& entries) {
  TIniText text = IniLoad(path);
  for (const TIniEntry& e : entries) text.Set(e.section, e.key, e.value);
  IniSave(path, text);
}

void IniWrite(const std::string& path, std::string_view section, std::string_view key,
              std::string_view value) {
  IniWrite(path, {{std::string(section), std::string(key), std::string(value)}});
}

}  // namespace zn
