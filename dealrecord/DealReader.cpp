// The reader of the open format (docs/deal-format.md): strict, line by line, and all or nothing.
#include <algorithm>
#include <charconv>
#include <string>

#include "deal/Bidding.h"
#include "dealrecord/DealFormat.h"
#include "game/BidCatalogData.h"
#include "game/Cp1250.h"
#include "game/PlayRules.h"
#include "game/ZnError.h"

namespace zn::dealrecord {

using namespace zn::literals;

namespace {

constexpr char kNoBreakSpace = '\xA0';

class Reader {
 public:
  explicit Reader(std::string_view text) : text_(text) {
    if (text_.starts_with("\xEF\xBB\xBF")) text_.remove_prefix(3);  // a byte order mark
  }

  std::vector<DealRecord> All(const std::function<bool(std::size_t, std::size_t)>& going = {}) {
    std::vector<DealRecord> deals;
    while (NextLine()) {
      if (line_.empty()) continue;  // blank lines between blocks
      if (going && !going(std::min(at_, text_.size()), text_.size()))
        throw EZnError(std::string("A beolvasás megszakadt"_cp));
      if (deals.size() >= kMaxDeals) Fail("túl sok leosztás egy fájlban"_cp);
      deals.push_back(Block());
    }
    return deals;
  }

 private:
  [[noreturn]] void Fail(std::string_view why) const {
    throw EZnError(std::string("Hibás leosztás a fájl "_cp) + std::to_string(number_) +
                   std::string(". sorában: "_cp) + std::string(why));
  }
  [[noreturn]] void Fail(std::string_view why, std::string_view what) const {
    Fail(std::string(why) + ": " + std::string(what));
  }

  // The next line as cp1250, without its end; false at the end of the text.
  bool NextLine() {
    ++number_;  // at the end: the line that is missing
    if (at_ >= text_.size()) return false;
    const std::size_t end = std::min(text_.find('\n', at_), text_.size());
    std::string_view raw = text_.substr(at_, end - at_);
    at_ = end + 1;
    if (raw.ends_with('\r')) raw.remove_suffix(1);
    line_.clear();
    for (std::size_t i = 0; i < raw.size();) {
      char32_t cp = 0;
      unsigned char byte = 0;
      if (!NextUtf8(raw, i, cp)) Fail("nem UTF-8 szöveg"_cp);
      if (!TryEncodeCp1250(cp, byte)) Fail("a betű nem írható le a klub kódlapján"_cp);
      if (byte < ' ' && byte != '\t') Fail("vezérlőkarakter a sorban"_cp);
      line_ += static_cast<char>(byte);
    }
    return true;
  }

  // The next line must begin with key and a space; returns the rest.
  std::string Expect(std::string_view key) {
    if (!NextLine()) Fail("a fájl a leosztás közepén ért véget"_cp);
    return Rest(key);
  }
  std::string Rest(std::string_view key) const {
    if (!line_.starts_with(key) || line_.size() <= key.size() || line_[key.size()] != ' ')
      Fail("itt ez a sor kellene"_cp, key);
    return line_.substr(key.size() + 1);
  }

  std::int32_t Number(std::string_view s, std::int32_t low, std::int32_t high) const {
    std::int32_t v = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (s.empty() || ec != std::errc() || end != s.data() + s.size() || v < low || v > high)
      Fail("hibás szám"_cp, s);
    return v;
  }
  int Seat(std::string_view s) const { return Number(s, 1, kSeats); }

  // "word rest": the first word and the text after the space.
  std::pair<std::string, std::string> Split(const std::string& s) const {
    const auto space = s.find(' ');
    if (space == std::string::npos) Fail("hiányzik egy mező"_cp, s);
    return {s.substr(0, space), s.substr(space + 1)};
  }

  std::vector<std::string> Items(const std::string& s) const {
    std::vector<std::string> items;
    std::size_t from = 0;
    while (true) {
      const std::size_t comma = s.find(", ", from);
      items.push_back(s.substr(from, comma == std::string::npos ? std::string::npos : comma - from));
      if (items.back().empty()) Fail("üres elem a felsorolásban"_cp);
      if (comma == std::string::npos) return items;
      from = comma + 2;
    }
  }

