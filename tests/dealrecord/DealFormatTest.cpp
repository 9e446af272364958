#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <sstream>

#include "dealrecord/DealFormat.h"
#include "game/ZnError.h"
#include "tests/dealrecord/DealKit.h"

namespace zn::dealrecord {
namespace {

using test::PlayedDeal;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::string Join(const std::vector<std::string>& lines) {
  std::string s;
  for (const auto& l : lines) s += l + "\n";
  return s;
}

// 1-based number of the first line beginning with prefix.
int LineOf(const std::vector<std::string>& lines, std::string_view prefix) {
  for (std::size_t i = 0; i < lines.size(); ++i)
    if (lines[i].starts_with(prefix)) return static_cast<int>(i) + 1;
  return 0;
}

TEST(DealFormat, RoundTripsPlayedDeals) {
  std::string file;
  std::vector<DealRecord> deals;
  for (std::int32_t n = 1; n <= 24; ++n) {
    deals.push_back(PlayedDeal(n * 7919, n % 3 != 0));
    file += WriteDeal(deals.back()) + "\n";
  }
  // A pass, a bid of several words, a record of a deal cut short.
  deals[0].bids.front().bids = {"Pagát\xA0ulti", "*Gém"};
  deals[1].tricks.resize(3);
  file = WriteDeal(deals[0]) + WriteDeal(deals[1]);
  for (std::size_t i = 2; i < deals.size(); ++i) file += "\r\n" + WriteDeal(deals[i]);
  std::vector<DealRecord> read;
  ASSERT_NO_THROW(read = ReadDeals(file));
  ASSERT_EQ(read.size(), deals.size());
  for (std::size_t i = 0; i < deals.size(); ++i) EXPECT_EQ(read[i], deals[i]) << "deal " << i;
  EXPECT_EQ(read[0].bids.front().bids[0], "Pagát\xA0ulti");
}

TEST(DealFormat, WritesUtf8TheClubsNames) {
  const std::string text = WriteDeal(PlayedDeal(5));
  EXPECT_NE(text.find("seat 1 Árvíztűrő\n"), std::string::npos);
  EXPECT_NE(text.find("seat 2 -Robot2 robot\n"), std::string::npos);
  EXPECT_NE(text.find("room Kékterem\n"), std::string::npos);
  EXPECT_NE(text.find("result 12:-12\nend\n"), std::string::npos);
  EXPECT_NE(WriteDeal(PlayedDeal(5, false)).find("result none\n"), std::string::npos);
}

TEST(DealFormat, TimeAndCardNamesGoBothWays) {
  for (const std::int64_t t : {std::int64_t{0}, std::int64_t{951'782'400}, std::int64_t{1'765'201'908}}) {
    std::int64_t back = -1;
    ASSERT_TRUE(ParseTime(FormatTime(t), back)) << FormatTime(t);
    EXPECT_EQ(back, t);
  }
  EXPECT_EQ(FormatTime(951'782'400), "2000-02-29T00:00:00Z");
  for (const char* bad :
       {"2001-02-29T00:00:00Z", "1969-12-31T23:59:59Z", "2026-12-08 13:31:48Z", "2026-12-08T24:00:00Z"}) {
    std::int64_t t = 0;
    EXPECT_FALSE(ParseTime(bad, t)) << bad;
  }
  for (TCard c = 1; c <= kMaxCard; ++c) EXPECT_EQ(CardOfName(FormatCardName(c)), c) << c;
  EXPECT_EQ(FormatCardName(kSkiz), "Skíz"_cp);
  EXPECT_EQ(CardOfName("Treff X"), kNoCard);
}

struct Malformed {
  const char* name;
  std::function<void(std::vector<std::string>&)> change;
  std::function<int(const std::vector<std::string>&)> line;  // the line the message must name
  const char* why;                                           // UTF-8 words of the message
};

class DealFormatMalformed : public ::testing::TestWithParam<Malformed> {};

TEST_P(DealFormatMalformed, NamesTheLineAndReadsNothing) {
  // A good block before the bad one: the reader must not give it back either.
  const std::string good = WriteDeal(PlayedDeal(77));
  std::vector<std::string> lines = Lines(WriteDeal(PlayedDeal(1042)));
  const int at = GetParam().line(lines);
  GetParam().change(lines);
  const std::string text = good + "\n" + Join(lines);
  const int offset = static_cast<int>(Lines(good).size()) + 1;
  try {
    const auto deals = ReadDeals(text);
    FAIL() << "read " << deals.size() << " deals";
  } catch (const EZnError& e) {
    const std::string message = Cp1250ToUtf8(e.what());
    EXPECT_NE(message.find(" " + std::to_string(at + offset) + ". sorában"), std::string::npos) << message;
    EXPECT_NE(message.find(GetParam().why), std::string::npos) << message;
  }
}

void Replace(std::vector<std::string>& lines, std::string_view prefix, std::string_view from,
             std::string_view to) {
  std::string& l = lines[static_cast<std::size_t>(LineOf(lines, prefix) - 1)];
  const auto at = l.find(from);
  ASSERT_NE(at, std::string::npos) << l;
  l.replace(at, from.size(), to);
}

// The seat digit at column `at` of the first line beginning with prefix becomes the next seat.
void NextDigit(std::vector<std::string>& lines, std::string_view prefix, std::size_t at) {
  char& c = lines[static_cast<std::size_t>(LineOf(lines, prefix) - 1)][at];
  c = static_cast<char>('0' + (c - '0') % 4 + 1);
}

auto At(std::string_view prefix) {
  return [p = std::string(prefix)](const std::vector<std::string>& lines) { return LineOf(lines, p); };
}

// Swaps the last two cards of the first trick whose second and third card differ in suit class.
void SwapInTrick(std::vector<std::string>& lines) {
  std::string& l = lines[static_cast<std::size_t>(LineOf(lines, "trick 1 ") - 1)];
  const auto colon = l.find(": ");
  std::vector<std::string> cards;
  std::string rest = l.substr(colon + 2);
  for (std::size_t from = 0;;) {
    const auto comma = rest.find(", ", from);
    cards.push_back(rest.substr(from, comma == std::string::npos ? std::string::npos : comma - from));
    if (comma == std::string::npos) break;
    from = comma + 2;
  }
  std::swap(cards[0], cards[1]);
  l = l.substr(0, colon + 2) + cards[0] + ", " + cards[1] + ", " + cards[2] + ", " + cards[3];
}

// Sets of passes after the deal's own, in turn, until it has sets in all.
void SetsInAll(std::vector<std::string>& lines, std::size_t sets) {
  std::size_t last = 0, count = 0;
  for (std::size_t i = 0; i < lines.size(); ++i)
    if (lines[i].starts_with("bid ")) last = i, ++count;
  char seat = lines[last][4];
  for (; count < sets; ++count) {
    seat = static_cast<char>('0' + (seat - '0') % 4 + 1);
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(++last), std::string("bid ") + seat + " -");
  }
}

// The first set holds bids in all.
void BidsInAll(std::vector<std::string>& lines, std::size_t bids) {
  std::string& l = lines[static_cast<std::size_t>(LineOf(lines, "bid ") - 1)];
  l = l.substr(0, 6) + "Gém";
  for (std::size_t i = 1; i < bids; ++i) l += ", Gém";
}

const Malformed kMalformed[] = {
    {"MoreSetsThanRoundsAllow", [](auto& l) { SetsInAll(l, MaxSetsInADeal() + 1); },
     [](auto& l) { return LineOf(l, "bid ") + static_cast<int>(MaxSetsInADeal()); }, "licitkör"},
    {"MoreBidsThanNames", [](auto& l) { BidsInAll(l, MaxBidsInASet() + 1); }, At("bid "), "több licit"},
    {"NewerVersion", [](auto& l) { l[0] = "zenit-deal 2"; }, [](auto&) { return 1; }, "változatát"},
    {"NoHeader", [](auto& l) { l[0] = "zenit-dael 1"; }, [](auto&) { return 1; }, "zenit-deal"},
    {"BadTime", [](auto& l) { l[2] = "time 2026-13-01T00:00:00Z"; }, At("time "), "időpont"},
    {"BadDealNumber", [](auto& l) { l[3] = "deal 12x"; }, At("deal "), "hibás szám: 12x"},
    {"SeatOutOfOrder", [](auto& l) { std::swap(l[5], l[6]); }, At("seat "), "ülések sorrendje"},
    {"NameWithSpace", [](auto& l) { l[7] = "seat 3 a b"; }, At("seat 3"), "hibás név"},
    {"UnknownCard", [](auto& l) { Replace(l, "hand 2", ", ", ", Treff X, "); }, At("hand 2"),
     "ismeretlen lap"},
    {"CardTwice",
     [](auto& l) {
       const std::string first = l[9].substr(7, l[9].find(',') - 7);
       Replace(l, "hand 2", "hand 2 ", "hand 2 " + first + ", ");
     },
     At("hand 2"), "kétszer"},
    {"NineCards", [](auto& l) { l[11] = l[11].substr(0, l[11].rfind(',')); }, At("hand 3"), "nem ennyi lap"},
    {"TabInABid",
     [](auto& l) {
       BidsInAll(l, 1);
       Replace(l, "bid ", "Gém", "G\tém");
     },
     At("bid "), "tabulátor"},
    {"BidOutOfTurn", [](auto& l) { NextDigit(l, "bid ", 4); }, At("bid "), "nem ez az ülés licitál"},
    {"CardsSwapped", SwapInTrick, At("trick 1 "), "nincs a kijátszó kezében"},
    {"WrongWinner", [](auto& l) { NextDigit(l, "trick 1 ", 19); }, At("trick 1 "), "nem ez az ülés vitte"},
    {"TrickMissing", [](auto& l) { l.erase(l.begin() + LineOf(l, "trick 4 ") - 1); }, At("trick 4 "),
     "sorszáma"},
    {"TakenWrong", [](auto& l) { l[static_cast<std::size_t>(LineOf(l, "taken") - 1)] = "taken 0 0"; },
     At("taken"), "elvitt ütések"},
    {"BadResult", [](auto& l) { Replace(l, "result", "12:-12", "12-12"); }, At("result"), "eredmény"},
    {"NoEnd", [](auto& l) { l.pop_back(); }, [](auto& l) { return static_cast<int>(l.size()); }, "end"},
    {"NotUtf8", [](auto& l) { l[1] = "room K\xE9k"; }, [](auto&) { return 2; }, "UTF-8"},
    {"ControlByte", [](auto& l) { l[1] = "room K\x01k"; }, [](auto&) { return 2; }, "vezérlő"},
};

INSTANTIATE_TEST_SUITE_P(Rows, DealFormatMalformed, ::testing::ValuesIn(kMalformed),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DealFormat, TheMostSetsAndBidsARealDealCanHaveRead) {
  std::vector<std::string> lines = Lines(WriteDeal(PlayedDeal(1042)));
  SetsInAll(lines, MaxSetsInADeal());
  BidsInAll(lines, MaxBidsInASet());
  const auto deals = ReadDeals(Join(lines));
  ASSERT_EQ(deals.size(), 1u);
  EXPECT_EQ(deals[0].bids.size(), MaxSetsInADeal());
  EXPECT_EQ(deals[0].bids[0].bids.size(), MaxBidsInASet());
}

TEST(DealFormat, TheWorkedExampleOfTheDocumentReads) {
  std::ifstream in(std::string(ZN_SOURCE_DIR) + "/docs/deal-format.md");
  std::stringstream doc;
  doc << in.rdbuf();
  const std::string text = doc.str();
  const auto from = text.find("```\nzenit-deal 1\n");
  ASSERT_NE(from, std::string::npos);
  const auto to = text.find("```", from + 4);
  const std::vector<DealRecord> deals = ReadDeals(text.substr(from + 4, to - from - 4));
  ASSERT_EQ(deals.size(), 1u);
  EXPECT_EQ(deals[0].tricks.size(), 10u);
  EXPECT_EQ(WriteDeal(deals[0]), text.substr(from + 4, to - from - 4));
}

}  // namespace
}  // namespace zn::dealrecord
