// The closing line: the server says why it ends a connection, but only to a client that announced
// it reads the line; "V" is answered with the newer lines this server sends.
#include "tests/server/ClubHarness.h"

namespace zn::server::test {
namespace {

using namespace std::chrono_literals;

TEST_F(ClubFixture, ClosingLineOnlyToClientsThatReadIt) {
  const MemberId reader = Join("anna");
  const MemberId old = Join("bela");
  EXPECT_EQ(Do(reader, proto::CmdReads(proto::kReadsKnown | 64u)),
            std::vector<std::string>{proto::LineReads(proto::kReadsKnown)});
  EXPECT_TRUE(Do(reader, "V-1").empty()) << "a malformed announcement changes nothing";
  Advance(61min);
  club().Flush();  // the idle sweep
  const std::vector<std::string> lines = out.Take(reader);
  ASSERT_GE(lines.size(), 2u);
  EXPECT_EQ(lines.back(), proto::LineClosing(proto::TCloseReason::Idle));
  EXPECT_TRUE(out.closed.count(reader));
  for (const std::string& line : out.Take(old)) EXPECT_NE(line.front(), 'C') << line;
  EXPECT_TRUE(out.closed.count(old));
}

}  // namespace
}  // namespace zn::server::test
