// znserver's command line and news file.
#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>

#include "server/Options.h"

namespace zn::server {
namespace {

struct ArgsCase {
  const char* name;
  std::vector<std::string> args;
  ParseResult result;
  std::string error;
};
void PrintTo(const ArgsCase& c, std::ostream* os) { *os << c.name; }

class ParseOptionsTest : public ::testing::TestWithParam<ArgsCase> {};

TEST_P(ParseOptionsTest, ResultAndMessage) {
  Options o;
  std::string error;
  EXPECT_EQ(ParseOptions(GetParam().args, o, error), GetParam().result);
  EXPECT_EQ(error, GetParam().error);
}

INSTANTIATE_TEST_SUITE_P(
    Args, ParseOptionsTest,
    ::testing::Values(
        ArgsCase{"None", {}, ParseResult::Run, ""},
        ArgsCase{"Help", {"--port", "1", "--help"}, ParseResult::Help, ""},
        ArgsCase{"Version", {"--version", "--port", "x"}, ParseResult::Version, ""},
        ArgsCase{"VersionAfterValues", {"--db", "x.db", "--version"}, ParseResult::Version, ""},
        ArgsCase{"VersionAsAValue", {"--db", "--version"}, ParseResult::Run, ""},
        ArgsCase{"Unknown", {"--verbose"}, ParseResult::Error, "unknown option: --verbose"},
        ArgsCase{"MissingValue", {"--db"}, ParseResult::Error, "--db needs a value"},
        ArgsCase{"EmptyDb", {"--db", ""}, ParseResult::Error, "--db needs a file name"},
        ArgsCase{"PortTooBig", {"--port", "65536"}, ParseResult::Error, "--port must be 0 to 65535: 65536"},
        ArgsCase{"PortNotANumber", {"--port", "22x"}, ParseResult::Error, "--port must be 0 to 65535: 22x"},
        ArgsCase{"NoMembers",
                 {"--max-members", "0"},
                 ParseResult::Error,
                 "--max-members must be a positive number: 0"},
        ArgsCase{"KibitzWord",
                 {"--kibitz-same-address", "yes"},
                 ParseResult::Error,
                 "--kibitz-same-address must be open or closed: yes"},
        ArgsCase{"EmptyDealKey", {"--deal-key", ""}, ParseResult::Error, "--deal-key needs a file name"},
        ArgsCase{"SinceWithoutExport",
                 {"--since", "2026-01-01"},
                 ParseResult::Error,
                 "--since and --anonymise go with --export"},
        ArgsCase{"AnonymiseWithoutExport",
                 {"--anonymise"},
                 ParseResult::Error,
                 "--since and --anonymise go with --export"},
        ArgsCase{"SinceNotADay",
                 {"--export", "x.txt", "--since", "2026-02-30"},
                 ParseResult::Error,
                 "--since must be a day as YYYY-MM-DD: 2026-02-30"},
        ArgsCase{
            "Export", {"--export", "x.txt", "--anonymise", "--since", "2026-01-01"}, ParseResult::Run, ""},
        ArgsCase{"IdleBeyondTheClock",
                 {"--idle-minutes", "2147483647"},
                 ParseResult::Error,
                 "--idle-minutes must be 1 to 1000000: 2147483647"},
        ArgsCase{"HelpShortName", {"-h"}, ParseResult::Help, ""},
        ArgsCase{"FlagTakesNoValue", {"--anonymise", "--export", "x.txt"}, ParseResult::Run, ""},
        ArgsCase{"EmptyRelease", {"--release", ""}, ParseResult::Error, "--release needs a nickname"},
        ArgsCase{"CopyStore", {"--copy-store", "klub.db", "postgresql:///klub"}, ParseResult::Run, ""},
        ArgsCase{"CopyStoreOneValue",
                 {"--copy-store", "klub.db"},
                 ParseResult::Error,
                 "--copy-store needs two stores, FROM and TO"},
        ArgsCase{"CopyStoreEmptyTarget",
                 {"--copy-store", "klub.db", "", "--port", "1"},
                 ParseResult::Error,
                 "--copy-store needs two stores, FROM and TO"},
        ArgsCase{"NoRooms",
                 {"--max-rooms", "-3"},
                 ParseResult::Error,
                 "--max-rooms must be a positive number: -3"}));

// Each option sets its own field: none falls through to another one's (the connections at once
// are the canary, since a value option without a setter of its own once landed there).
TEST(Options, EachOptionSetsOnlyItsOwnField) {
  const std::map<std::string_view, std::string> checkedSamples = {{"--since", "2026-01-01"},
                                                                  {"--claims", "required"}};
  const std::string usage = Usage();
  for (const OptionRow& row : OptionRows()) {
    SCOPED_TRACE(std::string(row.name));
    EXPECT_NE(usage.find("\n  " + std::string(row.name)), std::string::npos);
    if (row.kind == OptionKind::Help || row.kind == OptionKind::Version) continue;
    std::vector<std::string> samples;
    switch (row.kind) {
      case OptionKind::Number:
        samples = {std::to_string(row.low + 1)};
        break;
      case OptionKind::Word:
        samples.assign(row.words.begin(), row.words.end());
        break;
      case OptionKind::Checked:
        ASSERT_TRUE(checkedSamples.count(row.name)) << "a checked option needs a sample here";
        samples = {checkedSamples.at(row.name)};
        break;
      default:
        samples = {"x7"};
    }
    for (const std::string& sample : samples) {
      std::vector<std::string> args = {"--export", "e.txt", std::string(row.name)};
      if (row.kind != OptionKind::Flag) args.push_back(sample);
      if (row.kind == OptionKind::Pair) args.push_back(sample);
      Options o;
      std::string error;
      ASSERT_EQ(ParseOptions(args, o, error), ParseResult::Run) << error;
      EXPECT_EQ(o.server.limits.maxMembers, row.name == "--max-members" ? 2u : 1000u);
      if (row.kind != OptionKind::Flag) {
        args.pop_back();
        EXPECT_EQ(ParseOptions(args, o, error), ParseResult::Error);
        EXPECT_EQ(error, std::string(row.name) +
                             (row.kind == OptionKind::Pair ? " " + std::string(row.what) : " needs a value"));
      }
    }
  }
}

TEST(Options, VersionIsOneLineWithTheReleaseNumber) {
  const std::string v = VersionText();
  ASSERT_GT(v.size(), 10u);
  EXPECT_EQ(v.rfind("znserver ", 0), 0u);
  EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(v[9])));
  EXPECT_EQ(v.find('\n'), v.size() - 1);
}

