// The tests of the bids. "Takes trick k with C": trick k is won by card C (so by the member of the
// pair who played it). "Takes card C": C lies in a trick the pair won.
#include "deal/BidRules.h"

#include <array>

#include "deal/BidNames.h"
#include "game/BidCatalogData.h"

namespace zn::deal {
namespace {

constexpr TCard kPagat = 21;
constexpr TCard kLastMatador = 24;
constexpr TCard kXVIII = 38;
constexpr TCard kXXI = 41;
constexpr TCard kTreffT = 1;
constexpr TCard kPikkT = 16;

bool IsSuitCard(TCard c) { return c >= 1 && c <= 20; }
bool IsKing(TCard c) { return IsSuitCard(c) && c % 5 == 0; }
bool IsSmall(TCard c) { return IsSuitCard(c) && c % 5 != 0; }
bool IsRed(TCard c) { return SuitOf(c) == 1 || SuitOf(c) == 2; }
bool IsMatador(TCard c) { return c >= kPagat && c <= kLastMatador; }
TCard King(int suit) { return static_cast<TCard>(suit * 5 + 5); }
TCard Dama(int suit) { return static_cast<TCard>(suit * 5 + 4); }

bool WonBy(const PlayFacts& f, int k, int pair) { return f.Won(k, pair); }
int TricksOf(const PlayFacts& f, int pair) { return f.Tricks(pair); }
CardMask TakenBy(const PlayFacts& f, int pair) { return f.Taken(pair); }

template <class Pred>
bool TakesTrickWith(const PlayFacts& f, int pair, int k, Pred pred) {
  return WonBy(f, k, pair) && pred(f.WonWith(k));
}

template <class Pred>
bool TakesTricksWith(const PlayFacts& f, int pair, int from, int to, Pred pred) {
  for (int k = from; k <= to; ++k)
    if (!TakesTrickWith(f, pair, k, pred)) return false;
  return true;
}

template <class Pred>
bool TakesSomeTrickWith(const PlayFacts& f, int pair, Pred pred) {
  for (int k = 1; k <= f.Count(); ++k)
    if (TakesTrickWith(f, pair, k, pred)) return true;
  return false;
}

bool TakesCard(const PlayFacts& f, int pair, TCard card) { return (TakenBy(f, pair) & Bit(card)) != 0; }

// Every dealt card of the suit lies in a trick the pair won.
bool TakesSuit(const PlayFacts& f, int pair, int suit) {
  return (f.Dealt() & SuitMask(suit) & ~TakenBy(f, pair)) == 0;
}

// The card was played by the other pair and lies in a trick the pair won.
bool Catches(const PlayFacts& f, int pair, TCard card) {
  return (TakenBy(f, pair) & ~f.Played(pair) & Bit(card)) != 0;
}

bool TakesFirst(const PlayFacts& f, int pair, int n, TCard last) {
  return TakesTricksWith(f, pair, 1, n - 1, [](TCard) { return true; }) &&
         TakesTrickWith(f, pair, n, [last](TCard c) { return c == last; });
}

// The card a prefix word names: Pagát, Sas, Kakadu, Kanári are tarokk I..IIII; a suit word
// stands for any card of that suit.
bool PrefixCard(int prefix, TCard c) {
  if (prefix >= 0 && prefix < kFirstSuitPrefix) return c == kPagat + prefix;
  return prefix >= kFirstSuitPrefix && prefix < kPrefixCount && IsSuitCard(c) &&
         SuitOf(c) == prefix - kFirstSuitPrefix;
}

template <int k>
bool Magasito(const PlayFacts& f, int pair, int prefix) {
  return TakesTrickWith(f, pair, k, [prefix](TCard c) { return PrefixCard(prefix, c); });
}

template <TCard card>
bool TakesCardRule(const PlayFacts& f, int pair, int) {
  return TakesCard(f, pair, card);
}

template <int n>
bool AtLeast(const PlayFacts& f, int pair, int) {
  return TricksOf(f, pair) >= n;
}

template <int n, TCard last>
bool First(const PlayFacts& f, int pair, int) {
  return TakesFirst(f, pair, n, last);
}

bool Honor(const PlayFacts& f, int pair, int) { return (TakenBy(f, pair) & (Bit(kXXI) | Bit(kSkiz))) != 0; }
bool Kopf(const PlayFacts& f, int pair, int) {
  const CardMask both = Bit(kXXI) | Bit(kSkiz);
  return (TakenBy(f, pair) & both) == both;
}
bool Trull(const PlayFacts& f, int pair, int p) { return Kopf(f, pair, p) && TakesCard(f, pair, kPagat); }
bool Volat(const PlayFacts& f, int pair, int) { return TricksOf(f, pair) == kTricks; }

bool Banda(const PlayFacts& f, int pair, int prefix) {
  return prefix >= kFirstSuitPrefix && prefix < kPrefixCount && TakesSuit(f, pair, prefix - kFirstSuitPrefix);
}
bool RedBlack(const PlayFacts& f, int pair, int) {
  return (TakesSuit(f, pair, 1) || TakesSuit(f, pair, 2)) && (TakesSuit(f, pair, 0) || TakesSuit(f, pair, 3));
}
bool Flotta(const PlayFacts& f, int pair, int) { return TakesSuit(f, pair, 1) && TakesSuit(f, pair, 2); }
bool Armada(const PlayFacts& f, int pair, int) { return TakesSuit(f, pair, 0) && TakesSuit(f, pair, 3); }
bool Legio(const PlayFacts& f, int pair, int p) { return Flotta(f, pair, p) && Armada(f, pair, p); }
bool PagatCatch(const PlayFacts& f, int pair, int) { return Catches(f, pair, kPagat); }
bool XxiCatch(const PlayFacts& f, int pair, int) { return Catches(f, pair, kXXI); }

bool Amazon(const PlayFacts& f, int pair, int) { return TakesSomeTrickWith(f, pair, IsSmall); }
bool Spadille(const PlayFacts& f, int pair, int) {
  return TakesSomeTrickWith(f, pair, [](TCard c) { return IsSmall(c) && IsRed(c); });
}
bool Manille(const PlayFacts& f, int pair, int) {
  return TakesSomeTrickWith(f, pair, [](TCard c) { return IsSmall(c) && !IsRed(c); });
}
bool Dzsinn(const PlayFacts& f, int pair, int) {
  return TakesTrickWith(f, pair, kTricks, [](TCard c) { return c == kTreffT || c == kPikkT; });
}
bool Mariage(const PlayFacts& f, int pair, int prefix) {
  if (prefix < kFirstSuitPrefix || prefix >= kPrefixCount) return false;
  const int suit = prefix - kFirstSuitPrefix;
  const auto pairOfCards = [suit](TCard c) { return c == King(suit) || c == Dama(suit); };
  return TakesTricksWith(f, pair, 9, 10, pairOfCards) && f.WonWith(9) != f.WonWith(10);
}
bool Surrano(const PlayFacts& f, int pair, int) { return TakesTricksWith(f, pair, 9, 10, IsMatador); }
bool Fonix(const PlayFacts& f, int pair, int) { return TakesTricksWith(f, pair, 9, 10, IsKing); }

bool Heja(const PlayFacts& f, int pair, int) { return TakesTricksWith(f, pair, 1, 3, IsMatador); }
bool Couleur(const PlayFacts& f, int pair, int) { return TakesTricksWith(f, pair, 8, 10, IsSuitCard); }
bool Trojka(const PlayFacts& f, int pair, int) { return TakesTricksWith(f, pair, 8, 10, IsMatador); }
bool Betlehem(const PlayFacts& f, int pair, int) { return TakesTricksWith(f, pair, 8, 10, IsKing); }
bool Famille(const PlayFacts& f, int pair, int p) {
  if (!Couleur(f, pair, p)) return false;
  const int suit = SuitOf(f.WonWith(8));
  return SuitOf(f.WonWith(9)) == suit && SuitOf(f.WonWith(10)) == suit;
}
bool Golgota(const PlayFacts& f, int pair, int p) { return XxiCatch(f, pair, p) && PagatCatch(f, pair, p); }
bool Kentaur(const PlayFacts& f, int pair, int p) { return XxiCatch(f, pair, p) && Amazon(f, pair, p); }
bool Szfinx(const PlayFacts& f, int pair, int p) { return Spadille(f, pair, p) && Manille(f, pair, p); }

template <class Pred>
bool FourInARow(const PlayFacts& f, int pair, Pred pred) {
  for (int k = 1; k + 3 <= kTricks; ++k)
    if (TakesTricksWith(f, pair, k, k + 3, pred)) return true;
  return false;
}

bool Birds(const PlayFacts& f, int pair) {
  return TakesFirst(f, pair, 4, kXVIII + 1) && TakesFirst(f, pair, 5, kXVIII + 2) &&
         TakesFirst(f, pair, 6, kXXI) && TakesFirst(f, pair, 7, kSkiz);
}
bool Skala(const PlayFacts& f, int pair, int p) {
  return Volat(f, pair, p) && TakesFirst(f, pair, 3, kXVIII) && Birds(f, pair);
}
bool Piramis(const PlayFacts& f, int pair, int p) {
  return Volat(f, pair, p) && FourInARow(f, pair, IsMatador);
}
bool Quart(const PlayFacts& f, int pair, int p) {
  return Volat(f, pair, p) && FourInARow(f, pair, IsSuitCard);
}
bool Spektrum(const PlayFacts& f, int pair, int p) { return Skala(f, pair, p) && Couleur(f, pair, p); }
bool Stella(const PlayFacts& f, int pair, int p) {
  return Volat(f, pair, p) && Heja(f, pair, p) && Birds(f, pair);
}
bool Full(const PlayFacts& f, int pair, int p) { return Skala(f, pair, p) && Trojka(f, pair, p); }
bool Court(const PlayFacts& f, int pair, int p) { return Skala(f, pair, p) && Famille(f, pair, p); }
bool Grand(const PlayFacts& f, int pair, int p) { return Skala(f, pair, p) && Betlehem(f, pair, p); }
bool Harpia(const PlayFacts& f, int pair, int p) {
  return Volat(f, pair, p) && Golgota(f, pair, p) && Kentaur(f, pair, p);
}
bool Gloria(const PlayFacts& f, int pair, int p) {
  return Volat(f, pair, p) && XxiCatch(f, pair, p) && Couleur(f, pair, p);
}
bool Triumf(const PlayFacts& f, int pair, int p) {
  return Volat(f, pair, p) && XxiCatch(f, pair, p) && Trojka(f, pair, p);
}
bool Zenit(const PlayFacts& f, int pair, int p) {
  if (!Volat(f, pair, p) || !Golgota(f, pair, p) || !Trojka(f, pair, p)) return false;
  return f.Winner(9) != f.Winner(8) || f.Winner(10) != f.Winner(8);
}

constexpr BidRule kRules[] = {
    // Biztatók
    {1, 0, 2, TakesCardRule<kXVIII>},
    {1, 1, 3, TakesCardRule<kXVIII + 1>},
    {1, 2, 4, TakesCardRule<kXVIII + 2>},
    {1, 3, 5, Honor},
    {1, 4, 10, Kopf},
    {1, 5, 15, Trull},
    // Ütések
    {2, 0, 5, AtLeast<5>},
    {2, 1, 10, AtLeast<6>},
    {2, 2, 20, AtLeast<7>},
    {2, 3, 40, AtLeast<8>},
    {2, 4, 80, AtLeast<9>},
    {2, 5, 150, Volat},
    {2, 6, 20, First<3, kXVIII>},
    {2, 7, 30, First<4, kXVIII + 1>},
    {2, 8, 40, First<5, kXVIII + 2>},
    {2, 9, 60, First<6, kXXI>},
    {2, 10, 80, First<7, kSkiz>},
    // Magasítók: ulti, uhu, sárkány, griff, turul, fácán, sólyom
    {3, 0, 10, Magasito<10>},
    {3, 1, 15, Magasito<9>},
    {3, 2, 20, Magasito<8>},
    {3, 3, 25, Magasito<7>},
    {3, 4, 30, Magasito<6>},
    {3, 5, 10, Magasito<1>},
    {3, 6, 15, Magasito<2>},
    // Elfogók
    {4, 0, 10, Banda},
    {4, 1, 25, RedBlack},
    {4, 2, 30, Flotta},
    {4, 3, 30, Armada},
    {4, 4, 60, Legio},
    {4, 5, 20, PagatCatch},
    // Extrák
    {5, 0, 10, Amazon},
    {5, 1, 10, Spadille},
    {5, 2, 10, Manille},
    {5, 3, 15, Dzsinn},
    {5, 4, 20, Mariage},
    {5, 5, 25, Surrano},
    {5, 6, 25, Fonix},
    // Trófeák
    {6, 0, 40, XxiCatch},
    {6, 1, 40, Heja},
    {6, 2, 30, Couleur},
    {6, 3, 60, Golgota},
    {6, 4, 50, Kentaur},
    {6, 5, 50, Trojka},
    {6, 6, 40, Famille},
    {6, 7, 50, Betlehem},
    {6, 8, 25, Szfinx},
    // Volát trófeák
    {7, 0, 300, Skala},
    {7, 1, 250, Piramis},
    {7, 2, 250, Quart},
    {7, 3, 350, Spektrum},
    {7, 4, 350, Stella},
    {7, 5, 400, Full},
    {7, 6, 400, Court},
    {7, 7, 400, Grand},
    {7, 8, 300, Harpia},
    {7, 9, 300, Gloria},
    {7, 10, 300, Triumf},
    {7, 11, 500, Zenit},
};

}  // namespace

std::span<const BidRule> BidRules() { return kRules; }

BidRuleMatch FindBidRule(std::string_view bid) {
  for (const BidRule& rule : kRules) {
    const TBidEntry& entry = FixedBidEntries(rule.group)[static_cast<std::size_t>(rule.entry)];
    if (entry.Prefix == TPrefixKind::None) {
      if (bid == entry.Text) return {&rule, -1};
      continue;
    }
    if (bid.size() <= entry.Text.size() || !bid.ends_with(entry.Text)) continue;
    const std::string_view word = bid.substr(0, bid.size() - entry.Text.size());
    const int first = entry.Prefix == TPrefixKind::SuitWord ? kFirstSuitPrefix : 0;
    for (int p = first; p < kPrefixCount; ++p)
      if (word == PrefixWord(p)) return {&rule, p};
  }
  return {};
}

bool BidMade(std::string_view bid, const PlayRecord& record, int pair) {
  const BidRuleMatch m = FindBidRule(bid);
  return m.rule && m.rule->test(PlayFacts(record), pair, m.prefix);
}

int BidValue(std::string_view bid) {
  const BidRuleMatch m = FindBidRule(bid);
  return m.rule ? m.rule->value : 0;
}

}  // namespace zn::deal
