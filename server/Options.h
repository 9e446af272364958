// znserver's command line and its news file.
#pragma once

#include <string>
#include <vector>

#include "server/net/Server.h"
#include "server/store/Export.h"

namespace zn::server {

struct Options {
  ServerOptions server;
  std::string db = "znserver.db";
  std::string newsFile;       // empty: the built-in news
  std::string dealKeyFile;    // empty: the store's own key
  bool journal = true;        // journal running deals, so a restart brings them back
  std::string release;        // --release: the nickname to free in the store (cp1250); then exit
  ExportOptions exportDeals;  // a file name: write the kept deals there and exit
};

enum class ParseResult { Run, Help, Version, Error };

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
