// The bid page of the table window: the bidding so far, the composed set, the catalogue.
#include <algorithm>

#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QToolButton>

#include "game/BidCatalogData.h"
#include "game/qt/FitFont.h"
#include "table/qt/BidWindow.h"
#include "table/qt/ViewText.h"

namespace zn {

namespace {

template <class W>
W* Place(W* w, int left, int top, int width, int height) {
  w->setGeometry(left, top, width, height);
  return w;
}

// List rows 16 pixels high at the designed print size, in proportion at others.
class TRowDelegate : public QStyledItemDelegate {
 public:
  TRowDelegate(QObject* parent, const int* scale) : QStyledItemDelegate(parent), scale_(scale) {}
  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    return {option.fontMetrics.horizontalAdvance(index.data().toString()) + 6, 16 * *scale_ / kOrdinaryPrint};
  }

 private:
  const int* scale_;
};

QListWidget* List(QWidget* page, const char* name, const QString& hint, const int* scale) {
  auto* list = new QListWidget(page);
  list->setObjectName(QString::fromLatin1(name));
  list->setToolTip(hint);
  list->setUniformItemSizes(true);
  list->setItemDelegate(new TRowDelegate(list, scale));
  return list;
}

// Rewrites a list's rows, keeping the ones that are already right (a B line repeats the bidding so far).
void SetRows(QListWidget* list, const std::vector<std::string>& rows) {
  const int count = static_cast<int>(rows.size());
  int same = 0;
  while (same < count && same < list->count() &&
         list->item(same)->text() == Text(rows[static_cast<std::size_t>(same)]))
    ++same;
  while (list->count() > same) delete list->takeItem(list->count() - 1);
  for (int i = same; i < count; ++i) list->addItem(Text(rows[static_cast<std::size_t>(i)]));
}

QToolButton* SmallButton(QWidget* page, const char* name, const QString& hint, QStyle::StandardPixmap glyph,
                         int top) {
  auto* b = Place(new QToolButton(page), 380, top, 28, 28);
  b->setObjectName(QString::fromLatin1(name));
  b->setToolTip(hint);
  b->setIcon(page->style()->standardIcon(glyph));
  return b;
}

}  // namespace

// "<<<" as wide as the face draws it, in the middle of the gap between the composed set and the
// catalogue: a face wider than the designed one would otherwise run under the catalogue.
void TBidWindow::PlaceArrow() {
  lbArrow_->adjustSize();
  const int left = fdSend_->geometry().right() + 1;
  const int gap = fdBid_->geometry().left() - left;
  lbArrow_->move(left + std::max(0, gap - lbArrow_->width()) / 2, lbArrow_->y());
}

