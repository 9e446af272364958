// The member's archive: deals kept and read back after the file is closed, the list and its
// nickname filter, the replay trick by trick, and export and import in the open format.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "dealrecord/DealFormat.h"
#include "game/ZnError.h"
#include "record/ZnArchive.h"
#include "tests/dealrecord/DealKit.h"
#include "tests/support/FakeDesktop.h"
#include "tests/support/TempDir.h"

namespace zn::test {
namespace {

using dealrecord::test::PlayedDeal;
using namespace zn::literals;

class ArchiveTest : public ::testing::Test {
 protected:
  ArchiveTest() { fake.desk.Data = dir.Path(); }
  // Deals 1..n; deal 2 has "Béla" on seat 3 instead of "béla", deal 3 is not written down.
  void KeepDeals(int n) {
    for (int i = 1; i <= n; ++i) {
      dealrecord::DealRecord d = PlayedDeal(i, i != 3);
      if (i == 2) d.seats[3].name = std::string("BÉLA"_cp);
      d.seats[4].name = i % 2 ? "-Robot4" : "cili";
      form.Keep(d);
    }
  }
  std::string Export() {
    fake.desk.SaveAnswers.push_back(dir / "out.txt");
    form.ExportClick();
    std::ifstream in(dir / "out.txt", std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }

  TempDir dir;
  ScopedFakeDesktop fake;
  TArchiveForm form;
};

TEST_F(ArchiveTest, DealsOutliveTheArchiveAndComeBackWhole) {
  KeepDeals(3);
  form.MarkResult(3, 40, -40);  // the "F" line after the record
  TArchiveForm again;           // the client closed and started again
  again.Show();
  ASSERT_EQ(again.Rows.size(), 3u);
  EXPECT_EQ(again.Rows[0].deal, 3);  // newest first
  EXPECT_EQ(again.ListCells[0][4], "40 : -40");
  EXPECT_EQ(again.ListCells[1][3], "Árvíztűrő, -Robot2, BÉLA, cili"_cp);
  dealrecord::DealRecord expected = PlayedDeal(2);
  expected.seats[3].name = std::string("BÉLA"_cp);
  expected.seats[4].name = "cili";
  EXPECT_EQ(again.Store().Load(again.Rows[1].id), expected);
}

TEST_F(ArchiveTest, TheFilterFindsANicknameWithoutRegardToCase) {
  KeepDeals(4);
  form.Show();
  const struct {
    const char* filter;
    std::vector<std::int32_t> deals;
  } rows[] = {
      {"", {4, 3, 2, 1}}, {"cili", {4, 2}}, {"béla", {4, 3, 2, 1}}, {"ÁRVÍZTŰRŐ", {4, 3, 2, 1}}, {"bel", {}}};
  for (const auto& row : rows) {
    form.FilterChange(Utf8ToCp1250(row.filter));
    std::vector<std::int32_t> deals;
    for (const TArchiveRow& r : form.Rows) deals.push_back(r.deal);
    EXPECT_EQ(deals, row.deals) << row.filter;
  }
}

// A deal that ends while the window is open comes in on top; the deal chosen stays chosen.
TEST_F(ArchiveTest, ANewDealKeepsTheChosenDealChosen) {
  KeepDeals(2);
  form.Show();
  form.ListDblClick(1);
  const std::int64_t chosen = form.Rows[1].id;
  form.Keep(PlayedDeal(7));
  ASSERT_EQ(form.Rows.size(), 3u);
  EXPECT_EQ(form.Rows[0].deal, 7);
  ASSERT_EQ(form.ListIndex, 2);
  EXPECT_EQ(form.Rows[2].id, chosen);
  EXPECT_EQ(form.Deal->number, form.Rows[2].deal);
  form.FilterChange("cili");  // a new filter starts at its first deal
  EXPECT_EQ(form.ListIndex, 0);
}

TEST_F(ArchiveTest, TheReplayGoesTrickByTrickBothWays) {
  KeepDeals(1);
  form.Show();
  form.ListDblClick(0);
  const dealrecord::DealRecord& d = *form.Deal;
  EXPECT_EQ(form.Hands, d.hands);
  EXPECT_FALSE(form.CanBack);
  EXPECT_EQ(form.BidLines.size(), d.bids.size());
  for (int k = 1; k <= 10; ++k) form.ForwardClick();
  form.ForwardClick();  // nothing after the last trick
  EXPECT_EQ(form.Step, 10);
  EXPECT_FALSE(form.CanForward);
  for (int seat = 1; seat <= 4; ++seat) EXPECT_TRUE(form.Hands[static_cast<std::size_t>(seat)].empty());
  const dealrecord::TrickRecord& last = d.tricks.back();
  for (int i = 0; i < 4; ++i)
    EXPECT_EQ(form.Table[static_cast<std::size_t>(last.SeatAt(i))], last.cards[static_cast<std::size_t>(i)]);
  EXPECT_EQ(form.Winner, last.Winner());
  form.BackClick();
  EXPECT_EQ(form.Step, 9);
  for (int seat = 1; seat <= 4; ++seat) {
    ASSERT_EQ(form.Hands[static_cast<std::size_t>(seat)].size(), 1u);
    EXPECT_EQ(form.Hands[static_cast<std::size_t>(seat)][0],
              last.cards[static_cast<std::size_t>((seat - last.leader + 4) % 4)]);
  }
}

TEST_F(ArchiveTest, ExportAndImportGoBothWaysAndAFaultyFileAddsNothing) {
  KeepDeals(3);
  const std::string text = Export();
  EXPECT_EQ(dealrecord::ReadDeals(text), form.Store().All());
  // The same file again adds nothing: a deal is one deal; one faulty block keeps a file out.
  fake.desk.OpenAnswers.push_back(dir / "out.txt");
  form.ImportClick();
  EXPECT_EQ(form.Store().All().size(), 3u);
  EXPECT_EQ(fake.desk.Messages.back(), "0 leosztás került az archívumba; 3 már benne volt."_cp);
  TArchiveForm other;  // another member's archive gets them all
  fake.desk.Data = dir / "other";
  std::filesystem::create_directory(dir / "other");
  fake.desk.OpenAnswers.push_back(dir / "out.txt");
  other.ImportClick();
  EXPECT_EQ(other.Store().All().size(), 3u);
  fake.desk.Data = dir.Path();
  std::ofstream(dir / "bad.txt") << text << "\nzenit-deal 1\nroom x\n";
  fake.desk.OpenAnswers.push_back(dir / "bad.txt");
  form.ImportClick();
  ASSERT_EQ(fake.desk.Errors.size(), 1u);
  EXPECT_EQ(form.Store().All().size(), 3u);
}

// The import reads on a worker and tells the window how far it got; a cancel keeps nothing.
TEST_F(ArchiveTest, ImportRunsAsideShowsProgressAndCanBeCancelled) {
  KeepDeals(3);
  Export();
  std::vector<std::function<void()>> work, posted;
  form.RunInBackground = [&](std::function<void()> w) { work.push_back(std::move(w)); };
  form.PostToInterface = [&](std::function<void()> p) { posted.push_back(std::move(p)); };
  std::vector<int> percents;
  form.Changed = [&](TArchiveForm::Aspect a) {
    if (a == TArchiveForm::Aspect::Import && form.Importing) percents.push_back(form.ImportPercent);
  };
  for (const bool cancel : {true, false}) {
    work.clear();
    posted.clear();
    fake.desk.OpenAnswers.push_back(dir / "out.txt");
    form.ImportClick();
    ASSERT_TRUE(form.Importing);
    form.ImportClick();  // a second import waits for the first
    ASSERT_EQ(work.size(), 1u);
    if (cancel) form.ImportCancelClick();
    work[0]();
    EXPECT_TRUE(form.Importing) << "the answer comes on the interface thread";
    for (auto& p : posted) p();
    EXPECT_FALSE(form.Importing);
  }
  EXPECT_EQ(percents.back(), 100);
  EXPECT_TRUE(std::is_sorted(percents.begin(), percents.end()));
  EXPECT_EQ(form.Store().All().size(), 3u) << "the deals were there already";
  EXPECT_EQ(fake.desk.Messages,
            (std::vector<std::string>{
                std::string("A betöltés megszakadt: a fájlból semmi sem került az archívumba."_cp),
                std::string("0 leosztás került az archívumba; 3 már benne volt."_cp)}));
}

struct RefusedFile {
  const char* name;
  void (*write)(const std::string& path);
  const char* message;  // UTF-8, the start of it
  bool thrown;          // before the worker starts, as a refusal of the click
};
void PrintTo(const RefusedFile& c, std::ostream* os) { *os << c.name; }

class ImportRefusal : public ArchiveTest, public ::testing::WithParamInterface<RefusedFile> {};

TEST_P(ImportRefusal, SaysWhyAndKeepsNothing) {
  const RefusedFile& c = GetParam();
  c.write(dir / "in.txt");
  fake.desk.OpenAnswers.push_back(dir / "in.txt");
  std::string said;
  try {
    form.ImportClick();
  } catch (const EZnError& e) {
    said = e.what();
  }
  EXPECT_EQ(said.empty(), !c.thrown);
  if (!c.thrown && !fake.desk.Errors.empty()) said = fake.desk.Errors[0];
  EXPECT_TRUE(Cp1250ToUtf8(said).starts_with(c.message)) << Cp1250ToUtf8(said);
  EXPECT_FALSE(form.Importing);
  EXPECT_TRUE(form.Store().All().empty());
}

INSTANTIATE_TEST_SUITE_P(
    Files, ImportRefusal,
    ::testing::Values(RefusedFile{"LargerThanTheBound",
                                  [](const std::string& p) {
                                    std::ofstream(p) << dealrecord::WriteDeal(PlayedDeal(1));
                                    std::filesystem::resize_file(p,
                                                                 TArchiveForm::kMaxImportBytes + (1 << 20));
                                  },
                                  "A fájl túl nagy (65 MB): legfeljebb 64 MB-os fájl tölthető be", true},
                      RefusedFile{"AGameSheet",
                                  [](const std::string& p) {
                                    std::ofstream(p, std::ios::binary)
                                        << "Id\xF5pont\t2026.12.10. 12:00:00\r\nLeoszt\xE1s\t7\r\n";
                                  },
                                  "Ez nem leosztás-fájl", false},
                      RefusedFile{"Missing", [](const std::string&) {}, "A fájl nem olvasható", true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ArchiveWithoutFolder, KeepsNothingAndSaysSo) {
  ScopedFakeDesktop fake;  // no data folder
  TArchiveForm form;
  EXPECT_EQ(form.Keep(PlayedDeal(1)), 0);
  form.Show();
  EXPECT_TRUE(form.Rows.empty());
  EXPECT_THROW(form.ExportClick(), EZnError);
}

}  // namespace
}  // namespace zn::test

namespace zn::test {
namespace {

TEST_F(ArchiveTest, TheAnalysisRunsAsideAndAnAnswerForAnotherDealIsDropped) {
  KeepDeals(2);
  form.Show();
  std::vector<std::function<void()>> queued;
  form.RunInBackground = [&](std::function<void()> work) { queued.push_back(std::move(work)); };
  form.ListDblClick(0);
  form.AnalyseClick();
  EXPECT_TRUE(form.Analysing);
  form.ListDblClick(1);  // another deal before the answer: the first analysis is dropped
  for (auto& work : queued) work();
  EXPECT_TRUE(form.Verdicts.empty());
  queued.clear();
  form.AnalyseClick();
  ASSERT_EQ(queued.size(), 1u);
  queued[0]();
  EXPECT_FALSE(form.Analysing);
  ASSERT_EQ(form.Verdicts.size(), 40u);
  for (int k = 0; k < 10; ++k) form.ForwardClick();
  EXPECT_EQ(form.VerdictLines.size(), 4u);  // the four cards of the trick shown
  EXPECT_NE(form.VerdictLegend.find("ára 2 pont"_cp), std::string::npos) << "the lines' numbers explained";
  EXPECT_TRUE(fake.desk.Messages.empty());
}

TEST_F(ArchiveTest, AnAnalysisPastItsTimeStopsAndSaysSo) {
  KeepDeals(1);
  form.Show();
  form.ListDblClick(0);
  form.AnalysisLimitMs = 0;
  form.AnalyseClick();
  EXPECT_FALSE(form.Analysing);
  EXPECT_TRUE(form.Verdicts.empty());
  ASSERT_EQ(fake.desk.Messages.size(), 1u);
  EXPECT_EQ(fake.desk.Messages[0], "Az elemzés nem készült el 0 másodperc alatt, ezért leállt."_cp);
}

// Deleting a deal: asked first, gone for good on a Yes, the list keeps its place, the replay of
// that deal closes, and the "F" line of a deal deleted while it was played marks nothing.
TEST_F(ArchiveTest, DeletingAskedDealsOnly) {
  struct Case {
    const char* name;
    int chosen;                      // the row chosen (-1: none), deals 4, 3, 2, 1 on rows 0..3
    int opened;                      // the row opened for replay (-1: none)
    bool yes;                        // the answer to the question
    bool importing;                  // a file is being read
    std::vector<std::int32_t> left;  // the deals listed after
    int questions, messages;
    bool replay;  // a deal still open for replay
    int listIndex;
  };
  const Case cases[] = {
      {"yes deletes the chosen deal", 1, -1, true, false, {4, 2, 1}, 1, 0, false, 1},
      {"no keeps it", 1, -1, false, false, {4, 3, 2, 1}, 1, 0, false, 1},
      {"the opened deal closes", 2, 2, true, false, {4, 3, 1}, 1, 0, false, 2},
      {"another opened deal stays", 0, 3, true, false, {3, 2, 1}, 1, 0, true, 0},
      {"the last row: the new last is chosen", 3, -1, true, false, {4, 3, 2}, 1, 0, false, 2},
      {"not while importing", 1, -1, true, true, {4, 3, 2, 1}, 0, 1, false, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove(dir / TArchiveForm::kArchiveFile);
    TArchiveForm f;
    for (int i = 1; i <= 4; ++i) f.Keep(PlayedDeal(i));
    f.Show();
    if (c.opened >= 0) f.ListDblClick(c.opened);
    f.ListClick(c.chosen);
    f.Importing = c.importing;
    fake.desk.Questions.clear();
    fake.desk.Messages.clear();
    fake.desk.YesNoAnswers = {c.yes};
    const std::array<std::string, 5> cells = f.ListCells[static_cast<std::size_t>(c.chosen)];
    f.DeleteClick();
    f.Importing = false;
    std::vector<std::int32_t> left;
    for (const TArchiveRow& r : f.Rows) left.push_back(r.deal);
    EXPECT_EQ(left, c.left);
    EXPECT_EQ(static_cast<int>(fake.desk.Questions.size()), c.questions);
    if (c.questions > 0) {
      EXPECT_EQ(fake.desk.Questions[0], std::string("Törlöd ezt a leosztást? "_cp) + cells[0] + ", " +
                                            cells[1] + ", " + cells[2] + std::string(". osztás"_cp));
    }
    EXPECT_EQ(static_cast<int>(fake.desk.Messages.size()), c.messages);
    EXPECT_EQ(f.Deal.has_value(), c.replay);
    EXPECT_EQ(f.ListIndex, c.listIndex);
    TArchiveForm again;  // and so after a new start
    again.Show();
    EXPECT_EQ(again.Rows.size(), c.left.size());
  }
  std::filesystem::remove(dir / TArchiveForm::kArchiveFile);
  TArchiveForm f;
  const std::int64_t id = f.Keep(PlayedDeal(5, false));
  f.Show();
  f.ListClick(0);
  fake.desk.YesNoAnswers = {true};
  f.DeleteClick();
  f.MarkResult(id, 10, -10);  // the "F" line comes after the member deleted the deal
  EXPECT_TRUE(f.Rows.empty());
  f.Rows.clear();
  f.ListIndex = -1;
  fake.desk.Messages.clear();
  f.DeleteClick();  // nothing chosen
  EXPECT_EQ(fake.desk.Messages,
            std::vector<std::string>{std::string("Előbb válassz egy leosztást a listából!"_cp)});
}

}  // namespace
}  // namespace zn::test