TEST(Options, DefaultsAndValues) {
  Options o;
  std::string error;
  ASSERT_EQ(ParseOptions({}, o, error), ParseResult::Run);
  EXPECT_EQ(o.server.listen, "127.0.0.1");
  EXPECT_EQ(o.server.port, 7022);
  EXPECT_EQ(o.db, "znserver.db");
  ASSERT_EQ(ParseOptions({"--listen", "0.0.0.0", "--port", "0", "--db", "x.db", "--news", "n.txt",
                          "--max-members", "12000", "--max-rooms", "600"},
                         o, error),
            ParseResult::Run);
  EXPECT_EQ(o.server.listen, "0.0.0.0");
  EXPECT_EQ(o.server.port, 0);
  EXPECT_EQ(o.db, "x.db");
  EXPECT_EQ(o.newsFile, "n.txt");
  EXPECT_EQ(o.server.limits.maxMembers, 12000u);
  EXPECT_EQ(o.server.limits.maxRooms, 600u);
  EXPECT_FALSE(o.server.kibitzSameAddressOpen);
  EXPECT_EQ(o.dealKeyFile, "");
  ASSERT_EQ(ParseOptions({"--kibitz-same-address", "open", "--deal-key", "k.hex"}, o, error),
            ParseResult::Run);
  EXPECT_TRUE(o.server.kibitzSameAddressOpen);
  EXPECT_EQ(o.dealKeyFile, "k.hex");
}

