// A club with a recording outbox, a hand-driven clock and a private in-memory store.
#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/Cp1250.h"
#include "server/base/Log.h"
#include "server/club/Club.h"
#include "server/store/SqliteStore.h"
#include "tests/support/ServerFakes.h"

namespace zn::server::test {

using namespace zn::literals;

inline std::string Cp(std::string_view s) { return std::string(s); }

class ClubFixture : public ::testing::Test {
 protected:
  ClubFixture() {
    SetLogSink([](std::string_view) {});
  }
  ~ClubFixture() override { SetLogSink({}); }

  Club& MakeClub(ClubLimits limits = {}, RoomStore* store = nullptr) {
    club_ = std::make_unique<Club>(
        store ? *store : store_, out, [this] { return now; }, limits,
        std::vector<std::string>{Cp("Hírek #1"_cp), Cp("második sor"_cp)});
    return *club_;
  }
  Club& club() {
    if (!club_) MakeClub();
    return *club_;
  }

  // Connects and logs in; the member's lines so far are dropped.
  MemberId Join(const std::string& nickname) {
    const MemberId id = ++lastId_;
    club().Connect(id);
    club().Receive(id, "N" + nickname);
    club().Flush();
    out.Take(id);
    return id;
  }
  // One command, the end of the loop's turn, and the lines the member got.
  std::vector<std::string> Do(MemberId id, const std::string& command) {
    club().Receive(id, command);
    club().Flush();
    return out.Take(id);
  }
  void Advance(std::chrono::milliseconds d) { now += d; }

  SteadyTime now{std::chrono::hours(1)};
  RecordingOutbox out;
  SqliteStore store_{":memory:"};
  MemberId lastId_ = 0;

 private:
  std::unique_ptr<Club> club_;
};

}  // namespace zn::server::test
