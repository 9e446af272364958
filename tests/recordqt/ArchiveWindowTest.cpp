// The "Archívum" window on screen: the list drawn from the archive, a deal opened with a double
// click, and the post-mortem searched on a worker thread and drawn when its answer comes back.
#include <gtest/gtest.h>

#include <fstream>

#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

#include "dealrecord/DealFormat.h"
#include "record/qt/ArchiveWindow.h"
#include "tests/dealrecord/DealKit.h"
#include "tests/support/FakeDesktop.h"
#include "tests/support/TempDir.h"

namespace zn::test {
namespace {

TEST(ArchiveWindow, OpensADealAndAnalysesItOffTheInterfaceThread) {
  TempDir dir;
  ScopedFakeDesktop fake;
  fake.desk.Data = dir.Path();
  TArchiveForm form;
  form.Keep(dealrecord::test::PlayedDeal(8));
  form.Keep(dealrecord::test::PlayedDeal(9));
  TArchiveWindow window(form);
  form.Show();
  auto* deals = window.findChild<QTableWidget*>("Deals");
  ASSERT_EQ(deals->rowCount(), 2);
  form.ListDblClick(1);
  ASSERT_TRUE(form.Deal);
  auto* analyse = window.findChild<QPushButton*>("cmAnalyse");
  ASSERT_TRUE(analyse->isEnabled());
  QTest::mouseClick(analyse, Qt::LeftButton);
  EXPECT_FALSE(analyse->isEnabled());  // while it runs
  ASSERT_TRUE(QTest::qWaitFor([&] { return form.Verdicts.size() == 40; }, 20'000));
  form.ForwardClick();
  EXPECT_EQ(form.VerdictLines.size(), 4u);
}

// The import reads on a worker: the window stays live, shows the bar while it runs, then the rows.
TEST(ArchiveWindow, ImportsOnAWorkerWithABarAndACancel) {
  TempDir dir;
  ScopedFakeDesktop fake;
  fake.desk.Data = dir.Path();
  std::string text;
  for (int n = 1; n <= 40; ++n) text += dealrecord::WriteDeal(dealrecord::test::PlayedDeal(n)) + "\n";
  std::ofstream(dir / "in.txt", std::ios::binary) << text;
  TArchiveForm form;
  TArchiveWindow window(form);
  form.Show();
  auto* bar = window.findChild<QProgressBar*>("ImportProgress");
  auto* cancel = window.findChild<QPushButton*>("cmImportCancel");
  auto* import = window.findChild<QPushButton*>("cmImport");
  EXPECT_FALSE(bar->isVisibleTo(&window));
  fake.desk.OpenAnswers.push_back(dir / "in.txt");
  QTest::mouseClick(import, Qt::LeftButton);
  EXPECT_TRUE(bar->isVisibleTo(&window) && cancel->isVisibleTo(&window) && !import->isEnabled());
  ASSERT_TRUE(QTest::qWaitFor([&] { return !form.Importing; }, 20'000));
  EXPECT_FALSE(bar->isVisibleTo(&window));
  EXPECT_EQ(window.findChild<QTableWidget*>("Deals")->rowCount(), 40);
}

// A member without a mouse: the arrow keys choose a deal and Enter opens the one chosen.
TEST(ArchiveWindow, ArrowKeysChooseAndEnterOpensADeal) {
  TempDir dir;
  ScopedFakeDesktop fake;
  fake.desk.Data = dir.Path();
  TArchiveForm form;
  for (const int deal : {7, 8, 9}) form.Keep(dealrecord::test::PlayedDeal(deal));
  TArchiveWindow window(form);
  form.Show();
  auto* deals = window.findChild<QTableWidget*>("Deals");
  deals->setFocus();
  QTest::keyClick(deals, Qt::Key_Down);
  QTest::keyClick(deals, Qt::Key_Down);
  EXPECT_EQ(form.ListIndex, 2);
  QTest::keyClick(deals, Qt::Key_Up);
  EXPECT_EQ(form.ListIndex, 1);
  EXPECT_FALSE(form.Deal);  // choosing is not opening
  QTest::keyClick(deals, Qt::Key_Return);
  ASSERT_TRUE(form.Deal);
  EXPECT_EQ(form.Deal->number, form.Rows[1].deal);
}

// The Delete key on the list and the "&Törlés" button both ask before the chosen deal goes.
TEST(ArchiveWindow, DeleteKeyAndButtonAskFirst) {
  TempDir dir;
  ScopedFakeDesktop fake;
  fake.desk.Data = dir.Path();
  TArchiveForm form;
  for (int n = 1; n <= 3; ++n) form.Keep(dealrecord::test::PlayedDeal(n));
  TArchiveWindow window(form);
  form.Show();
  auto* deals = window.findChild<QTableWidget*>("Deals");
  deals->setFocus();
  deals->selectRow(1);
  fake.desk.YesNoAnswers = {false, true};
  QTest::keyClick(deals, Qt::Key_Delete);
  EXPECT_EQ(deals->rowCount(), 3);
  QTest::mouseClick(window.findChild<QPushButton*>("cmDelete"), Qt::LeftButton);
  EXPECT_EQ(fake.desk.Questions.size(), 2u);
  ASSERT_EQ(deals->rowCount(), 2);
  EXPECT_EQ(deals->item(0, 2)->text(), QStringLiteral("3"));
  EXPECT_EQ(deals->item(1, 2)->text(), QStringLiteral("1"));
}

}  // namespace
}  // namespace zn::test
