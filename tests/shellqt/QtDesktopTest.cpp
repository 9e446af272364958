// The Qt desktop port offscreen: each box is found while it is open, checked and answered.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDateTime>
#include <QDialogButtonBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>
#include <QTranslator>
#include <functional>

#include "game/Cp1250.h"
#include "shell/qt/QtDesktop.h"
#include "shell/qt/QtTranslation.h"
#include "tests/support/qt/TestApp.h"

namespace zn {
namespace {

using namespace zn::literals;
using test::EnsureQtApp;

std::string S(std::string_view v) { return std::string(v); }

// Runs act on the modal dialog once it is open. If none opens in time, the check fails and any
// open dialog is rejected, so a broken port never hangs the run.
void WhenModal(std::function<void(QDialog*)> act) {
  auto* timer = new QTimer;
  auto* clock = new QElapsedTimer;
  clock->start();
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, [timer, clock, act] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (dialog && dialog->isVisible()) {
      timer->stop();
      QPointer<QDialog> open(dialog);
      act(dialog);
      // A failed check inside act must not leave the box waiting for a user.
      QTimer::singleShot(0, [open] {
        if (open && open->isVisible()) {
          ADD_FAILURE() << "the dialog stayed open";
          open->reject();
        }
      });
    } else if (clock->elapsed() > 5000) {
      timer->stop();
      ADD_FAILURE() << "no modal dialog opened";
    } else {
      return;
    }
    timer->deleteLater();
    delete clock;
  });
  timer->start();
}

QString Utf(std::string_view cp) { return QString::fromUtf8(QByteArray(cp.data(), cp.size())); }

class QtDesktopTest : public ::testing::Test {
 protected:
  void SetUp() override { EnsureQtApp(); }
  TQtDesktop desk;
};

struct BoxSeen {
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QString caption, text;
  QMessageBox::StandardButtons buttons;
  Qt::TextFormat format = Qt::AutoText;
};

// Reads the open message box and presses button.
void PressIn(BoxSeen& seen, QMessageBox::StandardButton button) {
  WhenModal([&seen, button](QDialog* d) {
    auto* box = qobject_cast<QMessageBox*>(d);
    ASSERT_NE(box, nullptr);
    seen = {box->icon(), box->windowTitle(), box->text(), box->standardButtons(), box->textFormat()};
    box->button(button)->click();
  });
}

TEST_F(QtDesktopTest, PlainMessageHasNoIconTheProgramCaptionAndOk) {
  BoxSeen seen;
  PressIn(seen, QMessageBox::Ok);
  desk.ShowMessage(S("Előbb válassz termet!"_cp));
  EXPECT_EQ(seen.icon, QMessageBox::NoIcon);
  EXPECT_EQ(seen.caption, "ZnClient");
  EXPECT_EQ(seen.text, QString::fromUtf8("Előbb válassz termet!"));
  EXPECT_EQ(seen.buttons, QMessageBox::Ok);
}

TEST_F(QtDesktopTest, ShowsALineWithMarkupAsPlainText) {
  for (const bool error : {false, true}) {
    BoxSeen seen;
    PressIn(seen, QMessageBox::Ok);
    const std::string line = "Z<b>x</b><a href='file:///etc'>y</a> & <img src=x>";
    if (error)
      desk.ShowError(line);
    else
      desk.ShowMessage(line);
    EXPECT_EQ(seen.text, QString::fromStdString(line));
    EXPECT_EQ(seen.format, Qt::PlainText);
  }
  BoxSeen seen;
  PressIn(seen, QMessageBox::No);
  desk.AskYesNo("<b>Sure?</b>", "Q");
  EXPECT_EQ(seen.format, Qt::PlainText);
}

TEST_F(QtDesktopTest, ErrorBoxHasTheErrorIconAndShowsTheTextAsGiven) {
  BoxSeen seen;
  PressIn(seen, QMessageBox::Ok);
  desk.ShowError("'x' is not a valid integer value");
  EXPECT_EQ(seen.icon, QMessageBox::Critical);
  EXPECT_EQ(seen.caption, "ZnClient");
  EXPECT_EQ(seen.text, "'x' is not a valid integer value");
  EXPECT_EQ(seen.buttons, QMessageBox::Ok);
}

