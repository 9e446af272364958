// The play page and the hand panels of the table window.
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <algorithm>
#include <numeric>

#include "game/Hands.h"
#include "game/qt/Cp1250Codec.h"
#include "table/qt/BidWindow.h"
#include "table/qt/CardLabel.h"
#include "table/qt/CardSheet.h"
#include "table/qt/ViewText.h"

namespace zn {

namespace {

constexpr int kCardW = TCardSheet::kCardWidth;
constexpr int kCardH = TCardSheet::kCardHeight;

struct TSeatPlace {
  int pictureLeft, pictureTop, labelLeft, labelTop;
  bool rightAligned;
};
// The page is only a little higher than a card: seats 3 and 1 lie side by side in the middle,
// slightly staggered, so that every card shows whole within the page (none cut at the top or by
// the hand below); their names lie on the foot of their own card.
constexpr TSeatPlace kSeatPlaces[5] = {{0, 0, 0, 0, false},
                                       {290, 8, 292, 192, false},
                                       {414, 0, 530, 80, false},
                                       {186, 0, 188, 184, false},
                                       {62, 0, 0, 80, true}};
constexpr int kMiddleLabelWidth = 100;

// A picture is named by its card, as a screen reader speaks it; a place without a card says so.
void ShowCode(TCardLabel* label, TCard code, bool framed, int scale) {
  if (label->Code == code && label->Framed == framed && label->Scale == scale) return;
  label->Code = code;
  label->Framed = framed;
  label->Scale = scale;
  const std::string spoken = CardSpokenName(code);
  label->setAccessibleName(spoken.empty() ? QStringLiteral("Nincs lap") : Text(spoken));
  if (code == TBidForm::kNoPicture) {
    label->clear();
    label->setToolTip({});
    return;
  }
  TCardSheet& sheet = TCardSheet::Instance();
  const QPixmap picture = framed ? sheet.FramedPicture(code) : sheet.Picture(code);
  // Whole multiples keep the drawn pixels sharp; other sizes are smoothed.
  label->setPixmap(scale == kOrdinaryPrint ? picture
                   : scale % kOrdinaryPrint == 0
                       ? picture.scaled(picture.size() * (scale / kOrdinaryPrint))
                       : picture.scaled(picture.size() * scale / kOrdinaryPrint, Qt::IgnoreAspectRatio,
                                        Qt::SmoothTransformation));
  label->setToolTip(Text(CardName(code)));
}

QLabel* RedBold(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  QFont f = label->font();
  f.setBold(true);
  f.setItalic(true);
  label->setFont(f);
  label->setStyleSheet(QStringLiteral("color: #c00000;"));
  return label;
}

}  // namespace

void TBidWindow::BuildPlayPage(QWidget* page) {
  for (int seat = 1; seat <= 4; ++seat) {
    const TSeatPlace& at = kSeatPlaces[seat];
    auto* picture = new TCardLabel(page);
    picture->setObjectName(QStringLiteral("TrickImage%1").arg(seat));
    picture->setGeometry(at.pictureLeft, at.pictureTop, kCardW, kCardH);
    picture->OnPress = [this, seat](bool) { Act([&] { form_.TrickImageClick(seat); }); };
    trickImages_[static_cast<std::size_t>(seat)] = picture;
  }
  trickImages_[1]->raise();  // the own card lies over seat 3's right edge, never over its index
  for (int seat = 1; seat <= 4; ++seat) {
    const TSeatPlace& at = kSeatPlaces[seat];
    auto* label = new QLabel(page);
    label->setObjectName(QStringLiteral("TrickLabel%1").arg(seat));
    label->move(at.labelLeft, at.labelTop);
    if (at.rightAligned) {
      label->setFixedWidth(60);
      label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    if (seat == 1 || seat == 3) {
      label->setFixedWidth(kMiddleLabelWidth);
      label->setAutoFillBackground(true);  // readable over the card
    }
    QFont f = label->font();
    f.setBold(true);
    label->setFont(f);
    trickLabels_[static_cast<std::size_t>(seat)] = label;
  }
  // The names lie over the pictures.
  cmNext_ = new QPushButton(page);
  cmNext_->setObjectName(QStringLiteral("cmNext"));
  cmNext_->setGeometry(2, 2, 50, 25);
  cmNext_->setIcon(style()->standardIcon(QStyle::SP_MediaPlay));
  cmNext_->setAutoDefault(true);
  cmNext_->hide();
  connect(cmNext_, &QPushButton::clicked, this, [this] { Act([&] { form_.cmNextClick(); }); });
  fdTrick_ = new QLabel(page);
  fdTrick_->setObjectName(QStringLiteral("fdTrick"));
  fdTrick_->setGeometry(530, 4, 54, 16);
  fdTrick_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  fdTrick_->setToolTip(QStringLiteral("Ütésszám / Ebből >>"));
}

void TBidWindow::BuildPanels() {
  for (int i = 1; i <= 4; ++i) {
    const THandPanel& logic = form_.Panels[static_cast<std::size_t>(i)];
    auto* panel = new TClickPanel(this);
    panel->setObjectName(QStringLiteral("Panel%1").arg(i));
    // A side panel reaches over the window's full height; its cards spread over the first 414 pixels.
    panel->resize(logic.Width, logic.Vertical ? 619 : logic.Height);
    panels_[static_cast<std::size_t>(i)] = panel;
  }
  panels_[1]->OnClick = [this] { Act([&] { form_.cmNextClick(); }); };
  // Watching: seat 3 on top, seat 4 on the left, seat 2 on the right, seat 1 at the bottom.
  panels_[3]->move(114, 0);
  panels_[4]->move(0, 0);
  panels_[2]->move(114 + 592, 0);

  pnOver_ = new QFrame(panels_[1]);
  pnOver_->setObjectName(QStringLiteral("pnOver"));
  pnOver_->setGeometry(64, 8, 465, 190);
  pnOver_->setFrameShape(QFrame::StyledPanel);
  pnOver_->setAutoFillBackground(true);
  auto* title = RedBold(QStringLiteral("A játék befejeződött"), pnOver_);
  title->setGeometry(0, 10, 465, 24);
  title->setAlignment(Qt::AlignCenter);
  QFont big = title->font();
  big.setPixelSize(18);
  title->setFont(big);
  auto* caption = new QLabel(QStringLiteral("Ütésszám"), pnOver_);
  caption->setObjectName(QStringLiteral("Label1"));
  caption->setGeometry(0, 48, 465, 18);
  caption->setAlignment(Qt::AlignCenter);
  lbOver_ = RedBold(QStringLiteral("5 : 5"), pnOver_);
  lbOver_->setObjectName(QStringLiteral("lbOver"));
  lbOver_->setGeometry(0, 68, 465, 30);
  lbOver_->setAlignment(Qt::AlignCenter);
  lbOver_->setFont(big);
  struct TButton {
    const char* name;
    QString caption;
    int left, top;
  };
  const TButton buttons[] = {{"cmLast", QStringLiteral("&Utolsó ütés"), 40, 112},
                             {"Button2", QStringLiteral("&Eredmények"), 250, 112},
                             {"cmBid", QStringLiteral("&Licitek..."), 40, 148},
                             {"cmHand", QStringLiteral("&Partik..."), 250, 148}};
  for (const TButton& b : buttons) {
    auto* button = new QPushButton(b.caption, pnOver_);
    button->setObjectName(QString::fromLatin1(b.name));
    button->setGeometry(b.left, b.top, 175, 28);
    const std::string name = b.name;
    connect(button, &QPushButton::clicked, this, [this, name] {
      if (name == "cmLast") Act([&] { form_.cmLastClick(); });
      if (name == "Button2") Act([&] { form_.cmScoreClick(); });
      if (name == "cmBid" && actions_.Bids) Act(actions_.Bids);
      if (name == "cmHand" && actions_.Hands) Act(actions_.Hands);
    });
  }
  pnOver_->hide();
  for (QWidget* w : {static_cast<QWidget*>(pnOver_)}) w->installEventFilter(this);
}

void TBidWindow::RedrawHand(int panel) {
  if (!form_.Visible) return;  // drawn when the window shows: the sheet loads then
  const THandPanel& logic = form_.Panels[static_cast<std::size_t>(panel)];
  auto& pictures = cards_[static_cast<std::size_t>(panel)];
  QWidget* host = panels_[static_cast<std::size_t>(panel)];
  while (pictures.size() < logic.Images.size()) pictures.push_back(new TCardLabel(host));
  const bool own = panel == 1 && !form_.Watching;
  for (std::size_t i = 0; i < pictures.size(); ++i) {
    TCardLabel* label = pictures[i];
    if (i >= logic.Images.size()) {
      label->hide();
      continue;
    }
    const TCardImage& image = logic.Images[i];
    label->setGeometry(S(image.Left), S(image.Top), S(kCardW), S(kCardH));
    ShowCode(label, image.Code, image.Framed, scale_);
    const int index = static_cast<int>(i);
    if (own) {
      label->OnPress = [this, index](bool right) { Act([&] { form_.CardSelect(index, right); }); };
      label->OnRelease = [this, index] { Act([&] { form_.CardOrder(index); }); };
      label->OnDoubleClick = [this, index] { Act([&] { form_.CardSend(index); }); };
    } else {
      label->OnPress = nullptr;
      label->OnRelease = nullptr;
      label->OnDoubleClick = nullptr;
    }
    label->show();
  }
  // Stack by Z: the picture pressed last lies on top.
  std::vector<std::size_t> order(logic.Images.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  std::sort(order.begin(), order.end(),
            [&](std::size_t a, std::size_t b) { return logic.Images[a].Z < logic.Images[b].Z; });
  for (std::size_t i : order) pictures[i]->raise();
  if (panel == 1) {
    pnOver_->raise();
    RedrawFocus();
  }
}

void TBidWindow::RedrawPlay() {
  const QString trick = Text(form_.TrickText);
  if (fdTrick_->text() != trick) fdTrick_->setText(trick);
  for (int seat = 1; seat <= 4; ++seat) {
    QLabel* label = trickLabels_[static_cast<std::size_t>(seat)];
    const TTrickLabel& logic = form_.TrickLabels[static_cast<std::size_t>(seat)];
    // Only what changed is touched: a P line comes after every card.
    const QString text = Text(logic.Text);
    if (label->text() != text) {
      label->setText(text);
      if (!kSeatPlaces[seat].rightAligned) label->adjustSize();
    }
    const QColor colour = logic.Red ? QColor(208, 0, 0) : QColor(Qt::black);
    if (label->palette().color(QPalette::WindowText) != colour) {
      QPalette palette = label->palette();
      palette.setColor(QPalette::WindowText, colour);
      label->setPalette(palette);
    }
    // A picture is redrawn only when its code changes.
    TCardLabel* picture = trickImages_[static_cast<std::size_t>(seat)];
    if (form_.Visible) ShowCode(picture, form_.TrickImages[static_cast<std::size_t>(seat)], false, scale_);
    if (picture->testAttribute(Qt::WA_TransparentForMouseEvents) != form_.Watching)
      picture->setAttribute(Qt::WA_TransparentForMouseEvents, form_.Watching);
  }
  NameTrick();
}

}  // namespace zn
