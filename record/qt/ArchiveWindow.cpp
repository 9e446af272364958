#include "record/qt/ArchiveWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QThreadPool>
#include <QVBoxLayout>

#include "dealrecord/DealFormat.h"
#include "game/Cp1250.h"
#include "game/ErrorHandler.h"
#include "game/qt/Cp1250Codec.h"

namespace zn {

using namespace zn::literals;

namespace {

std::string Cards(const TCards& cards) {
  std::string s;
  for (const TCard c : cards) s += (s.empty() ? "" : ", ") + dealrecord::FormatCardName(c);
  return s;
}

}  // namespace

TArchiveWindow::TArchiveWindow(TArchiveForm& form, QWidget* parent) : QWidget(parent), form_(form) {
  setWindowTitle(ToQt(std::string("Archívum"_cp)));
  resize(760, 560);
  auto* layout = new QVBoxLayout(this);
  auto* top = new QHBoxLayout;
  top->addWidget(new QLabel(ToQt(std::string("Becenév:"_cp)), this));
  fdFilter_ = new QLineEdit(this);
  top->addWidget(fdFilter_);
  auto* cmExport = new QPushButton(ToQt(std::string("&Mentés..."_cp)), this);
  cmImport_ = new QPushButton(ToQt(std::string("&Betöltés..."_cp)), this);
  cmImport_->setObjectName(QStringLiteral("cmImport"));
  cmDelete_ = new QPushButton(ToQt(std::string("&Törlés"_cp)), this);
  cmDelete_->setObjectName(QStringLiteral("cmDelete"));
  cmDelete_->setToolTip(ToQt(std::string("A kijelölt leosztás törlése (Delete)"_cp)));
  top->addWidget(cmExport);
  top->addWidget(cmImport_);
  top->addWidget(cmDelete_);
  // While a file is read: how far it got, and a way to stop it.
  progress_ = new QProgressBar(this);
  progress_->setObjectName(QStringLiteral("ImportProgress"));
  progress_->setRange(0, 100);
  cmCancel_ = new QPushButton(ToQt(std::string("Mégse"_cp)), this);
  cmCancel_->setObjectName(QStringLiteral("cmImportCancel"));
  top->addWidget(progress_);
  top->addWidget(cmCancel_);
  layout->addLayout(top);

  list_ = new QTableWidget(this);
  list_->setObjectName(QStringLiteral("Deals"));
  list_->setColumnCount(5);
  list_->setHorizontalHeaderLabels({ToQt(std::string("Dátum"_cp)), ToQt(std::string("Terem")),
                                    ToQt(std::string("Osztás"_cp)), ToQt(std::string("Ülések"_cp)),
                                    ToQt(std::string("Eredmény"_cp))});
  list_->verticalHeader()->hide();
  list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  list_->setSelectionBehavior(QAbstractItemView::SelectRows);
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  // The date and the seats whole, however long the names; the result takes the rest.
  for (int c = 0; c < 4; ++c)
    list_->horizontalHeader()->setSectionResizeMode(c, QHeaderView::ResizeToContents);
  list_->horizontalHeader()->setStretchLastSection(true);
  layout->addWidget(list_, 2);

  auto* replay = new QHBoxLayout;
  table_ = new QPlainTextEdit(this);
  table_->setReadOnly(true);
  bids_ = new QListWidget(this);
  verdicts_ = new QListWidget(this);
  // A bid line or a verdict longer than its pane wraps: hidden past a side scroll bar it was missed.
  for (QListWidget* lines : {bids_, verdicts_}) {
    lines->setWordWrap(true);
    lines->setResizeMode(QListView::Adjust);
    lines->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  }
  replay->addWidget(table_, 3);
  replay->addWidget(bids_, 2);
  auto* analysis = new QVBoxLayout;
  lbLegend_ = new QLabel(this);
  lbLegend_->setObjectName(QStringLiteral("lbLegend"));
  lbLegend_->setWordWrap(true);
  analysis->addWidget(lbLegend_);
  analysis->addWidget(verdicts_, 1);
  replay->addLayout(analysis, 2);
  layout->addLayout(replay, 3);

  auto* steps = new QHBoxLayout;
  cmBack_ = new QPushButton(QStringLiteral("<<"), this);
  lbStep_ = new QLabel(this);
  cmForward_ = new QPushButton(QStringLiteral(">>"), this);
  cmAnalyse_ = new QPushButton(ToQt(std::string("&Elemzés"_cp)), this);
  cmAnalyse_->setObjectName(QStringLiteral("cmAnalyse"));
  steps->addWidget(cmBack_);
  steps->addWidget(lbStep_, 1);
  steps->addWidget(cmForward_);
  steps->addWidget(cmAnalyse_);
  layout->addLayout(steps);

  connect(fdFilter_, &QLineEdit::textEdited, this,
          [this](const QString& text) { Run([&] { form_.FilterChange(FromQt(text)); }); });
  // The arrow keys move the selection as a click does, and Enter opens the deal as a double click.
  connect(list_, &QTableWidget::currentCellChanged, this, [this](int row, int, int, int) {
    if (!drawing_ && row >= 0) Run([&] { form_.ListClick(row); });
  });
  connect(list_, &QTableWidget::activated, this,
          [this](const QModelIndex& index) { Run([&] { form_.ListDblClick(index.row()); }); });
  connect(cmBack_, &QPushButton::clicked, this, [this] { Run([&] { form_.BackClick(); }); });
  connect(cmForward_, &QPushButton::clicked, this, [this] { Run([&] { form_.ForwardClick(); }); });
  connect(cmAnalyse_, &QPushButton::clicked, this, [this] { Run([&] { form_.AnalyseClick(); }); });
  // The analysis searches on a worker; its answer comes back on the interface thread through the
  // application object, which outlives the window (the form drops an answer it no longer wants).
  form_.RunInBackground = [](std::function<void()> work) {
    QThreadPool::globalInstance()->start(std::move(work));
  };
  form_.PostToInterface = [](std::function<void()> answer) {
    QMetaObject::invokeMethod(qApp, std::move(answer), Qt::QueuedConnection);
  };
  connect(cmExport, &QPushButton::clicked, this, [this] { Run([&] { form_.ExportClick(); }); });
  connect(cmImport_, &QPushButton::clicked, this, [this] { Run([&] { form_.ImportClick(); }); });
  connect(cmCancel_, &QPushButton::clicked, this, [this] { Run([&] { form_.ImportCancelClick(); }); });
  connect(cmDelete_, &QPushButton::clicked, this, [this] { Run([&] { form_.DeleteClick(); }); });
  list_->installEventFilter(this);  // the Delete key on the list

  form_.Changed = [this](TArchiveForm::Aspect aspect) { Redraw(aspect); };
  DrawList();
  DrawReplay();
  DrawImport();
  if (form_.Visible) show();
}

TArchiveWindow::~TArchiveWindow() { form_.Changed = nullptr; }

void TArchiveWindow::Run(const std::function<void()>& action) { Guarded(action); }

bool TArchiveWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == list_ && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
    Run([&] { form_.DeleteClick(); });
    return true;
  }
  return QWidget::eventFilter(watched, event);
}

