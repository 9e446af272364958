// What a hostile or flooding server cannot make the club window do: grow the message area past
// its cap, echo a huge "asker" back, or split a line that arrived in pieces.
#include "link/LineJoiner.h"
#include "tests/shell/ClubFixture.h"

namespace zn::test {
namespace {

class ClubBounds : public ClubTest {
 protected:
  void SetUp() override {
    ClubTest::SetUp();
    Start();
    Connect();
    log.sent.clear();
  }
  void ExpectPingAnswered() {
    form->Actions.cmPing.Execute();
    Feed({proto::LinePing()});
    Pump();
    ASSERT_FALSE(form->State.Memo.empty());
    EXPECT_EQ(form->State.Memo.back().rfind(S(" >>>>> Válaszidő"_cp), 0), 0u) << form->State.Memo.back();
  }
};

struct MemoSource {
  const char* name;
  std::string line;
  std::string noted;  // the line the message area gets
};
void PrintTo(const MemoSource& c, std::ostream* os) { *os << c.name; }

class MemoCap : public ClubBounds, public ::testing::WithParamInterface<MemoSource> {};

TEST_P(MemoCap, EveryAddedLineCountsAgainstTheOneCap) {
  form->State.Memo.clear();
  for (int i = 0; i < 100; ++i) form->State.Memo.push_back("old" + std::to_string(i));
  const std::uint64_t rewrites = form->State.MemoRewrites;
  Feed({GetParam().line});
  ASSERT_EQ(form->State.Memo.size(), 51u);
  EXPECT_EQ(form->State.Memo.front(), "old50");
  if (!GetParam().noted.empty()) {
    EXPECT_EQ(form->State.Memo.back(), GetParam().noted);
  }
  EXPECT_EQ(form->State.MemoRewrites, rewrites + 1) << "a trim is redrawn whole";
  Feed({GetParam().line});
  EXPECT_EQ(form->State.Memo.size(), 52u);
  EXPECT_EQ(form->State.MemoRewrites, rewrites + 1) << "an append is drawn alone";
  // A thousand more never take it past the cap.
  for (int i = 0; i < 1000; ++i) Feed({GetParam().line});
  EXPECT_LE(form->State.Memo.size(), kMemoCap + 1);
  ExpectPingAnswered();
}

INSTANTIATE_TEST_SUITE_P(
    Lines, MemoCap,
    ::testing::Values(MemoSource{"Message", "Mhello", "hello"}, MemoSource{"Ping", "G", ""},
                      MemoSource{"Inquiry", "QBela Anna", S(" >>>>> Bela érdeklődött irántad"_cp)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ClubBounds, ClearingTheAreaIsARewrite) {
  const std::uint64_t before = form->State.MemoRewrites;
  form->Actions.cmClear.Execute();
  EXPECT_EQ(form->State.MemoRewrites, before + 1);
}

struct AskerCase {
  const char* name;
  std::size_t length;
  bool answered;
};
void PrintTo(const AskerCase& c, std::ostream* os) { *os << c.name; }

class InquiryAsker : public ClubBounds, public ::testing::WithParamInterface<AskerCase> {};

TEST_P(InquiryAsker, LongerThanANicknameIsNotAnswered) {
  const std::string asker(GetParam().length, 'b');
  const std::size_t memo = form->State.Memo.size();
  Feed({"Q" + asker + " Anna"});
  if (GetParam().answered) {
    ASSERT_EQ(log.sent.size(), 1u);
    EXPECT_EQ(log.sent[0], "W" + asker + " Anna 0 0 0 0 ");
    EXPECT_EQ(form->State.Memo.size(), memo + 1);
  } else {
    EXPECT_TRUE(log.sent.empty());
    EXPECT_EQ(form->State.Memo.size(), memo) << "nothing is noted either";
  }
  EXPECT_TRUE(desk.desk.Messages.empty());
  ExpectPingAnswered();
}

INSTANTIATE_TEST_SUITE_P(Lengths, InquiryAsker,
                         ::testing::Values(AskerCase{"Shortest", 4, true},
                                           AskerCase{"Longest", kMaxNicknameBytes, true},
                                           AskerCase{"OneOver", kMaxNicknameBytes + 1, false},
                                           AskerCase{"AMegabyteLong", kMaxLineBytes - 8, false}),
                         [](const auto& info) { return std::string(info.param.name); });

// A socket with the quiet timer, fired by the test.
class TimerSocket : public FakeSocket {
 public:
  using FakeSocket::FakeSocket;
  bool WatchQuiet(std::chrono::milliseconds) override { return true; }
};

class ClubJoin : public ClubTest {
 protected:
  void SetUp() override {
    ClubTest::SetUp();
    form = std::make_unique<TZnForm>(
        temp.Path(), [this] { return std::make_unique<TimerSocket>(log); },
        [](const std::string& programDir) { return programDir + "/Zn.INI"; });
    form->WakeIdle = [this] { ++wakes; };
    desk.desk.InputAnswers.push_back(std::string("Anna"));
    form->FormShow();
    Connect();
  }
  void Read(const std::string& chunk) { form->Link->Socket().OnData(chunk); }
};

TEST_F(ClubJoin, ALineInPiecesIsDispatchedOnceWholeAndTheLastWithinTheQuietTime) {
  Read(S("#MBé"_cp));
  Read(S("la Anna#M b"_cp));
  Pump();
  EXPECT_EQ(form->State.Memo.back(), S("Béla Anna"_cp));
  const int before = wakes;
  form->Link->Socket().OnQuiet();
  EXPECT_GT(wakes, before) << "the quiet time wakes the dispatcher";
  Pump();
  EXPECT_EQ(form->State.Memo.back(), " b");
  EXPECT_TRUE(desk.desk.Messages.empty());
}

TEST_F(ClubJoin, AnOverlongLineInManyReadsIsOneBox) {
  Read("#M " + std::string(kMaxLineBytes, 'x'));
  for (int i = 0; i < 20; ++i) Read(std::string(100'000, 'y'));
  Read("#G");
  form->Link->Socket().OnQuiet();
  Pump();
  EXPECT_EQ(desk.desk.Messages, std::vector<std::string>{std::string(kLineTooLongText)});
  EXPECT_EQ(form->State.Memo.back().rfind(S(" >>>>> Válaszidő"_cp), 0), 0u) << "the G after it is answered";
}

}  // namespace
}  // namespace zn::test
