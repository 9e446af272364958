// The club window's life: the nickname prompt of the first showing, the close question only while
// the club window is the active one, the dispatcher stopped before the windows go, and the other
// windows following their logic.
#include <gtest/gtest.h>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include "game/Cp1250.h"
#include "profile/qt/InfoWindow.h"
#include "record/qt/ResWindow.h"
#include "shell/qt/ShownLater.h"
#include "table/qt/BidWindow.h"
#include "tests/support/qt/WindowFixture.h"

namespace zn::test {
namespace {

using namespace zn::literals;

const std::string kNamed("[Program]\r\nUser=Tesztelő\r\n"_cp);

TEST(ClubLifeTest, FirstShowingAsksUntilTheNicknameIsValid) {
  TWindowFixture club("");
  auto& answers = club.fake.desk.InputAnswers;
  answers = {std::nullopt, std::string("abc"), std::string("-gép"_cp), std::string("Anna")};
  club.window->show();
  ASSERT_TRUE(QTest::qWaitFor([&] { return club.form->Dispatching; }));
  EXPECT_EQ(club.form->State.Nickname, "Anna");
  EXPECT_TRUE(answers.empty());
  EXPECT_EQ(club.window->findChild<QLabel*>("Status0")->text(), "Anna");
}

TEST(ClubLifeTest, StoredNicknameAsksNothing) {
  TWindowFixture club(kNamed);
  club.window->show();
  ASSERT_TRUE(QTest::qWaitFor([&] { return club.form->Dispatching; }));
  for (const std::string& entry : club.fake.desk.Log) EXPECT_NE(entry.rfind("input:", 0), 0u) << entry;
}

class CloseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    club.window->show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return club.form->Dispatching; }));
  }
  TWindowFixture club{kNamed};
  QSignalSpy closed{club.window.get(), &TClubWindow::Closed};
};

TEST_F(CloseTest, AnotherActiveWindowClosesWithoutAsking) {
  QWidget other;
  other.show();
  other.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
  club.window->close();
  EXPECT_TRUE(club.fake.desk.Questions.empty());
  EXPECT_EQ(closed.count(), 1);
  EXPECT_FALSE(club.form->Dispatching);
  EXPECT_FALSE(club.window->IdleScheduled());
}

TEST_F(CloseTest, ActiveClubWindowAsksAndNoKeepsItOpen) {
  club.window->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(club.window.get()));
  club.fake.desk.YesNoAnswers = {false};
  club.window->close();
  ASSERT_EQ(club.fake.desk.Questions.size(), 1u);
  EXPECT_EQ(club.fake.desk.Questions[0], "Valóban elhagyod a tarokk-klubot?"_cp);
  EXPECT_TRUE(club.window->isVisible());
  EXPECT_TRUE(club.form->Dispatching);
  EXPECT_EQ(closed.count(), 0);

  // "Kilépés" closes the same way; Yes ends it.
  club.fake.desk.YesNoAnswers = {true};
  club.window->ActionOf(club.form->Actions.cmExit)->trigger();
  EXPECT_EQ(club.fake.desk.Questions.size(), 2u);
  EXPECT_EQ(closed.count(), 1);
  EXPECT_FALSE(club.form->Dispatching);
}

TEST(ClubLifeTest, OtherWindowsFollowTheirLogic) {
  TWindowFixture club(kNamed);
  TBidWindow table(*club.form->BidForm);
  TInfoWindow info(*club.form->InfoForm);
  TResWindow games(*club.form->ResForm);
  EXPECT_FALSE(table.isVisible());
  club.window->ActionOf(club.form->Actions.cmTable)->trigger();  // "Asztal...": the table window shows
  EXPECT_TRUE(table.isVisible());
  EXPECT_EQ(table.windowTitle(), "Zenit Tarokk");
  club.window->ActionOf(club.form->Actions.cmResults)->trigger();
  EXPECT_TRUE(games.isVisible());
  EXPECT_EQ(games.windowTitle(), "Lejátszott partik");
  // Closing the table window by its frame only hides it, and the logic knows.
  table.close();
  EXPECT_FALSE(club.form->BidForm->Visible);
  club.window->ActionOf(club.form->Actions.cmDisconnect)->trigger();
  EXPECT_FALSE(table.isVisible());
}

TEST(ClubLifeTest, ClosingTheProfileWindowLetsTheNextRequestThrough) {
  TWindowFixture club(kNamed);
  TInfoWindow info(*club.form->InfoForm);
  club.form->InfoForm->ShowProfile(club.form->State.Nickname);  // the user's own data
  ASSERT_TRUE(info.isVisible());
  club.form->State.InfoThrottle = 3;
  info.close();
  EXPECT_FALSE(club.form->InfoForm->Visible);
  EXPECT_EQ(club.form->State.InfoThrottle, 0);
}

// The personal-data and played-games views are made when their logic first shows them, and what
// the logic held before is drawn then; hiding keeps the view for the next showing.
TEST(ClubLifeTest, SecondaryWindowsAreMadeWhenFirstShown) {
  TWindowFixture club(kNamed);
  TShownLater<TInfo, TInfoWindow> info(*club.form->InfoForm);
  TShownLater<TResForm, TResWindow> games(*club.form->ResForm);
  EXPECT_EQ(info.View(), nullptr);
  EXPECT_EQ(games.View(), nullptr);

  club.form->InfoForm->ShowProfile(
      std::string("-gép"_cp));  // a robot's data: filled in before the view is made
  ASSERT_NE(info.View(), nullptr);
  EXPECT_TRUE(info.View()->isVisible());
  EXPECT_EQ(info.View()->findChild<QLineEdit*>("fdReal")->text(), QStringLiteral("Buta Robot"));
  EXPECT_EQ(games.View(), nullptr);

  club.window->ActionOf(club.form->Actions.cmResults)->trigger();
  ASSERT_NE(games.View(), nullptr);
  TResWindow* made = games.View();
  EXPECT_TRUE(made->isVisible());
  made->close();
  EXPECT_FALSE(club.form->ResForm->Visible);
  club.window->ActionOf(club.form->Actions.cmResults)->trigger();
  EXPECT_EQ(games.View(), made);
  EXPECT_TRUE(made->isVisible());
}

}  // namespace
}  // namespace zn::test