  TCards Cards(const std::string& s, std::size_t count) {
    TCards cards;
    for (const std::string& name : Items(s)) {
      const TCard c = CardOfName(name);
      if (c == kNoCard) Fail("ismeretlen lap"_cp, name);
      if (seen_[static_cast<std::size_t>(c)]) Fail("a lap kétszer szerepel"_cp, name);
      seen_[static_cast<std::size_t>(c)] = true;
      cards.push_back(c);
    }
    if (cards.size() != count) Fail("nem ennyi lap kell"_cp, std::to_string(count));
    std::sort(cards.begin(), cards.end());
    return cards;
  }

  std::string Name(const std::string& s) const {
    if (s.empty() || s.find_first_of(" \t") != std::string::npos) Fail("hibás név"_cp, s);
    return s;
  }

  DealRecord Block() {
    DealRecord r;
    const std::string version = Rest(kFormatHeader);
    if (Number(version, 1, INT32_MAX) > kFormatVersion)
      Fail("a formátumnak ezt a változatát a program még nem ismeri"_cp, version);
    r.room = Name(Expect("room"));
    if (!ParseTime(Expect("time"), r.time)) Fail("hibás időpont"_cp);
    r.number = Number(Expect("deal"), INT32_MIN, INT32_MAX);
    r.dealer = Seat(Expect("dealer"));
    for (int seat = 1; seat <= kSeats; ++seat) {
      auto [which, rest] = Split(Expect("seat"));
      if (Seat(which) != seat) Fail("az ülések sorrendje 1, 2, 3, 4"_cp);
      SeatRecord& who = r.seats[static_cast<std::size_t>(seat)];
      who.robot = rest.ends_with(" robot");
      who.name = Name(who.robot ? rest.substr(0, rest.size() - 6) : rest);
    }
    seen_ = {};
    for (int seat = 1; seat <= kSeats; ++seat) {
      auto [which, rest] = Split(Expect("hand"));
      if (Seat(which) != seat) Fail("a kezek sorrendje 1, 2, 3, 4"_cp);
      r.hands[static_cast<std::size_t>(seat)] = Cards(rest, kTricks);
    }
    r.out = Cards(Expect("out"), 2);
    std::array<THand, kSeats + 1> left{THand{}, THand{}, THand{}, THand{}, THand{}};
    for (int seat = 1; seat <= kSeats; ++seat)
      left[static_cast<std::size_t>(seat)].Cards = r.hands[static_cast<std::size_t>(seat)];
    if (!NextLine()) Fail("a fájl a leosztás közepén ért véget"_cp);
    while (line_.starts_with("bid ")) {
      if (r.bids.size() >= MaxSetsInADeal()) Fail("több licitkör, mint amennyi egy leosztásban lehet"_cp);
      auto [which, rest] = Split(Rest("bid"));
      BidRecord b{Seat(which), {}};
      const int onTurn = (r.dealer - 1 + static_cast<int>(r.bids.size())) % kSeats + 1;
      if (b.seat != onTurn) Fail("nem ez az ülés licitál most"_cp, which);
      if (rest != "-")
        for (std::string bid : Items(rest)) {
          // The writer writes a tab as a space: a bid holding one would not read back the same.
          if (bid.find('\t') != std::string::npos) Fail("tabulátor a licitben"_cp, bid);
          std::replace(bid.begin(), bid.end(), ' ', kNoBreakSpace);
          b.bids.push_back(std::move(bid));
        }
      if (b.bids.size() > MaxBidsInASet()) Fail("több licit egy körben, mint ahány licit létezik"_cp);
      r.bids.push_back(std::move(b));
      if (!NextLine()) Fail("a fájl a leosztás közepén ért véget"_cp);
    }
    while (line_.starts_with("trick ")) {
      r.tricks.push_back(Trick(Rest("trick"), r, left));
      if (!NextLine()) Fail("a fájl a leosztás közepén ért véget"_cp);
    }
    auto [taken1, taken2] = Split(Rest("taken"));
    if (Number(taken1, 0, kTricks) != r.TakenBy(1) || Number(taken2, 0, kTricks) != r.TakenBy(2))
      Fail("az elvitt ütések száma nem egyezik az ütésekkel"_cp);
    const std::string result = Expect("result");
    if (result != "none") {
      const auto colon = result.find(':');
      if (colon == std::string::npos) Fail("hibás eredmény"_cp, result);
      r.written = true;
      r.points14 = Number(std::string_view(result).substr(0, colon), INT32_MIN, INT32_MAX);
      r.points23 = Number(std::string_view(result).substr(colon + 1), INT32_MIN, INT32_MAX);
    }
    if (!NextLine() || line_ != "end") Fail("itt ez a sor kellene"_cp, "end");
    return r;
  }

