#include "table/qt/BidWindow.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QTableWidget>
#include <QToolButton>

#include "game/ErrorHandler.h"
#include "game/qt/Cp1250Codec.h"
#include "table/qt/CardLabel.h"
#include "table/qt/CardSheet.h"

namespace zn {

namespace {

constexpr int kPageWidth = 592;
constexpr int kPageHeight = 212;
constexpr int kPlayingWidth = 592, kPlayingHeight = 416;
constexpr int kWatchingWidth = 820, kWatchingHeight = 619;
constexpr int kLineHeight = 20;  // the message line below the cards

}  // namespace

void TBidWindow::Act(const std::function<void()>& handler) {
  if (drawing_) return;
  Guarded(handler);
}

TBidWindow::TBidWindow(TBidForm& form, QWidget* parent) : QWidget(parent, Qt::Window), form_(form) {
  setObjectName(QStringLiteral("BidForm"));
  setWindowTitle(QStringLiteral("Zenit Tarokk"));
  QFont font;
  // Arial where the desktop has it, else a face of the same narrow measure.
  font.setFamilies(
      {QStringLiteral("Arial"), QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans Condensed")});
  font.setPixelSize(13);
  setFont(font);
  resize(kWidth, kHeight);
  form_.Changed = [this](TBidForm::Aspect aspect) { Redraw(aspect); };
  Redraw(TBidForm::Aspect::Visible);
}

// The controls are made when the window first shows: a member who never sits down never pays for
// them, and the program starts faster.
void TBidWindow::Build() {
  built_ = true;
  pages_ = new QStackedWidget(this);
  pages_->setObjectName(QStringLiteral("Pages"));
  pages_->setGeometry(0, 0, kPageWidth, kPageHeight);
  auto* bid = new QWidget;
  auto* play = new QWidget;
  auto* score = new QWidget;
  bid->setObjectName(QStringLiteral("tabBid"));
  play->setObjectName(QStringLiteral("tabPlay"));
  score->setObjectName(QStringLiteral("tabScore"));
  pages_->addWidget(bid);
  pages_->addWidget(play);
  pages_->addWidget(score);
  BuildBidPage(bid);
  BuildPlayPage(play);
  BuildScorePage(score);
  BuildPanels();
  BuildAccess();
  for (auto a :
       {TBidForm::Aspect::Print, TBidForm::Aspect::Layout, TBidForm::Aspect::Page, TBidForm::Aspect::Buttons,
        TBidForm::Aspect::Bidding, TBidForm::Aspect::Catalog, TBidForm::Aspect::SendSet,
        TBidForm::Aspect::Play, TBidForm::Aspect::Score, TBidForm::Aspect::Spoken})
    Redraw(a);
}

TBidWindow::~TBidWindow() {
  form_.Changed = nullptr;
  // The hand panel loses the focus while its parent goes: no longer this window's business.
  if (panels_[1]) panels_[1]->OnFocusChange = nullptr;
}

void TBidWindow::SetActions(TTableActions actions) {
  actions_ = std::move(actions);
  if (built_) RedrawButtons();
}

void TBidWindow::Redraw(TBidForm::Aspect aspect) {
  if (!built_ && aspect != TBidForm::Aspect::Visible) return;  // all of it is drawn when built
  const bool was = drawing_;
  drawing_ = true;
  switch (aspect) {
    case TBidForm::Aspect::Visible:
      RedrawVisible();
      break;
    case TBidForm::Aspect::Layout:
      RedrawLayout();
      break;
    case TBidForm::Aspect::Page:
      RedrawPage();
      break;
    case TBidForm::Aspect::Buttons:
      RedrawButtons();
      break;
    case TBidForm::Aspect::Bidding:
      RedrawBidding();
      break;
    case TBidForm::Aspect::Catalog:
      RedrawCatalog();
      break;
    case TBidForm::Aspect::SendSet:
      RedrawSendSet();
      break;
    case TBidForm::Aspect::Hand:
      RedrawHand(1);
      break;
    case TBidForm::Aspect::Side2:
      RedrawHand(2);
      break;
    case TBidForm::Aspect::Side3:
      RedrawHand(3);
      break;
    case TBidForm::Aspect::Side4:
      RedrawHand(4);
      break;
    case TBidForm::Aspect::Play:
      RedrawPlay();
      break;
    case TBidForm::Aspect::Score:
      RedrawScore();
      break;
    case TBidForm::Aspect::Spoken:
      RedrawSpoken();
      break;
    case TBidForm::Aspect::Focus:
      RedrawFocus();
      break;
    case TBidForm::Aspect::Print:
      RedrawLayout();
      break;
  }
  drawing_ = was;
}

void TBidWindow::RedrawVisible() {
  if (form_.Visible && !built_) Build();
  if (form_.Visible && !isVisible()) {
    // The pictures are drawn from the first showing on.
    for (int panel = 1; panel <= 4; ++panel) RedrawHand(panel);
    RedrawPlay();
    show();
    placed_ = true;
    RedrawBidding();  // the list knows how many rows it shows only once it is shown
    FocusPage();
  }
  if (form_.Visible) raise();
  if (!form_.Visible && isVisible()) hide();
}

void TBidWindow::RedrawLayout() {
  const TTableLayout& l = form_.Layout;
  for (int i = 2; i <= 4; ++i) panels_[static_cast<std::size_t>(i)]->setVisible(l.SidePanels);
  const int width = l.SidePanels ? kWatchingWidth : kPlayingWidth;
  const int height = l.SidePanels ? kWatchingHeight : kPlayingHeight;
  FitScreen(width, height + kLineHeight);
  pages_->move(S(l.PageLeft), S(l.PageTop));
  panels_[1]->move(S(l.Panel1Left), S(l.Panel1Top));
  lbSpoken_->setGeometry(S(4), S(height), S(width - 8), S(kLineHeight));
}

void TBidWindow::FitScreen(int width, int height) {
  const QRect available = AvailableArea ? AvailableArea() : screen()->availableGeometry();
  // What the window manager adds round the window; a usual title bar while that is not known
  // (before the first showing, or no frame reported).
  QSize frame = frameGeometry().size() - size();
  if (!isVisible() || frame.width() <= 0 || frame.height() <= 0) frame = {8, 32};
  TTableFitInput in;
  in.Available = {available.x(), available.y(), available.width(), available.height()};
  in.Width = width;
  in.Height = height;
  in.FrameWidth = frame.width();
  in.FrameHeight = frame.height();
  in.LargePrint = form_.LargePrint;
  if (keepClear_ && keepClear_->isVisible()) {
    const QRect c = keepClear_->frameGeometry();
    in.Club = {c.x(), c.y(), c.width(), c.height()};
  }
  const TTableFit fit = FitTable(in);
  if (fit.Percent != scale_) ApplyPrint(fit.Percent);
  setFixedSize(S(width), S(height));
  // The first place is chosen; after that the member's own place stays, kept on the screen.
  const QRect now = frameGeometry();
  const TScreenRect at =
      placed_
          ? KeepInside({now.x(), now.y(), S(width) + frame.width(), S(height) + frame.height()}, in.Available)
          : fit.Frame;
  move(at.Left, at.Top);
}

void TBidWindow::RedrawPage() {
  // Called after every line: only what differs is touched.
  if (pages_->currentIndex() != form_.Page - 1) {
    pages_->setCurrentIndex(form_.Page - 1);
    FocusPage();
  }
  if (pnOver_->isVisibleTo(panels_[1]) != form_.OverVisible) pnOver_->setVisible(form_.OverVisible);
  if (cmNext_->isVisibleTo(pages_->widget(1)) != form_.NextVisible) {
    cmNext_->setVisible(form_.NextVisible);
    if (form_.NextVisible) cmNext_->setDefault(true);
  }
}

void TBidWindow::RedrawButtons() {
  cmGo_->setEnabled(form_.GoEnabled);
  cmGo_->setVisible(form_.GoVisible);
  pnHint_->setVisible(form_.HintVisible);
  cmFix_->setEnabled(form_.FixEnabled);
  const bool deal = actions_.DealCommandsEnabled ? actions_.DealCommandsEnabled() : true;
  cmNewDeal_->setEnabled(deal);
  cmNextDeal_->setEnabled(deal);
  for (QPushButton* b : {cmReplay_, cmNewDeal_, cmNextDeal_, cmFix_}) b->setVisible(form_.DealButtonsVisible);
}

void TBidWindow::closeEvent(QCloseEvent* event) {
  // Closing only hides it: the window lives as long as the program.
  Guarded([this] { form_.CloseByUser(); });
  event->accept();
}

bool TBidWindow::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type == QEvent::MouseButtonRelease && watched == fdSend_->viewport()) {
    // The release ends a press-and-drag in the composed set: the bid moves where it was let go.
    Act([&] { form_.BidMoveClick(); });
    return QWidget::eventFilter(watched, event);
  }
  if (type == QEvent::KeyPress && BidPageKey(watched, static_cast<QKeyEvent*>(event))) return true;
  if (type != QEvent::MouseButtonPress) return QWidget::eventFilter(watched, event);
  auto* press = static_cast<QMouseEvent*>(event);
  if (watched == fdSend_->viewport()) {
    // Before the press moves the selection: where a drag starts.
    Act([&] { form_.BidMouseDown(); });
  } else if (watched == fdBid_->viewport()) {
    const bool right = press->button() == Qt::RightButton;
    const int row = fdBid_->indexAt(press->position().toPoint()).row();
    Act([&] { form_.fdBidMouseDown(right, row); });
    if (right) return true;
  } else if (watched == fdGroups_->viewport()) {
    // Any group click resets the catalogue; a change of row does it through the selection.
    const int row = fdGroups_->indexAt(press->position().toPoint()).row();
    if (press->button() == Qt::LeftButton && row >= 0 && row == fdGroups_->currentRow())
      Act([&] { form_.BidGroupsClick(); });
  } else if (watched == pnOver_) {
    Act([&] { form_.cmNextClick(); });
  } else if (watched == pnHint_) {
    Act([&] { form_.pnHintClick(); });
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace zn
