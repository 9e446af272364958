// TZnForm: creation, first showing, closing, the link, the dispatcher and the alert.
#include "shell/ZnCliTop.h"

#include "game/Confirm.h"
#include "game/Cp1250.h"
#include "game/Desktop.h"
#include "game/ErrorHandler.h"
#include "game/Tokenizer.h"
#include "link/Protocol.h"
#include "shell/IniFile.h"
#include "shell/Settings.h"

namespace zn {

using namespace zn::literals;

// The club port: what the table, played-games and personal-data windows reach of this window.
class TZnForm::TClub : public TClubPort {
 public:
  explicit TClub(TZnForm& form) : f_(form) {}
  TZnLink& Link() override { return *f_.Link; }
  const std::string& Nickname() const override { return f_.Nickname; }
  std::int32_t MySeat() const override { return f_.MySeat; }
  std::int32_t DealNumber() const override { return f_.DealNumber; }
  std::string SeatLabel(int seat) const override {
    return seat >= 1 && seat <= 4 ? f_.SeatLabels[static_cast<std::size_t>(seat)] : std::string();
  }
  std::string MatchText() const override { return f_.MatchText; }
  bool AlignChecked() const override { return f_.cmAlign.Checked; }
  void Alert() override { f_.Alert(); }
  void EnableDealCommands(bool enable) override { f_.EnableDealCommands(enable); }
  void ShowDealerMark(int seat) override {
    f_.Dealer3Visible = seat == 3;
    f_.Dealer1Visible = !f_.Dealer3Visible;
    f_.Notify(Aspect::Room);
  }
  void AddMemoLine(const std::string& line) override { f_.AddMemo(line); }
  void ResetInfoThrottle() override { f_.InfoThrottle = 0; }
  void WakeDispatcher() override {
    if (f_.WakeIdle) f_.WakeIdle();
  }
  void RecordBids(const std::vector<std::string>& lines) override { f_.ResForm->SetBids(lines); }
  void RecordTrickCard(int trick, int seat, std::int32_t card) override {
    f_.ResForm->SetTrickCard(trick, seat, card);
  }
  void RecordTricks(const std::string& text) override { f_.ResForm->SetTricks(text); }
  std::string ReadSetting(std::string_view section, std::string_view key) const override {
    return IniRead(f_.SettingsPath, section, key, "");
  }
  void WriteSetting(std::string_view section, std::string_view key, std::string_view value) override {
    IniWrite(f_.SettingsPath, section, key, value);
  }

