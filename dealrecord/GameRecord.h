// The record of a deal the engine ran: the dealt cards, the bids and the tricks as they went.
// The caller adds what the engine does not know: the room, the seats' names, the time, the result.
#pragma once

#include "deal/Game.h"
#include "dealrecord/DealRecord.h"

namespace zn::dealrecord {

DealRecord RecordOfGame(const deal::Game& game);

}  // namespace zn::dealrecord
