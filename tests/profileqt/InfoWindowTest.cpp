// The personal-data window on screen, and the whole client answering an introduction request
// from a scripted server on loopback.
#include <gtest/gtest.h>
#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include "game/Cp1250.h"
#include "link/qt/QtSocket.h"
#include "profile/qt/InfoWindow.h"
#include "shell/qt/ClubWindow.h"
#include "tests/support/qt/WindowFixture.h"

namespace zn::test {
namespace {

using namespace zn::literals;

const std::string kIni(
    "[Program]\r\nUser=Tesztelő\r\n[Personal]\r\nReal=Vada Vivo\r\nWork=\r\nInfo=Szia!~\r\nBid=\r\n"_cp);
const std::string kNick("Tesztelő"_cp);

class InfoWindowTest : public ::testing::Test {
 protected:
  TWindowFixture club{kIni};
  TInfo& form = *club.form->InfoForm;
  TInfoWindow window{form};
  template <class T>
  T* Child(const char* name) {
    return window.findChild<T*>(name);
  }
  QString ReadIni() {
    QFile file(QString::fromStdString(club.Dir()) + "/Zn.INI");
    file.open(QIODevice::ReadOnly);
    return QString::fromLatin1(file.readAll());
  }
};

TEST_F(InfoWindowTest, OwnProfileIsEditedAndStoredInTheSettingsFile) {
  form.ShowProfile(kNick);
  ASSERT_TRUE(window.isVisible());
  EXPECT_EQ(Child<QLineEdit>("fdReal")->text(), "Vada Vivo");
  EXPECT_EQ(Child<QPlainTextEdit>("fdInfo")->toPlainText(), "Szia!");
  EXPECT_TRUE(Child<QPushButton>("cmSave")->isVisible());
  EXPECT_FALSE(Child<QLineEdit>("fdReal")->isReadOnly());
  if (const QByteArray shots = qgetenv("ZN_SHOTS"); !shots.isEmpty())
    window.grab().save(QString::fromLocal8Bit(shots) + "/profile-own.png");
  auto* real = Child<QLineEdit>("fdReal");
  real->selectAll();
  QKeyEvent typed(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString::fromUtf8("Őry Béla"));
  QApplication::sendEvent(real, &typed);
  auto* intro = Child<QPlainTextEdit>("fdInfo");
  intro->setPlainText(QStringLiteral("a\n\nb\n"));  // a final line break adds no empty line
  QTest::mouseClick(Child<QPushButton>("cmSave"), Qt::LeftButton);
  EXPECT_FALSE(window.isVisible());
  EXPECT_TRUE(club.fake.desk.Messages.empty());
  const QString ini = ReadIni();
  EXPECT_TRUE(ini.contains(QString::fromLatin1("Real=\xD5ry B\xE9la\r\n"))) << ini.toStdString();
  EXPECT_TRUE(ini.contains(QStringLiteral("Info=a~~b~\r\n"))) << ini.toStdString();
  // A client started again reads it back.
  TZnForm again(
      club.Dir(), [] { return NewQtSocket(); }, [](const std::string& dir) { return dir + "/Zn.INI"; });
  EXPECT_EQ(again.InfoForm->Real, std::string("Őry Béla"_cp));
  EXPECT_EQ(again.InfoForm->Info, "a~~b~");
}

TEST_F(InfoWindowTest, AnotherMembersProfileIsReadOnlyInTheButtonColour) {
  form.ShowProfile(kNick);
  const QColor own = Child<QLineEdit>("fdReal")->palette().color(QPalette::Base);
  form.ShowProfile("-Robot2");
  EXPECT_TRUE(window.isVisible());
  EXPECT_FALSE(Child<QPushButton>("cmSave")->isVisible());
  EXPECT_TRUE(Child<QLineEdit>("fdReal")->isReadOnly());
  EXPECT_EQ(Child<QLineEdit>("fdReal")->text(), "Buta Robot");
  EXPECT_EQ(Child<QPlainTextEdit>("fdBid")->palette().color(QPalette::Base),
            window.palette().color(QPalette::Button));
  EXPECT_NE(Child<QLineEdit>("fdReal")->palette().color(QPalette::Base), own);
  if (const QByteArray shots = qgetenv("ZN_SHOTS"); !shots.isEmpty())
    window.grab().save(QString::fromLocal8Bit(shots) + "/profile-robot.png");
  QTest::keyClick(&window, Qt::Key_Escape);
  EXPECT_FALSE(window.isVisible());
  EXPECT_FALSE(form.Visible);
}

TEST_F(InfoWindowTest, ScriptedServerAsksAndTheClientAnswersWithoutAsking) {
  TScriptServer server;
  club.window->show();
  ASSERT_TRUE(QTest::qWaitFor([&] { return club.form->Dispatching; }));
  ASSERT_TRUE(club.ConnectTo(server));
  server.Send("#L0.99");
  ASSERT_TRUE(server.Expect("V7"));
  server.Send("#V7");
  ASSERT_TRUE(server.Expect("N" + kNick));
  server.Send("#QBela " + kNick);
  EXPECT_TRUE(server.Expect("WBela " + kNick + " 9 0 6 0 Vada VivoSzia!~"));
  EXPECT_TRUE(club.fake.desk.Questions.empty());
  EXPECT_EQ(club.form->State.Memo.back(), std::string(" >>>>> Bela érdeklődött irántad"_cp));
  EXPECT_FALSE(window.isVisible()) << "answering shows nothing";
  // The member's own request, and the server's answer, show the other profile read-only.
  form.ShowProfile("Bela");
  EXPECT_TRUE(server.Expect("Q" + kNick + " Bela"));
  server.Send("#W" + kNick + " Bela 4 0 3 0 BelaHi~");
  ASSERT_TRUE(QTest::qWaitFor([&] { return window.isVisible(); }));
  EXPECT_EQ(Child<QLineEdit>("fdName")->text(), "Bela");
  EXPECT_EQ(Child<QPlainTextEdit>("fdInfo")->toPlainText(), "Hi");
  EXPECT_FALSE(Child<QPushButton>("cmSave")->isVisible());
  if (const QByteArray shots = qgetenv("ZN_SHOTS"); !shots.isEmpty())
    window.grab().save(QString::fromLocal8Bit(shots) + "/profile-other.png");
}

}  // namespace
}  // namespace zn::test
