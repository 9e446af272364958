// The table window's print size and place on its screen: large print as large as the screen's free
// area lets it be (never larger, so its buttons stay reachable), and beside the club window, whose
// chat the member reads while playing, where the screen leaves room for both.
#pragma once

namespace zn {

struct TScreenRect {
  int Left = 0, Top = 0, Width = 0, Height = 0;
  int Right() const { return Left + Width; }
  int Bottom() const { return Top + Height; }
  bool operator==(const TScreenRect&) const = default;
};

// The print sizes in percent of the designed one: ordinary, large, and the least a small screen
// shrinks the window to (the card indices stay readable).
inline constexpr int kOrdinaryPrint = 100;
inline constexpr int kLargePrint = 200;
inline constexpr int kLeastPrint = 50;
// Large print keeps the club window's chat in sight when it can still be this large beside it;
// below that it takes the whole screen and covers the club window.
inline constexpr int kLeastBeside = 140;

struct TTableFitInput {
  TScreenRect Available;  // the screen's area free of panels and docks
  int Width = 0;          // the window's designed inside size at 100 percent
  int Height = 0;
  int FrameWidth = 0;  // what the window manager adds round it (title bar, borders)
  int FrameHeight = 0;
  bool LargePrint = false;
  TScreenRect Club;  // the club window's frame; empty (no width) when it is not shown
};

struct TTableFit {
  int Percent = kOrdinaryPrint;  // the print size: every designed measure times Percent / 100
  TScreenRect Frame;             // where the window goes, its frame included
};

// The largest print size up to the one asked for whose window fits beside, above or below the club
// window (when that is at least kLeastBeside or the size asked for), else the largest that fits
// the free area (not below kLeastPrint); and a place inside that area, clear of the club window
// where it fits, else where it covers the least of it.
TTableFit FitTable(const TTableFitInput& in);

// A window the member has placed keeps its place, moved only as far as needed to lie inside the
// free area with its new size.
TScreenRect KeepInside(const TScreenRect& frame, const TScreenRect& available);

}  // namespace zn
