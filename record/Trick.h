// TTrick: the cards of the ten tricks of one played game.
#pragma once

#include <cstdint>
#include <vector>

#include "game/Hands.h"
#include "game/Seats.h"

namespace zn {

class TTrick {
 public:
  TTrick();

  // Trick k (1..10): four card codes; entry seat mod 4 holds the card of that seat (entry 0 is
  // seat 4), 0 where none was recorded. Any other k throws the list-index error.
  THand& Trick(int k);
  const THand& Trick(int k) const;

  // Records card for seat (1..4) in trick k (1..10). The server's numbers are not trusted: a trick,
  // seat or card code outside its range changes nothing and gives false.
  bool SetCard(int k, int seat, std::int32_t card);

 private:
  std::vector<THand> tricks_;
};

}  // namespace zn
