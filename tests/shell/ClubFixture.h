// The club window under test: a scripted desktop, a fake socket and a settings directory of its own.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "game/Cp1250.h"
#include "game/ZnError.h"
#include "link/Protocol.h"
#include "shell/ZnCliTop.h"
#include "tests/support/FakeDesktop.h"
#include "tests/support/FakeSocket.h"
#include "tests/support/TempDir.h"

namespace zn::test {

using namespace zn::literals;

inline std::string S(std::string_view cp) { return std::string(cp); }

class ClubTest : public ::testing::Test {
 protected:
  void TearDown() override { form.reset(); }
  std::string Ini() const { return temp / "Zn.INI"; }

  // Creates the club window (the settings are read now).
  void Create() {
    form = std::make_unique<TZnForm>(
        temp.Path(), [this] { return std::make_unique<FakeSocket>(log); },
        [this](const std::string& programDir) {
          if (!locateError.empty()) throw EZnError(locateError);
          return programDir + "/Zn.INI";
        });
    form->WakeIdle = [this] { ++wakes; };
  }
  // Creation and first showing under the given nickname.
  void Start(const std::string& nickname = "Anna") {
    Create();
    if (form->State.Nickname.empty()) desk.desk.InputAnswers.push_back(nickname);
    form->FormShow();
  }
  // Connects and reports the connection as made.
  void Connect() {
    form->cmConnectExecute();
    log.active = true;
    form->Link->Socket().OnConnected();
  }
  // A chunk as the server writes it: "#" before every line.
  void Receive(const std::vector<std::string>& lines) {
    std::string chunk;
    for (const auto& l : lines) chunk += "#" + l;
    form->Link->Socket().OnData(chunk);
  }
  // Runs the dispatcher until it reports nothing more to do.
  void Pump() {
    for (int i = 0; i < 1'000'000 && form->IdleHandler(); ++i) {
    }
  }
  void Feed(const std::vector<std::string>& lines) {
    Receive(lines);
    Pump();
  }
  // The server's greeting and its answer to the "V" the client sends first: "N" goes then.
  void Greeted() { Feed({proto::LineVersion(proto::kVersion), proto::LineReads(proto::kReadsKnown)}); }
  // Connected, in the lobby, then in a room with the given members.
  void InRoom(const std::vector<proto::TRoomMember>& members, const std::string& played = "0") {
    Start();
    Connect();
    Feed({proto::LineLobby({{S("Társalgó"_cp), S("Kék"_cp)}, {}}), proto::LineRoom({played, members})});
    log.sent.clear();
  }

  ScopedFakeDesktop desk;
  SocketLog log;
  TempDir temp;  // the program's directory
  std::unique_ptr<TZnForm> form;
  int wakes = 0;
  std::string locateError;  // the settings move fails with this text
};

}  // namespace zn::test
