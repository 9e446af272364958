// The club window's frame: the pages on top, the chat box, message area and present list below,
// the status bar, the redraw of each aspect, the dispatcher's timer and the flash timer.
#include "shell/qt/ClubWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>

#include "game/ErrorHandler.h"
#include "game/qt/AccessNames.h"
#include "game/qt/Cp1250Codec.h"
#include "link/Protocol.h"
#include "shell/qt/ClubWidgets.h"
#include "table/qt/CardSheet.h"

namespace zn {

QFont ClubFont() {
  QFont font(QStringLiteral("Arial"));
  // The desktop's letters when they are larger: a member who enlarged them for every program
  // gets them here too.
  font.setPixelSize(std::max(13, QFontInfo(QApplication::font()).pixelSize()));
  return font;
}

void FillList(QListWidget* list, const std::vector<std::string>& rows, int index) {
  bool same = list->count() == static_cast<int>(rows.size());
  for (int i = 0; same && i < list->count(); ++i) same = list->item(i)->text() == ToQt(rows[i]);
  if (!same) {
    list->clear();
    for (const std::string& row : rows) list->addItem(ToQt(row));
  }
  list->setCurrentRow(index >= 0 && index < list->count() ? index : -1);
}

TClubWindow::TClubWindow(TZnForm& form, QWidget* parent) : QMainWindow(parent), form_(form) {
  setObjectName(QStringLiteral("ZnForm"));
  // Minimize and close, no maximize.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  setFont(ClubFont());
  resize(kWidth, kHeight);

  idle_.setInterval(0);
  idle_.setSingleShot(true);
  connect(&idle_, &QTimer::timeout, this, &TClubWindow::IdleTimeout);
  flash_.setInterval(kFlashMs);
  connect(&flash_, &QTimer::timeout, this, [this] { Run([this] { form_.TimerTimer(); }); });
  link_.setInterval(kLinkTickMs);
  connect(&link_, &QTimer::timeout, this, [this] { Run([this] { form_.LinkTimerTimer(); }); });

  BuildMenus();
  BuildFrame();
  BuildStatusBar();
  // A screen reader speaks a control's hint as its name; the room's picture says what it shows.
  findChild<QLabel*>(QStringLiteral("RoomImage"))->setAccessibleName(QStringLiteral("Az asztal"));
  NameFromHints(this);

  form_.State.Changed = [this](TClubState::Aspect aspect) { Redraw(aspect); };
  form_.WakeIdle = [this] { WakeIdle(); };
  form_.CloseWindow = [this] { close(); };
  RedrawAll();
}

TClubWindow::~TClubWindow() {
  idle_.stop();
  flash_.stop();
  link_.stop();
  form_.State.Changed = nullptr;
  form_.WakeIdle = nullptr;
  form_.CloseWindow = nullptr;
}

void TClubWindow::Run(const std::function<void()>& handler) {
  Guarded(handler);
  DrawActions();
  // The application is idle again after an action: one dispatcher pass refreshes the server panel
  // and takes what waits.
  WakeIdle();
}

void TClubWindow::BuildFrame() {
  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->setSpacing(4);

  // The pages share one area whose tabs are hidden: one page at a time.
  pages_ = new QStackedWidget(central);
  pages_->setObjectName(QStringLiteral("Page"));
  pages_->addWidget(BuildConnectPage());
  pages_->addWidget(BuildLobbyPage());
  pages_->addWidget(BuildRoomPage());
  pages_->setFixedHeight(185);
  layout->addWidget(pages_);
  layout->addWidget(BuildSharedArea(), 1);
  setCentralWidget(central);
}

QWidget* TClubWindow::BuildSharedArea() {
  auto* area = new QWidget(this);
  auto* grid = new QVBoxLayout(area);
  grid->setContentsMargins(0, 0, 0, 0);
  grid->setSpacing(2);

  auto* chatRow = new QHBoxLayout;
  auto* chatLabel = new QLabel(QStringLiteral("Ü&zenet"), area);
  fdChat_ = new QComboBox(area);
  fdChat_->setObjectName(QStringLiteral("fdChat"));
  fdChat_->setEditable(true);
  fdChat_->setInsertPolicy(QComboBox::NoInsert);
  // cp1250 is one byte a character, so the box holds what the server relays and no more.
  fdChat_->lineEdit()->setMaxLength(static_cast<int>(proto::kMaxChatBytes));
  fdChat_->setToolTip(QStringLiteral("Ide lehet beírni az üzenetet, majd ENTER"));
  for (std::string_view phrase : TClubState::ChatPhrases) fdChat_->addItem(ToQt(phrase));
  fdChat_->setCurrentIndex(-1);
  fdChat_->setEditText(QString());
  chatLabel->setBuddy(fdChat_);
  chatRow->addWidget(chatLabel);
  chatRow->addWidget(fdChat_, 1);
  grid->addLayout(chatRow);
  // The box's text is the logic's field; Enter sends it.
  connect(fdChat_, &QComboBox::editTextChanged, this, [this](const QString& text) {
    if (!drawing_) form_.State.ChatText = FromQt(text);
  });
  // Enter is taken here, before the box's own handling sees it a second time: on the box itself,
  // which holds the focus, and on its line edit, which it passes some keys on to.
  fdChat_->installEventFilter(this);
  fdChat_->lineEdit()->installEventFilter(this);

  auto* lower = new QHBoxLayout;
  memo_ = new QPlainTextEdit(area);
  memo_->setObjectName(QStringLiteral("Memo"));
  memo_->setReadOnly(true);
  memo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  memo_->setToolTip(QStringLiteral("Az üzenetablak mérete változtatható"));
  lower->addWidget(memo_, 1);

  auto* presentBox = new QVBoxLayout;
  auto* presentLabel = new QLabel(QStringLiteral("&Jelenlevők"), area);
  fdPresent_ = new QListWidget(area);
  fdPresent_->setObjectName(QStringLiteral("fdPresent"));
  fdPresent_->setToolTip(QStringLiteral("A helységben tartozkodók"));
  fdPresent_->setFixedWidth(110);
  presentLabel->setBuddy(fdPresent_);
  presentBox->addWidget(presentLabel);
  presentBox->addWidget(fdPresent_, 1);
  lower->addLayout(presentBox);
  grid->addLayout(lower, 1);
  connect(fdPresent_, &QListWidget::currentRowChanged, this, [this](int row) {
    if (!drawing_) Run([this, row] { form_.fdPresentClick(row); });
  });
  connect(fdPresent_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
    const int row = fdPresent_->row(item);
    Run([this, row] { form_.fdPresentDblClick(row); });
  });
  return area;
}

