// znserver's command line and its news file.
#pragma once

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "server/net/Server.h"
#include "server/store/Export.h"

namespace zn::server {

struct Options {
  ServerOptions server;
  std::string db = "znserver.db";
  std::string newsFile;          // empty: the built-in news
  std::string dealKeyFile;       // empty: the store's own key
  bool journal = true;           // journal running deals, so a restart brings them back
  std::string release;           // --release: the nickname to free in the store (cp1250); then exit
  ExportOptions exportDeals;     // a file name: write the kept deals there and exit
  std::string copyFrom, copyTo;  // --copy-store: copy the whole store from one to the other and exit
};

enum class ParseResult { Run, Help, Version, Error };

// One option of the command line: parsing and --help both come from the table of these, so
// adding an option is one row.
enum class OptionKind {
  Help,     // no value: show the usage
  Version,  // no value: show the release
  Flag,     // no value
  Text,     // any value
  Name,     // a value that must not be empty: "<name> needs <what>"
  Number,   // a whole number from low to high
  Word,     // one of words
  Checked,  // the setter checks the value: "<name> <what>: <value>"
  Pair,     // two values: the setter takes the first with n 0, the second with n 1
};

// Where an option stands in the usage: the server's form, the export form that the Export
// option selects and its ExportPart options go with, or the copy's form of its own.
enum class OptionForm { Serve, Export, ExportPart, Copy };

struct OptionRow {
  std::string_view name = {};  // "--port"
  std::string_view arg = {};   // what the value is in the usage ("N", "FILE"); empty without one
  OptionKind kind = OptionKind::Text;
  // The setter: text is the value; n is the number (Number) or the word's index (Word). False
  // refuses the value (Name, Checked).
  bool (*set)(Options& options, const std::string& text, std::int32_t n) = nullptr;
  std::string_view help = {};  // the text beside the name in --help; "\n" starts an indented line
  std::int32_t low = 1;
  std::int32_t high = std::numeric_limits<std::int32_t>::max();
  std::vector<std::string_view> words = {};  // Word: in the order the refusal lists them
  std::string_view what = {};                // Name, Checked: the refusal's words
  OptionForm form = OptionForm::Serve;
  std::string_view alias = {};  // a short name ("-h")
};

const std::vector<OptionRow>& OptionRows();

// Reads the arguments after the program name. On Error, error says what was wrong.
ParseResult ParseOptions(const std::vector<std::string>& args, Options& options, std::string& error);
std::string Usage();
// "znserver " and the release number, one line.
std::string VersionText();

// The news: one "M" line per line of the file (CR LF or LF, cp1250 as it stands). At most
// kMaxNewsLines lines of kMaxNewsLine bytes are kept. False with error when it cannot be read.
inline constexpr std::size_t kMaxNewsLines = 200;
inline constexpr std::size_t kMaxNewsLine = 1000;
bool ReadNews(const std::string& path, std::vector<std::string>& lines, std::string& error);

}  // namespace zn::server
