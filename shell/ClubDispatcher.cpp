// The club window's dispatcher and its routes.
#include "shell/ClubDispatcher.h"

#include <array>

#include "game/Desktop.h"
#include "game/ErrorHandler.h"
#include "link/NextLine.h"
#include "link/Protocol.h"
#include "shell/ZnCliTop.h"

namespace zn {

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
    {R::Result,
     [](TZnForm& f, const std::string& l) {
       f.ResForm->GameResult(l);
       f.ArchiveResult(l);
     }},
    {R::Ping, [](TZnForm& f, const std::string& l) { f.GLine(l); }},
    {R::Hand, [](TZnForm& f, const std::string& l) { f.BidForm->HandLine(l); }},
    {R::Lobby,
     [](TZnForm& f, const std::string& l) {
       f.ILine(l);
       f.ReturnLobbyShown();
     }},
    {R::Version, [](TZnForm& f, const std::string& l) { f.LLine(l); }},
    {R::Message, [](TZnForm& f, const std::string& l) { f.MLine(l); }},
    {R::Play, [](TZnForm& f, const std::string& l) { f.BidForm->PlayLine(l); }},
    {R::Inquiry, [](TZnForm& f, const std::string& l) { f.InfoForm->AnswerInquiry(l); }},
    {R::Room,
     [](TZnForm& f, const std::string& l) {
       f.RLine(l);
       f.ReturnRoomShown();
     }},
    {R::Turn, [](TZnForm& f, const std::string& l) { f.TLine(l); }},
    {R::Profile, [](TZnForm& f, const std::string& l) { f.InfoForm->ReceiveProfile(l); }},
    {R::Score, [](TZnForm& f, const std::string& l) { f.BidForm->ScoreLine(l); }},
    {R::Challenge, [](TZnForm& f, const std::string& l) { f.YLine(l); }},
    {R::Record, [](TZnForm& f, const std::string& l) { f.ZLine(l); }},
    // The notice before it said why in words; the link has taken the close as meant.
    {R::Closing, [](TZnForm&, const std::string&) {}},
    {R::CaughtUp, [](TZnForm& f, const std::string& l) { f.CaughtUpLine(l); }},
    {R::Reads, [](TZnForm& f, const std::string& l) { f.VLine(l); }},
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

bool TClubDispatcher::Pass() {
  TZnForm& f = form_;
  // One line at a time: a handler never runs inside another one's send.
  if (!f.Dispatching || inPass_) return false;
  struct TPass {
    bool& flag;
    explicit TPass(bool& on) : flag(on) { flag = true; }
    ~TPass() { flag = false; }
  } pass(inPass_);
  const std::string server = f.Link && f.Link->Connected ? f.Link->Host : std::string(" nincs");
  if (server != f.State.StatusServer) {
    f.State.StatusServer = server;
    f.State.Notify(TClubState::Aspect::Status);
  }
  std::string line;
  if (!NextLine(f.ReceiveQueue, f.BidForm->TrickPause, line)) {
    if (f.BidForm->TrickPause) Desktop().SetCursor(TCursor::Normal);
    return false;
  }
  Dispatch(line);
  Desktop().ProcessPendingEvents();
  if (f.BidForm->TrickPause || f.ReceiveQueue.Empty()) Desktop().SetCursor(TCursor::Normal);
  return f.Dispatching && !f.BidForm->TrickPause && !f.ReceiveQueue.Empty();
}

void TClubDispatcher::Dispatch(const std::string& line) {
  Guarded([&] { kHandlerOf[static_cast<std::size_t>(proto::RoleOf(line))](form_, line); });
}

}  // namespace zn