  // "k lead s won w: c1, c2, c3, c4": the cards in playing order from the leader.
  TrickRecord Trick(const std::string& s, const DealRecord& r, std::array<THand, kSeats + 1>& left) {
    const std::size_t k = r.tricks.size() + 1;
    if (k > kTricks) Fail("tíznél több ütés"_cp);
    const auto colon = s.find(": ");
    if (colon == std::string::npos) Fail("hiányzik a kettőspont"_cp);
    const std::string head = s.substr(0, colon);
    auto [number, rest1] = Split(head);
    auto [leadWord, rest2] = Split(rest1);
    auto [leader, rest3] = Split(rest2);
    auto [wonWord, winner] = Split(rest3);
    if (Number(number, 1, kTricks) != static_cast<std::int32_t>(k))
      Fail("az ütések sorszáma nem folytonos"_cp);
    if (leadWord != "lead" || wonWord != "won") Fail("hibás ütés"_cp, head);
    TrickRecord t;
    t.leader = Seat(leader);
    const int expected = k == 1 ? r.dealer : r.tricks.back().Winner();
    if (t.leader != expected) Fail("nem ez az ülés hív"_cp, leader);
    const std::vector<std::string> names = Items(s.substr(colon + 2));
    if (names.size() != kSeats) Fail("egy ütés négy lap"_cp);
    for (int i = 0; i < kSeats; ++i) {
      const std::string& name = names[static_cast<std::size_t>(i)];
      const TCard c = CardOfName(name);
      THand& hand = left[static_cast<std::size_t>(t.SeatAt(i))];
      const int at = hand.IndexOf(c);
      if (c == kNoCard || at < 0) Fail("ez a lap nincs a kijátszó kezében"_cp, name);
      if (!MayPlay(hand, i == 0 ? kNoCard : t.cards[0], c)) Fail("szabálytalan lap"_cp, name);
      hand.Cards.erase(hand.Cards.begin() + at);
      t.cards[static_cast<std::size_t>(i)] = c;
    }
    if (Seat(winner) != t.Winner()) Fail("az ütést nem ez az ülés vitte"_cp, winner);
    return t;
  }

  std::string_view text_;
  std::size_t at_ = 0;
  int number_ = 0;
  std::string line_;
  std::array<bool, kMaxCard + 1> seen_{};
};

}  // namespace

std::size_t MaxSetsInADeal() { return static_cast<std::size_t>(deal::kMaxRounds) * kSeats; }

std::size_t MaxBidsInASet() {
  static const std::size_t most = [] {
    std::size_t names = 0;
    for (int group = 0; group < kBidGroupCount; ++group)
      for (const TBidEntry& entry : FixedBidEntries(group))
        names += entry.Prefix == TPrefixKind::None       ? 1
                 : entry.Prefix == TPrefixKind::SuitWord ? kPrefixCount - kFirstSuitPrefix
                                                         : kPrefixCount;
    // Each name also as a kontra and a rekontra, and a hand's signals besides.
    constexpr std::size_t kSignals = 16;
    return 3 * names + kSignals;
  }();
  return most;
}

std::vector<DealRecord> ReadDeals(std::string_view text) { return Reader(text).All(); }

std::vector<DealRecord> ReadDeals(std::string_view text,
                                  const std::function<bool(std::size_t, std::size_t)>& going) {
  return Reader(text).All(going);
}

}  // namespace zn::dealrecord
