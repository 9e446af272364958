// Chat is the one thing a member can multiply onto everyone: its length, its bytes per member and
// per address, and what a member whose lines pile up still gets.
#include <algorithm>
#include <string>

#include "link/Protocol.h"
#include "server/base/ClubTexts.h"
#include "tests/server/ClubHarness.h"

namespace zn::server::test {
namespace {

class ChatLimitsTest : public ClubFixture {
 protected:
  MemberId JoinFrom(const std::string& address, const std::string& nickname) {
    const MemberId id = ++lastId_;
    club().Connect(id, address);
    Do(id, "N" + nickname);
    return id;
  }
  // Sends a chat line; whether it was relayed (the sender hears its own line), else the notice.
  bool Say(MemberId id, const std::string& text, std::string* notice = nullptr) {
    out.lines.clear();  // others' chat
    const auto lines = Do(id, "M" + text);
    const bool relayed = std::any_of(lines.begin(), lines.end(), [](const std::string& l) {
      return l.rfind("M ", 0) != 0 && l.rfind("M", 0) == 0;
    });
    auto it =
        std::find_if(lines.begin(), lines.end(), [](const std::string& l) { return l.rfind("M ", 0) == 0; });
    if (notice && it != lines.end()) *notice = *it;
    return relayed;
  }
  static std::string Notice(std::string_view text) {
    return "M" + std::string(text::kNotice) + std::string(text);
  }
  // The text that makes a relayed line of a four-letter nickname ("M" + "anna: " + text) 400 bytes.
  const std::string k400 = std::string(393, 'x');
};

TEST_F(ChatLimitsTest, ALineLongerThanTheBoxIsRefusedAndNotRelayed) {
  const MemberId a = Join("anna");
  const MemberId b = Join("bela");
  struct Case {
    std::size_t length;
    bool relayed;
  };
  for (const Case& c : {Case{1, true}, Case{proto::kMaxChatBytes, true},
                        Case{proto::kMaxChatBytes + 1, false}, Case{proto::kMaxCommandLength - 1, false}}) {
    std::string notice;
    EXPECT_EQ(Say(a, std::string(c.length, '#'), &notice), c.relayed) << c.length;
    EXPECT_EQ(out.Take(b).size(), c.relayed ? 1u : 0u) << c.length;
    if (!c.relayed) {
      EXPECT_EQ(notice, Notice(text::kChatTooLong) + std::to_string(proto::kMaxChatBytes)) << c.length;
    }
    Advance(std::chrono::seconds(1));
  }
  EXPECT_FALSE(out.closed.count(a));
}

TEST_F(ChatLimitsTest, ChatBytesAreBudgetedPerMemberAndPerAddress) {
  // 2048 bytes a second and 8192 at once per member; 8192 a second and 32768 at once per address.
  std::map<std::string, MemberId> ids;
  for (const char* name : {"anna", "bela", "cili", "dani", "emma"}) ids[name] = JoinFrom("10.0.0.1", name);
  ids["fero"] = JoinFrom("2001:db8::1", "fero");
  ids["gabi"] = JoinFrom("10.0.0.2", "gabi");
  struct Step {
    int advanceMs;
    const char* who;
    int lines;    // 400-byte lines sent
    int relayed;  // of them relayed
  };
  const Step steps[] = {
      {0, "bela", 20, 20},     // 8000 of the address's 32768
      {0, "cili", 20, 20},     // 16000
      {0, "dani", 20, 20},     // 24000
      {0, "emma", 20, 20},     // 32000
      {0, "fero", 20, 20},     // another address is not touched
      {0, "anna", 2, 1},       // 368 left for the address, though anna's own budget is full
      {0, "gabi", 21, 20},     // 20 lines use a member's burst (8000 of 8192)
      {10, "anna", 1, 1},      // the address: 368 + 81.92
      {0, "anna", 1, 0},       // 49.92
      {90, "gabi", 1, 0},      // gabi: 192 + 204.8 after 100 ms
      {10, "gabi", 1, 1},      // + 20.48: enough
      {4000, "anna", 20, 20},  // both buckets refill
  };
  for (const Step& s : steps) {
    Advance(std::chrono::milliseconds(s.advanceMs));
    int relayed = 0;
    for (int i = 0; i < s.lines; ++i) {
      std::string notice;
      if (Say(ids[s.who], k400, &notice))
        ++relayed;
      else
        EXPECT_EQ(notice, Notice(text::kChatTooMuch)) << s.who;
    }
    EXPECT_EQ(relayed, s.relayed) << s.who << " after " << s.advanceMs << " ms";
  }
  EXPECT_TRUE(out.closed.empty());
}

TEST_F(ChatLimitsTest, ASlowReaderLosesChatWithOneNoticeButNothingElse) {
  const MemberId a = Join("anna");
  const MemberId slow = Join("bela");
  const std::string dropped = Notice(text::kChatDropped);
  struct Step {
    std::size_t queued;  // bytes waiting for the slow reader, in kB
    bool chat;           // it gets the chat line
    bool notice;         // it gets the notice
  };
  const Step steps[] = {
      {0, true, false},   {256, true, false}, {257, false, true},  {300, false, false},  {128, false, false},
      {127, true, false}, {200, true, false}, {1000, false, true}, {8000, false, false}, {0, true, false},
  };
  for (const Step& s : steps) {
    out.queued[slow] = s.queued << 10;
    Advance(std::chrono::seconds(1));
    EXPECT_TRUE(Say(a, "szia"));
    const auto lines = out.Take(slow);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "Manna: szia"), s.chat ? 1 : 0) << s.queued;
    EXPECT_EQ(std::count(lines.begin(), lines.end(), dropped), s.notice ? 1 : 0) << s.queued;
    // Only chat is dropped: answers to its own commands still come; its own chat goes out to
    // the others but is not echoed to it.
    if (s.queued > 256) {
      EXPECT_THAT(Do(slow, "G"), ::testing::ElementsAre(proto::LinePing()));
      EXPECT_EQ(Do(slow, "L").size(), 2u);
      EXPECT_THAT(Do(slow, "Mx"), ::testing::IsEmpty());
      EXPECT_THAT(out.Take(a), ::testing::ElementsAre("Mbela: x"));
    }
  }
  EXPECT_TRUE(out.closed.empty());
}

}  // namespace
}  // namespace zn::server::test
