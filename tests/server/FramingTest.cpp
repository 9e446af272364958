// Splitting a member's reads into commands by their shapes.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "server/net/Framing.h"

namespace zn::server {
namespace {

using ::testing::ElementsAreArray;

// The pieces of reads, "!" standing for a command refused as too long, "?" for a broken one.
std::vector<std::string> Split(Framing& f, const std::vector<std::string>& reads, bool more = false) {
  std::vector<std::string> got;
  for (const std::string& r : reads) {
    std::vector<Piece> pieces;
    f.Feed(r, more, pieces);
    for (const Piece& p : pieces)
      got.push_back(p.kind == Piece::TooLong ? "!" : p.kind == Piece::Malformed ? "?" : std::string(p.text));
  }
  return got;
}

struct SplitCase {
  const char* name;
  std::vector<std::string> reads;
  std::vector<std::string> commands;
};
void PrintTo(const SplitCase& c, std::ostream* os) { *os << c.name; }

class JoinedCommands : public ::testing::TestWithParam<SplitCase> {};

TEST_P(JoinedCommands, SplitByTheirShapes) {
  Framing f;
  EXPECT_THAT(Split(f, GetParam().reads), ElementsAreArray(GetParam().commands));
  EXPECT_EQ(f.Pending(), 0u);
}

const std::string kAnswer = "Wanna cili 3 0 4 1 a b#cdef";

INSTANTIATE_TEST_SUITE_P(
    Shapes, JoinedCommands,
    ::testing::Values(
        SplitCase{"BareThenNumber", {"TP25"}, {"T", "P25"}}, SplitCase{"TwoNumbers", {"H1E0"}, {"H1", "E0"}},
        SplitCase{"NumberThenText", {"K1M hi"}, {"K1", "M hi"}},
        SplitCase{"TextKeepsEverything", {"Mx#D0G"}, {"Mx#D0G"}},
        SplitCase{"NegativeNumbers", {"S-2S-3D-1"}, {"S-2", "S-3", "D-1"}},
        SplitCase{"NumberWithoutDigits", {"EG"}, {"E", "G"}},
        SplitCase{"Result", {"F-12:34G"}, {"F-12:34", "G"}},
        SplitCase{"BrokenResultDropsTheRead", {"F5T", "G"}, {"?", "G"}},
        SplitCase{"ResultAcrossReads", {"F-5", ":5G"}, {"F-5:5", "G"}},
        SplitCase{"Bids", {"Banna 2 passz Gém"}, {"Banna 2 passz Gém"}},
        SplitCase{"BidsThenSpace", {"Banna 1 passz G"}, {"Banna 1 passz", " G"}},
        SplitCase{"BidsCountZero", {"Banna 0G"}, {"Banna 0", "G"}},
        SplitCase{"AnswerByItsLengths", {kAnswer + "GL"}, {kAnswer, "G", "L"}},
        SplitCase{"AnswerAcrossReads", {kAnswer.substr(0, 20), kAnswer.substr(20) + "G"}, {kAnswer, "G"}},
        SplitCase{"AnswerHeaderAcrossReads", {"Wanna", " cili 0 0 0 2 xyT"}, {"Wanna cili 0 0 0 2 xy", "T"}},
        SplitCase{"EmptyAnswerTexts", {"Wanna cili 0 0 0 0 G"}, {"Wanna cili 0 0 0 0 ", "G"}},
        SplitCase{"EachReadStartsAfresh", {"Mhello", "G"}, {"Mhello", "G"}},
        SplitCase{"NoCommandCode", {"zzz", "G"}, {"zzz", "G"}}, SplitCase{"Nickname", {"Nanna"}, {"Nanna"}},
        SplitCase{"BigRoomIndex", {"E999"}, {"E999"}},
        SplitCase{"LoginsGlued", {"NBenceNBence", "NBenceNBenceNBence"}, {"?", "?"}},
        SplitCase{"RoomNamesGlued", {"E1RKertRKert"}, {"E1", "?"}},
        SplitCase{"NicknameWithItsCodeInside", {"NNNannaNN", "NaN"}, {"NNNannaNN", "NaN"}},
        SplitCase{"ChatMayRepeat", {"MhahaMhaha"}, {"MhahaMhaha"}},
        SplitCase{"LongestCommand", {"M" + std::string(4095, 'x')}, {"M" + std::string(4095, 'x')}},
        SplitCase{"TooLongText", {"M" + std::string(4096, 'x'), "G"}, {"!", "G"}},
        SplitCase{"TooLongNumber", {"E" + std::string(5000, '1') + "G"}, {"!", "G"}}));

TEST(Framing, OversizedAnswerIsRefusedWithItsRead) {
  Framing f;
  std::string texts;
  for (int i = 0; i < 2500; ++i) texts += "E1";
  // The texts carry "E1": none of it may become a command.
  EXPECT_THAT(Split(f, {"Wanna cili 4000 1000 0 0 " + texts, "G"}), ElementsAreArray({"?", "G"}));
}

TEST(Framing, AnswerThatNeverEndsIsRefusedAtTheLimit) {
  Framing f;
  std::vector<std::string> reads = {"Wanna cili 100 0 0 0 "};
  for (int i = 0; i < 50; ++i) reads.push_back(std::string(100, 'x'));
  // Announced 100 bytes, got them: the rest is junk without a command code.
  const auto got = Split(f, reads);
  ASSERT_FALSE(got.empty());
  EXPECT_EQ(got.front(), "Wanna cili 100 0 0 0 " + std::string(100, 'x'));
  EXPECT_EQ(f.Pending(), 0u);
}

TEST(Framing, HeldBackAnswerIsBounded) {
  Framing f;
  std::vector<Piece> pieces;
  f.Feed("Wanna", false, pieces);  // the header is cut: it waits
  EXPECT_EQ(f.Pending(), 5u);
  f.Feed(std::string(5000, 'a'), false, pieces);
  ASSERT_EQ(pieces.size(), 1u);
  EXPECT_EQ(pieces[0].kind, Piece::TooLong);
  EXPECT_EQ(f.Pending(), 0u);
}

TEST(Framing, AMegabyteWithoutCommandCodeCostsOneNoticePerBurst) {
  Framing f;
  const std::string chunk(65536, '\x01');
  std::vector<std::string> reads(15, chunk);
  EXPECT_THAT(Split(f, reads, true), ElementsAreArray({"!"}));
  // The burst ends with a short read; the next read is read as commands again.
  EXPECT_THAT(Split(f, {"tail", "G"}, false), ElementsAreArray({"G"}));
}

// An over-long chat line delivered in reads of every size around the buffer, "more" telling
// whether the socket still held bytes; "G" comes once the socket was drained and must be read.
TEST(Framing, OverLongTailEndsWhenTheSocketIsDrainedWhateverTheReadSize) {
  for (const std::size_t read : {65535u, 65536u, 65537u}) {
    for (const std::size_t length : {3 * read - 1, 3 * read, 3 * read + 1}) {
      Framing f;
      const std::string line = "M" + std::string(length - 1, 'x');
      std::vector<std::string> got;
      for (std::size_t at = 0; at < line.size(); at += read) {
        std::vector<Piece> pieces;
        f.Feed(std::string_view(line).substr(at, read), at + read < line.size(), pieces);
        for (const Piece& p : pieces)
          got.push_back(p.kind == Piece::TooLong ? "!" : std::string(p.text.substr(0, 8)));
      }
      for (const auto& s : Split(f, {"G"})) got.push_back(s);
      EXPECT_THAT(got, ElementsAreArray({"!", "G"})) << "read " << read << ", length " << length;
    }
  }
}

}  // namespace
}  // namespace zn::server
