// The club window's menu bar: every menu in its order, each item showing one action record of the
// logic (caption, hint, check mark, enabled, visible) and running its handler.
#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

#include "game/qt/Cp1250Codec.h"
#include "shell/qt/ClubWindow.h"
#include "table/ZnBid.h"
#include "table/qt/RulesWindow.h"

namespace zn {

namespace {
// The top-level menus the logic shows and hides by connection state.
const QString kMessages = QStringLiteral("Ü&zenetek");
const QString kLobby = QStringLiteral("&Társalgó");
const QString kRoom = QStringLiteral("&Terem");
const QString kView = QStringLiteral("&Nézet");
const QString kDeal = QStringLiteral("&Osztás");
}  // namespace

QAction* TClubWindow::AddAction(QMenu* menu, TAction& action, bool checkable) {
  QAction* item = menu->addAction(ToQt(action.MenuText()));
  item->setCheckable(checkable);
  connect(item, &QAction::triggered, this, [this, &action] {
    Run([&action] {
      if (action.Execute) action.Execute();
    });
  });
  actions_.emplace_back(item, &action);
  return item;
}

void TClubWindow::BuildMenus() {
  QMenuBar* bar = menuBar();
  auto top = [&](const QString& caption) {
    QMenu* menu = bar->addMenu(caption);
    menu->setToolTipsVisible(true);
    menus_.emplace_back(menu, caption);
    return menu;
  };
  TZnForm& f = form_;

  QMenu* world = top(QStringLiteral("&Külvilág"));
  AddAction(world, f.Actions.cmDisconnect);
  world->addSeparator();
  AddAction(world, f.Actions.cmShowCode);
  AddAction(world, f.Actions.cmEnterCode);
  world->addSeparator();
  AddAction(world, f.Actions.cmExit);

  QMenu* messages = top(kMessages);
  AddAction(messages, f.Actions.cmMsg);
  AddAction(messages, f.Actions.cmClear);
  messages->addSeparator();
  AddAction(messages, f.Actions.cmPing);
  AddAction(messages, f.Actions.cmLogMsg);
  messages->addSeparator();
  AddAction(messages, f.Actions.cmInfo);

  QMenu* lobby = top(kLobby);
  AddAction(lobby, f.Actions.cmNewRoom);
  AddAction(lobby, f.Actions.cmEnter);

  QMenu* room = top(kRoom);
  QMenu* sit = room->addMenu(QStringLiteral("&Leül"));
  sit->setToolTipsVisible(true);
  AddAction(sit, f.Actions.cmOpener);
  AddAction(sit, f.Actions.cmCatcher);
  AddAction(sit, f.Actions.cmOpenDef);
  AddAction(sit, f.Actions.cmCatDef);
  AddAction(room, f.Actions.cmStand);
  AddAction(room, f.Actions.cmRobot);
  room->addSeparator();
  AddAction(room, f.Actions.cmLobby);

  QMenu* view = top(kView);
  QMenu* order = view->addMenu(QStringLiteral("&Sorrend"));
  order->setToolTipsVisible(true);
  AddAction(order, f.Actions.cmNormal, true);
  AddAction(order, f.Actions.cmReverse, true);
  AddAction(order, f.Actions.cmSide, true);
  AddAction(view, f.Actions.cmSound, true);
  // Large print: the table window's cards and letters twice as large, kept in the settings.
  f.BidForm->ReadPrintSetting();
  QAction* large = view->addAction(QStringLiteral("&Nagy betűk"));
  large->setObjectName(QStringLiteral("mnLargePrint"));
  large->setToolTip(QStringLiteral("Kétszer akkora lapok és betűk az asztalon"));
  large->setCheckable(true);
  large->setChecked(f.BidForm->LargePrint);
  connect(large, &QAction::triggered, this, [this, large](bool on) {
    Run([this, on] { form_.BidForm->SetLargePrint(on); });
    large->setChecked(form_.BidForm->LargePrint);
  });
  view->addSeparator();
  AddAction(view, f.Actions.cmTable);
  AddAction(view, f.Actions.cmShowBid);
  AddAction(view, f.Actions.cmResults);
  AddAction(view, f.Actions.cmArchive);
  view->addSeparator();
  AddAction(view, f.Actions.cmKibic, true);

  QMenu* deal = top(kDeal);
  AddAction(deal, f.Actions.cmReplay);
  AddAction(deal, f.Actions.cmNumDeal);
  deal->addSeparator();
  AddAction(deal, f.Actions.cmMatch);
  AddAction(deal, f.Actions.cmNextDeal);
  deal->addSeparator();
  AddAction(deal, f.Actions.cmAlign, true);

  // The archive and large print also from the lobby, where the view menu is hidden.
  lobby->addSeparator();
  lobby->addAction(ActionOf(f.Actions.cmArchive));
  lobby->addAction(large);

  QMenu* help = top(QStringLiteral("&Súgó"));
  QAction* rules = help->addAction(QStringLiteral("&Játékszabályok..."));
  rules->setObjectName(QStringLiteral("mnRules"));
  connect(rules, &QAction::triggered, this, [this] { ShowRulesWindow(this); });
  AddAction(help, f.Actions.cmHelp);  // the web page
  help->addSeparator();
  AddAction(help, f.Actions.cmAbout);
}

QMenu* TClubWindow::Menu(const QString& caption) const {
  for (const auto& [menu, text] : menus_)
    if (text == caption) return menu;
  return nullptr;
}

QAction* TClubWindow::ActionOf(const TAction& action) const {
  for (const auto& [item, record] : actions_)
    if (record == &action) return item;
  return nullptr;
}

void TClubWindow::DrawMenus() {
  const TClubState::TMenus& m = form_.State.Menus;
  const std::pair<const QString*, bool> shown[] = {
      {&kMessages, m.Messages}, {&kLobby, m.Lobby}, {&kRoom, m.Room}, {&kView, m.View}, {&kDeal, m.Deal}};
  for (const auto& [caption, visible] : shown) {
    QMenu* menu = Menu(*caption);
    if (!menu) continue;
    menu->menuAction()->setVisible(visible);
    // A hidden menu gives up its Alt letter: the menu bar would still cycle through it ("&Terem"
    // hidden in the lobby took Alt+T from "&Társalgó").
    menu->setTitle(visible ? *caption : QString(*caption).remove(QLatin1Char('&')));
  }
}

void TClubWindow::DrawActions() {
  for (const auto& [item, record] : actions_) {
    item->setText(ToQt(record->MenuText()));
    item->setToolTip(ToQt(record->Hint));
    if (item->isCheckable()) item->setChecked(record->Checked);
    item->setEnabled(record->Enabled);
    item->setVisible(record->Visible);
  }
  if (btnConnect_) {
    btnConnect_->setEnabled(form_.Actions.cmConnect.Enabled);
    btnConnect_->setToolTip(ToQt(form_.Actions.cmConnect.Hint));
  }
}

}  // namespace zn