 private:
  TZnForm& f_;
};

const std::array<std::string_view, 10> TZnForm::ChatPhrases = {
    "Sziasztok!"_cp,
    "Mindenkinek szép jó estét!"_cp,
    "Mindjárt visszajövök!"_cp,
    "Szép volt partner! :-)"_cp,
    "Köszönöm partner! :-)"_cp,
    "Köszönöm a játékot. Sziasztok!"_cp,
    "Lehetne egy kicsit gyorsabban! :-)"_cp,
    "Piszok nagy mázli volt!"_cp,
    "Ilyet még a legöregebb tengerészek sem láttak!"_cp,
    "Ne ingereljük a fenvadat!"_cp,
};

TZnForm::TZnForm(const std::string& programDir, TSocketFactory socketFactory, const TLocateSettings& locate)
    : club_(std::make_unique<TClub>(*this)), socketFactory_(std::move(socketFactory)) {
  InitActions();
  Caption = std::string("Zenit Tarokk Klub");
  Memo.push_back(std::string("Üzenetek"_cp));
  // A failed move of an old settings file is shown; the settings are then read from where the
  // file belongs, and the old file stays in place.
  SettingsPath = programDir + "/Zn.INI";
  Guarded([&] { SettingsPath = locate(programDir); });
  const TProgramSettings settings = ReadProgramSettings(SettingsPath);
  Nickname = settings.User;
  AddressList.assign(settings.Addresses.begin(), settings.Addresses.end());
  PortText = settings.Port;
  AddressIndex = 0;
  StatusNick = Nickname;
  NewLink();  // replaced by the first "&Távkapcsolat"; until then sends are shown, not sent
  BidForm = std::make_unique<TBidForm>(*club_);
  InfoForm = std::make_unique<TInfo>(*club_);
  ResForm = std::make_unique<TResForm>(*club_);
}

TZnForm::~TZnForm() {
  Dispatching = false;
  Link.reset();  // closes the connection before the windows go
}

double TZnForm::Now() { return static_cast<double>(Desktop().NowMs()) / 86400000.0; }

bool TZnForm::ValidNickname(std::string_view name) {
  // A space or a "#" would split every line the nickname travels in.
  return name.size() > 3 && name[0] != '-' && name.find(' ') == std::string_view::npos &&
         name.find('#') == std::string_view::npos;
}

void TZnForm::FormShow() {
  std::string typed = Nickname;
  while (!ValidNickname(Nickname)) {
    auto answer = Desktop().InputBox(std::string("Milyen néven akarsz játszani?"_cp),
                                     std::string("Név: (legalább 4 betű)"_cp), typed);
    if (!answer) continue;
    typed = *answer;
    if (ValidNickname(typed)) Nickname = typed;
  }
  if (StatusNick != Nickname) {
    StatusNick = Nickname;
    Notify(Aspect::Status);
  }
  Dispatching = true;
  cmDisconnectExecute();
}

bool TZnForm::CloseQuery(bool clubWindowActive) {
  if (clubWindowActive && !Confirm(std::string("Valóban elhagyod a tarokk-klubot?"_cp))) return false;
  Dispatching = false;
  return true;
}

void TZnForm::NewLink() {
  Link.reset();  // the old link is gone before the new one is made
  Link = std::make_unique<TZnLink>(ReceiveQueue, socketFactory_());
  // The dispatcher runs when something arrives or the connection changes, not in a busy loop.
  TSocketPort& socket = Link->Socket();
  auto wrap = [this](std::function<void()> inner) {
    return [this, inner] {
      if (inner) inner();
      if (WakeIdle) WakeIdle();
    };
  };
  socket.OnConnected = wrap(socket.OnConnected);
  socket.OnDisconnected = wrap(socket.OnDisconnected);
  socket.OnQuiet = wrap(socket.OnQuiet);  // a held line has gone to the queue
  auto data = socket.OnData;
  socket.OnData = [this, data](std::string chunk) {
    if (data) data(std::move(chunk));
    if (WakeIdle) WakeIdle();
  };
}

bool TZnForm::IdleHandler() {
  // One line at a time: a handler never runs inside another one's send.
  if (!Dispatching || inIdle_) return false;
  struct TPass {
    bool& flag;
    explicit TPass(bool& f) : flag(f) { flag = true; }
    ~TPass() { flag = false; }
  } pass(inIdle_);
  const std::string server = Link && Link->Connected ? Link->Host : std::string(" nincs");
  if (server != StatusServer) {
    StatusServer = server;
    Notify(Aspect::Status);
  }
  std::string line;
  if (!NextLine(ReceiveQueue, BidForm->TrickPause, line)) {
    if (BidForm->TrickPause) Desktop().SetCursor(TCursor::Normal);
    return false;
  }
  Dispatch(line);
  Desktop().ProcessPendingEvents();
  if (BidForm->TrickPause || ReceiveQueue.Empty()) Desktop().SetCursor(TCursor::Normal);
  return Dispatching && !BidForm->TrickPause && !ReceiveQueue.Empty();
}

namespace {

// The dispatcher's routes: the handler of each line role (the codes and their roles are the
// protocol's table, proto::kLineCodes). A new line needs its row there and its route here; the
// build fails while a role has no route.
using TLineHandler = void (*)(TZnForm&, const std::string&);
struct TRoute {
  proto::TLineRole role;
  TLineHandler handle;
};
using R = proto::TLineRole;
constexpr TRoute kRoutes[] = {
    {R::RoomOption, [](TZnForm& f, const std::string& l) { f.ALine(l); }},
    {R::Bidding, [](TZnForm& f, const std::string& l) { f.BidForm->BidLine(l); }},
    {R::Deal, [](TZnForm& f, const std::string& l) { f.DLine(l); }},
    {R::Result, [](TZnForm& f, const std::string& l) { f.ResForm->GameResult(l); }},
    {R::Ping, [](TZnForm& f, const std::string& l) { f.GLine(l); }},
    {R::Hand, [](TZnForm& f, const std::string& l) { f.BidForm->HandLine(l); }},
    {R::Lobby, [](TZnForm& f, const std::string& l) { f.ILine(l); }},
    {R::Version, [](TZnForm& f, const std::string& l) { f.LLine(l); }},
    {R::Message, [](TZnForm& f, const std::string& l) { f.MLine(l); }},
    {R::Play, [](TZnForm& f, const std::string& l) { f.BidForm->PlayLine(l); }},
    {R::Inquiry, [](TZnForm& f, const std::string& l) { f.InfoForm->AnswerInquiry(l); }},
    {R::Room, [](TZnForm& f, const std::string& l) { f.RLine(l); }},
    {R::Turn, [](TZnForm& f, const std::string& l) { f.TLine(l); }},
    {R::Profile, [](TZnForm& f, const std::string& l) { f.InfoForm->ReceiveProfile(l); }},
    {R::Score, [](TZnForm& f, const std::string& l) { f.BidForm->ScoreLine(l); }},
    {R::Unknown, [](TZnForm&, const std::string& l) { Desktop().ShowMessage(l); }},
};

constexpr std::array<TLineHandler, proto::kLineRoles> RoutesByRole() {
  std::array<TLineHandler, proto::kLineRoles> byRole{};
  for (const TRoute& r : kRoutes) {
    const auto i = static_cast<std::size_t>(r.role);
    if (i >= byRole.size() || byRole[i]) throw "a role routed twice";  // fails the constant evaluation
    byRole[i] = r.handle;
  }
  for (TLineHandler h : byRole)
    if (!h) throw "a role without a route";
  return byRole;
}
constexpr std::array<TLineHandler, proto::kLineRoles> kHandlerOf = RoutesByRole();

}  // namespace

void TZnForm::Dispatch(const std::string& line) {
  Guarded([&] { kHandlerOf[static_cast<std::size_t>(proto::RoleOf(line))](*this, line); });
}

void TZnForm::Alert() {
  if (cmSound.Checked) Desktop().Beep();
  FlashCount = 6;
  TimerEnabled = true;
  Notify(Aspect::Flash);
}

void TZnForm::TimerTimer() {
  Desktop().ProcessPendingEvents();
  FlashOn = !FlashOn;
  --FlashCount;
  if (FlashCount <= 0) TimerEnabled = false;
  Notify(Aspect::Flash);
}

void TZnForm::ClearLists(bool keepMemo) {
  Rooms.clear();
  RoomMembers.clear();
  RoomIndex = -1;
  Users.clear();
  UserIndex = -1;
  Present.clear();
  PresentIndex = -1;
  Notify(Aspect::Lobby);
  Notify(Aspect::Present);
  if (!keepMemo) {
    ClearMemo();
  }
}

void TZnForm::ResetToConnectPage() {
  Page = tabConnect;
  Caption = "Zenit Tarokk Klub";
  Menus = TMenus{};
  Notify(Aspect::Page);
  Notify(Aspect::Caption);
  Notify(Aspect::Menus);
  BidForm->Hide();
  ClearLists(false);
}

void TZnForm::AddMemo(std::string line) {
  // Every line counts against the one cap, whoever adds it ("M", "G", "Q", the table window).
  if (Memo.size() > kMemoCap) {
    Memo.erase(Memo.begin(), Memo.begin() + kMemoTrim);
    ++MemoRewrites;
  }
  Memo.push_back(std::move(line));
  Notify(Aspect::Memo);
}

void TZnForm::ClearMemo() {
  Memo.clear();
  ++MemoRewrites;
  Notify(Aspect::Memo);
}

// ---- Actions of the club window -------------------------------------------------------------

void TZnForm::cmConnectExecute() {
  Guarded([&] {
    const double now = Now();
    if ((now - ConnectTime) * 86400.0 < 1.0) return;  // a second click within a second
    ConnectTime = now;
    if (AddressList.empty() || Address != AddressList.front()) {
      AddressList.insert(AddressList.begin(), Address);
      AddressIndex = 0;
      Notify(Aspect::Address);
    }
    Link->Port = StrToInt(PortText);
    Link->Host = Address;
    Link->Open();
    WriteConnectSettings(SettingsPath, Nickname, AddressList, PortText);
  });
}

void TZnForm::cmDisconnectExecute() {
  Guarded([&] {
    Address = AddressList.empty() ? std::string() : AddressList.front();
    Notify(Aspect::Address);
    NewLink();
    // A pause left from the old connection would hold back every line of the new one.
    BidForm->LiftPause();
    ResetToConnectPage();
  });
}

void TZnForm::cmExitExecute() {
  if (CloseWindow) CloseWindow();
}

void TZnForm::cmMsgExecute() {
  Guarded([&] {
    if (ChatText.empty()) {
      Desktop().ShowMessage(std::string("Nincs üzenet!"_cp));
      return;
    }
    const std::string text = std::move(ChatText);
    ChatText.clear();
    Send(proto::CmdChat(text));
    Notify(Aspect::Chat);
  });
}

void TZnForm::fdChatEnter() { cmMsgExecute(); }

void TZnForm::cmClearExecute() { ClearMemo(); }

void TZnForm::cmPingExecute() {
  Guarded([&] {
    PingTime = Now();
    Send(proto::CmdPing());
  });
}

void TZnForm::cmLogMsgExecute() {
  Guarded([&] { Send(proto::CmdNews()); });
}

void TZnForm::cmInfoExecute() {
  Guarded([&] {
    if (PresentIndex < 0 || PresentIndex >= static_cast<int>(Present.size())) {
      Desktop().ShowMessage(std::string("Előbb válassz valakit a jelenlevők közül!"_cp));
      return;
    }
    if (InfoThrottle >= 1) {
      Desktop().Beep();
      --InfoThrottle;
      return;
    }
    InfoThrottle = 3;
    InfoForm->ShowProfile(Present[static_cast<std::size_t>(PresentIndex)]);
  });
}

void TZnForm::fdPresentClick(int index) {
  PresentIndex = index >= 0 && index < static_cast<int>(Present.size()) ? index : -1;
  Notify(Aspect::Present);
}

void TZnForm::fdPresentDblClick(int index) {
  fdPresentClick(index);
  cmInfoExecute();
}

void TZnForm::cmOrderExecute(int order) {
  Guarded([&] {
    if (order < 0 || order > 2) return;
    BidForm->HandOrder = order;
    cmNormal.Checked = order == 0;
    cmReverse.Checked = order == 1;
    cmSide.Checked = order == 2;
    Notify(Aspect::Actions);
    BidForm->ShowHands();
  });
}

void TZnForm::cmSoundExecute() {
  Guarded([&] {
    cmSound.Checked = !cmSound.Checked;
    Notify(Aspect::Actions);
    Alert();
    BidForm->ShowPage(0);
  });
}

void TZnForm::cmTableExecute() {
  Guarded([&] { BidForm->ShowPage(0); });
}

void TZnForm::cmShowBidExecute() {
  Guarded([&] { ResForm->ShowBids(); });
}

void TZnForm::cmResultsExecute() {
  Guarded([&] { ResForm->ShowGames(); });
}

void TZnForm::cmHelpExecute() {
  // The help page opens in the user's web browser; a failure is not reported.
  Desktop().OpenUrl(std::string("http://") + ZN_HELP_HOST + "/zenit/znclient.htm");
}

void TZnForm::cmAboutExecute() {
  Desktop().ShowMessage("Zenit Tarokk Client\r\r        Version " + std::string(proto::kVersion));
}

// ---- The address list -------------------------------------------------------------------------

void TZnForm::adrListClick(int index) {
  AddressIndex = index >= 0 && index < static_cast<int>(AddressList.size()) ? index : -1;
  Notify(Aspect::Address);
}

void TZnForm::adrUpClick() {
  const int i = AddressIndex;
  if (i < 0 || i >= static_cast<int>(AddressList.size())) return;
  if (i == 0) {
    Address = AddressList[0];
  } else {
    std::swap(AddressList[static_cast<std::size_t>(i)], AddressList[static_cast<std::size_t>(i - 1)]);
    AddressIndex = i - 1;
  }
  Notify(Aspect::Address);
}

void TZnForm::adrDownClick() {
  const int i = AddressIndex;
  if (i < 0 || i + 1 >= static_cast<int>(AddressList.size())) return;
  std::swap(AddressList[static_cast<std::size_t>(i)], AddressList[static_cast<std::size_t>(i + 1)]);
  AddressIndex = i + 1;
  Notify(Aspect::Address);
}

void TZnForm::adrListDblClick(int index) {
  if (index < 0 || index >= static_cast<int>(AddressList.size())) return;
  std::string entry = AddressList[static_cast<std::size_t>(index)];
  AddressList.erase(AddressList.begin() + index);
  AddressList.insert(AddressList.begin(), entry);
  AddressIndex = 0;
  Address = std::move(entry);
  Notify(Aspect::Address);
}

}  // namespace zn
