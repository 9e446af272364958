// The club window as the dispatcher's line reader: the route of each line role to its handler, the
// trick pause that holds the lines, and the status bar's server before each pass.
#include <array>

#include "game/Desktop.h"
#include "link/Protocol.h"
#include "shell/ZnCliTop.h"

namespace zn {

namespace {

using TLineHandler = void (*)(TZnForm&, const std::string&);
struct TRoute {
  proto::TLineRole role;
  TLineHandler handle;
};

template <std::size_t N>
constexpr std::array<TLineHandler, proto::kLineRoles> RoutesByRole(const TRoute (&routes)[N]) {
  std::array<TLineHandler, proto::kLineRoles> byRole{};
  for (const TRoute& r : routes) {
    const auto i = static_cast<std::size_t>(r.role);
    if (i >= byRole.size() || byRole[i]) throw "a role routed twice";  // fails the constant evaluation
    byRole[i] = r.handle;
  }
  for (TLineHandler h : byRole)
    if (!h) throw "a role without a route";
  return byRole;
}

}  // namespace

bool TZnForm::Reading() const { return Dispatching; }
bool TZnForm::Held() const { return BidForm->TrickPause; }

void TZnForm::PassStarts() {
  const std::string server = Link && Link->Connected ? Link->Host : std::string(" nincs");
  if (server == State.StatusServer) return;
  State.StatusServer = server;
  Notify(Aspect::Status);
}

void TZnForm::Route(const std::string& line) {
  // The dispatcher's routes: the handler of each line role (the codes and their roles are the
  // protocol's table, proto::kLineCodes). A new line needs its row there and its route here; the
  // build fails while a role has no route. Here, in a member, they reach the form's own handlers.
  using R = proto::TLineRole;
  static constexpr TRoute kRoutes[] = {
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
  static constexpr std::array<TLineHandler, proto::kLineRoles> kHandlerOf = RoutesByRole(kRoutes);
  kHandlerOf[static_cast<std::size_t>(proto::RoleOf(line))](*this, line);
}

}  // namespace zn
