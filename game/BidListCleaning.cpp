// The cleaning rules: implied bids and hand signals leave the list before scoring. The rules run in
// their fixed order, each on the list the rules before it left, so a bid removed by one rule no
// longer triggers a later one.
#include <algorithm>
#include <array>

#include "game/BidList.h"
#include "game/Cp1250.h"

namespace zn {
namespace {

// Bid names in one text, separated by "|" (no bid name holds one).
template <class F>
void ForEachName(std::string_view names, F f) {
  while (!names.empty()) {
    const std::size_t bar = names.find('|');
    f(names.substr(0, bar));
    if (bar == std::string_view::npos) break;
    names.remove_prefix(bar + 1);
  }
}

struct TCleaningRule {
  std::string_view AnyOf;   // the rule fires when one of these is present
  std::string_view Remove;  // then each of these loses its first entry
};

// Before the game ladder: the Honőr-Köpf-Trull chain.
constexpr TCleaningRule kChainRules[] = {
    {"Trull", "Köpf"_cp},
    {"Trull", "Honőr"_cp},
    {"Köpf"_cp, "Honőr"_cp},
};

// The game ladder, highest first.
constexpr std::string_view kLadder = "Volát|Mizer|Oktáv|Bridzs|Kassza|Gém"_cp;
constexpr std::string_view kLowestGame = "Gém"_cp;

// After the game ladder, in order.
constexpr TCleaningRule kTrophyRules[] = {
    {"Skála|Piramis|Quart|Spektrum|Stella|Full|Court|Grand|Hárpia|Glória|Triumf|Zenit"_cp, kLadder},
    {"Flotta", "Piros-fekete|Káró\u00A0banda|Kőr\u00A0banda"_cp},
    {"Armada", "Piros-fekete|Treff\u00A0banda|Pikk\u00A0banda"_cp},
    {"Légió"_cp,
     "Flotta|Armada|Piros-fekete|Treff\u00A0banda|Káró\u00A0banda|Kőr\u00A0banda|Pikk\u00A0banda"_cp},
    {"Héja"_cp,
     "Treff\u00A0fácán|Káró\u00A0fácán|Kőr\u00A0fácán|Pikk\u00A0fácán|"
     "Treff\u00A0sólyom|Káró\u00A0sólyom|Kőr\u00A0sólyom|Pikk\u00A0sólyom|"
     "Pagát\u00A0fácán|Sas\u00A0fácán|Kakadu\u00A0fácán|Kanári\u00A0fácán|"
     "Pagát\u00A0sólyom|Sas\u00A0sólyom|Kakadu\u00A0sólyom|Kanári\u00A0sólyom"_cp},
    {"Famille", "Couleur"},
    {"Betlehem", "Couleur"},
    {"Szfinx", "Spadille|Manille"},
    {"Skála|Spektrum|Full|Court|Grand"_cp, "Pikoló|City|Centrum|Kismadár|Nagymadár"_cp},
    {"Spektrum", "Skála|Couleur"_cp},
    {"Stella", "Héja|City|Centrum|Kismadár|Nagymadár"_cp},
    {"Full", "Skála|Trojka"_cp},
    {"Court", "Skála|Famille|Couleur"_cp},
    {"Grand", "Skála|Betlehem|Couleur"_cp},
    {"Hárpia"_cp, "Golgota|Kentaur"},
    {"Glória"_cp, "XXI-fogás|Couleur|Kentaur"_cp},
    {"Triumf", "XXI-fogás|Trojka"_cp},
    {"Zenit", "Golgota|Trojka"},
};

bool IsCountSignal(const std::string& bid) {
  return !bid.empty() && bid.front() >= '1' && bid.front() <= '9';
}

}  // namespace

bool TBidList::Cleaning() {
  const auto apply = [this](const TCleaningRule& rule) {
    bool fires = false;
    ForEachName(rule.AnyOf, [&](std::string_view name) { fires = fires || Van(name); });
    if (fires) ForEachName(rule.Remove, [this](std::string_view name) { DeleteBid(name); });
  };

  // The count signals, all of them. (Removing each by its own text from the last entry back, as
  // the rule is stated, ends the same: every such entry goes, the others keep their order.) An
  // empty entry has no first character and stays.
  std::erase_if(Items, IsCountSignal);
  DeleteBid("Matador");
  DeleteBid("Matador");
  for (const TCleaningRule& rule : kChainRules) apply(rule);

  // The game ladder: the highest game bid present removes the lower ones.
  bool noGame = true;
  bool higherFound = false;
  ForEachName(kLadder, [&](std::string_view name) {
    if (higherFound)
      DeleteBid(name);
    else if (name != kLowestGame && Van(name))
      higherFound = true;
  });
  if (higherFound)
    noGame = false;
  else
    noGame = !Van(kLowestGame);

  for (const TCleaningRule& rule : kTrophyRules) apply(rule);
  return noGame;
}

}  // namespace zn
