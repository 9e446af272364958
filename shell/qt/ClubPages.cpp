// The three pages of the club window: connect (address list and port), lobby (rooms and their
// members) and room (the four seats, the labels and the dealer marks).
#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include "game/qt/Cp1250Codec.h"
#include "shell/qt/ClubWidgets.h"
#include "shell/qt/ClubWindow.h"

namespace zn {

namespace {

QLabel* RedLabel(const QString& text, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, Qt::red);
  label->setPalette(palette);
  return label;
}

QLabel* Place(QLabel* label, int left, int top, int width, int height = 17) {
  label->setGeometry(left, top, width, height);
  return label;
}

}  // namespace

// ---- Connect page ------------------------------------------------------------------------------

QWidget* TClubWindow::BuildConnectPage() {
  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("tabConnect"));
  auto* grid = new QGridLayout(page);
  grid->setContentsMargins(4, 4, 4, 4);

  auto* addressLabel = new QLabel(QStringLiteral("&IP cím"), page);
  fdAddress_ = new QLineEdit(page);
  fdAddress_->setObjectName(QStringLiteral("fdAddress"));
  fdAddress_->setToolTip(QStringLiteral("Ide kell írni a szerver címét"));
  addressLabel->setBuddy(fdAddress_);
  grid->addWidget(addressLabel, 0, 0);
  grid->addWidget(fdAddress_, 0, 1, 1, 2);

  adrList_ = new QListWidget(page);
  adrList_->setObjectName(QStringLiteral("adrList"));
  adrList_->setToolTip(QStringLiteral("Kettős kattintás kiválasztja a címet"));
  grid->addWidget(adrList_, 1, 1, 2, 1);
  // Arrows the style draws: no glyph to look for in the fonts at start.
  auto* up = new QToolButton(page);
  up->setArrowType(Qt::UpArrow);
  up->setObjectName(QStringLiteral("adrUp"));
  up->setToolTip(QStringLiteral("Felfelé"));
  auto* down = new QToolButton(page);
  down->setArrowType(Qt::DownArrow);
  down->setObjectName(QStringLiteral("adrDown"));
  down->setToolTip(QStringLiteral("Lefelé"));
  for (QToolButton* b : {up, down}) b->setFixedSize(28, 24);
  grid->addWidget(up, 1, 2, Qt::AlignTop);
  grid->addWidget(down, 2, 2, Qt::AlignBottom);

  auto* portLabel = new QLabel(QStringLiteral("&Port"), page);
  fdPort_ = new QLineEdit(page);
  fdPort_->setObjectName(QStringLiteral("fdPort"));
  fdPort_->setToolTip(QStringLiteral("Ajánlott érték: 22"));
  fdPort_->setMaximumWidth(70);
  portLabel->setBuddy(fdPort_);
  grid->addWidget(portLabel, 3, 0);
  grid->addWidget(fdPort_, 3, 1, Qt::AlignLeft);

  btnConnect_ = new QPushButton(QStringLiteral("&Bejelentkezés"), page);
  btnConnect_->setObjectName(QStringLiteral("btnConnect"));
  btnConnect_->setMinimumHeight(32);
  grid->addWidget(btnConnect_, 4, 1, 1, 2);

  // The fields are the logic's; the list and the buttons run its handlers.
  connect(fdAddress_, &QLineEdit::textEdited, this,
          [this](const QString& text) { form_.State.Connect.Address = FromQt(text); });
  connect(fdPort_, &QLineEdit::textEdited, this,
          [this](const QString& text) { form_.State.Connect.PortText = FromQt(text); });
  connect(adrList_, &QListWidget::currentRowChanged, this, [this](int row) {
    if (!drawing_) Run([this, row] { form_.adrListClick(row); });
  });
  connect(adrList_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
    const int row = adrList_->row(item);
    Run([this, row] { form_.adrListDblClick(row); });
  });
  connect(up, &QToolButton::clicked, this, [this] { Run([this] { form_.adrUpClick(); }); });
  connect(down, &QToolButton::clicked, this, [this] { Run([this] { form_.adrDownClick(); }); });
  connect(btnConnect_, &QPushButton::clicked, this, [this] {
    Run([this] {
      if (form_.Actions.cmConnect.Execute) form_.Actions.cmConnect.Execute();
    });
  });
  return page;
}

