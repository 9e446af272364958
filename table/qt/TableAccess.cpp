// The table window for the keyboard, the screen reader and large print: the keys of the own hand
// and the bid page, the controls' names, the message line, and doubling the window.
#include <QAbstractButton>
#include <QAbstractScrollArea>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QListWidget>
#include <QPushButton>
#include <QStackedWidget>
#include <QTableWidget>
#include <QToolButton>
#include <vector>

#include "game/Hands.h"
#include "game/qt/AccessNames.h"
#include "table/qt/BidWindow.h"
#include "table/qt/ViewText.h"

namespace zn {

namespace {

bool IsEnter(const QKeyEvent* e) { return e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter; }

// Widgets that place their own parts (a list's scroll bars, a combo box's edit) are resized whole;
// their parts follow.
bool PlacedByParent(const QWidget* w, const QWidget* window) {
  for (const QWidget* p = w->parentWidget(); p && p != window; p = p->parentWidget())
    if (qobject_cast<const QAbstractScrollArea*>(p) || qobject_cast<const QComboBox*>(p)) return true;
  const QWidget* parent = w->parentWidget();
  return parent && parent->layout() && parent->layout()->indexOf(const_cast<QWidget*>(w)) >= 0;
}

}  // namespace

void TBidWindow::BuildAccess() {
  TClickPanel* hand = panels_[1];
  hand->setFocusPolicy(Qt::StrongFocus);
  hand->setAccessibleName(QStringLiteral("Saját lapok"));
  hand->setAccessibleDescription(QStringLiteral(
      "Balra, jobbra, Home, End: lap választása; Enter vagy szóköz: kijátszás, ütés után tovább"));
  hand->OnKey = [this](QKeyEvent* e) { return HandKey(e); };
  hand->OnFocusChange = [this] { RedrawFocus(); };
  focusFrame_ = new TFocusFrame(hand);
  focusFrame_->setObjectName(QStringLiteral("FocusFrame"));
  focusFrame_->setAccessibleName(QStringLiteral("A kiválasztott lap kerete"));
  const QString sides[5] = {{},
                            {},
                            QStringLiteral("Jobb oldali lapok (2. hely)"),
                            QStringLiteral("Felső lapok (3. hely)"),
                            QStringLiteral("Bal oldali lapok (4. hely)")};
  for (int i = 2; i <= 4; ++i) panels_[static_cast<std::size_t>(i)]->setAccessibleName(sides[i]);

  lbSpoken_ = new QLabel(this);
  lbSpoken_->setObjectName(QStringLiteral("lbSpoken"));
  lbSpoken_->setAccessibleName(QStringLiteral("Hírek"));
  lbSpoken_->setAccessibleDescription(QStringLiteral("Az utolsó lap, licit vagy eredmény"));

  pages_->setAccessibleName(QStringLiteral("Asztal"));
  const QString pageNames[3] = {QStringLiteral("Licitálás"), QStringLiteral("Ütés"),
                                QStringLiteral("Eredmények")};
  for (int i = 0; i < 3; ++i) pages_->widget(i)->setAccessibleName(pageNames[i]);
  cmNext_->setToolTip(QStringLiteral("Tovább (Enter)"));
  cmNext_->setAccessibleName(QStringLiteral("Tovább"));
  cmNext_->setAccessibleDescription(QStringLiteral("A következő ütés"));
  pnOver_->setAccessibleName(QStringLiteral("A játék befejeződött"));
  fdSend_->setAccessibleDescription(QStringLiteral("Delete: a kijelölt licit törlése"));
  fdBid_->setAccessibleDescription(QStringLiteral("Enter: a licit hozzáadása"));
  fdBid_->installEventFilter(this);
  fdSend_->installEventFilter(this);
  cmGo_->setAccessibleDescription(QStringLiteral("A licit(ek) elküldése (Alt+M)"));
  grids_[0]->setAccessibleName(grids_[0]->toolTip());
  grids_[1]->setAccessibleName(grids_[1]->toolTip());
  fdSum_->setAccessibleName(QStringLiteral("Eredmény"));

  // Tab goes through the bid page as a member composes (catalogue, set, send), then the play page
  // and the own hand, then the score page.
  const std::vector<QWidget*> order = {
      fdGroups_, fdBid_, fdHigher_, fdAdd_,    fdSend_,  fdUp_,  fdDown_,   fdDel_,     cmGo_,      fdAllBid_,
      cmNext_,   hand,   grids_[0], grids_[1], cmAddUp_, cmFix_, cmReplay_, cmNewDeal_, cmNextDeal_};
  for (std::size_t i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
  NameFromHints(this);
}

bool TBidWindow::HandKey(QKeyEvent* e) {
  if (e->modifiers() & (Qt::AltModifier | Qt::ControlModifier)) return false;
  using K = TBidForm::THandKey;
  switch (e->key()) {
    case Qt::Key_Left:
      Act([&] { form_.HandKey(K::Left); });
      return true;
    case Qt::Key_Right:
      Act([&] { form_.HandKey(K::Right); });
      return true;
    case Qt::Key_Home:
      Act([&] { form_.HandKey(K::Home); });
      return true;
    case Qt::Key_End:
      Act([&] { form_.HandKey(K::End); });
      return true;
    case Qt::Key_Space:
    case Qt::Key_Return:
    case Qt::Key_Enter:
      Act([&] { form_.HandEnter(); });
      return true;
    default:
      return false;
  }
}

bool TBidWindow::BidPageKey(QObject* watched, QKeyEvent* e) {
  if (watched == fdBid_ && IsEnter(e)) {
    Act([&] { form_.BidAddClick(); });
    return true;
  }
  if (watched == fdSend_ && e->key() == Qt::Key_Delete) {
    Act([&] { form_.BidDelClick(); });
    return true;
  }
  return false;
}

void TBidWindow::keyPressEvent(QKeyEvent* event) {
  if (IsEnter(event) && cmNext_ && cmNext_->isVisibleTo(this) && cmNext_->isEnabled()) {
    cmNext_->click();
    return;
  }
  QWidget::keyPressEvent(event);
}

void TBidWindow::RedrawFocus() {
  if (!built_) return;
  const auto& cards = cards_[1];
  const int i = form_.HandFocus;
  // The window's own focus, kept while another window is active: the frame marks where the keys go.
  const bool shown = !form_.Watching && focusWidget() == panels_[1] && i >= 0 &&
                     i < static_cast<int>(form_.Panels[1].Images.size()) &&
                     i < static_cast<int>(cards.size());
  if (!shown) {
    focusFrame_->hide();
    focusSaid_ = -1;
    return;
  }
  TCardLabel* card = cards[static_cast<std::size_t>(i)];
  // Only the part of the card that shows: a frame over the cards lying on it would hide their index.
  QRect visible = card->geometry();
  const auto& images = form_.Panels[1].Images;
  for (std::size_t j = 0; j < images.size() && j < cards.size(); ++j) {
    const int left = cards[j]->geometry().left();
    if (images[j].Z > images[static_cast<std::size_t>(i)].Z && left > visible.left() &&
        left <= visible.right())
      visible.setRight(left - 1);
  }
  focusFrame_->setGeometry(visible);
  focusFrame_->show();
  focusFrame_->raise();
  if (card->Code != focusSaid_) {
    focusSaid_ = card->Code;
    AnnounceFocus(card);
  }
}

void TBidWindow::RedrawSpoken() {
  const QString text = Text(form_.Spoken);
  Announce(lbSpoken_, text);
  lbSpoken_->setToolTip(text);
  lbSpoken_->setStyleSheet(form_.Offline ? QStringLiteral("color: #c00000;") : QString());
  if (text.isEmpty()) lbSpoken_->setAccessibleName(QStringLiteral("Hírek"));
}

// The trick in the middle as words: each seat's name with its card.
void TBidWindow::NameTrick() {
  QStringList parts;
  for (int seat = 1; seat <= 4; ++seat) {
    const QString name = trickLabels_[static_cast<std::size_t>(seat)]->text();
    const QString who = name.isEmpty() ? QStringLiteral("%1. hely").arg(seat) : name;
    const std::string card = CardSpokenName(form_.TrickImages[static_cast<std::size_t>(seat)]);
    parts << who + QStringLiteral(": ") + (card.empty() ? QStringLiteral("nincs lap") : Text(card));
    trickImages_[static_cast<std::size_t>(seat)]->setAccessibleDescription(who + QStringLiteral(" lapja"));
  }
  pages_->widget(1)->setAccessibleDescription(parts.join(QStringLiteral("; ")));
}

// A page the program opens takes the keys where a member goes on there: the catalogue's groups,
// the own hand, the adding up.
void TBidWindow::FocusPage() {
  QWidget* to = form_.Page == TBidForm::tabBid    ? static_cast<QWidget*>(fdGroups_)
                : form_.Page == TBidForm::tabPlay ? static_cast<QWidget*>(panels_[1])
                                                  : static_cast<QWidget*>(cmAddUp_);
  to->setFocus(Qt::OtherFocusReason);
}

void TBidWindow::ApplyPrint(int percent) {
  Rescale(percent);
  scale_ = percent;
  for (QListWidget* list : {fdAllBid_, fdSend_, fdBid_, fdGroups_}) {
    list->setUniformItemSizes(false);  // forgets the row size it measured
    list->setUniformItemSizes(true);
    list->doItemsLayout();
  }
  if (form_.Visible) {
    for (int panel = 1; panel <= 4; ++panel) RedrawHand(panel);
    RedrawPlay();
  }
  for (QLabel* label : trickLabels_)  // the names that size themselves to their text
    if (label && label->minimumWidth() != label->maximumWidth()) label->adjustSize();
  PlaceArrow();
  RedrawBidding();
}

namespace {

// A measure at the designed size, kept on the control the first time it is scaled, so that every
// later print size is taken from it and never from a rounded one.
int Base(QWidget* w, const char* name, int now, int from) {
  const QVariant kept = w->property(name);
  if (kept.isValid()) return kept.toInt();
  const int base = from == kOrdinaryPrint ? now : now * kOrdinaryPrint / from;
  w->setProperty(name, base);
  return base;
}

}  // namespace

void TBidWindow::Rescale(int to) {
  const int from = scale_;
  const auto sc = [to](int base) { return base * to / kOrdinaryPrint; };
  QList<QWidget*> all = findChildren<QWidget*>();
  // Fonts are read before any is set: a child that inherits would otherwise grow twice.
  std::vector<std::pair<QWidget*, QFont>> fonts;
  all.prepend(this);
  for (QWidget* w : all) {
    if (w != this && !w->testAttribute(Qt::WA_SetFont)) continue;
    QFont f = w->font();
    if (f.pixelSize() > 0) {
      f.setPixelSize(std::max(1, sc(Base(w, "znFontPx", f.pixelSize(), from))));
    } else {
      // Points in hundredths, so that the kept measure is a whole number.
      const int base = Base(w, "znFontPt", static_cast<int>(f.pointSizeF() * 100 + 0.5), from);
      f.setPointSizeF(std::max(1.0, sc(base) / 100.0));
    }
    fonts.emplace_back(w, f);
  }
  all.removeFirst();
  for (QWidget* w : all) {
    if (PlacedByParent(w, this)) continue;
    if (w->minimumWidth() == w->maximumWidth())
      w->setFixedWidth(sc(Base(w, "znFixedW", w->minimumWidth(), from)));
    if (w->minimumHeight() == w->maximumHeight())
      w->setFixedHeight(sc(Base(w, "znFixedH", w->minimumHeight(), from)));
    const QRect g = w->geometry();
    w->setGeometry(sc(Base(w, "znLeft", g.x(), from)), sc(Base(w, "znTop", g.y(), from)),
                   sc(Base(w, "znWidth", g.width(), from)), sc(Base(w, "znHeight", g.height(), from)));
    if (auto* b = qobject_cast<QAbstractButton*>(w)) {
      const QSize icon = b->iconSize();
      b->setIconSize(
          {sc(Base(w, "znIconW", icon.width(), from)), sc(Base(w, "znIconH", icon.height(), from))});
    }
    if (auto* t = qobject_cast<QTableView*>(w)) {
      for (int c = 0; c < t->model()->columnCount(); ++c) {
        const QByteArray name = "znColumn" + QByteArray::number(c);
        t->setColumnWidth(c, sc(Base(w, name.constData(), t->columnWidth(c), from)));
      }
      QHeaderView* side = t->verticalHeader();
      for (QHeaderView* h : {t->horizontalHeader(), side}) {
        h->setMinimumSectionSize(sc(Base(h, "znMinSection", h->minimumSectionSize(), from)));
        h->setDefaultSectionSize(sc(Base(h, "znDefaultSection", h->defaultSectionSize(), from)));
      }
      if (side->minimumWidth() == side->maximumWidth())
        side->setFixedWidth(sc(Base(side, "znSideWidth", side->minimumWidth(), from)));
    }
  }
  for (auto& [w, f] : fonts) w->setFont(f);
}

}  // namespace zn
