// The tables of the bid catalogue, one per fixed group. The position of an entry selects its
// explanation and is the order in which the entry list shows it.
#include <array>

#include "game/BidCatalogData.h"

namespace zn {
namespace {

constexpr auto kAny = TPrefixKind::AnyWord;
constexpr auto kSuit = TPrefixKind::SuitWord;

constexpr std::array<std::string_view, kBidGroupCount> kCaptions = {
    "Jelzések"_cp, "Biztatók"_cp, "Ütések"_cp,        "Magasítók"_cp, "Elfogók"_cp,
    "Extrák"_cp,   "Trófeák"_cp,  "Volát trófeák"_cp, "* Kontra"_cp,  "** Rekontra"_cp,
};

constexpr std::array<std::string_view, kPrefixCount> kPrefixWords = {
    "Pagát"_cp, "Sas"_cp, "Kakadu"_cp, "Kanári"_cp, "Treff"_cp, "Káró"_cp, "Kőr"_cp, "Pikk"_cp,
};

constexpr TBidEntry kBiztatok[] = {
    {"Vizi"_cp, "A XVIII elvitele"_cp},
    {"L'amour"_cp, "A XIX elvitele"_cp},
    {"Angelo"_cp, "A XX elvitele"_cp},
    {"Honőr"_cp, "Az egyik honőr (XXI vagy Skíz) elvitele"_cp},
    {"Köpf"_cp, "Mind a két honőr (XXI és Skíz) elvitele"_cp},
    {"Trull"_cp, "Mind a két honőr és a pagát elvitele"_cp},
};

constexpr TBidEntry kUtesek[] = {
    {"Gém"_cp, "Bármelyik 5 ütés elvitele"_cp},
    {"Kassza"_cp, "Bármelyik 6 ütés elvitele"_cp},
    {"Bridzs"_cp, "Bármelyik 7 ütés elvitele"_cp},
    {"Oktáv"_cp, "Bármelyik 8 ütés elvitele"_cp},
    {"Mizer"_cp, "Bármelyik 9 ütés elvitele"_cp},
    {"Volát"_cp, "Minden ütés elvitele"_cp},
    {"Pikoló"_cp, "Az első 3 ütés elvitele, a 3. a XVIII-assal"_cp},
    {"City"_cp, "Az első 4 ütés elvitele, a 4. a XIX-essel"_cp},
    {"Centrum"_cp, "Az első 5 ütés elvitele, az 5. a XX-assal"_cp},
    {"Kismadár"_cp, "Az első 6 ütés elvitele, a 6. a XXI-essel"_cp},
    {"Nagymadár"_cp, "Az első 7 ütés elvitele, a 7. a Skízzel"_cp},
};

constexpr TBidEntry kMagasitok[] = {
    {"\u00A0ulti"_cp, "A 10. (utolsó) ütés elvitele a megnevezett magasítóval"_cp, kAny},
    {"\u00A0uhu"_cp, "A 9. ütés elvitele a megnevezett magasítóval"_cp, kAny},
    {"\u00A0sárkány"_cp, "A 8. ütés elvitele a megnevezett magasítóval"_cp, kAny},
    {"\u00A0griff"_cp, "A 7. ütés elvitele a megnevezett magasítóval"_cp, kAny},
    {"\u00A0turul"_cp, "A 6. ütés elvitele a megnevezett magasítóval"_cp, kAny},
    {"\u00A0fácán"_cp, "Az első ütés elvitele a megnevezett magasítóval"_cp, kAny},
    {"\u00A0sólyom"_cp, "A második ütés elvitele a megnevezett magasítóval"_cp, kAny},
};

constexpr TBidEntry kElfogok[] = {
    {"\u00A0banda"_cp, "Egy megnevezett szín elvitele"_cp, kSuit},
    {"Piros-fekete"_cp, "Egy piros és egy fekete szín elvitele"_cp},
    {"Flotta"_cp, "Az összes piros (kőr és káró) lap elvitele"_cp},
    {"Armada"_cp, "Az összes fekete (pikk és treff) lap elvitele"_cp},
    {"Légió"_cp, "Az összes színes lap elvitele"_cp},
    {"Pagátfogás"_cp, "Az ellenfél pagátjának elvitele"_cp},
};

constexpr TBidEntry kExtrak[] = {
    {"Amazon"_cp, "Ütés egy kis színes lappal (nem király)"_cp},
    {"Spadille"_cp, "Ütés egy kis piros lappal (nem király)"_cp},
    {"Manille"_cp, "Ütés egy kis fekete lappal (nem király)"_cp},
    {"Dzsinn"_cp, "Tízes ulti (treff vagy pikk)"_cp},
    {"\u00A0mariage"_cp, "Az utolsó két ütés a megnevezett színű királlyal és dámával"_cp, kSuit},
    {"Surranó"_cp, "Az utolsó két ütés elvitele matadorokkal"_cp},
    {"Főnix"_cp, "Az utolsó két ütés elvitele királyokkal"_cp},
};

constexpr TBidEntry kTrofeak[] = {
    {"XXI-fogás"_cp, "Az ellenfél XXI-esének elvitele"_cp},
    {"Héja"_cp, "Első 3 ütés elvitele magasítókkal"_cp},
    {"Couleur"_cp, "Az utolsó 3 ütés elvitele színes lapokkal"_cp},
    {"Golgota"_cp, "XXI-fogás + pagátfogás"_cp},
    {"Kentaur"_cp, "XXI-fogás + ütés egy kis színes lappal"_cp},
    {"Trojka"_cp, "Utolsó 3 ütés matadorokkal"_cp},
    {"Famille"_cp, "Utolsó 3 ütés azonos színű lapokkal"_cp},
    {"Betlehem"_cp, "Utolsó 3 ütés királyokkal"_cp},
    {"Szfinx"_cp, "Spadille + Manille"_cp},
};

constexpr TBidEntry kVolatTrofeak[] = {
    {"Skála"_cp, "Volát + Pikoló + City + Centrum + Kismadár + Nagymadár"_cp},
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
    {"Zenit"_cp, "Volát + Golgota + Trojka, de nem ugyanaz üti az utolsó hármat"_cp},
};

constexpr std::array<std::span<const TBidEntry>, kBidGroupCount> kGroups = {
    std::span<const TBidEntry>{},
    kBiztatok,
    kUtesek,
    kMagasitok,
    kElfogok,
    kExtrak,
    kTrofeak,
    kVolatTrofeak,
    std::span<const TBidEntry>{},
    std::span<const TBidEntry>{},
};

}  // namespace

std::string_view BidGroupCaption(int group) {
  return group >= 0 && group < kBidGroupCount ? kCaptions[static_cast<std::size_t>(group)]
                                              : std::string_view{};
}

std::span<const TBidEntry> FixedBidEntries(int group) {
  return group >= 0 && group < kBidGroupCount ? kGroups[static_cast<std::size_t>(group)]
                                              : std::span<const TBidEntry>{};
}

std::string_view PrefixWord(int index) {
  return index >= 0 && index < kPrefixCount ? kPrefixWords[static_cast<std::size_t>(index)]
                                            : std::string_view{};
}

}  // namespace zn
