// The table window's print size and place on screens large and small, with the club window at
// different places: never larger than the free area, large print as large as it lets it be, and
// the club window's chat left in sight where there is room for both.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>

#include "table/TableFit.h"

namespace zn::test {
namespace {

// The designed sizes of the two layouts (the message line included) and a usual frame.
constexpr int kPlayW = 592, kPlayH = 436, kWatchW = 820, kWatchH = 639;
constexpr int kFrameW = 8, kFrameH = 32;
const TScreenRect kClubTopLeft{0, 0, 315, 355};

std::int64_t Overlap(const TScreenRect& a, const TScreenRect& b) {
  const std::int64_t w = std::min(a.Right(), b.Right()) - std::max(a.Left, b.Left);
  const std::int64_t h = std::min(a.Bottom(), b.Bottom()) - std::max(a.Top, b.Top);
  return w > 0 && h > 0 ? w * h : 0;
}

struct FitCase {
  const char* name;
  TScreenRect available;
  bool watching;
  bool large;
  TScreenRect club;
  int percent;
  TScreenRect frame;  // checked when it has a width
  bool clear;         // the club window is not covered
};

class TableFitTest : public ::testing::TestWithParam<FitCase> {};

TEST_P(TableFitTest, FitsTheFreeAreaAndLeavesTheClubWindowInSight) {
  const FitCase& c = GetParam();
  TTableFitInput in;
  in.Available = c.available;
  in.Width = c.watching ? kWatchW : kPlayW;
  in.Height = c.watching ? kWatchH : kPlayH;
  in.FrameWidth = kFrameW;
  in.FrameHeight = kFrameH;
  in.LargePrint = c.large;
  in.Club = c.club;
  const TTableFit fit = FitTable(in);
  EXPECT_EQ(fit.Percent, c.percent);
  const TScreenRect& f = fit.Frame;
  EXPECT_EQ(f.Width, in.Width * fit.Percent / 100 + kFrameW);
  EXPECT_EQ(f.Height, in.Height * fit.Percent / 100 + kFrameH);
  // Inside the free area, unless even the least print size is too large for it (its left and top
  // then show).
  if (fit.Percent > kLeastPrint) {
    EXPECT_TRUE(f.Left >= c.available.Left && f.Top >= c.available.Top && f.Right() <= c.available.Right() &&
                f.Bottom() <= c.available.Bottom())
        << f.Left << "," << f.Top << " " << f.Width << "x" << f.Height;
  }
  if (c.frame.Width > 0) {
    EXPECT_EQ(f, c.frame);
  }
  if (c.clear) {
    EXPECT_EQ(Overlap(f, c.club), 0);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Screens, TableFitTest,
    ::testing::Values(
        // 1600x1200 with a 30-pixel panel: the watching window was 1640x1278 in large print. Large
        // print stays beside the club window where it can be at least kLeastBeside there.
        FitCase{"Large1600Watching",
                {0, 30, 1600, 1170},
                true,
                true,
                kClubTopLeft,
                155,
                {315, 30, 1279, 1022},
                true},
        FitCase{"Large1600Playing",
                {0, 30, 1600, 1170},
                false,
                true,
                kClubTopLeft,
                200,
                {315, 30, 1192, 904},
                true},
        FitCase{
            "Large1280Playing", {0, 0, 1280, 800}, false, true, kClubTopLeft, 161, {315, 0, 961, 733}, true},
        FitCase{"Large1280Watching", {0, 0, 1280, 800}, true, true, kClubTopLeft, 120, {}, false},
        FitCase{"Ordinary1280Watching",
                {0, 0, 1280, 800},
                true,
                false,
                kClubTopLeft,
                100,
                {315, 0, 828, 671},
                true},
        // Ordinary print never grows, and shrinks only on a screen too small for it.
        FitCase{"Ordinary1920Playing",
                {0, 0, 1920, 1080},
                false,
                false,
                kClubTopLeft,
                100,
                {315, 0, 600, 468},
                true},
        FitCase{"Ordinary1024x600Watching", {0, 0, 1024, 600}, true, false, {}, 88, {}, false},
        FitCase{"TinyScreenStopsAtTheLeast",
                {0, 0, 300, 200},
                true,
                false,
                {},
                kLeastPrint,
                {0, 0, 418, 351},
                false},
        // The club window on the right: the table goes to its left.
        FitCase{"ClubOnTheRight",
                {0, 0, 1920, 1080},
                false,
                false,
                {1500, 100, 400, 500},
                100,
                {900, 100, 600, 468},
                true},
        // A second screen to the right of the first, with its panel on top.
        FitCase{"SecondScreen", {1920, 40, 1280, 984}, false, true, {1920, 40, 315, 355}, 161, {}, true},
        FitCase{"NoClubWindow", {0, 0, 1600, 1200}, false, false, {}, 100, {1000, 0, 600, 468}, false}),
    [](const auto& info) { return std::string(info.param.name); });

// A place the member chose stays; only what would leave the free area is pulled back into it.
TEST(KeepInsideTest, PullsBackOnlyWhatLeavesTheArea) {
  struct Case {
    TScreenRect frame, want;
  };
  const TScreenRect area{0, 30, 1280, 770};
  const Case cases[] = {
      {{100, 100, 600, 468}, {100, 100, 600, 468}},   // inside: kept
      {{1000, 600, 600, 468}, {680, 332, 600, 468}},  // off the right and bottom
      {{-50, 0, 600, 468}, {0, 30, 600, 468}},        // above the panel, off the left
      {{500, 500, 2000, 1000}, {0, 30, 2000, 1000}},  // larger than the area: its title bar shows
  };
  for (const Case& c : cases)
    EXPECT_EQ(KeepInside(c.frame, area), c.want) << c.frame.Left << "," << c.frame.Top;
}

}  // namespace
}  // namespace zn::test