void TBidWindow::BuildBidPage(QWidget* page) {
  fdAllBid_ = Place(List(page, "fdAllBid", QStringLiteral("Eddigi licitek"), &scale_), 0, 0, 264, 199);
  fdAllBid_->setSelectionMode(QAbstractItemView::NoSelection);
  fdAllBid_->setTextElideMode(Qt::ElideNone);
  fdSend_ = Place(List(page, "fdSend", QStringLiteral("Licit szerkesztés"), &scale_), 264, 0, 113, 150);
  fdSend_->viewport()->installEventFilter(this);
  fdUp_ = SmallButton(page, "fdUp", QStringLiteral("Felfelé"), QStyle::SP_ArrowUp, 1);
  fdAdd_ = SmallButton(page, "fdAdd", QStringLiteral("Új licit"), QStyle::SP_ArrowLeft, 37);
  lbArrow_ = new QLabel(QStringLiteral("<<<"), page);
  lbArrow_->setObjectName(QStringLiteral("lbArrow"));
  lbArrow_->move(384, 67);
  fdDel_ = SmallButton(page, "fdDel", QStringLiteral("Licit törlés"), QStyle::SP_DialogDiscardButton, 90);
  fdDown_ = SmallButton(page, "fdDown", QStringLiteral("Lefelé"), QStyle::SP_ArrowDown, 126);

  cmGo_ = Place(new QPushButton(QStringLiteral("&Mehet"), page), 268, 155, 109, 43);
  cmGo_->setObjectName(QStringLiteral("cmGo"));
  cmGo_->setToolTip(QStringLiteral("A licit(ek) elküldése"));
  // Bold by its own font, not the style sheet's: large print doubles a widget's own font.
  QFont bold = cmGo_->font();
  bold.setBold(true);
  cmGo_->setFont(bold);
  cmGo_->setStyleSheet(
      QStringLiteral("QPushButton { color: #c00000; }"
                     "QPushButton:disabled { color: #a08080; }"));
  pnHint_ = Place(new QLabel(page), 266, 151, 145, 48);
  pnHint_->setObjectName(QStringLiteral("pnHint"));
  pnHint_->setWordWrap(true);
  pnHint_->setAlignment(Qt::AlignCenter);
  pnHint_->setAutoFillBackground(true);
  pnHint_->setBackgroundRole(QPalette::ToolTipBase);
  pnHint_->setForegroundRole(QPalette::ToolTipText);
  pnHint_->setFrameShape(QFrame::Box);
  pnHint_->installEventFilter(this);
  pnHint_->hide();

  fdBid_ = Place(List(page, "fdBid", QStringLiteral("Licit lehetőségek"), &scale_), 412, 0, 90, 199);
  fdBid_->setCursor(Qt::WhatsThisCursor);
  fdBid_->viewport()->installEventFilter(this);
  fdGroups_ = Place(List(page, "fdGroups", QStringLiteral("Licit csoportok"), &scale_), 504, 0, 80, 164);
  PlaceArrow();
  std::vector<std::pair<QString, int>> captions;
  // The list's width is fixed: the captions are narrowed to its rows, inside frame and margins.
  const int room =
      fdGroups_->width() - 2 * fdGroups_->frameWidth() -
      2 * (fdGroups_->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, fdGroups_) + 1);
  for (int g = 0; g < kBidGroupCount; ++g) {
    fdGroups_->addItem(Text(BidGroupCaption(g)));
    captions.emplace_back(Text(BidGroupCaption(g)), room);
  }
  fdGroups_->setFont(FitFont(fdGroups_->font(), captions));
  fdGroups_->viewport()->installEventFilter(this);  // a press on the selected group changes no row
  fdHigher_ = Place(new QComboBox(page), 504, 174, 80, 24);
  fdHigher_->setObjectName(QStringLiteral("fdHigher"));
  fdHigher_->setToolTip(QStringLiteral("Licitek előtagjai"));
  fdHigher_->setEditable(true);
  fdHigher_->setInsertPolicy(QComboBox::NoInsert);
  for (int i = 0; i < kPrefixCount; ++i) fdHigher_->addItem(Text(PrefixWord(i)));

  connect(fdUp_, &QToolButton::clicked, this, [this] { Act([&] { form_.BidUpClick(); }); });
  connect(fdDown_, &QToolButton::clicked, this, [this] { Act([&] { form_.BidDownClick(); }); });
  connect(fdDel_, &QToolButton::clicked, this, [this] { Act([&] { form_.BidDelClick(); }); });
  connect(fdAdd_, &QToolButton::clicked, this, [this] { Act([&] { form_.BidAddClick(); }); });
  connect(fdBid_, &QListWidget::itemDoubleClicked, this, [this] { Act([&] { form_.BidAddClick(); }); });
  connect(cmGo_, &QPushButton::clicked, this, [this] { Act([&] { form_.BidSendClick(); }); });
  // Selections and typed text are the user's own edits: the view writes them into the fields.
  connect(fdBid_, &QListWidget::currentRowChanged, this, [this](int row) {
    if (!drawing_) form_.BidIndex = row;
  });
  connect(fdSend_, &QListWidget::currentRowChanged, this, [this](int row) {
    if (!drawing_) form_.SendIndex = row;
  });
  connect(fdGroups_, &QListWidget::currentRowChanged, this, [this](int row) {
    if (drawing_ || row < 0) return;
    form_.GroupIndex = row;
    Act([&] { form_.BidGroupsClick(); });
  });
  connect(fdHigher_, &QComboBox::editTextChanged, this, [this](const QString& text) {
    if (drawing_) return;
    form_.HigherText = FromQt(text);
    form_.HigherIndex = fdHigher_->findText(text, Qt::MatchExactly);
  });
}

void TBidWindow::RedrawBidding() {
  SetRows(fdAllBid_, form_.AllBids);
  // The list scrolls by rows: the scroll bar's value is the top row. The list takes its new
  // range only when it lays out its rows, which Qt puts off: until then the value is clamped to
  // the old range and the newest rows stay below the visible area.
  fdAllBid_->doItemsLayout();
  fdAllBid_->verticalScrollBar()->setValue(form_.AllBidsTop);
}

void TBidWindow::RedrawCatalog() {
  if (fdGroups_->currentRow() != form_.GroupIndex) fdGroups_->setCurrentRow(form_.GroupIndex);
  SetRows(fdBid_, form_.BidRows);
  if (fdBid_->currentRow() != form_.BidIndex) fdBid_->setCurrentRow(form_.BidIndex);
  if (form_.HigherIndex >= 0 && form_.HigherIndex < fdHigher_->count())
    fdHigher_->setCurrentIndex(form_.HigherIndex);
  if (fdHigher_->currentText() != Text(form_.HigherText)) fdHigher_->setEditText(Text(form_.HigherText));
  pnHint_->setText(Text(form_.HintText));
  pnHint_->setVisible(form_.HintVisible);
  cmGo_->setVisible(form_.GoVisible);
}

void TBidWindow::RedrawSendSet() {
  std::vector<std::string> rows;
  for (const TSendRow& row : form_.SendRows) rows.push_back(row.Bid);
  SetRows(fdSend_, rows);
  fdSend_->setCurrentRow(form_.SendIndex);
}

}  // namespace zn
