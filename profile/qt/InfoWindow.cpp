#include "profile/qt/InfoWindow.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "game/ErrorHandler.h"
#include "game/qt/Cp1250Codec.h"

namespace zn {

namespace {

QString Joined(const std::vector<std::string>& lines) {
  QStringList shown;
  for (const std::string& line : lines) shown << ToQt(line);
  return shown.join(QLatin1Char('\n'));
}

// The lines of a memo as the profile keeps them: a final line break adds no empty line.
std::vector<std::string> LinesOf(const QPlainTextEdit* memo) {
  QStringList lines = memo->toPlainText().split(QLatin1Char('\n'));
  if (!lines.isEmpty() && lines.back().isEmpty()) lines.removeLast();
  std::vector<std::string> out;
  for (const QString& line : lines) out.push_back(FromQt(line));
  return out;
}

QLabel* Caption(const QString& text, int left, int top, QWidget* buddy, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->move(left, top);
  label->adjustSize();
  label->setBuddy(buddy);
  return label;
}

}  // namespace

TInfoWindow::TInfoWindow(TInfo& form, QWidget* parent) : QDialog(parent), form_(form) {
  setObjectName(QStringLiteral("Info"));
  setWindowTitle(QStringLiteral("Személyes adatok"));
  setFixedSize(kWidth, kHeight);
  setModal(false);

  fdName_ = new QLineEdit(this);
  fdReal_ = new QLineEdit(this);
  fdWork_ = new QLineEdit(this);
  fdInfo_ = new QPlainTextEdit(this);
  fdBid_ = new QPlainTextEdit(this);
  cmSave_ = new QPushButton(QStringLiteral("OK"), this);
  cmCancel_ = new QPushButton(QStringLiteral("Mégsem"), this);
  const struct {
    QWidget* widget;
    const char* name;
    QRect place;
  } controls[] = {
      {fdName_, "fdName", {8, 24, 121, 21}},       {fdReal_, "fdReal", {136, 24, 153, 21}},
      {fdWork_, "fdWork", {296, 24, 105, 21}},     {fdInfo_, "fdInfo", {8, 80, 393, 73}},
      {fdBid_, "fdBid", {12, 184, 393, 73}},       {cmSave_, "cmSave", {80, 270, 89, 25}},
      {cmCancel_, "cmCancel", {264, 270, 89, 25}},
  };
  QWidget* previous = nullptr;
  for (const auto& c : controls) {
    c.widget->setObjectName(QString::fromLatin1(c.name));
    c.widget->setGeometry(c.place);
    if (previous) setTabOrder(previous, c.widget);
    previous = c.widget;
  }
  Caption(QStringLiteral("&Becenév:"), 16, 8, fdName_, this);
  Caption(QStringLiteral("&Teljes név:"), 144, 8, fdReal_, this);
  Caption(QStringLiteral("&Foglalkozás:"), 304, 8, fdWork_, this);
  Caption(QStringLiteral("&Bemutatkozás"), 16, 64, fdInfo_, this);
  Caption(QStringLiteral("&Licitálási konvenciók"), 24, 168, fdBid_, this);
  for (QPlainTextEdit* memo : {fdInfo_, fdBid_}) {
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo->setTabChangesFocus(true);
  }
  cmSave_->setDefault(true);
  cmSave_->setAutoDefault(true);
  cmCancel_->setAutoDefault(false);

  connect(fdName_, &QLineEdit::textEdited, this, [this](const QString& t) { form_.fdName = FromQt(t); });
  connect(fdReal_, &QLineEdit::textEdited, this, [this](const QString& t) { form_.fdReal = FromQt(t); });
  connect(fdWork_, &QLineEdit::textEdited, this, [this](const QString& t) { form_.fdWork = FromQt(t); });
  connect(fdInfo_, &QPlainTextEdit::textChanged, this, [this] {
    if (!drawing_) form_.fdInfo = LinesOf(fdInfo_);
  });
  connect(fdBid_, &QPlainTextEdit::textChanged, this, [this] {
    if (!drawing_) form_.fdBid = LinesOf(fdBid_);
  });
  connect(cmSave_, &QPushButton::clicked, this, [this] { Guarded([&] { form_.cmSaveClick(); }); });
  connect(cmCancel_, &QPushButton::clicked, this, [this] { Guarded([&] { form_.cmCancelClick(); }); });

  form_.Changed = [this](TInfo::Aspect aspect) { Redraw(aspect); };
  DrawFields();
  DrawLook();
  Redraw(TInfo::Aspect::Visible);
}

TInfoWindow::~TInfoWindow() {
  form_.Changed = nullptr;
  drawing_ = true;  // the fields change while they go: none of it is the user's
  for (QPlainTextEdit* memo : {fdInfo_, fdBid_}) memo->blockSignals(true);
}

void TInfoWindow::Redraw(TInfo::Aspect aspect) {
  switch (aspect) {
    case TInfo::Aspect::Visible:
      if (form_.Visible && !isVisible()) show();
      if (form_.Visible) raise();
      if (!form_.Visible && isVisible()) hide();
      break;
    case TInfo::Aspect::Fields:
      DrawFields();
      break;
    case TInfo::Aspect::Look:
      DrawLook();
      break;
  }
}

void TInfoWindow::DrawFields() {
  drawing_ = true;
  fdName_->setText(ToQt(form_.fdName));
  fdReal_->setText(ToQt(form_.fdReal));
  fdWork_->setText(ToQt(form_.fdWork));
  fdInfo_->setPlainText(Joined(form_.fdInfo));
  fdBid_->setPlainText(Joined(form_.fdBid));
  drawing_ = false;
}

// The own profile in the window colour with "OK"; any other read-only in the button colour.
void TInfoWindow::DrawLook() {
  const bool own = form_.OwnProfile;
  QPalette look = palette();
  look.setColor(QPalette::Base, palette().color(own ? QPalette::Base : QPalette::Button));
  for (QLineEdit* edit : {fdName_, fdReal_, fdWork_}) {
    edit->setPalette(look);
    edit->setReadOnly(!own);
  }
  for (QPlainTextEdit* memo : {fdInfo_, fdBid_}) {
    memo->setPalette(look);
    memo->setReadOnly(!own);
  }
  cmSave_->setVisible(own);
}

void TInfoWindow::reject() {
  Guarded([&] { form_.cmCancelClick(); });
}

void TInfoWindow::closeEvent(QCloseEvent* event) {
  // Hiding lets the next introduction request through at once.
  if (form_.Visible) form_.Hide();
  event->accept();
}

}  // namespace zn
