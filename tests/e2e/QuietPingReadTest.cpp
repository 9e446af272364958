// The quiet "G" and the member's own commands, as the server reads them: the club window writes into
// a real stream socket, and everything it wrote within one moment (no quiet spell between) is read
// at once, as a busy server would, and cut by the server's own framing. A command that runs to the
// end of its read must come out whole and alone, the "G" after it as a command of its own.
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <functional>
#include <string>
#include <vector>

#include "server/net/Framing.h"
#include "shell/LinkKeeper.h"
#include "tests/shell/ClubFixture.h"

namespace zn::test {
namespace {

// A socket port writing into one end of a socket pair; the test reads the other end.
class PairSocket : public TSocketPort {
 public:
  explicit PairSocket(int fd) : fd_(fd) {}
  void Connect(const std::string&, int) override { active_ = true; }
  void Close() override { active_ = false; }
  bool Active() const override { return active_; }
  void Write(std::string_view bytes) override {
    while (!bytes.empty()) {
      const ssize_t n = ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
      if (n <= 0) return;
      bytes.remove_prefix(static_cast<std::size_t>(n));
    }
  }

 private:
  int fd_;
  bool active_ = false;
};

class QuietPingReadTest : public ClubTest {
 protected:
  QuietPingReadTest() { EXPECT_EQ(::socketpair(AF_UNIX, SOCK_STREAM, 0, fds_), 0); }
  ~QuietPingReadTest() override {
    form.reset();
    ::close(fds_[0]);
    ::close(fds_[1]);
  }
  void Begin() {
    form = std::make_unique<TZnForm>(
        temp.Path(), [this] { return std::make_unique<PairSocket>(fds_[0]); },
        [](const std::string& dir) { return dir + "/Zn.INI"; });
    desk.desk.InputAnswers.push_back(std::string("Anna"));
    form->FormShow();
    form->cmConnectExecute();
    form->Link->Socket().OnConnected();
    // The login answers the server's first line and runs to the end of its read: the server
    // answers it before the client writes anything more.
    Feed({proto::LineVersion(proto::kVersion)});
    EXPECT_EQ(Read(), std::vector<std::string>{proto::CmdReads(proto::kReadsKnown)});
    Feed({proto::LineReads(proto::kReadsKnown)});
    EXPECT_EQ(Read(), std::vector<std::string>{"NAnna"});
    Feed({proto::LineLobby({{S("Társalgó"_cp)}, {{0, "Anna"}, {0, "bela"}}})});
    for (const std::string& command : Read()) EXPECT_NE(command, "<refused>");
  }
  void Tick(std::int64_t ms) {
    desk.desk.Clock += ms;
    form->LinkTimerTimer();
  }
  // Everything written since the last read, read at once and cut into commands.
  std::vector<std::string> Read() {
    std::string bytes;
    char buffer[4096];
    for (;;) {
      const ssize_t n = ::recv(fds_[1], buffer, sizeof buffer, MSG_DONTWAIT);
      if (n <= 0) break;
      bytes.append(buffer, static_cast<std::size_t>(n));
    }
    std::vector<server::Piece> pieces;
    framing_.Feed(bytes, false, pieces);
    std::vector<std::string> commands;
    for (const server::Piece& p : pieces)
      commands.push_back(p.kind == server::Piece::Command ? std::string(p.text) : "<refused>");
    return commands;
  }

  int fds_[2] = {-1, -1};
  server::Framing framing_;
};

struct ReadCase {
  const char* name;
  std::function<void(FakeDesktop&, TZnForm&)> act;
  std::string command;
};
class QuietPingReadCases : public QuietPingReadTest, public ::testing::WithParamInterface<ReadCase> {};

TEST_P(QuietPingReadCases, TheCommandIsReadWholeAndTheQuietPingAlone) {
  Begin();
  Tick(kQuietPingMs - 1);
  ASSERT_TRUE(Read().empty());
  // The quiet ping falls due while the command is being sent (the link timer runs inside its
  // Send), and at every tick of the spell after it.
  std::vector<std::function<void()>> pending{[this] { Tick(1); }};
  desk.desk.PendingHooks = &pending;
  GetParam().act(desk.desk, *form);
  desk.desk.PendingHooks = nullptr;
  // Within the spell of the command's write: 1 ms (inside Send) + 0 + 1 + ... = one below it.
  for (std::int64_t step : {std::int64_t{0}, std::int64_t{1}, kQuietSpellMs / 2, kQuietSpellMs / 2 - 3})
    Tick(step);
  EXPECT_EQ(Read(), std::vector<std::string>{GetParam().command});
  EXPECT_EQ(framing_.Pending(), 0u);
  // The spell is over: the quiet ping goes, and a command right after it may share its read.
  Tick(1);
  GetParam().act(desk.desk, *form);
  EXPECT_EQ(Read(), (std::vector<std::string>{proto::CmdPing(), GetParam().command}));
}

INSTANTIATE_TEST_SUITE_P(Commands, QuietPingReadCases,
                         ::testing::Values(ReadCase{"Chat",
                                                    [](FakeDesktop&, TZnForm& f) {
                                                      f.State.ChatText = "szia";
                                                      f.cmMsgExecute();
                                                    },
                                                    "Mszia"},
                                           ReadCase{"RoomName",
                                                    [](FakeDesktop& d, TZnForm& f) {
                                                      d.InputAnswers.push_back(std::string("Piros"));
                                                      f.cmNewRoomExecute();
                                                    },
                                                    "RPiros"},
                                           ReadCase{"Inquiry",
                                                    [](FakeDesktop&, TZnForm& f) {
                                                      f.State.InfoThrottle = 0;  // asked again at once
                                                      f.fdPresentDblClick(1);
                                                    },
                                                    "QAnna bela"}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zn::test
