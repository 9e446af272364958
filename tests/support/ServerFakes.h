// The server's doubles for the tests and the fuzz targets: an outbox that records every line, and
// a room store in memory whose writes can be made to fail as a full disk would make them.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "server/base/Journal.h"
#include "server/base/Outbox.h"
#include "server/base/Store.h"

namespace zn::server::test {

class RecordingOutbox : public Outbox {
 public:
  void Send(MemberId to, std::string_view line) override {
    Check(line);
    lines[to].emplace_back(line);
    streamed[to] += line.size() + 1;
  }
  void SendShared(MemberId to, const SharedLine& line) override {
    Check(*line);
    lines[to].push_back(*line);
    shared[to].push_back(line);
    streamed[to] += line->size() + 1;
  }
  void Close(MemberId who) override { closed.insert(who); }
  std::size_t Queued(MemberId who) const override {
    auto it = queued.find(who);
    return it == queued.end() ? 0 : it->second;
  }
  std::uint64_t Streamed(MemberId who) const override {
    auto it = streamed.find(who);
    return it == streamed.end() ? 0 : it->second;
  }

  // The lines a member got since the last call.
  std::vector<std::string> Take(MemberId id) { return std::exchange(lines[id], {}); }

  std::map<MemberId, std::vector<std::string>> lines;
  std::set<MemberId> closed;
  std::map<MemberId, std::size_t> queued;              // what Queued answers: set by the test
  std::map<MemberId, std::uint64_t> streamed;          // bytes of every line sent
  std::map<MemberId, std::vector<SharedLine>> shared;  // which line objects each got
  std::function<void(std::string_view)> checkLine;     // sees every line first (the fuzz target's rule)

 private:
  void Check(std::string_view line) const {
    if (checkLine) checkLine(line);
  }
};

class MemoryStore : public RoomStore {
 public:
  explicit MemoryStore(std::vector<StoredRoom> stored = {{1, "Kert", false, 2}}, bool failing = false)
      : stored_(std::move(stored)), failing_(failing) {
    for (const StoredRoom& r : stored_) last = std::max(last, r.id);
  }
  std::vector<StoredRoom> LoadRooms() override { return stored_; }
  std::int64_t CreateRoom(std::string_view name) override {
    Write();
    rooms[++last] = std::string(name);
    return last;
  }
  void SetOption(std::int64_t, bool) override { Write(); }
  void SetPlayed(std::int64_t, std::int32_t) override { Write(); }
  std::optional<deal::MatchSecret> MatchSecretOf(std::int64_t room) override {
    auto it = matches.find(room);
    return it == matches.end() ? std::nullopt : std::optional(it->second);
  }
  void StartMatch(std::int64_t room, const deal::MatchSecret& secret, bool) override {
    Write();
    matches[room] = secret;
  }
  std::int32_t AddResult(const StoredResult&) override {
    Write();
    return ++results;
  }
  std::int64_t AddRecord(std::int64_t, const dealrecord::DealRecord& record) override {
    Write();
    kept.push_back(record);
    return static_cast<std::int64_t>(kept.size());
  }
  void TouchRoom(std::int64_t) override { Write(); }
  void DropRoom(std::int64_t id) override {
    Write();
    rooms.erase(id);
  }

  std::map<std::int64_t, std::string> rooms;  // created rooms by id
  std::int64_t last = 0;                      // the last id given
  std::int32_t results = 0;
  std::vector<dealrecord::DealRecord> kept;  // every deal kept, in order
  std::map<std::int64_t, deal::MatchSecret> matches;

 private:
  void Write() const {
    if (failing_) throw StoreError("disk full");
  }
  std::vector<StoredRoom> stored_;
  bool failing_;
};

// The journal of running deals in memory: it outlives the club and the engine it serves, as the
// store's file outlives a server killed and started again.
class MemoryJournal : public JournalStore {
 public:
  void Write(const std::vector<JournalEntry>& entries) override {
    for (const JournalEntry& e : entries) {
      auto it = deals.find(e.room);
      switch (e.kind) {
        case JournalEntry::Kind::Deal:
          deals[e.room] = JournaledDeal{e.room, e.number, e.seats, {}, e.match, {}, {}, 0};
          break;
        case JournalEntry::Kind::Clear:
          deals.clear();
          break;
        case JournalEntry::Kind::End:
          deals.erase(e.room);
          break;
        default:
          if (it == deals.end()) break;
          if (e.kind == JournalEntry::Kind::Seats) it->second.seats = e.seats;
          if (e.kind == JournalEntry::Kind::Fair) {
            it->second.ledger = e.ledger;
            it->second.holds = e.holds;
          }
          if (e.kind == JournalEntry::Kind::Kept) it->second.record = e.record;
          if (e.kind == JournalEntry::Kind::Move && e.index >= 0) {
            auto& moves = it->second.moves;
            moves.resize(std::min(moves.size(), static_cast<std::size_t>(e.index)));
            moves.push_back(e.move);
          }
      }
    }
  }
  std::vector<JournaledDeal> LoadRunning() override {
    std::vector<JournaledDeal> running;
    for (const auto& [room, deal] : deals) running.push_back(deal);
    return running;
  }
  std::map<std::int64_t, JournaledDeal> deals;  // by room
};

// A store whose writes all fail, as a full disk would make them.
class FailingStore : public MemoryStore {
 public:
  FailingStore() : MemoryStore({{7, "Kert", false, 3}}, true) {}
};

}  // namespace zn::server::test
