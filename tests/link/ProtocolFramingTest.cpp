#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "game/Cp1250.h"
#include "link/Protocol.h"

namespace zn::proto {
namespace {

using namespace zn::literals;

std::string S(std::string_view v) { return std::string(v); }

// The buffer cut as the server cuts it: "ok:" command, "bad:" or "unknown:" dropped bytes, and
// "wait:" the rest that waits for more bytes.
std::vector<std::string> Cut(std::string_view buffer) {
  std::vector<std::string> out;
  while (!buffer.empty()) {
    const TCommandSpan span = MeasureCommand(buffer);
    if (span.cut == TCommandCut::Incomplete) {
      EXPECT_EQ(span.length, 0u);
      out.push_back("wait:" + std::string(buffer));
      break;
    }
    EXPECT_GT(span.length, 0u);
    EXPECT_LE(span.length, buffer.size());
    if (span.length == 0 || span.length > buffer.size()) break;
    const char* kind = span.cut == TCommandCut::Complete    ? "ok:"
                       : span.cut == TCommandCut::Malformed ? "bad:"
                                                            : "unknown:";
    out.push_back(kind + std::string(buffer.substr(0, span.length)));
    buffer.remove_prefix(span.length);
  }
  return out;
}

struct CutCase {
  std::string buffer;
  std::vector<std::string> pieces;
};
void PrintTo(const CutCase& c, std::ostream* os) { *os << '"' << c.buffer << '"'; }

class CommandCutTest : public ::testing::TestWithParam<CutCase> {};
TEST_P(CommandCutTest, SplitsByEachCommandsShape) { EXPECT_EQ(Cut(GetParam().buffer), GetParam().pieces); }

using V = std::vector<std::string>;

INSTANTIATE_TEST_SUITE_P(
    Joined, CommandCutTest,
    ::testing::Values(
        CutCase{"TP25", V{"ok:T", "ok:P25"}}, CutCase{"H1E0", V{"ok:H1", "ok:E0"}},
        CutCase{"K1M hi", V{"ok:K1", "ok:M hi"}}, CutCase{"GLT", V{"ok:G", "ok:L", "ok:T"}},
        CutCase{"S-3D-1A0", V{"ok:S-3", "ok:D-1", "ok:A0"}},
        CutCase{"D+5G", V{"ok:D+5", "ok:G"}},  // "&Számozott osztás" sends the text as typed
        CutCase{"F12:-4D0", V{"ok:F12:-4", "ok:D0"}}, CutCase{"F-3:+3T", V{"ok:F-3:+3", "ok:T"}},
        CutCase{"Mx#D0", V{"ok:Mx#D0"}},  // "#" separates nothing from the client
        CutCase{"P42T", V{"ok:P42", "ok:T"}}, CutCase{"E", V{"ok:E"}}, CutCase{"EG", V{"ok:E", "ok:G"}},
        CutCase{S("Banna 2 Gém Passz"_cp), V{S("ok:Banna 2 Gém Passz"_cp)}},
        CutCase{S("Bbéla 1 Pagát\u00A0ulti"_cp), V{S("ok:Bbéla 1 Pagát\u00A0ulti"_cp)}},
        CutCase{"Banna 0G", V{"ok:Banna 0", "ok:G"}}, CutCase{"Banna 0H1", V{"ok:Banna 0", "ok:H1"}},
        CutCase{"Banna 1 *Gem Mx", V{"ok:Banna 1 *Gem", "unknown: Mx"}},
        CutCase{"WBela Anna 9 0 6 0 Vada VivoSzia!~G", V{"ok:WBela Anna 9 0 6 0 Vada VivoSzia!~", "ok:G"}},
        CutCase{"WBela Anna 0 0 0 0 T", V{"ok:WBela Anna 0 0 0 0 ", "ok:T"}},
        CutCase{"WBela Anna 3 0 0 0 a#bMx", V{"ok:WBela Anna 3 0 0 0 a#b", "ok:Mx"}},
        CutCase{"Nanna", V{"ok:Nanna"}}, CutCase{S("RKék terem G"_cp), V{S("ok:RKék terem G"_cp)}},
        CutCase{S("Qanna béla"_cp), V{S("ok:Qanna béla"_cp)}},
        // A claim request before another command; a proof is exactly 192 hex digits.
        CutCase{"YG", V{"ok:Y", "ok:G"}}, CutCase{"YNanna", V{"ok:Y", "ok:Nanna"}},
        CutCase{"Y" + std::string(192, 'a') + "E0", V{"ok:Y" + std::string(192, 'a'), "ok:E0"}},
        CutCase{"Y" + std::string(193, 'f'), V{"ok:Y" + std::string(192, 'f'), "unknown:f"}}));

INSTANTIATE_TEST_SUITE_P(
    Broken, CommandCutTest,
    ::testing::Values(
        // B: "B" nickname " " count, no space after the letter.
        CutCase{S("B anna 2 Gém Passz"_cp), V{S("bad:B anna 2 Gém Passz"_cp)}},
        CutCase{"Banna x Gem", V{"bad:Banna x Gem"}}, CutCase{"Banna -1 Gem", V{"bad:Banna -1 Gem"}},
        CutCase{"Banna 2xGem", V{"bad:Banna 2xGem"}},
        CutCase{"Banna 2 Gem  Passz", V{"bad:Banna 2 Gem  Passz"}},  // an empty bid
        CutCase{"Banna 2000000000 Gem", V{"bad:Banna 2000000000 Gem"}},
        CutCase{"Banna 99999999999999999999999 G", V{"bad:Banna 99999999999999999999999 G"}},
        CutCase{"F12x:0G", V{"bad:F12x:0G"}}, CutCase{"F 12:0", V{"bad:F 12:0"}},
        CutCase{"WBela Anna 9 x 6 0 abc", V{"bad:WBela Anna 9 x 6 0 abc"}},
        CutCase{"WBela Anna -1 0 0 0 abc", V{"bad:WBela Anna -1 0 0 0 abc"}},
        CutCase{"WBela Anna 2000000000 0 0 0 abc", V{"bad:WBela Anna 2000000000 0 0 0 abc"}},
        CutCase{"WBela Anna 4096 4096 0 0 abc", V{"bad:WBela Anna 4096 4096 0 0 abc"}},
        CutCase{"WBela Anna 9 0 6 0abc", V{"bad:WBela Anna 9 0 6 0abc"}},
        CutCase{"WBela 9 0 6 0 abcdefghijklmno", V{"bad:WBela 9 0 6 0 abcdefghijklmno"}},
        // An unknown first byte: nothing after it is trusted to start a command.
        CutCase{"xGD0", V{"unknown:xGD0"}}, CutCase{"#G", V{"unknown:#G"}}, CutCase{"g", V{"unknown:g"}},
        CutCase{" T", V{"unknown: T"}}, CutCase{"T\nG", V{"ok:T", "unknown:\nG"}},
        CutCase{"E1 ", V{"ok:E1", "unknown: "}}, CutCase{"Y12G", V{"bad:Y12G"}},
        CutCase{"Y" + std::string(191, '0') + "A", V{"bad:Y" + std::string(191, '0') + "A"}}));

INSTANTIATE_TEST_SUITE_P(
    Cut, CommandCutTest,
    ::testing::Values(CutCase{"Y0123", V{"wait:Y0123"}}, CutCase{"B", V{"wait:B"}},
                      CutCase{"Banna", V{"wait:Banna"}}, CutCase{"Banna ", V{"wait:Banna "}},
                      CutCase{"Banna 2", V{"wait:Banna 2"}}, CutCase{"Banna 2 Gem", V{"wait:Banna 2 Gem"}},
                      CutCase{"Banna 2 Gem ", V{"wait:Banna 2 Gem "}},
                      CutCase{"GBanna 20", V{"ok:G", "wait:Banna 20"}}, CutCase{"F12", V{"wait:F12"}},
                      CutCase{"F", V{"wait:F"}}, CutCase{"F-", V{"wait:F-"}}, CutCase{"F12:", V{"ok:F12:"}},
                      CutCase{"W", V{"wait:W"}}, CutCase{"WBela Anna", V{"wait:WBela Anna"}},
                      CutCase{"WBela Anna 9 0 6", V{"wait:WBela Anna 9 0 6"}},
                      CutCase{"WBela Anna 9 0 6 0", V{"wait:WBela Anna 9 0 6 0"}},
                      CutCase{"WBela Anna 9 0 6 0 Vada VivoSzia!",
                              V{"wait:WBela Anna 9 0 6 0 Vada VivoSzia!"}},
                      CutCase{"WBela Anna 4096 0 0 0 ab", V{"wait:WBela Anna 4096 0 0 0 ab"}}));

TEST(CommandLength, ReportsCompleteWaitAndDrop) {
  bool complete = false;
  EXPECT_EQ(CommandLength("H1E0", complete), 2u);
  EXPECT_TRUE(complete);
  EXPECT_EQ(CommandLength("Banna 1", complete), 0u);
  EXPECT_FALSE(complete);
  EXPECT_EQ(CommandLength("", complete), 0u);
  EXPECT_FALSE(complete);
  EXPECT_EQ(CommandLength("xyz", complete), 3u);
  EXPECT_FALSE(complete);
  EXPECT_EQ(CommandLength("F1x", complete), 3u);
  EXPECT_FALSE(complete);
}

// Whatever the client builds is cut back out whole, also with another command joined after it.
TEST(CommandLength, FindsEveryBuiltCommandWholeInAJoinedRead) {
  const std::vector<std::string> commands = {
      CmdNick("anna"),
      CmdChat("hi"),
      CmdPing(),
      CmdNews(),
      CmdNewRoom(S("Kék"_cp)),
      CmdEnter(12),
      CmdEnter(0),
      CmdSit(-4),
      CmdHand(0),
      CmdOption(true),
      CmdDeal(-1),
      CmdDeal(1018),
      CmdDealTyped("+0019"),
      CmdWatch(false),
      CmdBids("anna", {S("Gém"_cp), "*Trull"}),
      CmdBids(S("béla"_cp), {}),
      CmdPlay(7),
      CmdTrickDone(),
      CmdResult("-12:12"),
      CmdInquiry("anna", "cili"),
      CmdAnswer("anna cili", {S("Cili Cenk"_cp), "", S("Szia!~Én~"_cp), "Honőr 1 2~"})};
  const std::vector<std::string> followers = {"G", "E0", "T", "K1", "F1:2", "Mx y"};
  for (const std::string& c : commands) {
    std::vector<std::string> want = {"ok:" + c};
    EXPECT_EQ(Cut(c), want) << c;
    TCommandShape shape{};
    ASSERT_TRUE(ShapeOf(c[0], shape));
    // Rest commands take the whole read; a follower glued to a B's last bid joins that bid.
    if (shape == TCommandShape::Rest || (shape == TCommandShape::Bids && c.back() != '0')) continue;
    for (const std::string& f : followers) {
      want = {"ok:" + c, "ok:" + f};
      EXPECT_EQ(Cut(c + f), want) << c << " + " << f;
    }
  }
}

// Random bytes never make a span leave the buffer or stand still.
TEST(CommandLength, StaysInsideAnyBuffer) {
  std::mt19937 rng(20261207);
  const std::string alphabet = "BWFEGT MN0123456789-+: ab";
  for (int round = 0; round < 20000; ++round) {
    std::string buffer(rng() % 40, ' ');
    for (char& c : buffer) c = alphabet[rng() % alphabet.size()];
    Cut(buffer);
    if (::testing::Test::HasFailure()) {
      ADD_FAILURE() << "buffer \"" << buffer << '"';
      break;
    }
  }
}

}  // namespace
}  // namespace zn::proto
