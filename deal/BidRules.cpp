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

bool WonBy(const TrickRecord* t, int pair) { return t && PairOf(t->winner) == pair; }

int TricksOf(const PlayRecord& r, int pair) {
  int n = 0;
  for (int k = 1; k <= r.count; ++k) n += WonBy(r.Trick(k), pair);
  return n;
}

template <class Pred>
bool TakesTrickWith(const PlayRecord& r, int pair, int k, Pred pred) {
  const TrickRecord* t = r.Trick(k);
  return WonBy(t, pair) && pred(t->WinningCard());
}

template <class Pred>
bool TakesTricksWith(const PlayRecord& r, int pair, int from, int to, Pred pred) {
  for (int k = from; k <= to; ++k)
    if (!TakesTrickWith(r, pair, k, pred)) return false;
  return true;
}

template <class Pred>
bool TakesSomeTrickWith(const PlayRecord& r, int pair, Pred pred) {
  for (int k = 1; k <= r.count; ++k)
    if (TakesTrickWith(r, pair, k, pred)) return true;
  return false;
}

// The trick holding card, or nullptr when it was not dealt.
const TrickRecord* TrickOf(const PlayRecord& r, TCard card) {
  for (int k = 1; k <= r.count; ++k)
    if (r.Trick(k)->SeatOf(card) != 0) return r.Trick(k);
  return nullptr;
}

bool TakesCard(const PlayRecord& r, int pair, TCard card) { return WonBy(TrickOf(r, card), pair); }

// Every dealt card of the suit lies in a trick the pair won.
bool TakesSuit(const PlayRecord& r, int pair, int suit) {
  for (TCard c = static_cast<TCard>(suit * 5 + 1); c <= King(suit); ++c) {
    const TrickRecord* t = TrickOf(r, c);
    if (t && !WonBy(t, pair)) return false;
  }
  return true;
}

// The card was played by the other pair and lies in a trick the pair won.
bool Catches(const PlayRecord& r, int pair, TCard card) {
  const TrickRecord* t = TrickOf(r, card);
  return WonBy(t, pair) && PairOf(t->SeatOf(card)) != pair;
}

bool TakesFirst(const PlayRecord& r, int pair, int n, TCard last) {
  return TakesTricksWith(r, pair, 1, n - 1, [](TCard) { return true; }) &&
         TakesTrickWith(r, pair, n, [last](TCard c) { return c == last; });
}

// The card a prefix word names: Pagát, Sas, Kakadu, Kanári are tarokk I..IIII; a suit word
// stands for any card of that suit.
bool PrefixCard(int prefix, TCard c) {
  if (prefix >= 0 && prefix < kFirstSuitPrefix) return c == kPagat + prefix;
  return prefix >= kFirstSuitPrefix && prefix < kPrefixCount && IsSuitCard(c) &&
         SuitOf(c) == prefix - kFirstSuitPrefix;
}

template <int k>
bool Magasito(const PlayRecord& r, int pair, int prefix) {
  return TakesTrickWith(r, pair, k, [prefix](TCard c) { return PrefixCard(prefix, c); });
}

template <TCard card>
bool TakesCardRule(const PlayRecord& r, int pair, int) {
  return TakesCard(r, pair, card);
}

template <int n>
bool AtLeast(const PlayRecord& r, int pair, int) {
  return TricksOf(r, pair) >= n;
}

template <int n, TCard last>
bool First(const PlayRecord& r, int pair, int) {
  return TakesFirst(r, pair, n, last);
}

bool Honor(const PlayRecord& r, int pair, int) {
  return TakesCard(r, pair, kXXI) || TakesCard(r, pair, kSkiz);
}
bool Kopf(const PlayRecord& r, int pair, int) {
  return TakesCard(r, pair, kXXI) && TakesCard(r, pair, kSkiz);
}
bool Trull(const PlayRecord& r, int pair, int p) { return Kopf(r, pair, p) && TakesCard(r, pair, kPagat); }
bool Volat(const PlayRecord& r, int pair, int) { return TricksOf(r, pair) == kTricks; }

bool Banda(const PlayRecord& r, int pair, int prefix) {
  return prefix >= kFirstSuitPrefix && prefix < kPrefixCount && TakesSuit(r, pair, prefix - kFirstSuitPrefix);
}
bool RedBlack(const PlayRecord& r, int pair, int) {
  return (TakesSuit(r, pair, 1) || TakesSuit(r, pair, 2)) && (TakesSuit(r, pair, 0) || TakesSuit(r, pair, 3));
}
bool Flotta(const PlayRecord& r, int pair, int) { return TakesSuit(r, pair, 1) && TakesSuit(r, pair, 2); }
bool Armada(const PlayRecord& r, int pair, int) { return TakesSuit(r, pair, 0) && TakesSuit(r, pair, 3); }
bool Legio(const PlayRecord& r, int pair, int p) { return Flotta(r, pair, p) && Armada(r, pair, p); }
bool PagatCatch(const PlayRecord& r, int pair, int) { return Catches(r, pair, kPagat); }
bool XxiCatch(const PlayRecord& r, int pair, int) { return Catches(r, pair, kXXI); }

