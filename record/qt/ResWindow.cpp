#include "record/qt/ResWindow.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

#include "game/Cp1250.h"
#include "game/ErrorHandler.h"
#include "game/qt/AccessNames.h"
#include "game/qt/Cp1250Codec.h"
#include "game/qt/FitFont.h"

namespace zn {

using namespace zn::literals;

namespace {

constexpr int kRowHeight = 20;

QTableWidget* NewGrid(QWidget* parent, const char* name, std::initializer_list<int> widths) {
  auto* grid = new QTableWidget(parent);
  grid->setObjectName(QString::fromLatin1(name));
  grid->setColumnCount(static_cast<int>(widths.size()));
  int c = 0;
  for (int w : widths) grid->setColumnWidth(c++, w);
  grid->verticalHeader()->hide();
  grid->verticalHeader()->setDefaultSectionSize(kRowHeight);
  grid->verticalHeader()->setMinimumSectionSize(kRowHeight);
  grid->horizontalHeader()->setFixedHeight(kRowHeight);
  grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  grid->horizontalHeader()->setHighlightSections(false);
  // Narrow columns: the headings use the whole cell.
  grid->horizontalHeader()->setStyleSheet(QStringLiteral("QHeaderView::section { padding: 0px; }"));
  grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  grid->setWordWrap(false);
  return grid;
}

// Sets the text of a cell, making the item when needed; fixed cells take the button colour.
void SetCell(QTableWidget* grid, int row, int col, const std::string& text, bool fixed) {
  QTableWidgetItem* item = grid->item(row, col);
  if (!item) {
    item = new QTableWidgetItem;
    if (fixed) item->setBackground(grid->palette().button());
    grid->setItem(row, col, item);
  }
  const QString shown = ToQt(text);
  if (item->text() != shown) item->setText(shown);
}

void SetHeader(QTableWidget* grid, int col, const std::string& text) {
  QTableWidgetItem* item = grid->horizontalHeaderItem(col);
  if (!item) {
    item = new QTableWidgetItem;
    grid->setHorizontalHeaderItem(col, item);
  }
  item->setText(ToQt(text));
}

// The columns' widths are fixed: their headings are narrowed until the given ones fit.
void FitHeadings(QTableWidget* grid, std::initializer_list<std::pair<std::string_view, int>> headings) {
  QHeaderView* header = grid->horizontalHeader();
  std::vector<std::pair<QString, int>> texts;
  for (const auto& [text, column] : headings)
    texts.emplace_back(ToQt(std::string(text)), grid->columnWidth(column) - 4);
  header->setFont(FitFont(header->font(), texts));
}

}  // namespace

TResWindow::TResWindow(TResForm& form, QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      form_(form) {
  setObjectName(QStringLiteral("ResForm"));
  setWindowTitle(QStringLiteral("Lejátszott partik"));
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(13);
  setFont(font);
  setFixedSize(kWidth, kHeight);

  pages_ = new QTabWidget(this);
  pages_->setObjectName(QStringLiteral("Pages"));
  pages_->setGeometry(0, 0, kWidth, kHeight);
  auto* tabHand = new QWidget;
  tabHand->setObjectName(QStringLiteral("tabHand"));
  auto* tabBid = new QWidget;
  tabBid->setObjectName(QStringLiteral("tabBid"));
  auto* tabPlay = new QWidget;
  tabPlay->setObjectName(QStringLiteral("tabPlay"));
  pages_->addTab(tabHand, QStringLiteral("Partik"));
  pages_->addTab(tabBid, QStringLiteral("Licitek"));
  pages_->addTab(tabPlay, QStringLiteral("Lejátszás"));
  BuildListPage(tabHand);

  bidList_ = new QPlainTextEdit(tabBid);
  bidList_->setObjectName(QStringLiteral("BidList"));
  bidList_->setReadOnly(true);
  bidList_->setLineWrapMode(QPlainTextEdit::NoWrap);
  bidList_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  bidList_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  auto* bidLayout = new QVBoxLayout(tabBid);
  bidLayout->setContentsMargins(0, 0, 0, 0);
  bidLayout->addWidget(bidList_);

  game_ = NewGrid(tabPlay, "Game", {33, 60, 60, 60, 60});
  game_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  game_->setSelectionMode(QAbstractItemView::NoSelection);
  game_->setRowCount(TResForm::kPlayRows - 1);
  game_->setGeometry(0, 0, 33 + 4 * 60 + 2, kRowHeight * TResForm::kPlayRows + 2);
  FitHeadings(
      game_,
      {{"Ütés"_cp, 0}, {"<< Elfogó"_cp, 1}, {"<< Induló"_cp, 2}, {"Elfogó >>"_cp, 3}, {"Induló >>"_cp, 4}});

  connect(pages_, &QTabWidget::currentChanged, this, [this](int index) {
    if (!drawing_) Guarded([&] { form_.PagesChange(static_cast<TResForm::TPage>(index)); });
  });

  pages_->setAccessibleName(QStringLiteral("Lejátszott partik"));
  played_->setAccessibleName(QStringLiteral("Partik"));
  bidList_->setAccessibleName(QStringLiteral("Licitek"));
  game_->setAccessibleName(QStringLiteral("Lejátszás"));
  NameFromHints(this);

  form_.Changed = [this](TResForm::Aspect aspect) { Redraw(aspect); };
  DrawGames();
  DrawPlay();
  Redraw(TResForm::Aspect::Visible);
}

void TResWindow::BuildListPage(QWidget* page) {
  played_ = NewGrid(page, "Played", {16, 23, 101, 40, 40, 55});
  played_->setSelectionBehavior(QAbstractItemView::SelectRows);
  played_->setSelectionMode(QAbstractItemView::SingleSelection);
  played_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  played_->setShowGrid(false);
  played_->setToolTip(QStringLiteral("Utasítások jobb egérgombbal"));
  played_->setContextMenuPolicy(Qt::CustomContextMenu);
  FitHeadings(played_, {{"Parti szám"_cp, 2}, {"Ütések"_cp, 5}});

  popup_ = new QMenu(this);
  popup_->setObjectName(QStringLiteral("Popup"));
  TResForm* form = &form_;
  auto add = [this, form](const QString& caption, const char* name, void (TResForm::*handler)()) {
    QAction* action = popup_->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    connect(action, &QAction::triggered, this, [form, handler] { Guarded([&] { (form->*handler)(); }); });
  };
  add(QStringLiteral("&Vált"), "cmChange", &TResForm::cmChangeClick);
  add(QStringLiteral("&Ezt törli"), "cmDelete", &TResForm::cmDeleteClick);
  add(QStringLiteral("&Töröl (- mind)"), "cmDelAll", &TResForm::cmDelAllClick);
  connect(played_, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { popup_->popup(played_->viewport()->mapToGlobal(at)); });
  connect(played_, &QTableWidget::currentCellChanged, this, [this](int row, int, int, int) {
    if (!drawing_ && row >= 0) form_.PlayedSelect(row + 1);
  });
  connect(played_, &QTableWidget::cellDoubleClicked, this, [this](int row, int) {
    form_.PlayedSelect(row + 1);
    Guarded([&] { form_.cmChangeClick(); });
  });

  cmSave_ = new QPushButton(QStringLiteral("&Megőriz"), page);
  cmSave_->setObjectName(QStringLiteral("cmSave"));
  cmSave_->setToolTip(QStringLiteral("Elkészíti a játszmalapot"));
  cmSave_->setDefault(true);
  cmSave_->setFixedSize(80, 25);
  cmMatch_ = new QPushButton(QStringLiteral("Meccs&lap"), page);
  cmMatch_->setObjectName(QStringLiteral("cmMatch"));
  cmMatch_->setToolTip(QStringLiteral("Elkészíti a mecslapot"));
  cmMatch_->setFixedSize(80, 25);
  auto* layout = new QVBoxLayout(page);
  layout->setContentsMargins(0, 0, 0, 4);
  layout->setSpacing(4);
  layout->addWidget(played_);
  auto* buttons = new QHBoxLayout;
  buttons->setContentsMargins(8, 0, 8, 0);
  buttons->addWidget(cmSave_);
  buttons->addWidget(cmMatch_);
  buttons->addStretch();
  layout->addLayout(buttons);
  connect(cmSave_, &QPushButton::clicked, this, [this] { Guarded([&] { form_.cmSaveClick(); }); });
  connect(cmMatch_, &QPushButton::clicked, this, [this] { Guarded([&] { form_.cmMatchClick(); }); });
}

TResWindow::~TResWindow() {
  form_.Changed = nullptr;
  // The widgets outlive this part of the window and signal while they go: none of it is the user's.
  played_->blockSignals(true);
  pages_->blockSignals(true);
}

void TResWindow::Redraw(TResForm::Aspect aspect) {
  switch (aspect) {
    case TResForm::Aspect::Visible:
      if (form_.Visible && !isVisible()) show();
      if (form_.Visible) raise();
      if (!form_.Visible && isVisible()) hide();
      break;
    case TResForm::Aspect::Page:
      DrawPage();
      break;
    case TResForm::Aspect::Games:
      DrawGames();
      break;
    case TResForm::Aspect::GameRow:
      DrawGameRow();
      break;
    case TResForm::Aspect::Headers:
      DrawHeaders();
      break;
    case TResForm::Aspect::Bids:
      DrawBids();
      break;
    case TResForm::Aspect::Play:
      DrawPlay();
      break;
  }
}

void TResWindow::DrawPage() {
  drawing_ = true;
  pages_->setCurrentIndex(static_cast<int>(form_.Page));
  drawing_ = false;
}

void TResWindow::DrawHeaders() {
  const std::array<std::string, 6> heads = {
      "", "", std::string("Parti szám"_cp), form_.Header3, form_.Header4, std::string("Ütések"_cp)};
  for (int c = 0; c < 6; ++c) SetHeader(played_, c, heads[static_cast<std::size_t>(c)]);
}

void TResWindow::DrawRow(int r) {
  const TResForm::TGame* game = form_.Row(r);
  const std::array<std::string, 6> cells =
      game ? std::array<std::string, 6>{game->Mark,     game->Played,   game->Number,
                                        game->Points14, game->Points23, game->Tricks}
           : std::array<std::string, 6>{};
  for (int c = 0; c < 6; ++c) SetCell(played_, r - 1, c, cells[static_cast<std::size_t>(c)], c < 2);
}

void TResWindow::DrawGames() {
  drawing_ = true;
  DrawHeaders();
  const int rows = std::max(form_.GameCount(), 1);  // an empty row while there is no game
  played_->setRowCount(rows);
  for (int r = 1; r <= rows; ++r) DrawRow(r);
  played_->setCurrentCell(form_.Selected - 1, played_->currentColumn() < 0 ? 0 : played_->currentColumn());
  drawing_ = false;
}

void TResWindow::DrawGameRow() {
  const int rows = std::max(form_.GameCount(), 1);
  const int row = form_.ChangedRow;
  // Only the row itself, or a new last row, is drawn alone; any other change redraws the list.
  const bool appended = played_->rowCount() + 1 == rows && row == rows;
  if (row < 1 || row > rows || (played_->rowCount() != rows && !appended)) {
    DrawGames();
    return;
  }
  drawing_ = true;
  if (appended) played_->setRowCount(rows);
  DrawRow(row);
  if (played_->currentRow() != form_.Selected - 1)
    played_->setCurrentCell(form_.Selected - 1, played_->currentColumn() < 0 ? 0 : played_->currentColumn());
  drawing_ = false;
}

void TResWindow::DrawBids() {
  QStringList lines;
  for (const std::string& line : form_.BidList) lines << ToQt(line);
  bidList_->setPlainText(lines.join(QLatin1Char('\n')));
}

void TResWindow::DrawPlay() {
  for (int c = 0; c < TResForm::kPlayCols; ++c)
    SetHeader(game_, c, form_.Game[0][static_cast<std::size_t>(c)]);
  for (int r = 1; r < TResForm::kPlayRows; ++r)
    for (int c = 0; c < TResForm::kPlayCols; ++c)
      SetCell(game_, r - 1, c, form_.Game[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)], c == 0);
}

void TResWindow::keyPressEvent(QKeyEvent* event) {
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (enter && cmSave_->isVisible() && cmSave_->isEnabled()) {
    cmSave_->click();
    return;
  }
  QWidget::keyPressEvent(event);
}

void TResWindow::closeEvent(QCloseEvent* event) {
  form_.FormClose();  // closing only hides it
  event->accept();
}

}  // namespace zn
