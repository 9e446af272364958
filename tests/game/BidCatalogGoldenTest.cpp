// The whole fixed catalogue written out once more, so that no change alters a caption, an entry
// text or an explanation without a test noticing.
#include <gtest/gtest.h>

#include <string_view>
#include <vector>

#include "game/BidCatalog.h"

namespace zn {
namespace {

struct GoldenEntry {
  std::string_view text;
  std::string_view explanation;
};

struct GoldenGroup {
  std::string_view caption;
  std::vector<GoldenEntry> entries;
};

// Built on each call: clang 14 crashes on a function-local static initialised with "_cp" texts.
std::vector<GoldenGroup> Golden() {
  return {
      {"Jelzések"_cp, {}},
      {"Biztatók"_cp,
       {{"Vizi"_cp, "A XVIII elvitele"_cp},
        {"L'amour"_cp, "A XIX elvitele"_cp},
        {"Angelo"_cp, "A XX elvitele"_cp},
        {"Honőr"_cp, "Az egyik honőr (XXI vagy Skíz) elvitele"_cp},
        {"Köpf"_cp, "Mind a két honőr (XXI és Skíz) elvitele"_cp},
        {"Trull"_cp, "Mind a két honőr és a pagát elvitele"_cp}}},
      {"Ütések"_cp,
       {{"Gém"_cp, "Bármelyik 5 ütés elvitele"_cp},
        {"Kassza"_cp, "Bármelyik 6 ütés elvitele"_cp},
        {"Bridzs"_cp, "Bármelyik 7 ütés elvitele"_cp},
        {"Oktáv"_cp, "Bármelyik 8 ütés elvitele"_cp},
        {"Mizer"_cp, "Bármelyik 9 ütés elvitele"_cp},
        {"Volát"_cp, "Minden ütés elvitele"_cp},
        {"Pikoló"_cp, "Az első 3 ütés elvitele, a 3. a XVIII-assal"_cp},
        {"City"_cp, "Az első 4 ütés elvitele, a 4. a XIX-essel"_cp},
        {"Centrum"_cp, "Az első 5 ütés elvitele, az 5. a XX-assal"_cp},
        {"Kismadár"_cp, "Az első 6 ütés elvitele, a 6. a XXI-essel"_cp},
        {"Nagymadár"_cp, "Az első 7 ütés elvitele, a 7. a Skízzel"_cp}}},
      {"Magasítók"_cp,
       {{"\u00A0ulti"_cp, "A 10. (utolsó) ütés elvitele a megnevezett magasítóval"_cp},
        {"\u00A0uhu"_cp, "A 9. ütés elvitele a megnevezett magasítóval"_cp},
        {"\u00A0sárkány"_cp, "A 8. ütés elvitele a megnevezett magasítóval"_cp},
        {"\u00A0griff"_cp, "A 7. ütés elvitele a megnevezett magasítóval"_cp},
        {"\u00A0turul"_cp, "A 6. ütés elvitele a megnevezett magasítóval"_cp},
        {"\u00A0fácán"_cp, "Az első ütés elvitele a megnevezett magasítóval"_cp},
        {"\u00A0sólyom"_cp, "A második ütés elvitele a megnevezett magasítóval"_cp}}},
      {"Elfogók"_cp,
       {{"\u00A0banda"_cp, "Egy megnevezett szín elvitele"_cp},
        {"Piros-fekete"_cp, "Egy piros és egy fekete szín elvitele"_cp},
        {"Flotta"_cp, "Az összes piros (kőr és káró) lap elvitele"_cp},
        {"Armada"_cp, "Az összes fekete (pikk és treff) lap elvitele"_cp},
        {"Légió"_cp, "Az összes színes lap elvitele"_cp},
        {"Pagátfogás"_cp, "Az ellenfél pagátjának elvitele"_cp}}},
      {"Extrák"_cp,
       {{"Amazon"_cp, "Ütés egy kis színes lappal (nem király)"_cp},
        {"Spadille"_cp, "Ütés egy kis piros lappal (nem király)"_cp},
        {"Manille"_cp, "Ütés egy kis fekete lappal (nem király)"_cp},
        {"Dzsinn"_cp, "Tízes ulti (treff vagy pikk)"_cp},
        {"\u00A0mariage"_cp, "Az utolsó két ütés a megnevezett színű királlyal és dámával"_cp},
        {"Surranó"_cp, "Az utolsó két ütés elvitele matadorokkal"_cp},
        {"Főnix"_cp, "Az utolsó két ütés elvitele királyokkal"_cp}}},
      {"Trófeák"_cp,
       {{"XXI-fogás"_cp, "Az ellenfél XXI-esének elvitele"_cp},
        {"Héja"_cp, "Első 3 ütés elvitele magasítókkal"_cp},
        {"Couleur"_cp, "Az utolsó 3 ütés elvitele színes lapokkal"_cp},
        {"Golgota"_cp, "XXI-fogás + pagátfogás"_cp},
        {"Kentaur"_cp, "XXI-fogás + ütés egy kis színes lappal"_cp},
        {"Trojka"_cp, "Utolsó 3 ütés matadorokkal"_cp},
        {"Famille"_cp, "Utolsó 3 ütés azonos színű lapokkal"_cp},
        {"Betlehem"_cp, "Utolsó 3 ütés királyokkal"_cp},
        {"Szfinx"_cp, "Spadille + Manille"_cp}}},
      {"Volát trófeák"_cp,
       {{"Skála"_cp, "Volát + Pikoló + City + Centrum + Kismadár + Nagymadár"_cp},
        {"Piramis"_cp, "Volát + egymást követő 4 ütés a matadorokkal"_cp},
        {"Quart"_cp, "Volát + egymást követő 4 ütés színes lapokkal"_cp},
        {"Spektrum"_cp, "Skála + Couleur"_cp},
        {"Stella"_cp, "Volát + Héja + City + Centrum + Kismadár + Nagymadár"_cp},
        {"Full"_cp, "Skála + Trojka"_cp},
        {"Court"_cp, "Skála + Famille"_cp},
        {"Grand"_cp, "Skála + Betlehem"_cp},
        {"Hárpia"_cp, "Volát + Golgota + Kentaur"_cp},
        {"Glória"_cp, "Volát + XXI-fogás + Couleur"_cp},
        {"Triumf"_cp, "Volát + XXI-fogás + Trojka"_cp},
        {"Zenit"_cp, "Volát + Golgota + Trojka, de nem ugyanaz üti az utolsó hármat"_cp}}},
      {"* Kontra"_cp, {}},
      {"** Rekontra"_cp, {}},
  };
}

TEST(BidCatalogGolden, CaptionsEntriesAndExplanationsAreUnchanged) {
  const TBidCatalog catalog;
  const auto& golden = Golden();
  ASSERT_EQ(golden.size(), static_cast<std::size_t>(kBidGroupCount));
  std::size_t total = 0;
  for (int group = 0; group < kBidGroupCount; ++group) {
    const GoldenGroup& want = golden[static_cast<std::size_t>(group)];
    SCOPED_TRACE(group);
    EXPECT_EQ(TBidCatalog::GroupCaption(group), want.caption);
    const auto& entries = catalog.GroupEntries(group);
    ASSERT_EQ(entries.size(), want.entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
      EXPECT_EQ(entries[i], want.entries[i].text) << "entry " << i;
      EXPECT_EQ(TBidCatalog::ExplainBid(group, static_cast<int>(i), entries[i]), want.entries[i].explanation)
          << "entry " << i;
    }
    total += entries.size();
  }
  EXPECT_EQ(total, 58u);
}

TEST(BidCatalogGolden, SuffixNamesStartWithTheNoBreakSpaceByte) {
  const TBidCatalog catalog;
  for (int group = 1; group < 8; ++group)
    for (const std::string& entry : catalog.GroupEntries(group)) {
      const bool suffix = entry.front() == '\xA0';
      EXPECT_EQ(suffix,
                group == 3 || SameText(entry, "\u00A0banda"_cp) || SameText(entry, "\u00A0mariage"_cp))
          << entry;
    }
  EXPECT_EQ("\u00A0ulti"_cp, std::string_view("\xA0ulti", 5));
}

TEST(BidCatalogGolden, PrefixWordsInOrder) {
  const std::string_view words[] = {"Pagát"_cp, "Sas"_cp,  "Kakadu"_cp, "Kanári"_cp,
                                    "Treff"_cp, "Káró"_cp, "Kőr"_cp,    "Pikk"_cp};
  for (int i = 0; i < kPrefixCount; ++i) EXPECT_EQ(PrefixWord(i), words[i]) << i;
  EXPECT_EQ(PrefixWord(-1), "");
  EXPECT_EQ(PrefixWord(8), "");
}

}  // namespace
}  // namespace zn
