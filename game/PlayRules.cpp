#include "game/PlayRules.h"

namespace zn {

namespace {

constexpr int kTarokkClass = 4;

bool IsCard(TCard code) { return code >= 1 && code <= kMaxCard; }

}  // namespace

bool MayPlay(const THand& hand, TCard lead, TCard card) {
  if (!IsCard(card)) return false;
  if (!IsCard(lead)) return true;
  const int led = SuitOf(lead);
  const int own = SuitOf(card);
  if (own == led) return true;
  bool holdsLed = false;
  bool holdsTarokk = false;
  for (const TCard c : hand.Cards) {
    if (!IsCard(c)) continue;
    holdsLed = holdsLed || SuitOf(c) == led;
    holdsTarokk = holdsTarokk || SuitOf(c) == kTarokkClass;
  }
  if (holdsLed) return false;
  return own == kTarokkClass || !holdsTarokk;
}

bool Beats(TCard card, TCard best, int ledSuit) {
  if (!IsCard(card)) return false;
  if (!IsCard(best)) return true;
  const bool cardTarokk = SuitOf(card) == kTarokkClass;
  const bool bestTarokk = SuitOf(best) == kTarokkClass;
  if (cardTarokk != bestTarokk) return cardTarokk;
  if (cardTarokk) return card > best;
  return SuitOf(card) == ledSuit && (SuitOf(best) != ledSuit || card > best);
}

int TrickWinner(std::span<const TCard> cards) {
  if (cards.empty()) return -1;
  const int ledSuit = SuitOf(cards[0]);
  int best = 0;
  for (std::size_t i = 1; i < cards.size(); ++i)
    if (Beats(cards[i], cards[static_cast<std::size_t>(best)], ledSuit)) best = static_cast<int>(i);
  return best;
}

}  // namespace zn