bool Amazon(const PlayRecord& r, int pair, int) { return TakesSomeTrickWith(r, pair, IsSmall); }
bool Spadille(const PlayRecord& r, int pair, int) {
  return TakesSomeTrickWith(r, pair, [](TCard c) { return IsSmall(c) && IsRed(c); });
}
bool Manille(const PlayRecord& r, int pair, int) {
  return TakesSomeTrickWith(r, pair, [](TCard c) { return IsSmall(c) && !IsRed(c); });
}
bool Dzsinn(const PlayRecord& r, int pair, int) {
  return TakesTrickWith(r, pair, kTricks, [](TCard c) { return c == kTreffT || c == kPikkT; });
}
bool Mariage(const PlayRecord& r, int pair, int prefix) {
  if (prefix < kFirstSuitPrefix || prefix >= kPrefixCount) return false;
  const int suit = prefix - kFirstSuitPrefix;
  const auto pairOfCards = [suit](TCard c) { return c == King(suit) || c == Dama(suit); };
  return TakesTricksWith(r, pair, 9, 10, pairOfCards) &&
         r.Trick(9)->WinningCard() != r.Trick(10)->WinningCard();
}
bool Surrano(const PlayRecord& r, int pair, int) { return TakesTricksWith(r, pair, 9, 10, IsMatador); }
bool Fonix(const PlayRecord& r, int pair, int) { return TakesTricksWith(r, pair, 9, 10, IsKing); }

bool Heja(const PlayRecord& r, int pair, int) { return TakesTricksWith(r, pair, 1, 3, IsMatador); }
bool Couleur(const PlayRecord& r, int pair, int) { return TakesTricksWith(r, pair, 8, 10, IsSuitCard); }
bool Trojka(const PlayRecord& r, int pair, int) { return TakesTricksWith(r, pair, 8, 10, IsMatador); }
bool Betlehem(const PlayRecord& r, int pair, int) { return TakesTricksWith(r, pair, 8, 10, IsKing); }
bool Famille(const PlayRecord& r, int pair, int p) {
  if (!Couleur(r, pair, p)) return false;
  const int suit = SuitOf(r.Trick(8)->WinningCard());
  return SuitOf(r.Trick(9)->WinningCard()) == suit && SuitOf(r.Trick(10)->WinningCard()) == suit;
}
bool Golgota(const PlayRecord& r, int pair, int p) { return XxiCatch(r, pair, p) && PagatCatch(r, pair, p); }
bool Kentaur(const PlayRecord& r, int pair, int p) { return XxiCatch(r, pair, p) && Amazon(r, pair, p); }
bool Szfinx(const PlayRecord& r, int pair, int p) { return Spadille(r, pair, p) && Manille(r, pair, p); }

template <class Pred>
bool FourInARow(const PlayRecord& r, int pair, Pred pred) {
  for (int k = 1; k + 3 <= kTricks; ++k)
    if (TakesTricksWith(r, pair, k, k + 3, pred)) return true;
  return false;
}

bool Birds(const PlayRecord& r, int pair) {
  return TakesFirst(r, pair, 4, kXVIII + 1) && TakesFirst(r, pair, 5, kXVIII + 2) &&
         TakesFirst(r, pair, 6, kXXI) && TakesFirst(r, pair, 7, kSkiz);
}
bool Skala(const PlayRecord& r, int pair, int p) {
  return Volat(r, pair, p) && TakesFirst(r, pair, 3, kXVIII) && Birds(r, pair);
}
bool Piramis(const PlayRecord& r, int pair, int p) {
  return Volat(r, pair, p) && FourInARow(r, pair, IsMatador);
}
bool Quart(const PlayRecord& r, int pair, int p) {
  return Volat(r, pair, p) && FourInARow(r, pair, IsSuitCard);
}
bool Spektrum(const PlayRecord& r, int pair, int p) { return Skala(r, pair, p) && Couleur(r, pair, p); }
bool Stella(const PlayRecord& r, int pair, int p) {
  return Volat(r, pair, p) && Heja(r, pair, p) && Birds(r, pair);
}
bool Full(const PlayRecord& r, int pair, int p) { return Skala(r, pair, p) && Trojka(r, pair, p); }
bool Court(const PlayRecord& r, int pair, int p) { return Skala(r, pair, p) && Famille(r, pair, p); }
bool Grand(const PlayRecord& r, int pair, int p) { return Skala(r, pair, p) && Betlehem(r, pair, p); }
bool Harpia(const PlayRecord& r, int pair, int p) {
  return Volat(r, pair, p) && Golgota(r, pair, p) && Kentaur(r, pair, p);
}
bool Gloria(const PlayRecord& r, int pair, int p) {
  return Volat(r, pair, p) && XxiCatch(r, pair, p) && Couleur(r, pair, p);
}
bool Triumf(const PlayRecord& r, int pair, int p) {
  return Volat(r, pair, p) && XxiCatch(r, pair, p) && Trojka(r, pair, p);
}
bool Zenit(const PlayRecord& r, int pair, int p) {
  if (!Volat(r, pair, p) || !Golgota(r, pair, p) || !Trojka(r, pair, p)) return false;
  const int w = r.Trick(8)->winner;
  return r.Trick(9)->winner != w || r.Trick(10)->winner != w;
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
  return m.rule && m.rule->test(record, pair, m.prefix);
}

int BidValue(std::string_view bid) {
  const BidRuleMatch m = FindBidRule(bid);
  return m.rule ? m.rule->value : 0;
}

}  // namespace zn::deal
