// The card-play rules the client's table window and the server share: which card may be played
// and which card takes a trick.
#pragma once

#include <span>

#include "game/Hands.h"

namespace zn {

// Whether `card` may be played from `hand` onto a trick whose first card is `lead` (kNoCard when
// the card opens the trick): follow suit, else play a tarokk, else anything. There is no duty to
// beat the trick. The card itself must be checked to be in the hand by the caller.
bool MayPlay(const THand& hand, TCard lead, TCard card);

// Whether `card` beats `best` in a trick led with suit class `ledSuit` (SuitOf of the first card):
// a tarokk beats every suit card and a lower tarokk (the Skíz, code 42, is the highest), a card of
// the led suit beats a lower one of that suit; anything else beats nothing.
bool Beats(TCard card, TCard best, int ledSuit);

// The position (0 to cards.size()-1) of the card that takes the trick; cards[0] is the lead and the
// rest follow in playing order. Codes outside 1..42 never win. An empty trick gives -1.
int TrickWinner(std::span<const TCard> cards);

}  // namespace zn
