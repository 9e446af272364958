// Fuzzes Club::Receive with the deal engine behind it, on a recording outbox and an in-memory
// store. The input is a script of steps: a control byte picks a member (of four) and what happens
// (connect, disconnect, time passing or, with no time, the member's connection going silent or
// coming back, or bytes for the framing; a disconnect step with its high bits all set restarts the
// server instead, stopped cleanly or killed, and the deals come back from the journal with their
// ledgers and held seats); the bytes up to the next 0xFF are that member's read; a
// connect step for a member already connected answers its last challenge with one of two secrets,
// as a client of the nickname's owner (or another) would, since no fuzzer forges a signature.
// Every line the club sends must be one line without "#", and no member
// may get a hand that fair play keeps from it (tests/fairplay/FairPlayCheck.h).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "link/Protocol.h"
#include "server/base/Log.h"
#include "server/club/Club.h"
#include "server/deals/Deals.h"
#include "server/net/Framing.h"
#include "tests/fairplay/FairPlayCheck.h"
#include "tests/support/ServerFakes.h"
#include "tests/support/TestDealKey.h"

namespace {

using namespace zn::server;
using zn::server::test::MemoryJournal;
using zn::server::test::MemoryStore;

class CheckingOutbox : public Outbox {
 public:
  void Send(MemberId to, std::string_view line) override { Check(to, line); }
  void SendShared(MemberId to, const SharedLine& line) override { Check(to, *line); }
  void Close(MemberId) override {}
  std::size_t Queued(MemberId) const override { return 0; }
  // A silent member's end takes nothing in: a login under its nickname replaces it.
  std::size_t Unacknowledged(MemberId who) const override { return silent.count(who); }
  void Check(MemberId to, std::string_view line) {
    if (line.empty() || line.find('#') != std::string_view::npos) std::abort();
    if (line[0] == 'Y') {
      const auto nonce = zn::proto::ReadChallenge(line);
      if (!nonce) std::abort();  // the server sends only whole challenges
      challenges[to] = *nonce;
    }
    pending[to].emplace_back(line);
  }
  std::map<MemberId, zn::claim::TChallenge> challenges;  // the last one each member got
  // The lines of one command go to the fair play check after it hears each member's deal run.
  template <typename RunOf>
  void Deliver(const Club& club, const Deals& deals, FairPlayCheck& check, RunOf runOf) {
    for (auto& [id, lines] : pending) {
      const Member* m = club.Find(id);
      check.Run(id, m && m->place.room ? runOf(deals.RunIn(club.RoomAt(m->place.room))) : 0);
      for (const std::string& line : lines) check.Received(id, line);
      lines.clear();
    }
    if (!check.Violations().empty()) {
      std::fprintf(stderr, "fair play: %s\n", check.Violations().front().c_str());
      std::abort();
    }
  }
  std::map<MemberId, std::vector<std::string>> pending;
  std::set<MemberId> silent;
};

// One run of the server on the store and the journal, which outlive it.
struct Engine {
  Engine(MemoryStore& store, MemoryJournal& journal, Outbox& out, SteadyTime& now, const ClubLimits& limits)
      : club(
            store, out, [&now] { return now; }, limits),
        deals(
            club, store, out, [&now] { return now; }, [] { return 1234; }) {
    deals.UseDealKey(zn::test::kTestDealKey);  // the same input deals the same cards
    deals.UseTurnLimit(std::chrono::seconds(3));
    deals.UseJournal(&journal);
    deals.Restore(journal.LoadRunning());
    club.SetDeals(&deals);
  }
  ~Engine() { club.SetDeals(nullptr); }
  Club club;
  Deals deals;
};

// The engine numbers its deal runs afresh at each start: the check hears a restored deal under the
// run it had and every other one past all it knows.
struct Runs {
  std::map<std::uint64_t, std::uint64_t> restored;  // this engine's run -> the run before the stop
  std::uint64_t offset = 0, highest = 0;
  std::uint64_t Of(std::uint64_t run) {
    if (run == 0) return 0;
    if (auto it = restored.find(run); it != restored.end()) return it->second;
    highest = std::max(highest, run + offset);
    return run + offset;
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool silent = [] {
    SetLogSink([](std::string_view) {});
    return true;
  }();
  (void)silent;
  SteadyTime now{std::chrono::hours(1)};
  CheckingOutbox out;
  MemoryStore store;
  MemoryJournal journal;
  ClubLimits limits;
  limits.roomIdleFree = std::chrono::seconds(5);
  limits.seatGrace = std::chrono::seconds(5);  // the steps of time reach the grace, the turn clock
  // and the probe of a login
  // Every mode of claimed nicknames, by the input's length.
  limits.claims = size % 3 == 0 ? ClaimMode::On : size % 3 == 1 ? ClaimMode::Required : ClaimMode::Off;
  auto engine = std::make_unique<Engine>(store, journal, out, now, limits);
  Runs runs;
  FairPlayCheck check;
  std::set<MemberId> known;  // members the check follows
  std::map<MemberId, Framing> framing;
  std::map<MemberId, std::string> nicknames;  // the last "N" each member sent
  std::vector<Piece> pieces;
  std::size_t at = 0;
  while (at < size) {
    const std::uint8_t control = data[at++];
    const MemberId id = 1 + (control & 3);
    switch (control >> 2 & 3) {
      case 0:
        if (!framing.count(id)) {
          framing[id];
          engine->club.Connect(id, id % 2 ? "10.0.0.1" : "10.0.0.2");
          // Half the clients read claims: only they are challenged.
          if (id % 2) engine->club.Receive(id, zn::proto::CmdReads(zn::proto::kReadsKnown));
          // Its nickname is not known yet: the check learns it when the login succeeds.
        } else if (out.challenges.count(id)) {
          static const zn::claim::TSecret kSecrets[2] = {{1}, {2}};
          const Member* m = engine->club.Find(id);
          const std::string& nick = m && m->LoggedIn() ? m->who.nickname : nicknames[id];
          engine->club.Receive(id, zn::proto::CmdProof(zn::claim::MakeProof(kSecrets[control >> 4 & 1],
                                                                            out.challenges[id], nick)));
        }
        break;
      case 1:
        if (control >> 4 == 15) {  // every connection ends with the server, without a word
          if (control & 1) engine->deals.FlushJournal();  // stopped; a kill loses the last batch
          std::map<std::int64_t, std::uint64_t> before;   // room store id -> the run it had
          for (std::size_t r = 1; r < engine->club.RoomCount(); ++r)
            if (const std::uint64_t run = engine->deals.RunIn(engine->club.RoomAt(r)))
              before[engine->club.RoomAt(r).storeId] = runs.Of(run);
          for (const MemberId member : known) check.Left(member);
          known.clear();
          framing.clear();
          out.challenges.clear();
          out.silent.clear();
          engine.reset();
          engine = std::make_unique<Engine>(store, journal, out, now, limits);
          runs.offset = runs.highest + 1;
          runs.restored.clear();
          for (std::size_t r = 1; r < engine->club.RoomCount(); ++r)
            if (const std::uint64_t run = engine->deals.RunIn(engine->club.RoomAt(r));
                run && before.count(engine->club.RoomAt(r).storeId))
              runs.restored[run] = before[engine->club.RoomAt(r).storeId];
          break;
        }
        if (framing.erase(id)) engine->club.Disconnect(id);
        check.Left(id);
        known.erase(id);
        break;
      case 2:
        if (control >> 4 == 0 && !out.silent.erase(id)) out.silent.insert(id);
        now += std::chrono::milliseconds(static_cast<int>(control >> 4) * 700);
        break;
      default: {
        std::size_t end = at;
        while (end < size && data[end] != 0xFF) ++end;
        auto it = framing.find(id);
        if (it != framing.end()) {
          pieces.clear();
          it->second.Feed(std::string_view(reinterpret_cast<const char*>(data) + at, end - at), false,
                          pieces);
          for (const Piece& p : pieces) {
            if (p.kind == Piece::Command && !p.text.empty() && p.text[0] == 'N')
              nicknames[id] = std::string(p.text.substr(1));
            if (p.kind == Piece::Command)
              engine->club.Receive(id, p.text);
            else if (p.kind == Piece::TooLong)
              engine->club.RefuseTooLong(id);
            else
              engine->club.RefuseMalformed(id);
          }
        }
        at = end + 1;
      }
    }
    engine->club.Flush();
    // A member that has just logged in is checked from its first line on.
    for (const auto& [member, f] : framing) {
      const Member* m = engine->club.Find(member);
      if (m && m->LoggedIn() && !known.count(member)) {
        check.Joined(member, m->who.nickname, m->who.address);
        known.insert(member);
      }
    }
    out.Deliver(engine->club, engine->deals, check, [&](std::uint64_t run) { return runs.Of(run); });
  }
  for (auto& [id, f] : framing) engine->club.Disconnect(id);
  return 0;
}