void TArchiveWindow::closeEvent(QCloseEvent* event) {
  form_.Close();
  event->accept();
}

void TArchiveWindow::Redraw(TArchiveForm::Aspect aspect) {
  switch (aspect) {
    case TArchiveForm::Aspect::Visible:
      DrawList();
      if (form_.Visible) {
        show();
        raise();
        activateWindow();
      }
      break;
    case TArchiveForm::Aspect::List:
      DrawList();
      break;
    case TArchiveForm::Aspect::Replay:
      DrawReplay();
      break;
    case TArchiveForm::Aspect::Import:
      DrawImport();
      break;
  }
}

void TArchiveWindow::DrawImport() {
  progress_->setValue(form_.ImportPercent);
  progress_->setVisible(form_.Importing);
  cmCancel_->setVisible(form_.Importing);
  cmImport_->setEnabled(!form_.Importing);
  cmDelete_->setEnabled(!form_.Importing);
}

void TArchiveWindow::DrawList() {
  drawing_ = true;
  list_->setRowCount(static_cast<int>(form_.ListCells.size()));
  for (int r = 0; r < list_->rowCount(); ++r)
    for (int c = 0; c < 5; ++c) {
      auto* item = new QTableWidgetItem(
          ToQt(form_.ListCells[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)]));
      list_->setItem(r, c, item);
    }
  if (form_.ListIndex >= 0) list_->selectRow(form_.ListIndex);
  if (fdFilter_->text() != ToQt(form_.Filter)) fdFilter_->setText(ToQt(form_.Filter));
  drawing_ = false;
}

// The four hands round the table and the trick on it, as text.
void TArchiveWindow::DrawReplay() {
  drawing_ = true;
  std::string text;
  if (form_.Deal) {
    const dealrecord::DealRecord& d = *form_.Deal;
    for (int seat = 1; seat <= kSeats; ++seat) {
      const auto s = static_cast<std::size_t>(seat);
      text += std::to_string(seat) + ". " + d.seats[s].name +
              (seat == d.dealer ? std::string(" (osztó)"_cp) : "") + "\n   " + Cards(form_.Hands[s]) + "\n";
    }
    if (form_.Step > 0) {
      text += std::string("\nAz asztalon:\n"_cp);
      for (int seat = 1; seat <= kSeats; ++seat) {
        const TCard c = form_.Table[static_cast<std::size_t>(seat)];
        text += "   " + std::to_string(seat) + ". " + dealrecord::FormatCardName(c) +
                (seat == form_.Leader ? std::string(" (hív)"_cp) : "") +
                (seat == form_.Winner ? std::string(" (viszi)") : "") + "\n";
      }
    }
  }
  table_->setPlainText(ToQt(text));
  bids_->clear();
  for (const std::string& line : form_.BidLines) bids_->addItem(ToQt(line));
  lbStep_->setText(ToQt(form_.StepText));
  verdicts_->clear();
  for (const std::string& line : form_.VerdictLines) verdicts_->addItem(ToQt(line));
  lbLegend_->setText(ToQt(form_.VerdictLegend));
  lbLegend_->setVisible(!form_.VerdictLegend.empty());
  cmAnalyse_->setEnabled(form_.Deal.has_value() && !form_.Analysing && form_.Verdicts.empty());
  cmBack_->setEnabled(form_.CanBack);
  cmForward_->setEnabled(form_.CanForward);
  drawing_ = false;
}

}  // namespace zn
