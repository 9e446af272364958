// A result the room saw survives kill -9 of the real znserver: it is committed before "F" goes out.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <regex>
#include <thread>

#include "tests/server/DealHarness.h"
#include "tests/support/TempDir.h"
#include "tests/support/gtest/ServerHarness.h"

namespace zn::server::test {
namespace {

#ifdef ZN_SERVER_BIN

// znserver in a child process on a free loopback port, its log in a file.
class ChildServer {
 public:
  ChildServer(const std::string& db, const std::string& log) {
    pid_ = ::fork();
    if (pid_ == 0) {
      std::freopen(log.c_str(), "w", stderr);
      ::execl(ZN_SERVER_BIN, ZN_SERVER_BIN, "--listen", "127.0.0.1", "--port", "0", "--db", db.c_str(),
              static_cast<char*>(nullptr));
      ::_exit(127);
    }
    const std::regex listening("listening on 127\\.0\\.0\\.1:([0-9]+)");
    for (int i = 0; i < 200 && port_ == 0; ++i) {
      std::ifstream in(log);
      std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      std::smatch m;
      if (std::regex_search(text, m, listening))
        port_ = static_cast<std::uint16_t>(std::stoi(m[1]));
      else
        std::this_thread::sleep_for(std::chrono::milliseconds(50));  // the child starting: real time
    }
  }
  ~ChildServer() { Kill(); }
  std::uint16_t Port() const { return port_; }
  void Kill() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }

 private:
  pid_t pid_ = -1;
  std::uint16_t port_ = 0;
};

TEST(Crash, AResultTheRoomSawSurvivesKillNine) {
  const zn::test::TempDir temp;
  const std::string& dir = temp.Path();
  const std::string db = dir + "/club.db";
  ChildServer server(db, dir + "/server.log");
  ASSERT_NE(server.Port(), 0);
  auto anna = LoggedIn(server.Port(), "anna");
  MakeRoom(*anna, "kertes");
  anna->Send("E1");
  anna->Until("A0");
  for (const char* command : {"S1", "S-2", "S-3", "S-4"}) {
    anna->Send(command);
    anna->LineSkipping('I');
  }
  Player player;
  player.nickname = "anna";
  player.seat = 1;
  anna->Send("D5");
  // Play the deal as the client would, until both score lines are in.
  for (int i = 0; i < 500 && player.scores.size() < 2; ++i) {
    const std::string line = anna->LineSkipping('I');
    ASSERT_NE(line, "<timeout>");
    if (const std::string command = player.React(line); !command.empty()) anna->Send(command);
  }
  ASSERT_EQ(player.scores.size(), 2u);
  anna->Send("F7:-7");
  EXPECT_EQ(anna->LineSkipping('I'), "F7:-7");
  server.Kill();  // no flush, no clean shutdown

  SqliteStore store(db);
  const auto rooms = store.LoadRooms();
  ASSERT_EQ(rooms.size(), 1u);
  EXPECT_EQ(rooms[0].played, 1);
  EXPECT_EQ(store.ResultCount(rooms[0].id), 1);
}

#endif

}  // namespace
}  // namespace zn::server::test
