// Chat, the introduction relay with its checks, and the command rate limit.
#include "tests/server/ClubHarness.h"

namespace zn::server::test {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class RelayTest : public ClubFixture {
 protected:
  void SetUp() override {
    a = Join("anna");
    b = Join("bela");
    c = Join("cili");
    Do(c, "Rkertes");
    Do(c, "E1");
    Advance(std::chrono::seconds(3));  // let the lobby lines of the logins go out
    club().Flush();
    for (MemberId id : {a, b, c}) out.Take(id);
  }
  MemberId a = 0, b = 0, c = 0;
};

TEST_F(RelayTest, ChatReachesOnlyTheSendersRoom) {
  EXPECT_THAT(Do(a, "Mszia x#D0"), ElementsAre("Manna: szia x?D0"));
  EXPECT_THAT(out.Take(b), ElementsAre("Manna: szia x?D0"));
  EXPECT_THAT(out.Take(c), IsEmpty());
  EXPECT_THAT(Do(c, "Mbent"), ElementsAre("Mcili: bent"));
  EXPECT_THAT(out.Take(a), IsEmpty());
}

TEST_F(RelayTest, InquiryAndAnswerTravelBetweenTheTwo) {
  EXPECT_THAT(Do(a, "Qanna cili"), IsEmpty());
  EXPECT_THAT(out.Take(c), ElementsAre("Qanna cili"));
  const std::string answer = "Wanna cili 3 0 4 0 a#bc#de";
  EXPECT_THAT(Do(c, answer), IsEmpty());
  EXPECT_THAT(out.Take(a), ElementsAre("Wanna cili 3 0 4 0 a?bc?de"));
  EXPECT_THAT(out.Take(b), IsEmpty());
  // One answer per question.
  EXPECT_THAT(Do(c, answer), ElementsAre(Cp("M >>>>> Ezt a bemutatást senki nem kérte"_cp)));
  EXPECT_THAT(out.Take(a), IsEmpty());
}

// The relay's checks use the key the login uses to refuse look-alike names: case and blanks aside.
TEST_F(RelayTest, LookAlikeNamesCountAsTheSameInTheRelay) {
  const std::string inquiry = Cp("Qanna\u00A0 cili"_cp);
  EXPECT_THAT(Do(a, inquiry), IsEmpty());
  EXPECT_THAT(out.Take(c), ElementsAre(inquiry));
  EXPECT_THAT(Do(c, "WANNA CILI 0 0 0 0 "), IsEmpty());
  EXPECT_THAT(out.Take(a), ElementsAre("WANNA CILI 0 0 0 0 "));
}

struct SpoofCase {
  const char* name;
  MemberId from;  // 1 anna, 2 bela, 3 cili
  std::string command;
  std::string notice;
};
void PrintTo(const SpoofCase& c, std::ostream* os) { *os << c.name; }

class RelayRefusal : public RelayTest, public ::testing::WithParamInterface<SpoofCase> {};

// anna asked cili before every case; nothing may reach anyone but the sender's notice.
TEST_P(RelayRefusal, NoticeToTheSenderOnly) {
  Do(a, "Qanna cili");
  out.Take(c);
  EXPECT_THAT(Do(GetParam().from, GetParam().command), ElementsAre("M >>>>> " + GetParam().notice));
  for (MemberId id : {a, b, c}) {
    if (id != GetParam().from) {
      EXPECT_THAT(out.Take(id), IsEmpty()) << id;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Checks, RelayRefusal,
    ::testing::Values(
        SpoofCase{"QInAnothersName", 2, "Qanna cili", Cp("Csak a saját nevedben kérhetsz bemutatást"_cp)},
        SpoofCase{"QToSomeoneAway", 2, "Qbela zoli", Cp("Nincs a klubban: zoli"_cp)},
        SpoofCase{"QWithExtraWords", 2, "Qbela cili x", Cp("Hibás parancs"_cp)},
        SpoofCase{"QWithoutTarget", 2, "Qbela", Cp("Hibás parancs"_cp)},
        SpoofCase{"WWithoutQ", 2, "Wanna bela 0 0 0 0 ", Cp("Ezt a bemutatást senki nem kérte"_cp)},
        SpoofCase{"WInAnothersName", 2, "Wanna cili 0 0 0 0 ", Cp("Ezt a bemutatást senki nem kérte"_cp)},
        SpoofCase{"WToWhoDidNotAsk", 3, "Wbela cili 0 0 0 0 ", Cp("Ezt a bemutatást senki nem kérte"_cp)},
        SpoofCase{"QTooSoon", 1, "Qanna bela", Cp("Várj egy kicsit a következő bemutatás kérésével"_cp)}));

TEST_F(RelayTest, InquiriesAreSpacedTwoSecondsApart) {
  Do(a, "Qanna cili");
  Advance(std::chrono::milliseconds(1999));
  EXPECT_THAT(Do(a, "Qanna bela"),
              ElementsAre(Cp("M >>>>> Várj egy kicsit a következő bemutatás kérésével"_cp)));
  Advance(std::chrono::milliseconds(1));
  EXPECT_THAT(Do(a, "Qanna bela"), IsEmpty());
  EXPECT_THAT(out.Take(b), ElementsAre("Qanna bela"));
}

TEST_F(RelayTest, AnswerToSomeoneWhoLeftGoesNowhere) {
  Do(a, "QANNA cili");  // the asker's own name in other case
  club().Disconnect(a);
  EXPECT_THAT(out.Take(c), ElementsAre("QANNA cili"));
  EXPECT_THAT(Do(c, "Wanna cili 0 0 0 0 "), IsEmpty());
}

TEST_F(RelayTest, TwentyCommandsASecondAreFine) {
  for (int s = 0; s < 8; ++s) {
    for (int i = 0; i < 20; ++i) Do(a, "G");
    Advance(std::chrono::seconds(1));
  }
  EXPECT_FALSE(out.closed.count(a));
}

TEST_F(RelayTest, AFloodGetsTheNoticeAndIsCutOff) {
  for (std::uint32_t i = 0; i < RateLimit::kBurst; ++i) Do(a, "G");
  EXPECT_FALSE(out.closed.count(a));  // a whole burst at once is tolerated
  EXPECT_THAT(Do(a, "G"), ElementsAre(Cp("M >>>>> Túl sok parancs, a kapcsolat megszakad"_cp)));
  EXPECT_TRUE(out.closed.count(a));
  EXPECT_THAT(Do(a, "G"), IsEmpty());
}

// The token bucket: 60 commands at once, then 20 a second.
struct RateStep {
  int commands;
  int thenWaitMs;
};
struct RateCase {
  const char* name;
  std::vector<RateStep> steps;
  bool cutOff;
};
void PrintTo(const RateCase& c, std::ostream* os) { *os << c.name; }

class RateTest : public ClubFixture, public ::testing::WithParamInterface<RateCase> {};

TEST_P(RateTest, CutsOffWhenTheBucketIsEmpty) {
  const MemberId a = Join("anna");
  Advance(std::chrono::seconds(3));  // the login's token comes back
  for (const RateStep& step : GetParam().steps) {
    for (int i = 0; i < step.commands; ++i) Do(a, "G");
    Advance(std::chrono::milliseconds(step.thenWaitMs));
  }
  EXPECT_EQ(out.closed.count(a) == 1, GetParam().cutOff);
}

INSTANTIATE_TEST_SUITE_P(
    Bucket, RateTest,
    ::testing::Values(RateCase{"BurstAtOnce", {{60, 0}}, false}, RateCase{"BurstAndOne", {{61, 0}}, true},
                      RateCase{"SteadyTwentyASecond", std::vector<RateStep>(10, {20, 1000}), false},
                      RateCase{"ThirtyASecondForFourSeconds", std::vector<RateStep>(4, {30, 1000}), false},
                      RateCase{"ThirtyASecondForFiveSeconds", std::vector<RateStep>(5, {30, 1000}), true},
                      RateCase{"HalfASecondGivesTen", {{60, 500}, {10, 0}}, false},
                      RateCase{"HalfASecondGivesNoMore", {{60, 500}, {11, 0}}, true},
                      RateCase{"APauseRefills", {{60, 3000}, {60, 0}}, false},
                      RateCase{"ALongPauseRefillsOnlyTheBurst", {{60, 3'600'000}, {61, 0}}, true}));

// The client answers on its own, so an answer to a real inquiry takes no token; one nobody asked
// for is a refusal and pays (FairLimitsTest).
TEST_F(RelayTest, AnswersDoNotCount) {
  for (std::uint32_t i = 1; i < RateLimit::kBurst; ++i) Do(c, "G");  // one token left
  Do(a, "Qanna cili");
  out.Take(c);
  EXPECT_THAT(Do(c, "Wanna cili 0 0 0 0 "), IsEmpty());
  EXPECT_THAT(Do(c, "G"), ElementsAre("G"));  // the last token
  EXPECT_FALSE(out.closed.count(c));
  Do(c, "G");
  EXPECT_TRUE(out.closed.count(c));
}

TEST_F(RelayTest, TooLongCommandGetsANoticeAndKeepsTheMember) {
  club().RefuseTooLong(a);
  EXPECT_THAT(out.Take(a), ElementsAre(Cp("M >>>>> Túl hosszú parancs, nem hajtható végre"_cp)));
  EXPECT_FALSE(out.closed.count(a));
  EXPECT_THAT(Do(a, "G"), ElementsAre("G"));
}

}  // namespace
}  // namespace zn::server::test
