// The view is told of every field a line changed, also when the line breaks off with an error:
// what the screen shows is what the window holds.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "tests/shell/ClubFixture.h"

namespace zn::test {
namespace {

// What a view shows: the fields copied when their aspect is announced.
struct TShown {
  int page = -1;
  std::vector<std::string> rooms, users, present;
  std::array<std::string, 5> seats;
  std::string match;
  bool operator==(const TShown&) const = default;
};

TShown Fields(const TZnForm& f) {
  return {f.State.Page,    f.State.Lobby.Rooms,     f.State.Lobby.Users,
          f.State.Present, f.State.Room.SeatLabels, f.State.Room.MatchText};
}

void PrintTo(const TShown& s, std::ostream* os) {
  *os << "page " << s.page << ", rooms " << s.rooms.size() << ", users " << s.users.size() << ", present";
  for (const auto& p : s.present) *os << " " << p;
  *os << ", seats";
  for (int i = 1; i <= 4; ++i) *os << " [" << s.seats[static_cast<std::size_t>(i)] << "]";
  *os << ", match " << s.match;
}

struct ViewCase {
  const char* name;
  std::string line;
  bool error;
};
void PrintTo(const ViewCase& c, std::ostream* os) { *os << c.name; }

class ClubView : public ClubTest, public ::testing::WithParamInterface<ViewCase> {
 protected:
  void Watch() {
    shown = Fields(*form);
    form->State.Changed = [this](TClubState::Aspect a) {
      using A = TClubState::Aspect;
      const TShown now = Fields(*form);
      if (a == A::Page) shown.page = now.page;
      if (a == A::Lobby) {
        shown.rooms = now.rooms;
        shown.users = now.users;
      }
      if (a == A::Present) shown.present = now.present;
      if (a == A::Room) {
        shown.seats = now.seats;
        shown.match = now.match;
      }
    };
  }
  TShown shown;
};

TEST_P(ClubView, ShowsWhatTheWindowHoldsAfterTheLine) {
  InRoom({{1, "x1xx"}, {2, "bela"}, {3, "Anna"}}, "7");
  Watch();
  Feed({GetParam().line});
  EXPECT_EQ(desk.desk.Errors.empty(), !GetParam().error);
  EXPECT_EQ(shown, Fields(*form));
}

INSTANTIATE_TEST_SUITE_P(
    Lines, ClubView,
    ::testing::Values(ViewCase{"Room", "R8 1 cili 4 -dani 3 Anna", false},
                      ViewCase{"RoomSeatNoNumber", "R8 1 cili x bela", true},
                      ViewCase{"RoomFirstSeatNoNumber", "R8 x cili", true},
                      ViewCase{"Lobby", "I2 Lobby Kek 2 0 anna 1 bela", false},
                      ViewCase{"LobbyIndexNoNumber", "I2 Lobby Kek 2 0 anna x bela", true},
                      ViewCase{"LobbyIndexOutOfRange", "I2 Lobby Kek 3 0 anna 5 bela 0 cili", true},
                      ViewCase{"LobbyMemberCountNoNumber", "I2 Lobby Kek x", true},
                      ViewCase{"LobbyRoomCountNoNumber", "Ix Lobby", true}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zn::test
