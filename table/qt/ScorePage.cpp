// The score page of the table window: the two editable grids and the adding up.
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

#include "game/qt/Cp1250Codec.h"
#include "table/qt/BidWindow.h"
#include "table/qt/ViewText.h"

namespace zn {

void TBidWindow::BuildScorePage(QWidget* page) {
  const QString hints[2] = {QStringLiteral("1. és 4. helyen játszók eredményei"),
                            QStringLiteral("2. és 3. helyen játszók eredményei")};
  for (int g = 0; g < 2; ++g) {
    auto* grid = new QTableWidget(page);
    grid->setObjectName(QStringLiteral("Grid%1").arg(g + 1));
    grid->setGeometry(g == 0 ? 0 : 360, 0, 224, 181);
    grid->setToolTip(hints[g]);
    grid->setColumnCount(2);
    grid->setColumnWidth(0, 128);
    grid->horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->verticalHeader()->setDefaultSectionSize(19);
    grid->verticalHeader()->setFixedWidth(12);
    grid->verticalHeader()->setSectionsMovable(true);  // rows are dragged by their handle
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    grids_[static_cast<std::size_t>(g)] = grid;
    // The points are the user's own edit.
    connect(grid, &QTableWidget::cellChanged, this, [this, g](int row, int column) {
      if (drawing_ || column != 1) return;
      auto& rows = form_.Grids[static_cast<std::size_t>(g)].Rows;
      const auto r = static_cast<std::size_t>(row + 1);
      if (r < rows.size()) rows[r][1] = FromQt(grids_[static_cast<std::size_t>(g)]->item(row, 1)->text());
    });
    connect(grid->verticalHeader(), &QHeaderView::sectionMoved, this, [this, g](int, int from, int to) {
      if (drawing_) return;
      Act([&] { form_.GridMoveRow(g, from + 1, to + 1); });
      RedrawGrid(g);
    });
  }
  struct TButton {
    QPushButton** field;
    const char* name;
    QString caption, hint;
    int top;
  };
  const TButton buttons[] = {
      {&cmReplay_, "cmReplay", QStringLiteral("Ú&jrajátszás"),
       QStringLiteral("Ugyanezt a leosztást újrakezdi"), 8},
      {&cmNewDeal_, "cmNewDeal", QStringLiteral("Új &meccs"),
       QStringLiteral("Új véletlen osztás, eredmények törölve"), 38},
      {&cmNextDeal_, "cmNextDeal", QStringLiteral("&Következő"),
       QStringLiteral("A következő számozott leosztás"), 68},
      {&cmFix_, "cmFix", QStringLiteral("&Felír"), QStringLiteral("Elküldi az eredményt"), 98},
      {&cmAddUp_, "cmAddUp", QStringLiteral("Ö&sszead"), QStringLiteral("Az eredménypontokat összeadja"),
       128}};
  for (const TButton& b : buttons) {
    *b.field = new QPushButton(b.caption, page);
    (*b.field)->setObjectName(QString::fromLatin1(b.name));
    (*b.field)->setToolTip(b.hint);
    (*b.field)->setGeometry(240, b.top, 110, 26);
  }
  connect(cmReplay_, &QPushButton::clicked, this, [this] {
    if (actions_.Replay) Act(actions_.Replay);
  });
  connect(cmNewDeal_, &QPushButton::clicked, this, [this] {
    if (actions_.Match) Act(actions_.Match);
  });
  connect(cmNextDeal_, &QPushButton::clicked, this, [this] {
    if (actions_.NextDeal) Act(actions_.NextDeal);
  });
  connect(cmFix_, &QPushButton::clicked, this, [this] { Act([&] { form_.cmFixClick(); }); });
  connect(cmAddUp_, &QPushButton::clicked, this, [this] { Act([&] { form_.cmAddUpClick(); }); });
  auto* caption = new QLabel(QStringLiteral("Eredmény:"), page);
  caption->setObjectName(QStringLiteral("lbSum"));
  caption->move(260, 158);
  fdSum_ = new QLabel(page);
  fdSum_->setObjectName(QStringLiteral("fdSum"));
  fdSum_->setGeometry(230, 177, 126, 18);
  fdSum_->setAlignment(Qt::AlignCenter);
  QFont bold = fdSum_->font();
  bold.setBold(true);
  fdSum_->setFont(bold);
}

void TBidWindow::RedrawGrid(int g) {
  const bool was = drawing_;
  drawing_ = true;
  QTableWidget* grid = grids_[static_cast<std::size_t>(g)];
  const auto& rows = form_.Grids[static_cast<std::size_t>(g)].Rows;
  QHeaderView* header = grid->verticalHeader();
  // A dragged row has been moved in the fields: the header goes back to its plain order.
  for (int logical = 0; logical < header->count(); ++logical)
    if (header->visualIndex(logical) != logical) header->moveSection(header->visualIndex(logical), logical);
  grid->setHorizontalHeaderLabels({Text(rows[0][0]), Text(rows[0][1])});
  grid->setRowCount(static_cast<int>(rows.size()) - 1);
  for (std::size_t r = 1; r < rows.size(); ++r) {
    const int row = static_cast<int>(r) - 1;
    auto* label = new QTableWidgetItem(Text(rows[r][0]));
    label->setFlags(Qt::ItemIsEnabled);
    label->setBackground(palette().button());
    grid->setItem(row, 0, label);
    auto* points = new QTableWidgetItem(Text(rows[r][1]));
    points->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    grid->setItem(row, 1, points);
  }
  drawing_ = was;
}

void TBidWindow::RedrawScore() {
  RedrawGrid(0);
  RedrawGrid(1);
  fdSum_->setText(Text(form_.SumText));
  lbOver_->setText(Text(form_.OverText));
}

}  // namespace zn