bool TClubWindow::eventFilter(QObject* watched, QEvent* event) {
  if ((watched == fdChat_ || watched == fdChat_->lineEdit()) && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      form_.State.ChatText = FromQt(fdChat_->currentText());
      Run([this] { form_.fdChatEnter(); });
      return true;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

void TClubWindow::BuildStatusBar() {
  QStatusBar* bar = statusBar();
  bar->setSizeGripEnabled(false);
  const std::array<int, 3> widths = {77, 66, 50};
  const std::array<Qt::Alignment, 3> aligns = {Qt::AlignCenter, Qt::AlignRight | Qt::AlignVCenter,
                                               Qt::AlignLeft | Qt::AlignVCenter};
  for (std::size_t i = 0; i < status_.size(); ++i) {
    status_[i] = new QLabel(bar);
    status_[i]->setObjectName(QStringLiteral("Status%1").arg(i));
    // The last panel takes the rest of the bar, so a whole server address shows.
    const bool last = i + 1 == status_.size();
    if (last)
      status_[i]->setMinimumWidth(widths[i]);
    else
      status_[i]->setFixedWidth(widths[i]);
    status_[i]->setAlignment(aligns[i]);
    status_[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    bar->addWidget(status_[i], last ? 1 : 0);
  }
  status_[1]->setText(QStringLiteral("Szerver "));
}

void TClubWindow::Redraw(TClubState::Aspect aspect) {
  ++drawing_;
  switch (aspect) {
    case TClubState::Aspect::Page:
      DrawPage();
      break;
    case TClubState::Aspect::Caption:
      DrawCaption();
      break;
    case TClubState::Aspect::Menus:
      DrawMenus();
      break;
    case TClubState::Aspect::Actions:
      DrawActions();
      break;
    case TClubState::Aspect::Memo:
      DrawMemo();
      break;
    case TClubState::Aspect::Address:
      DrawAddress();
      break;
    case TClubState::Aspect::Lobby:
      DrawLobby();
      break;
    case TClubState::Aspect::Present:
      DrawPresent();
      break;
    case TClubState::Aspect::Room:
      DrawRoom();
      break;
    case TClubState::Aspect::Status:
      DrawStatus();
      break;
    case TClubState::Aspect::Chat:
      DrawChat();
      break;
    case TClubState::Aspect::Flash:
      DrawFlash();
      break;
  }
  --drawing_;
}

void TClubWindow::RedrawAll() {
  for (auto aspect : {TClubState::Aspect::Page, TClubState::Aspect::Caption, TClubState::Aspect::Menus,
                      TClubState::Aspect::Actions, TClubState::Aspect::Memo, TClubState::Aspect::Address,
                      TClubState::Aspect::Lobby, TClubState::Aspect::Present, TClubState::Aspect::Room,
                      TClubState::Aspect::Status, TClubState::Aspect::Chat, TClubState::Aspect::Flash})
    Redraw(aspect);
}

void TClubWindow::DrawPage() {
  pages_->setCurrentIndex(std::clamp(static_cast<int>(form_.State.Page), 0, 2));
  // The pictures are read when their page first shows, not at start-up.
  if (form_.State.Page == TClubState::tabLobby && lobbyPicture_->pixmap().isNull())
    lobbyPicture_->setPixmap(LobbyPicture());
  if (form_.State.Page == TClubState::tabRoom) {
    auto* room = findChild<QLabel*>(QStringLiteral("RoomImage"));
    if (room && room->pixmap().isNull()) {
      room->setStyleSheet({});
      room->setPixmap(RoomPicture());
    }
  }
}

void TClubWindow::DrawCaption() { setWindowTitle(ToQt(form_.State.Caption)); }

void TClubWindow::DrawMemo() {
  const std::vector<std::string>& lines = form_.State.Memo;
  // Lines added at the end are appended (the cost does not grow with the history); after a
  // clear or a trim the area is drawn again, at most the cap's lines.
  if (form_.State.MemoRewrites == memoRewrites_ && lines.size() >= memoShown_) {
    for (std::size_t i = memoShown_; i < lines.size(); ++i) memo_->appendPlainText(ToQt(lines[i]));
  } else {
    QStringList text;
    text.reserve(static_cast<qsizetype>(lines.size()));
    for (const std::string& line : lines) text << ToQt(line);
    memo_->setPlainText(text.join(u'\n'));
    memoRewrites_ = form_.State.MemoRewrites;
  }
  memoShown_ = lines.size();
  memo_->verticalScrollBar()->setValue(memo_->verticalScrollBar()->maximum());
}

void TClubWindow::DrawPresent() { FillList(fdPresent_, form_.State.Present, form_.State.PresentIndex); }

void TClubWindow::DrawStatus() {
  status_[0]->setText(ToQt(form_.State.StatusNick));
  // On the way back after a drop the server's panel counts down to the next attempt.
  status_[2]->setText(
      ToQt(form_.State.StatusReturn.empty() ? form_.State.StatusServer : form_.State.StatusReturn));
  if (form_.State.LinkTimerEnabled && !link_.isActive()) link_.start();
  if (!form_.State.LinkTimerEnabled) link_.stop();
}

void TClubWindow::DrawChat() {
  if (FromQt(fdChat_->currentText()) != form_.State.ChatText)
    fdChat_->setEditText(ToQt(form_.State.ChatText));
}

void TClubWindow::DrawFlash() {
  if (form_.State.TimerEnabled && !flash_.isActive()) flash_.start();
  if (!form_.State.TimerEnabled) flash_.stop();
  // Each toggle asks the desktop for attention for one tick: the task bar entry blinks along.
  if (form_.State.FlashOn) QApplication::alert(this, kFlashMs);
}

// ---- The dispatcher ----------------------------------------------------------------------------

void TClubWindow::WakeIdle() {
  if (inIdle_) {
    idleAgain_ = true;
    return;
  }
  if (!idle_.isActive()) idle_.start();
}

void TClubWindow::IdleTimeout() {
  // A box shown by a line runs the event loop; the dispatcher never runs inside itself.
  if (inIdle_) {
    idleAgain_ = true;
    return;
  }
  inIdle_ = true;
  idleAgain_ = false;
  bool more = false;
  Guarded([&] { more = form_.IdleHandler(); });
  inIdle_ = false;
  DrawActions();
  if (more || idleAgain_) idle_.start();
}

// ---- Life cycle --------------------------------------------------------------------------------

void TClubWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (shown_) return;
  shown_ = true;
  // The first showing asks for the nickname once the window is on screen, then starts dispatching.
  QTimer::singleShot(0, this, [this] {
    Run([this] { form_.FormShow(); });
    WakeIdle();
  });
}

void TClubWindow::closeEvent(QCloseEvent* event) {
  const bool active = QApplication::activeWindow() == this;
  bool proceed = false;
  Guarded([&] { proceed = form_.CloseQuery(active); });
  if (!proceed) {
    event->ignore();
    return;
  }
  // The dispatcher goes first: no line is dispatched while the windows close.
  idle_.stop();
  flash_.stop();
  event->accept();
  emit Closed();
}

}  // namespace zn
