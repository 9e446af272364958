#include "shell/qt/QtDesktop.h"

#include <algorithm>

#include "game/qt/Cp1250Codec.h"

#include <QApplication>
#include <QDateTime>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>
#include <chrono>

namespace zn {

namespace {

// A parent for a box: the window the user is working in, if any.
QWidget* Parent() { return QApplication::activeWindow(); }

void ShowBox(QMessageBox::Icon icon, const std::string& text) {
  QMessageBox box(icon, TQtDesktop::kCaption, ToQt(text), QMessageBox::Ok, Parent());
  // Server lines are shown unchanged: a "<b>" in them is text, never markup or a link.
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

}  // namespace

const QString TQtDesktop::kCaption = QStringLiteral("ZnClient");

TQtDesktop::~TQtDesktop() {
  if (hourglass_ && QCoreApplication::instance()) QApplication::restoreOverrideCursor();
}

void TQtDesktop::ShowMessage(const std::string& text) { ShowBox(QMessageBox::NoIcon, text); }

void TQtDesktop::ShowError(const std::string& text) { ShowBox(QMessageBox::Critical, text); }

bool TQtDesktop::AskYesNo(const std::string& question, const std::string& caption) {
  QMessageBox box(QMessageBox::Question, ToQt(caption), ToQt(question), QMessageBox::Yes | QMessageBox::No,
                  Parent());
  box.setTextFormat(Qt::PlainText);
  box.setDefaultButton(QMessageBox::Yes);
  box.setEscapeButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

std::optional<std::string> TQtDesktop::InputBox(const std::string& caption, const std::string& prompt,
                                                const std::string& initial) {
  QInputDialog dialog(Parent());
  dialog.setInputMode(QInputDialog::TextInput);
  dialog.setWindowTitle(ToQt(caption));
  QString label = ToQt(prompt);
  label.replace(QLatin1Char('\r'), QLatin1Char('\n'));  // the texts break lines as message boxes do
  dialog.setLabelText(label);
  dialog.setTextValue(ToQt(initial));
  // The caption is often the question itself: wide enough that the title bar shows it whole, and a
  // long prompt wraps instead of widening the box past the screen.
  dialog.setMinimumWidth(
      std::min(640, dialog.fontMetrics().horizontalAdvance(dialog.windowTitle()) * 3 / 2 + 120));
  for (QLabel* text : dialog.findChildren<QLabel*>()) text->setWordWrap(true);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return FromQt(dialog.textValue());
}

QString TQtDesktop::DialogFilter(std::string_view filter) {
  const QStringList parts = ToQt(filter).split(QLatin1Char('|'));
  QStringList entries;
  for (qsizetype i = 0; i < parts.size(); i += 2) {
    QString description = parts[i].trimmed();
    const QString patterns = i + 1 < parts.size() ? parts[i + 1].trimmed() : QString();
    if (patterns.isEmpty() || description.contains(QLatin1Char('('))) {
      entries << (description.isEmpty() ? patterns : description);
      continue;
    }
    // The dialog reads the patterns from the parentheses; Windows-style lists use ";".
    QString list = patterns;
    list.replace(QLatin1Char(';'), QLatin1Char(' '));
    entries << description + QStringLiteral(" (") + list + QLatin1Char(')');
  }
  entries.removeAll(QString());
  return entries.join(QStringLiteral(";;"));
}

QString TQtDesktop::DefaultSuffix(std::string_view filter) {
  const QStringList parts = ToQt(filter).split(QLatin1Char('|'));
  if (parts.size() < 2) return {};
  const QString first = parts[1].trimmed().section(QLatin1Char(';'), 0, 0);
  if (!first.startsWith(QStringLiteral("*."))) return {};
  const QString suffix = first.mid(2);
  if (suffix.isEmpty() || suffix.contains(QLatin1Char('*')) || suffix.contains(QLatin1Char('?'))) return {};
  return suffix;
}

std::optional<std::string> TQtDesktop::SaveFileName(const std::string& title, const std::string& folder,
                                                    const std::string& fileName, const std::string& filter) {
  // folder is a path as the program found it (local 8-bit); fileName is the name shown, cp1250.
  QString start = QFile::decodeName(QByteArray::fromStdString(folder));
  if (!fileName.empty()) {
    const QString name = ToQt(fileName);
    start = start.isEmpty() ? name : QDir(start).filePath(name);
  }
  QFileDialog dialog(Parent(), ToQt(title), start, DialogFilter(filter));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setDefaultSuffix(DefaultSuffix(filter));
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const QStringList chosen = dialog.selectedFiles();
  if (chosen.isEmpty() || chosen.front().isEmpty()) return std::nullopt;
  return QFile::encodeName(chosen.front()).toStdString();
}

std::optional<std::string> TQtDesktop::OpenFileName(const std::string& title, const std::string& filter) {
  const QString chosen = QFileDialog::getOpenFileName(Parent(), ToQt(title), QString(), DialogFilter(filter));
  if (chosen.isEmpty()) return std::nullopt;
  return QFile::encodeName(chosen).toStdString();
}

std::string TQtDesktop::DataFolder() {
  const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
  if (folder.isEmpty() || !QDir().mkpath(folder)) return {};
  return QFile::encodeName(folder).toStdString();
}

void TQtDesktop::Beep() { QApplication::beep(); }

void TQtDesktop::SetCursor(TCursor cursor) {
  const bool want = cursor == TCursor::Hourglass;
  if (want == hourglass_) return;  // at most one override of ours on Qt's stack
  if (want)
    QApplication::setOverrideCursor(Qt::WaitCursor);
  else
    QApplication::restoreOverrideCursor();
  hourglass_ = want;
}

TCursor TQtDesktop::Cursor() const { return hourglass_ ? TCursor::Hourglass : TCursor::Normal; }

void TQtDesktop::ProcessPendingEvents() { QCoreApplication::processEvents(); }

std::int64_t TQtDesktop::NowMs() const { return QDateTime::currentMSecsSinceEpoch(); }

std::int64_t TQtDesktop::SteadyMs() const {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

bool TQtDesktop::StartProcess(const std::string& commandLine) {
  QStringList args = QProcess::splitCommand(ToQt(commandLine));
  if (args.isEmpty()) return false;
  const QString program = args.takeFirst();
  return QProcess::startDetached(program, args);
}

bool TQtDesktop::OpenUrl(const std::string& url) {
  const QUrl address(ToQt(url));
  if (!address.isValid() || address.isEmpty()) return false;
  return QDesktopServices::openUrl(address);
}

}  // namespace zn
