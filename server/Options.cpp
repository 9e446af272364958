#include "server/Options.h"

#include <fstream>

#include "dealrecord/DealFormat.h"
#include "game/Cp1250.h"
#include "game/Tokenizer.h"

namespace zn::server {

std::string Usage() {
  return "usage: znserver [--listen ADDR] [--port N] [--db FILE] [--news FILE] [--max-members N]\n"
         "                [--max-rooms N] [--max-per-address N] [--rate N] [--burst N]\n"
         "                [--rooms-per-hour N] [--connects-per-minute N] [--idle-minutes N]\n"
         "                [--robots simple|strong] [--robot-ms N]\n"
         "                [--deal-key FILE] [--kibitz-same-address closed|open]\n"
         "                [--seat-grace-seconds N] [--turn-seconds N] [--journal on|off]\n"
         "                [--claims off|on|required] [--release NICK]\n"
         "       znserver [--db FILE] --export FILE [--since YYYY-MM-DD] [--anonymise]\n"
         "  --listen ADDR      address to listen on (default 127.0.0.1)\n"
         "  --port N           TCP port, 0 for any free one (default 7022)\n"
         "  --db FILE          SQLite store (default znserver.db)\n"
         "  --news FILE        text sent for \"L\", one message per line (default: built in)\n"
         "  --max-members N    connections at once (default 1000)\n"
         "  --max-rooms N      rooms besides the lobby (default 250)\n"
         "  --max-per-address N  connections at once from one address (default 16)\n"
         "  --rate N           commands a member may send per second, sustained (default 20)\n"
         "  --burst N          commands a member may send at once (default 60)\n"
         "  --rooms-per-hour N rooms one member may create in an hour, an address twice as many\n"
         "                     (default 3)\n"
         "  --connects-per-minute N  new connections from one address in a minute (default 60)\n"
         "  --idle-minutes N   close a member who sends nothing for this long (default 60)\n"
         "  --robots KIND      robots that play free seats: simple or strong (default strong)\n"
         "  --robot-ms N       a strong robot's time per card in milliseconds (default 150)\n"
         "  --deal-key FILE    the secret that draws the deals: 64 hex digits (default: the\n"
         "                     store's own key, made at the first start)\n"
         "  --kibitz-same-address closed|open  whether a watcher at a seated member's address\n"
         "                     sees the hands (default closed: only what the public sees)\n"
         "  --export FILE      write the kept deals to FILE in the open record format and exit\n"
         "  --since YYYY-MM-DD only the deals that ended on or after that day (UTC)\n"
         "  --anonymise        write every member's nickname as a numbered alias\n"
         "  --seat-grace-seconds N  how long a dropped member's seat in a running deal waits\n"
         "                     for him (default 120)\n"
         "  --turn-seconds N   a seated member's time for a bid or a card before the robot\n"
         "                     makes it (default 60)\n"
         "  --journal on|off   journal running deals in the store, so that a restart brings\n"
         "                     them back (default on)\n"
         "  --claims MODE      claimed nicknames: off never asks for a proof; on (default)\n"
         "                     asks it for a claimed nickname and lets new clients claim a\n"
         "                     free one; required admits no nickname without a proof\n"
         "  --release NICK     frees a claimed nickname in the store (--db) and exits\n"
         "  --help             this text\n"
         "  --version          the release number\n";
}

std::string VersionText() { return std::string("znserver ") + ZN_VERSION + "\n"; }

ParseResult ParseOptions(const std::vector<std::string>& args, Options& o, std::string& error) {
  bool since = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--help" || a == "-h") return ParseResult::Help;
    if (a == "--version") return ParseResult::Version;
    if (a == "--anonymise") {
      o.exportDeals.anonymise = true;
      continue;
    }
    if (a != "--listen" && a != "--port" && a != "--db" && a != "--news" && a != "--max-members" &&
        a != "--max-rooms" && a != "--max-per-address" && a != "--rate" && a != "--burst" &&
        a != "--rooms-per-hour" && a != "--connects-per-minute" && a != "--idle-minutes" && a != "--robots" &&
        a != "--robot-ms" && a != "--deal-key" && a != "--kibitz-same-address" &&
        a != "--seat-grace-seconds" && a != "--turn-seconds" && a != "--journal" && a != "--claims" &&
        a != "--release" && a != "--export" && a != "--since") {
      error = "unknown option: " + a;
      return ParseResult::Error;
    }
    if (i + 1 >= args.size()) {
      error = a + " needs a value";
      return ParseResult::Error;
    }
    const std::string& v = args[++i];
    std::int32_t n = 0;
    if (a == "--listen") {
      o.server.listen = v;
    } else if (a == "--db") {
      o.db = v;
    } else if (a == "--news") {
      o.newsFile = v;
    } else if (a == "--export") {
      if (v.empty()) {
        error = "--export needs a file name";
        return ParseResult::Error;
      }
      o.exportDeals.file = v;
    } else if (a == "--since") {
      if (!dealrecord::ParseTime(v + "T00:00:00Z", o.exportDeals.since)) {
        error = "--since must be a day as YYYY-MM-DD: " + v;
        return ParseResult::Error;
      }
      since = true;
    } else if (a == "--deal-key") {
      if (v.empty()) {
        error = "--deal-key needs a file name";
        return ParseResult::Error;
      }
      o.dealKeyFile = v;
    } else if (a == "--journal") {
      if (v != "on" && v != "off") {
        error = "--journal must be on or off: " + v;
        return ParseResult::Error;
      }
      o.journal = v == "on";
    } else if (a == "--claims") {
      if (!ParseClaimMode(v, o.server.limits.claims)) {
        error = "--claims must be off, on or required: " + v;
        return ParseResult::Error;
      }
    } else if (a == "--release") {
      o.release = Utf8ToCp1250(v);  // the terminal's text; nicknames are cp1250 inside
      if (o.release.empty()) {
        error = "--release needs a nickname";
        return ParseResult::Error;
      }
    } else if (a == "--kibitz-same-address") {
      if (v != "open" && v != "closed") {
        error = "--kibitz-same-address must be open or closed: " + v;
        return ParseResult::Error;
      }
      o.server.kibitzSameAddressOpen = v == "open";
    } else if (a == "--robots") {
      if (v != "simple" && v != "strong") {
        error = "--robots must be simple or strong: " + v;
        return ParseResult::Error;
      }
      o.server.robots.kind = v == "simple" ? RobotKind::Simple : RobotKind::Strong;
    } else if (a == "--robot-ms") {
      if (!TryStrToInt(v, n) || n < 1 || n > 10000) {
        error = "--robot-ms must be 1 to 10000: " + v;
        return ParseResult::Error;
      }
      o.server.robots.budget = std::chrono::milliseconds(n);
    } else if (a == "--port") {
      if (!TryStrToInt(v, n) || n < 0 || n > 65535) {
        error = "--port must be 0 to 65535: " + v;
        return ParseResult::Error;
      }
      o.server.port = static_cast<std::uint16_t>(n);
    } else {
      if (!TryStrToInt(v, n) || n < 1) {
        error = a + " must be a positive number: " + v;
        return ParseResult::Error;
      }
      ClubLimits& l = o.server.limits;
      const auto count = static_cast<std::size_t>(n);
      if (a == "--max-rooms")
        l.maxRooms = count;
      else if (a == "--max-per-address")
        l.maxPerAddress = count;
      else if (a == "--rooms-per-hour")  // an address: twice as many, as by default
        l.roomsPerHour = count, l.roomsPerHourPerAddress = 2 * count;
      else if (a == "--connects-per-minute")
        l.connectsPerMinute = static_cast<std::uint32_t>(n);
      else if (a == "--idle-minutes")
        l.idleTimeout = std::chrono::minutes(n);
      else if (a == "--seat-grace-seconds")
        l.seatGrace = std::chrono::seconds(n);
      else if (a == "--turn-seconds")
        o.server.turnLimit = std::chrono::seconds(n);
      else if (a == "--rate")
        l.commandsPerSecond = static_cast<std::uint32_t>(n);
      else if (a == "--burst")
        l.commandBurst = static_cast<std::uint32_t>(n);
      else
        l.maxMembers = count;
    }
  }
  if ((since || o.exportDeals.anonymise) && o.exportDeals.file.empty()) {
    error = "--since and --anonymise go with --export";
    return ParseResult::Error;
  }
  if (o.db.empty()) {
    error = "--db needs a file name";
    return ParseResult::Error;
  }
  return ParseResult::Run;
}

bool ReadNews(const std::string& path, std::vector<std::string>& lines, std::string& error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot read news file " + path;
    return false;
  }
  lines.clear();
  std::string line;
  while (lines.size() < kMaxNewsLines && std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() > kMaxNewsLine) line.resize(kMaxNewsLine);
    lines.push_back(line);
  }
  return true;
}

}  // namespace zn::server