TEST_F(QtDesktopTest, YesNoQuestionAnswersByTheButtonPressed) {
  for (const auto button : {QMessageBox::Yes, QMessageBox::No}) {
    BoxSeen seen;
    PressIn(seen, button);
    const bool yes = desk.AskYesNo(S("Biztosan kilépsz?"_cp), S("Jóváhagyás"_cp));
    EXPECT_EQ(yes, button == QMessageBox::Yes);
    EXPECT_EQ(seen.icon, QMessageBox::Question);
    EXPECT_EQ(seen.caption, QString::fromUtf8("Jóváhagyás"));
    EXPECT_EQ(seen.text, QString::fromUtf8("Biztosan kilépsz?"));
    EXPECT_EQ(seen.buttons, QMessageBox::Yes | QMessageBox::No);
  }
}

TEST_F(QtDesktopTest, InputBoxGivesTheTypedTextInCp1250OrNothingOnCancel) {
  QString caption, prompt, initial;
  WhenModal([&](QDialog* d) {
    auto* input = qobject_cast<QInputDialog*>(d);
    ASSERT_NE(input, nullptr);
    caption = input->windowTitle();
    prompt = input->labelText();
    initial = input->textValue();
    input->setTextValue(QString::fromUtf8("Kőrös terem"));
    input->accept();
  });
  EXPECT_EQ(desk.InputBox(S("Új terem"_cp), S("Teremnév:  (legalább 4 betű)"_cp), "abc"),
            S("Kőrös terem"_cp));
  EXPECT_EQ(caption, QString::fromUtf8("Új terem"));
  EXPECT_EQ(prompt, QString::fromUtf8("Teremnév:  (legalább 4 betű)"));
  EXPECT_EQ(initial, "abc");

  // A character without a cp1250 byte comes back as "?", never as a control byte.
  WhenModal([](QDialog* d) {
    qobject_cast<QInputDialog*>(d)->setTextValue(QString::fromUtf8("Kő õ中"));
    d->accept();
  });
  EXPECT_EQ(desk.InputBox("x", "y", ""), S("Kő ??"_cp));

  WhenModal([](QDialog* d) { d->reject(); });
  EXPECT_EQ(desk.InputBox(S("Becenév"_cp), "Add meg:", "anna"), std::nullopt);
}

TEST_F(QtDesktopTest, SaveDialogAddsTheTextExtensionAndGivesTheLocalPath) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const std::string filter = S("Szöveges állományok (*.txt)|*.txt|Minden (*.*)|*.*"_cp);
  QString title, filters;
  WhenModal([&](QDialog* d) {
    auto* files = qobject_cast<QFileDialog*>(d);
    ASSERT_NE(files, nullptr);
    title = files->windowTitle();
    filters = files->nameFilters().join("|");
    // selectFile leaves the name field alone once it has the focus, and whether the dialog is
    // active yet when this runs depends on the machine's load: no focus, whatever the timing.
    if (QWidget* focused = QApplication::focusWidget()) focused->clearFocus();
    files->selectFile(dir.filePath(QString::fromUtf8("lap")));
    d->accept();  // through QDialog: the file dialog's own accept() checks the name first
  });
  const auto chosen = desk.SaveFileName(S("Játszmalap mentés"_cp),
                                        QFile::encodeName(dir.path()).toStdString(), "Results.txt", filter);
  EXPECT_EQ(title, QString::fromUtf8("Játszmalap mentés"));
  EXPECT_EQ(filters, QString::fromUtf8("Szöveges állományok (*.txt)|Minden (*.*)"));
  ASSERT_TRUE(chosen.has_value());
  EXPECT_EQ(*chosen, QFile::encodeName(dir.filePath("lap.txt")).toStdString());

  WhenModal([](QDialog* d) { d->reject(); });
  EXPECT_EQ(desk.SaveFileName("Meccslap", "", "Results.txt", filter), std::nullopt);
}

struct FilterCase {
  const char* name;
  std::string filter;
  QString dialog;
  QString suffix;
};
void PrintTo(const FilterCase& c, std::ostream* os) { *os << c.name; }