// The fair limits: the load tools raise them, a small club may lower them.
TEST(Options, FairLimits) {
  Options o;
  std::string error;
  ASSERT_EQ(ParseOptions({}, o, error), ParseResult::Run);
  EXPECT_EQ(o.server.limits.maxPerAddress, 16u);
  EXPECT_EQ(o.server.limits.commandsPerSecond, 20u);
  EXPECT_EQ(o.server.limits.commandBurst, 60u);
  EXPECT_EQ(o.server.limits.roomsPerHour, 3u);
  EXPECT_EQ(o.server.limits.seatGrace, std::chrono::seconds(120));
  EXPECT_EQ(o.server.turnLimit, std::chrono::seconds(60));
  EXPECT_EQ(o.server.limits.roomsPerHourPerAddress, 6u);
  ASSERT_EQ(ParseOptions({"--max-per-address", "20000", "--rate", "1000000", "--burst", "2000000",
                          "--rooms-per-hour", "100", "--seat-grace-seconds", "300", "--turn-seconds", "20"},
                         o, error),
            ParseResult::Run);
  EXPECT_EQ(o.server.limits.maxPerAddress, 20000u);
  EXPECT_EQ(o.server.limits.commandsPerSecond, 1000000u);
  EXPECT_EQ(o.server.limits.commandBurst, 2000000u);
  EXPECT_EQ(o.server.limits.roomsPerHour, 100u);
  EXPECT_EQ(o.server.limits.seatGrace, std::chrono::seconds(300));
  EXPECT_EQ(o.server.turnLimit, std::chrono::seconds(20));
  EXPECT_EQ(ParseOptions({"--turn-seconds", "0"}, o, error), ParseResult::Error);
  EXPECT_EQ(o.server.limits.roomsPerHourPerAddress, 200u);  // else one address still made only 6
  EXPECT_TRUE(o.journal);
  ASSERT_EQ(ParseOptions({"--journal", "off"}, o, error), ParseResult::Run);
  EXPECT_FALSE(o.journal);
  EXPECT_EQ(ParseOptions({"--journal", "no"}, o, error), ParseResult::Error);
  EXPECT_EQ(ParseOptions({"--rate", "0"}, o, error), ParseResult::Error);
  EXPECT_EQ(error, "--rate must be a positive number: 0");
}

// The club's budget for queued output; one member never holds more than the whole club may.
TEST(Options, QueuedOutputBudget) {
  const struct {
    std::vector<std::string> args;
    bool ok;
    std::size_t total, perMember;
  } cases[] = {
      {{}, true, 64u << 20, 8u << 20},
      {{"--queued-mb", "512"}, true, 512u << 20, 8u << 20},
      {{"--queued-mb", "4"}, true, 4u << 20, 4u << 20},
      {{"--queued-mb", "0"}, false, 0, 0},
      {{"--queued-mb", "4097"}, false, 0, 0},
  };
  for (const auto& c : cases) {
    Options o;
    std::string error;
    ASSERT_EQ(ParseOptions(c.args, o, error) == ParseResult::Run, c.ok) << error;
    if (!c.ok) continue;
    EXPECT_EQ(o.server.queuedTotal, c.total);
    EXPECT_EQ(o.server.queuedPerMember, c.perMember);
  }
}

TEST(Options, NewsLinesLoseTheirLineEndsAndAreBounded) {
  const auto path = std::filesystem::temp_directory_path() / "znserver-news-test.txt";
  {
    std::ofstream out(path, std::ios::binary);
    out << "first\r\nsecond\n\n" << std::string(5000, 'x') << "\n";
  }
  std::vector<std::string> lines;
  std::string error;
  ASSERT_TRUE(ReadNews(path.string(), lines, error));
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0], "first");
  EXPECT_EQ(lines[1], "second");
  EXPECT_EQ(lines[2], "");
  EXPECT_EQ(lines[3].size(), kMaxNewsLine);
  std::filesystem::remove(path);
  EXPECT_FALSE(ReadNews(path.string(), lines, error));
  EXPECT_EQ(error, "cannot read news file " + path.string());
}

}  // namespace
}  // namespace zn::server