void TClubWindow::DrawAddress() {
  if (FromQt(fdAddress_->text()) != form_.State.Connect.Address)
    fdAddress_->setText(ToQt(form_.State.Connect.Address));
  if (FromQt(fdPort_->text()) != form_.State.Connect.PortText)
    fdPort_->setText(ToQt(form_.State.Connect.PortText));
  FillList(adrList_, form_.State.Connect.AddressList, form_.State.Connect.AddressIndex);
}

// ---- Lobby page --------------------------------------------------------------------------------

QWidget* TClubWindow::BuildLobbyPage() {
  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("tabLobby"));
  auto* layout = new QVBoxLayout(page);
  layout->setContentsMargins(4, 4, 4, 4);

  auto* noticeRow = new QHBoxLayout;
  // The picture is loaded when the lobby first shows (DrawPage), not at start.
  lobbyPicture_ = new QLabel(page);
  lobbyPicture_->setFixedSize(32, 32);
  auto* notice = RedLabel(QStringLiteral("A társalgón kívűl bármelyik teremben lehet játszani."), page);
  notice->setObjectName(QStringLiteral("lbNotice"));
  QFont big = notice->font();
  big.setPixelSize(16);
  big.setBold(true);
  notice->setFont(big);
  notice->setWordWrap(true);
  noticeRow->addWidget(lobbyPicture_);
  noticeRow->addWidget(notice, 1);
  layout->addLayout(noticeRow);

  auto* lists = new QGridLayout;
  auto* roomsLabel = new QLabel(QStringLiteral("&Termek"), page);
  fdRooms_ = new QListWidget(page);
  fdRooms_->setObjectName(QStringLiteral("fdRooms"));
  fdRooms_->setToolTip(QStringLiteral("Kettős kattintás beléptet a terembe"));
  roomsLabel->setBuddy(fdRooms_);
  auto* usersLabel = new QLabel(QStringLiteral("&Játékosok"), page);
  fdUsers_ = new QListWidget(page);
  fdUsers_->setObjectName(QStringLiteral("fdUsers"));
  fdUsers_->setToolTip(QStringLiteral("A kiválasztott teremben tartozkodók"));
  usersLabel->setBuddy(fdUsers_);
  lists->addWidget(roomsLabel, 0, 0);
  lists->addWidget(usersLabel, 0, 1);
  lists->addWidget(fdRooms_, 1, 0);
  lists->addWidget(fdUsers_, 1, 1);
  layout->addLayout(lists, 1);

  connect(fdRooms_, &QListWidget::currentRowChanged, this, [this](int row) {
    if (!drawing_) Run([this, row] { form_.fdRoomsClick(row); });
  });
  connect(fdRooms_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
    const int row = fdRooms_->row(item);
    Run([this, row] { form_.fdRoomsDblClick(row); });
  });
  connect(fdUsers_, &QListWidget::currentRowChanged, this, [this](int row) {
    if (!drawing_) form_.State.Lobby.UserIndex = row;
  });
  return page;
}

void TClubWindow::DrawLobby() {
  FillList(fdRooms_, form_.State.Lobby.Rooms, form_.State.Lobby.RoomIndex);
  FillList(fdUsers_, form_.State.Lobby.Users, form_.State.Lobby.UserIndex);
}

// ---- Room page ---------------------------------------------------------------------------------

