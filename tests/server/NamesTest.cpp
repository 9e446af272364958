// Honest names: what a nickname or room name may hold, and which names count as the same.
#include "server/base/Names.h"

#include "tests/server/ClubHarness.h"

namespace zn::server::test {
namespace {

using ::testing::ElementsAre;

struct NameCase {
  const char* label;
  std::string name;
  bool valid;
};
void PrintTo(const NameCase& c, std::ostream* os) { *os << c.label; }

class NameRule : public ::testing::TestWithParam<NameCase> {};

TEST_P(NameRule, NicknamesAndRoomNamesFollowIt) {
  EXPECT_EQ(ValidNickname(GetParam().name), GetParam().valid);
  EXPECT_EQ(ValidRoomName(GetParam().name), GetParam().valid);
}

INSTANTIATE_TEST_SUITE_P(
    Bytes, NameRule,
    ::testing::Values(NameCase{"Plain", "Anna", true}, NameCase{"Accented", Cp("Őrült_Ödön"_cp), true},
                      NameCase{"AllHungarianVowels", Cp("áéíóöőúüűÁÉÍÓÖŐÚÜŰ"_cp), true},
                      NameCase{"OtherCp1250Letters", Cp("ŁukaszŠťž"_cp), true},
                      NameCase{"DigitsAndMarks", "Bela-2.0_!'+", true},
                      NameCase{"NoBreakSpace", "Anna\xA0", false}, NameCase{"SoftHyphen", "An\xADna", false},
                      NameCase{"UndefinedByte81", "Ann\x81", false},
                      NameCase{"UndefinedByte98", "Ann\x98", false},
                      NameCase{"UndefinedByte90",
                               "\x90"
                               "Anna",
                               false},
                      NameCase{"Delete", "Anna\x7F", false}, NameCase{"Tab", "An\tna", false},
                      NameCase{"Euro", Cp("Anna€"_cp), false}, NameCase{"Times", Cp("Anna×"_cp), false},
                      NameCase{"Section", Cp("Anna§"_cp), false},
                      NameCase{"DoubleAcuteMark", "Anna\xBD", false}, NameCase{"Hash", "An#na", false},
                      NameCase{"Question", "Anna?", false}, NameCase{"Colon", "An:na", false}));

TEST(NameKeyTest, LookAlikesOfOneNameShareItsKey) {
  const std::string anna = NameKey("Anna");
  for (const std::string look : {"ANNA", "Anna\xA0", "An\xADna",
                                 "\xA0"
                                 "An na",
                                 "Ann\x81"
                                 "a",
                                 "An\x01na"})
    EXPECT_EQ(NameKey(look), anna) << look;
  EXPECT_NE(NameKey(Cp("Ánna"_cp)), anna);  // an accent is visible
  EXPECT_EQ(NameKey(Cp("ÖDÖN"_cp)), NameKey(Cp("ödön"_cp)));
}

class HonestNameTest : public ClubFixture {};

// A look-alike is refused while the real member is online, whichever rule catches it.
TEST_F(HonestNameTest, LookAlikesOfAnOnlineMemberAreRefused) {
  Join("Anna");
  MemberId id = 100;
  for (const std::string look : {"Anna\xA0", "An\xADna", "ANNA", "Anna\x98"}) {
    club().Connect(++id);
    out.Take(id);
    club().Receive(id, "N" + look);
    Advance(Club::kProbeWait);  // the first probe finds Anna alive; later logins are refused at once
    EXPECT_THAT(Do(id, "G"), ElementsAre(Cp("M >>>>> Ez a becenév nem használható: "_cp) + look));
    EXPECT_TRUE(out.closed.count(id)) << look;
  }
  EXPECT_EQ(club().Online(), 1u);
}

// Rooms stored before the rule may hold invisible bytes; a new room may not pass for them.
TEST_F(HonestNameTest, RoomNamesCompareByTheirKeys) {
  SqliteStore legacy(":memory:");
  legacy.CreateRoom("Kert\xA0");
  MakeClub({}, &legacy);
  const MemberId a = Join("anna");
  EXPECT_THAT(Do(a, "RKERT"), ElementsAre(Cp("M >>>>> Ilyen nevű terem már van"_cp)));
  EXPECT_THAT(Do(a, "R" + Cp("Társalgó"_cp)), ElementsAre(Cp("M >>>>> Ilyen nevű terem már van"_cp)));
  EXPECT_THAT(Do(a, "Rkert\xAD"), ElementsAre(Cp("M >>>>> Ez a teremnév nem használható: "_cp) + "kert\xAD"));
  EXPECT_EQ(club().RoomCount(), 2u);
}

}  // namespace
}  // namespace zn::server::test
