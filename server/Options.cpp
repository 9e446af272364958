#include "server/Options.h"

#include <algorithm>
#include <fstream>

#include "dealrecord/DealFormat.h"
#include "game/Cp1250.h"
#include "game/Tokenizer.h"

namespace zn::server {

namespace {

using K = OptionKind;

// Every limit below fits the clocks: a longer idle time would overflow the comparison in
// nanoseconds and close every member at once.
constexpr std::int32_t kMaxIdleMinutes = 1000000;

ClubLimits& Limits(Options& o) { return o.server.limits; }
std::size_t Count(std::int32_t n) { return static_cast<std::size_t>(n); }
std::uint32_t Count32(std::int32_t n) { return static_cast<std::uint32_t>(n); }

std::vector<OptionRow> MakeRows() {
  return {
      {.name = "--listen",
       .arg = "ADDR",
       .kind = K::Text,
       .set = [](Options& o, const std::string& v, std::int32_t) { return o.server.listen = v, true; },
       .help = "address to listen on (default 127.0.0.1)"},
      {.name = "--port",
       .arg = "N",
       .kind = K::Number,
       .set = [](Options& o, const std::string&,
                 std::int32_t n) { return o.server.port = static_cast<std::uint16_t>(n), true; },
       .help = "TCP port, 0 for any free one (default 7022)",
       .low = 0,
       .high = 65535},
      // An empty --db is refused after all options are read, so that "--db '' --help" still helps.
      {.name = "--db",
       .arg = "FILE|URL",
       .kind = K::Text,
       .set = [](Options& o, const std::string& v, std::int32_t) { return o.db = v, true; },
       .help = "the store: a SQLite file (default znserver.db) or a PostgreSQL\n"
               "database, postgresql://[USER@]HOST[:PORT]/DBNAME[?...]"},
      {.name = "--news",
       .arg = "FILE",
       .kind = K::Text,
       .set = [](Options& o, const std::string& v, std::int32_t) { return o.newsFile = v, true; },
       .help = "text sent for \"L\", one message per line (default: built in)"},
      {.name = "--max-members",
       .arg = "N",
       .kind = K::Number,
       .set = [](Options& o, const std::string&,
                 std::int32_t n) { return Limits(o).maxMembers = Count(n), true; },
       .help = "connections at once (default 1000)"},
      {.name = "--max-rooms",
       .arg = "N",
       .kind = K::Number,
       .set = [](Options& o, const std::string&,
                 std::int32_t n) { return Limits(o).maxRooms = Count(n), true; },
       .help = "rooms besides the lobby (default 250)"},
      {.name = "--max-per-address",
       .arg = "N",
       .kind = K::Number,
       .set = [](Options& o, const std::string&,
                 std::int32_t n) { return Limits(o).maxPerAddress = Count(n), true; },
       .help = "connections at once from one address (default 16)"},
      {.name = "--queued-mb",
       .arg = "N",
       .kind = K::Number,
       .set =
           [](Options& o, const std::string&, std::int32_t n) {
             o.server.queuedTotal = Count(n) << 20;
             // One member never holds more than the whole club may.
             o.server.queuedPerMember =
                 std::min(ServerOptions::kDefaultQueuedPerMember, o.server.queuedTotal);
             return true;
           },
       .help = "megabytes of output queued for all members together; over it\nthe members who read least "
               "are closed (default 64)",
       .high = 4096},
      {.name = "--rate",
       .arg = "N",
       .kind = K::Number,
       .set = [](Options& o, const std::string&,
                 std::int32_t n) { return Limits(o).commandsPerSecond = Count32(n), true; },
       .help = "commands a member may send per second, sustained (default 20)"},
      {.name = "--burst",
       .arg = "N",
       .kind = K::Number,
       .set = [](Options& o, const std::string&,
                 std::int32_t n) { return Limits(o).commandBurst = Count32(n), true; },
       .help = "commands a member may send at once (default 60)"},
      {.name = "--rooms-per-hour",
       .arg = "N",
       .kind = K::Number,
       .set =
           [](Options& o, const std::string&, std::int32_t n) {
             Limits(o).roomsPerHour = Count(n);
             Limits(o).roomsPerHourPerAddress = 2 * Count(n);  // an address: twice as many, as by default
             return true;
           },
       .help = "rooms one member may create in an hour, an address twice as many\n(default 3)"},
      {.name = "--claims-per-hour",
       .arg = "N",
       .kind = K::Number,
       .set =
           [](Options& o, const std::string&, std::int32_t n) {
             Limits(o).claimsPerHourPerAddress = Count(n);
             Limits(o).claimsPerDayPerNetwork = 3 * Count(n) + 1;  // a network: as by default
             return true;
           },
       .help = "nicknames one address may claim in an hour; one network (/24,\n/48) three times as many "
               "and one more a day (default 3)",
       .high = 1000},
      {.name = "--release-unused-days",
       .arg = "N",
       .kind = K::Number,
       .set = [](Options& o, const std::string&,
                 std::int32_t n) { return Limits(o).releaseUnused = std::chrono::hours(24) * n, true; },
       .help = "free a claimed nickname nobody has used for N days; 0 never\n(default 365)",
       .low = 0,
       .high = 100000},
      {.name = "--connects-per-minute",
       .arg = "N",
       .kind = K::Number,
       .set = [](Options& o, const std::string&,
                 std::int32_t n) { return Limits(o).connectsPerMinute = Count32(n), true; },
       .help = "new connections from one address in a minute (default 60)"},
      {.name = "--idle-minutes",
       .arg = "N",
       .kind = K::Number,
       .set = [](Options& o, const std::string&,
                 std::int32_t n) { return Limits(o).idleTimeout = std::chrono::minutes(n), true; },
       .help = "close a member who sends nothing for this long (default 60)",
       .high = kMaxIdleMinutes},
      {.name = "--robots",
       .arg = "KIND",
       .kind = K::Word,
       .set =
           [](Options& o, const std::string&, std::int32_t n) {
             o.server.robots.kind = n == 0 ? RobotKind::Simple : RobotKind::Strong;
             return true;
           },
       .help = "robots that play free seats: simple or strong (default strong)",
       .words = {"simple", "strong"}},
      {.name = "--robot-ms",
       .arg = "N",
       .kind = K::Number,
       .set = [](Options& o, const std::string&,
                 std::int32_t n) { return o.server.robots.budget = std::chrono::milliseconds(n), true; },
       .help = "a strong robot's time per card in milliseconds (default 150)",
       .high = 10000},
      {.name = "--deal-key",
       .arg = "FILE",
       .kind = K::Name,
       .set = [](Options& o, const std::string& v, std::int32_t) { return o.dealKeyFile = v, true; },
       .help = "the secret that draws the deals: 64 hex digits (default: the\nstore's own key, made at the "
               "first start)",
       .what = "a file name"},
      {.name = "--kibitz-same-address",
       .arg = "closed|open",
       .kind = K::Word,
       .set = [](Options& o, const std::string&,
                 std::int32_t n) { return o.server.kibitzSameAddressOpen = n == 0, true; },
       .help = "whether a watcher at a seated member's address\nsees the hands (default closed: only what "
               "the public sees)",
       .words = {"open", "closed"}},
      {.name = "--export",
       .arg = "FILE",
       .kind = K::Name,
       .set = [](Options& o, const std::string& v, std::int32_t) { return o.exportDeals.file = v, true; },
       .help = "write the kept deals to FILE in the open record format and exit",
       .what = "a file name",
       .form = OptionForm::Export},
      {.name = "--since",
       .arg = "YYYY-MM-DD",
       .kind = K::Checked,
       .set = [](Options& o, const std::string& v,
                 std::int32_t) { return dealrecord::ParseTime(v + "T00:00:00Z", o.exportDeals.since); },
       .help = "only the deals that ended on or after that day (UTC)",
       .what = "must be a day as YYYY-MM-DD",
       .form = OptionForm::ExportPart},
      {.name = "--anonymise",
       .kind = K::Flag,
       .set = [](Options& o, const std::string&, std::int32_t) { return o.exportDeals.anonymise = true; },
       .help = "write every member's nickname and every room name as a numbered alias",
       .form = OptionForm::ExportPart},
      {.name = "--copy-store",
       .arg = "FROM TO",
       .kind = K::Pair,
       .set = [](Options& o, const std::string& v,
                 std::int32_t n) { return (n == 0 ? o.copyFrom : o.copyTo) = v, !v.empty(); },
       .help = "copy the whole store FROM (a file or URL, as --db) to TO, which\nmust be empty, check "
               "the copy and exit",
       .what = "needs two stores, FROM and TO",
       .form = OptionForm::Copy},
      {.name = "--seat-grace-seconds",
       .arg = "N",
       .kind = K::Number,
       .set = [](Options& o, const std::string&,
                 std::int32_t n) { return Limits(o).seatGrace = std::chrono::seconds(n), true; },
       .help = "how long a dropped member's seat in a running deal waits\nfor him (default 120)"},
      {.name = "--turn-seconds",
       .arg = "N",
       .kind = K::Number,
       .set = [](Options& o, const std::string&,
                 std::int32_t n) { return o.server.turnLimit = std::chrono::seconds(n), true; },
       .help = "a seated member's time for a bid or a card before the robot\nmakes it (default 60)"},
      {.name = "--journal",
       .arg = "on|off",
       .kind = K::Word,
       .set = [](Options& o, const std::string&, std::int32_t n) { return o.journal = n == 0, true; },
       .help = "journal running deals in the store, so that a restart brings\nthem back (default on)",
       .words = {"on", "off"}},
      {.name = "--claims",
       .arg = "MODE",
       .kind = K::Checked,
       .set = [](Options& o, const std::string& v,
                 std::int32_t) { return ParseClaimMode(v, o.server.limits.claims); },
       .help = "claimed nicknames: off never asks for a proof; on (default)\nasks it for a claimed nickname "
               "and lets new clients claim a\nfree one; required admits no nickname without a proof",
       .what = "must be off, on or required"},
      {.name = "--release",
       .arg = "NICK",
       .kind = K::Name,
       .set =
           [](Options& o, const std::string& v, std::int32_t) {
             o.release = Utf8ToCp1250(v);  // the terminal's text; nicknames are cp1250 inside
             return !o.release.empty();
           },
       .help = "frees a claimed nickname in the store (--db) and exits",
       .what = "a nickname"},
      {.name = "--help", .kind = K::Help, .set = nullptr, .help = "this text", .alias = "-h"},
      {.name = "--version", .kind = K::Version, .set = nullptr, .help = "the release number"},
  };
}

// "a, b or c"
std::string Choices(const std::vector<std::string_view>& words) {
  std::string out;
  for (std::size_t i = 0; i < words.size(); ++i) {
    if (i > 0) out += i + 1 == words.size() ? " or " : ", ";
    out += words[i];
  }
  return out;
}

std::string RangeText(const OptionRow& row) {
  if (row.low == 1 && row.high == std::numeric_limits<std::int32_t>::max()) return "a positive number";
  return std::to_string(row.low) + " to " + std::to_string(row.high);
}

// Reads one value into the options; false with error when the row refuses it.
bool Apply(const OptionRow& row, const std::string& v, Options& o, std::string& error) {
  const std::string name(row.name);
  std::int32_t n = 0;
  switch (row.kind) {
    case K::Number:
      if (!TryStrToInt(v, n) || n < row.low || n > row.high) {
        error = name + " must be " + RangeText(row) + ": " + v;
        return false;
      }
      break;
    case K::Word: {
      std::size_t i = 0;
      while (i < row.words.size() && row.words[i] != v) ++i;
      if (i == row.words.size()) {
        error = name + " must be " + Choices(row.words) + ": " + v;
        return false;
      }
      n = static_cast<std::int32_t>(i);
      break;
    }
    case K::Name:
      if (v.empty()) {
        error = name + " needs " + std::string(row.what);
        return false;
      }
      break;
    default:
      break;
  }
  if (row.set(o, v, n)) return true;
  if (row.kind == K::Name)
    error = name + " needs " + std::string(row.what);
  else
    error = name + " " + std::string(row.what) + ": " + v;
  return false;
}

std::string Synopsis(const OptionRow& row) {
  std::string s = "[" + std::string(row.name);
  if (!row.arg.empty()) s += " " + std::string(row.arg);
  return s + "]";
}

}  // namespace

const std::vector<OptionRow>& OptionRows() {
  static const std::vector<OptionRow> rows = MakeRows();
  return rows;
}

std::string Usage() {
  constexpr std::size_t kWidth = 100, kIndent = 16, kHelpColumn = 21;
  std::string out = "usage: znserver";
  std::size_t lineStart = 0;
  for (const OptionRow& row : OptionRows()) {
    if (row.form != OptionForm::Serve || row.kind == K::Help || row.kind == K::Version) continue;
    const std::string s = Synopsis(row);
    if (out.size() - lineStart + 1 + s.size() > kWidth) {
      out += "\n";
      lineStart = out.size();
      out += std::string(kIndent - 1, ' ');
    }
    out += " " + s;
  }
  out += "\n       znserver [--db FILE]";
  for (const OptionRow& row : OptionRows())
    if (row.form == OptionForm::Export) out += " " + std::string(row.name) + " " + std::string(row.arg);
  for (const OptionRow& row : OptionRows())
    if (row.form == OptionForm::ExportPart) out += " " + Synopsis(row);
  for (const OptionRow& row : OptionRows())
    if (row.form == OptionForm::Copy)
      out += "\n       znserver " + std::string(row.name) + " " + std::string(row.arg);
  out += "\n";
  for (const OptionRow& row : OptionRows()) {
    std::string head = "  " + std::string(row.name);
    if (!row.arg.empty()) head += " " + std::string(row.arg);
    head += head.size() + 1 < kHelpColumn ? std::string(kHelpColumn - head.size(), ' ') : "  ";
    out += head;
    for (const char c : row.help) {
      out += c;
      if (c == '\n') out += std::string(kHelpColumn, ' ');
    }
    out += "\n";
  }
  return out;
}

std::string VersionText() { return std::string("znserver ") + ZN_VERSION + "\n"; }

ParseResult ParseOptions(const std::vector<std::string>& args, Options& o, std::string& error) {
  bool exportPart = false;  // --since or --anonymise given
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    const OptionRow* row = nullptr;
    for (const OptionRow& r : OptionRows())
      if (a == r.name || (!r.alias.empty() && a == r.alias)) row = &r;
    if (row == nullptr) {
      error = "unknown option: " + a;
      return ParseResult::Error;
    }
    if (row->kind == K::Help) return ParseResult::Help;
    if (row->kind == K::Version) return ParseResult::Version;
    if (row->form == OptionForm::ExportPart) exportPart = true;
    if (row->kind == K::Flag) {
      row->set(o, a, 0);
      continue;
    }
    if (row->kind == K::Pair) {
      if (i + 2 >= args.size() || !row->set(o, args[i + 1], 0) || !row->set(o, args[i + 2], 1)) {
        error = a + " " + std::string(row->what);
        return ParseResult::Error;
      }
      i += 2;
      continue;
    }
    if (i + 1 >= args.size()) {
      error = a + " needs a value";
      return ParseResult::Error;
    }
    if (!Apply(*row, args[++i], o, error)) return ParseResult::Error;
  }
  if (exportPart && o.exportDeals.file.empty()) {
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