QWidget* TClubWindow::BuildRoomPage() {
  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("tabRoom"));
  page->setFixedSize(372, 185);

  lbSeatDown_ =
      Place(RedLabel(QStringLiteral("Ha le akarsz ülni kattints egy üres helyre!"), page), 2, 2, 300);
  lbSeatDown_->setObjectName(QStringLiteral("lbSeatDown"));
  QFont italic = lbSeatDown_->font();
  italic.setItalic(true);
  lbSeatDown_->setFont(italic);

  // The table in the middle, between the four seats.
  auto* table = Place(new QLabel(page), 132, 68, 102, 49);
  table->setObjectName(QStringLiteral("RoomImage"));
  table->setStyleSheet(
      QStringLiteral("background-color: #1c7a3a; border: 2px solid #6b4423; border-radius: 8px;"));

  // Seat s at its place: 1 bottom, 2 right, 3 top, 4 left; its caption beside it.
  struct TSeatPlace {
    int left, top;
    const char16_t* caption;
    int captionTop;
  };
  const TSeatPlace places[5] = {{0, 0, u"", 0},
                                {122, 120, u"<< Induló", 138},
                                {242, 84, u"Elfogó >>", 102},
                                {122, 48, u"Induló >>", 30},
                                {2, 84, u"<< Elfogó", 102}};
  for (int seat = 1; seat <= 4; ++seat) {
    const TSeatPlace& p = places[seat];
    auto* label = new TClickLabel(page);
    label->setObjectName(QStringLiteral("SeatLabel%1").arg(seat));
    label->setGeometry(p.left, p.top, 122, 17);
    label->setAlignment(Qt::AlignCenter);
    label->setAutoFillBackground(true);
    label->setBackgroundRole(QPalette::Window);
    label->setCursor(Qt::PointingHandCursor);
    label->OnClick = [this, seat] { Run([this, seat] { form_.fdSeatClick(seat); }); };
    seatLabels_[static_cast<std::size_t>(seat)] = label;
    auto* caption = Place(new QLabel(QString::fromUtf16(p.caption), page), p.left, p.captionTop, 122);
    caption->setAlignment(Qt::AlignCenter);
  }

  lbDeal_ = Place(RedLabel(QString(), page), 250, 2, 118);
  lbDeal_->setObjectName(QStringLiteral("lbDeal"));
  lbDeal_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  lbDeal_->setToolTip(QStringLiteral("Leosztás azonosítószáma"));
  lbMatch_ = Place(RedLabel(QString(), page), 2, 164, 118);
  lbMatch_->setObjectName(QStringLiteral("lbMatch"));
  lbMatch_->setToolTip(QStringLiteral("Lejátszott leosztások száma"));

  // The dealer marks: the table window shows the one on the dealer's side.
  auto dealer = [&](int left, int top, const char* name) {
    QLabel* mark = Place(RedLabel(QStringLiteral(" Osztó "), page), left, top, 50);
    mark->setObjectName(QString::fromLatin1(name));
    QFont bold = mark->font();
    bold.setBold(true);
    mark->setFont(bold);
    mark->setAutoFillBackground(true);
    mark->setBackgroundRole(QPalette::ToolTipBase);
    mark->hide();
    return mark;
  };
  lbDealer1_ = dealer(250, 138, "lbDealer1");
  lbDealer3_ = dealer(250, 30, "lbDealer3");
  return page;
}

void TClubWindow::DrawRoom() {
  for (int seat = 1; seat <= 4; ++seat)
    seatLabels_[static_cast<std::size_t>(seat)]->setText(
        ToQt(form_.State.Room.SeatLabels[static_cast<std::size_t>(seat)]));
  lbSeatDown_->setVisible(form_.State.Room.SeatDownVisible);
  lbDeal_->setText(ToQt(form_.State.Room.DealText));
  lbMatch_->setText(ToQt(form_.State.Room.MatchText));
  lbDealer1_->setVisible(form_.State.Room.Dealer1Visible);
  lbDealer3_->setVisible(form_.State.Room.Dealer3Visible);
}

}  // namespace zn