class DialogFilterTest : public ::testing::TestWithParam<FilterCase> {};
TEST_P(DialogFilterTest, TurnsBarPairsIntoDialogFilters) {
  EXPECT_EQ(TQtDesktop::DialogFilter(GetParam().filter), GetParam().dialog);
  EXPECT_EQ(TQtDesktop::DefaultSuffix(GetParam().filter), GetParam().suffix);
}
INSTANTIATE_TEST_SUITE_P(
    Filters, DialogFilterTest,
    ::testing::Values(FilterCase{"sheets", S("Szöveges állományok (*.txt)|*.txt|Minden (*.*)|*.*"_cp),
                                 Utf("Szöveges állományok (*.txt);;Minden (*.*)"), "txt"},
                      FilterCase{"bareDescription", "Text|*.txt", "Text (*.txt)", "txt"},
                      FilterCase{"patternList", "Lapok|*.txt;*.lap", "Lapok (*.txt *.lap)", "txt"},
                      FilterCase{"anyFirst", "Minden|*.*|Text|*.txt", "Minden (*.*);;Text (*.txt)", ""},
                      FilterCase{"empty", "", "", ""}, FilterCase{"noPattern", "Text", "Text", ""},
                      FilterCase{"trailingBar", "Text|*.txt|", "Text (*.txt)", "txt"}));

TEST_F(QtDesktopTest, KeepsAtMostOneHourglassPushed) {
  EXPECT_EQ(desk.Cursor(), TCursor::Normal);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  desk.SetCursor(TCursor::Hourglass);
  desk.SetCursor(TCursor::Hourglass);
  ASSERT_NE(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
  EXPECT_EQ(desk.Cursor(), TCursor::Hourglass);
  desk.SetCursor(TCursor::Normal);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);  // one restore undid both settings
  desk.SetCursor(TCursor::Normal);
  EXPECT_EQ(desk.Cursor(), TCursor::Normal);
  {
    TQtDesktop other;
    other.SetCursor(TCursor::Hourglass);
  }
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);  // a destroyed desktop takes its cursor back
}

TEST_F(QtDesktopTest, StartsProcessesAndRefusesWhatCannotStart) {
  EXPECT_FALSE(desk.StartProcess(""));
  EXPECT_FALSE(desk.StartProcess("   "));
  EXPECT_FALSE(desk.StartProcess("/nonexistent/program --x"));
  EXPECT_TRUE(desk.StartProcess("\"/bin/sh\" -c \"exit 0\""));
  EXPECT_FALSE(desk.OpenUrl(""));
}

TEST_F(QtDesktopTest, TellsTheWallClockAndRunsPendingEvents) {
  const std::int64_t before = QDateTime::currentMSecsSinceEpoch();
  const std::int64_t now = desk.NowMs();
  EXPECT_GE(now, before);
  EXPECT_LE(now, QDateTime::currentMSecsSinceEpoch());
  bool ran = false;
  QTimer::singleShot(0, [&ran] { ran = true; });
  desk.ProcessPendingEvents();
  EXPECT_TRUE(ran);
}

// Qt's own texts speak Hungarian once its translation is loaded. With ZN_SHOT_DIR set (under a real
// X server) the room-name box is also saved there as a picture.
TEST_F(QtDesktopTest, QtsOwnButtonsSpeakHungarian) {
  QTranslator* hu = InstallQtTranslation(*QCoreApplication::instance());
  ASSERT_NE(hu, nullptr) << "qtbase_hu.qm is missing (Debian: qt6-translations-l10n)";
  QString cancel;
  WhenModal([&](QDialog* d) {
    auto* buttons = d->findChild<QDialogButtonBox*>();
    ASSERT_NE(buttons, nullptr);
    cancel = buttons->button(QDialogButtonBox::Cancel)->text();
    const QString shots = qEnvironmentVariable("ZN_SHOT_DIR");
    if (!shots.isEmpty()) {
      QApplication::processEvents();
      d->screen()
          ->grabWindow(0)
          .copy(d->frameGeometry().adjusted(-8, -8, 8, 8))
          .save(shots + "/roomname.png");
    }
    d->reject();
  });
  desk.InputBox(S("Új terem"_cp), S("Teremnév:  (legalább 4 betű)"_cp), "");
  QCoreApplication::removeTranslator(hu);
  delete hu;
  EXPECT_EQ(cancel, QString::fromUtf8("Mégse"));
}

TEST_F(QtDesktopTest, AMissingTranslationLeavesQtInEnglish) {
  QTemporaryDir empty;
  EXPECT_EQ(InstallQtTranslation(*QCoreApplication::instance(), empty.path()), nullptr);
  QString cancel;
  WhenModal([&](QDialog* d) {
    cancel = d->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Cancel)->text();
    d->reject();
  });
  desk.InputBox("x", "y", "");
  EXPECT_EQ(cancel, "Cancel");
}

}  // namespace
}  // namespace zn
