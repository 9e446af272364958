// The dispatcher over a reader of its own: one line a pass, none while not reading or held, none
// from a pass started inside another, and a failing handler ends only its own line.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "game/ZnError.h"
#include "shell/ClubDispatcher.h"
#include "tests/support/FakeDesktop.h"

namespace zn {
namespace {

struct Reader : TLineReader {
  bool reading = true;
  bool held = false;
  int passes = 0;
  std::vector<std::string> routed;
  std::function<void(const std::string&)> onLine;  // runs inside the route

  bool Reading() const override { return reading; }
  bool Held() const override { return held; }
  void PassStarts() override { ++passes; }
  void Route(const std::string& line) override {
    routed.push_back(line);
    if (onLine) onLine(line);
  }
};

struct PassCase {
  const char* name;
  std::string received;
  bool reading;
  bool held;
  // Inside a route: the reader and the dispatcher, to hold, stop or pass again.
  std::function<void(Reader&, TClubDispatcher&, const std::string&)> inside;
  std::vector<bool> results;        // of the passes run, one after another
  std::vector<std::string> routed;  // the lines the reader got, in order
  std::size_t errors;               // error boxes shown
  std::string left;                 // the queue's first entry afterwards ("" when empty)
};

class DispatcherPassTest : public ::testing::TestWithParam<PassCase> {
 protected:
  test::ScopedFakeDesktop desk;
};

TEST_P(DispatcherPassTest, TakesAtMostOneLineAPass) {
  const PassCase& c = GetParam();
  TReceiveQueue queue;
  if (!c.received.empty()) queue.Append(c.received);
  Reader reader;
  reader.reading = c.reading;
  reader.held = c.held;
  TClubDispatcher dispatcher(queue, reader);
  if (c.inside) reader.onLine = [&](const std::string& line) { c.inside(reader, dispatcher, line); };
  std::vector<bool> results;
  for (std::size_t i = 0; i < c.results.size(); ++i) results.push_back(dispatcher.Pass());
  EXPECT_EQ(results, c.results);
  EXPECT_EQ(reader.routed, c.routed);
  EXPECT_EQ(desk.desk.Errors.size(), c.errors);
  EXPECT_EQ(queue.Empty() ? std::string() : queue.Entry(0), c.left);
}

using L = std::vector<std::string>;
using B = std::vector<bool>;
INSTANTIATE_TEST_SUITE_P(
    Passes, DispatcherPassTest,
    ::testing::Values(
        PassCase{"OneLineEachPass", "#M a#M b", true, false, nullptr, B{true, false, false}, L{"M a", "M b"},
                 0, ""},
        PassCase{"NotReading", "#M a", false, false, nullptr, B{false}, L{}, 0, "#M a"},
        PassCase{"Held", "#M a", true, true, nullptr, B{false, false}, L{}, 0, "#M a"},
        PassCase{"NothingWaits", "", true, false, nullptr, B{false}, L{}, 0, ""},
        PassCase{"HeldByTheLineItself", "#M a#M b", true, false,
                 [](Reader& r, TClubDispatcher&, const std::string&) { r.held = true; }, B{false, false},
                 L{"M a"}, 0, "#M b"},
        PassCase{"StoppedByTheLineItself", "#M a#M b", true, false,
                 [](Reader& r, TClubDispatcher&, const std::string&) { r.reading = false; }, B{false},
                 L{"M a"}, 0, "#M b"},
        // Pending events inside a handler may run the idle handler again: that pass takes nothing.
        PassCase{"PassInsideAPass", "#M a#M b", true, false,
                 [](Reader&, TClubDispatcher& d, const std::string& line) {
                   if (line == "M a") {
                     EXPECT_FALSE(d.Pass());
                   }
                 },
                 B{true, false}, L{"M a", "M b"}, 0, ""},
        PassCase{"AFailingLineEndsOnlyItself", "#M a#M b", true, false,
                 [](Reader&, TClubDispatcher&, const std::string& line) {
                   if (line == "M a") throw EZnError("rossz sor");
                 },
                 B{true, false}, L{"M a", "M b"}, 1, ""}),
    [](const ::testing::TestParamInfo<PassCase>& i) { return std::string(i.param.name); });

}  // namespace
}  // namespace zn
