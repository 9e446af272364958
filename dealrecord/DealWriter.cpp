// The writer of the open format (docs/deal-format.md).
#include <string>

#include "dealrecord/DealFormat.h"
#include "game/Cp1250.h"

namespace zn::dealrecord {

namespace {

constexpr char kNoBreakSpace = '\xA0';

// A name as one token of a line: a control byte would end the line early, a space split the name.
std::string Token(std::string_view name) {
  std::string s(name);
  for (char& c : s)
    if (static_cast<unsigned char>(c) <= ' ') c = '?';
  return s;
}

std::string Cards(const TCards& cards) {
  std::string s;
  for (const TCard c : cards) {
    if (!s.empty()) s += ", ";
    s += FormatCardName(c);
  }
  return s;
}

// A bid as the club writes it, the no-break space of a bid of several words shown as a space.
std::string Bid(std::string_view bid) {
  std::string s(bid);
  for (char& c : s)
    if (c == kNoBreakSpace || static_cast<unsigned char>(c) < ' ') c = ' ';
  return s;
}

}  // namespace

std::string WriteDeal(const DealRecord& r) {
  std::string s;
  const auto line = [&s](std::string_view key, const std::string& value) {
    s += key;
    s += ' ';
    s += value;
    s += '\n';
  };
  line(kFormatHeader, std::to_string(kFormatVersion));
  line("room", Token(r.room));
  line("time", FormatTime(r.time));
  line("deal", std::to_string(r.number));
  line("dealer", std::to_string(r.dealer));
  for (int seat = 1; seat <= kSeats; ++seat) {
    const SeatRecord& who = r.seats[static_cast<std::size_t>(seat)];
    line("seat", std::to_string(seat) + ' ' + Token(who.name) + (who.robot ? " robot" : ""));
  }
  for (int seat = 1; seat <= kSeats; ++seat)
    line("hand", std::to_string(seat) + ' ' + Cards(r.hands[static_cast<std::size_t>(seat)]));
  line("out", Cards(r.out));
  for (const BidRecord& b : r.bids) {
    std::string bids;
    for (const std::string& bid : b.bids) bids += (bids.empty() ? "" : ", ") + Bid(bid);
    line("bid", std::to_string(b.seat) + ' ' + (b.bids.empty() ? std::string("-") : bids));
  }
  for (std::size_t k = 0; k < r.tricks.size(); ++k) {
    const TrickRecord& t = r.tricks[k];
    line("trick", std::to_string(k + 1) + " lead " + std::to_string(t.leader) + " won " +
                      std::to_string(t.Winner()) + ": " + Cards(TCards(t.cards.begin(), t.cards.end())));
  }
  line("taken", std::to_string(r.TakenBy(1)) + ' ' + std::to_string(r.TakenBy(2)));
  line("result", r.written ? std::to_string(r.points14) + ':' + std::to_string(r.points23) : "none");
  s += "end\n";
  return Cp1250ToUtf8(s);
}

}  // namespace zn::dealrecord
