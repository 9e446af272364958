#include "game/BidList.h"

#include <algorithm>
#include <array>

#include "game/Cp1250.h"
#include "game/Hands.h"
#include "game/Seats.h"
#include "game/Tokenizer.h"
#include "game/ZnError.h"

namespace zn {

const std::string& TBidList::Strings(int i) const {
  if (i < 0 || i >= Count()) throw EZnError(ListIndexError(i));
  return Items[static_cast<std::size_t>(i)];
}

bool TBidList::Van(std::string_view bid) const {
  return std::any_of(Items.begin(), Items.end(), [bid](const std::string& e) { return SameText(e, bid); });
}

void TBidList::DeleteBid(std::string_view bid) {
  const auto it =
      std::find_if(Items.begin(), Items.end(), [bid](const std::string& e) { return SameText(e, bid); });
  if (it != Items.end()) Items.erase(it);
}

void TBidList::Filter(std::string_view text, int seat) {
  if (text.size() == 3) return;  // "#B" and the dealer digit: no block yet
  Items.clear();
  if (seat < -kSeats || seat > kSeats) return;

  // The k-th block belongs to listing position ((k - 1) mod 4) + 1; with dealer digit "3" the
  // positions 1..4 are seats 3, 4, 1, 2.
  const char dealer = text.size() > 2 ? text[2] : '\0';
  std::array<bool, 5> wanted{};
  if (seat > 0) {
    wanted[static_cast<std::size_t>(dealer == '3' ? SeatAcross(seat) : seat)] = true;
  } else {
    const int m = -seat;
    const bool middlePair = (PairOf(m) == 2) == (dealer == '1');
    wanted[middlePair ? 2 : 1] = true;
    wanted[middlePair ? 3 : 4] = true;
  }

  int k = 0;
  do {
    k = NextSeat(k);
    CutWord(text);  // the bidder's name; the first one carries "#B" and the digit in front
    const std::int32_t count = CutInt(text);
    // Bids announced past the end of the text are missing: reading stops there, so a count of two
    // billion costs no more than the text is long.
    for (std::int32_t i = 0; i < count && !text.empty(); ++i) {
      const std::string_view bid = CutWord(text);
      if (wanted[static_cast<std::size_t>(k)]) Items.emplace_back(bid);
    }
  } while (!text.empty());
}

}  // namespace zn
