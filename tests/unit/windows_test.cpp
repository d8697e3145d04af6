// Window placement, rectangle conversion, grow limits and the small window
// utilities of the plot window module.
#include "Sources/windows.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "common/utilities.h"
#include "toolbox/internal/EventQueue.h"
#include "toolbox/internal/WindowRecord.h"

namespace {

std::string describe(const Rect& r) {
  return "{top " + std::to_string(r.top) + ", left " + std::to_string(r.left) + ", bottom " +
         std::to_string(r.bottom) + ", right " + std::to_string(r.right) + "}";
}

void expectRect(const Rect& expected, const Rect& found, const std::string& what) {
  EXPECT_TRUE(expected.top == found.top && expected.left == found.left && expected.bottom == found.bottom &&
              expected.right == found.right)
      << what << ": expected " << describe(expected) << ", found " << describe(found);
}

// Rect fields in their declaration order: top, left, bottom, right.
constexpr Rect kWideScreen{22, 0, 768, 1024};
constexpr Rect kTallScreen{22, 0, 1024, 768};

struct PlacementCase {
  const char* name;
  int code;
  Rect screen;
  std::optional<Rect> frontPlot;
  Rect expected;
};

TEST(IdealWindowRect, FollowsThePlacementRule) {
  const std::vector<PlacementCase> cases = {
      // A wide screen: the plot square on the left, the text window beside it.
      {"wide: first plot window is a 694-pixel square", 2, kWideScreen, std::nullopt, {64, 2, 758, 696}},
      {"wide: text window fills the rest to the right", 1, kWideScreen, std::nullopt, {64, 699, 728, 1024}},
      {"wide: second plot moves 40/40, bottom pulled to 5 inside", 2, kWideScreen, Rect{64, 2, 758, 696},
       {104, 42, 763, 736}},
      {"wide: other codes give the whole usable area", 3, kWideScreen, std::nullopt, {64, 2, 768, 1024}},
      {"wide: code 0 gives the whole usable area", 0, kWideScreen, Rect{64, 2, 758, 696}, {64, 2, 768, 1024}},
      // A tall screen: the plot square on top, the text window below it.
      {"tall: first plot window is a 766-pixel square", 2, kTallScreen, std::nullopt, {64, 2, 830, 768}},
      {"tall: text window lies below the square", 1, kTallScreen, std::nullopt, {855, 2, 1029, 728}},
      // Odd and even squares.
      {"wide, odd height - 10: square one pixel larger", 2, Rect{22, 0, 767, 1024}, std::nullopt,
       {64, 2, 758, 696}},
      {"wide, odd height - 10: text window", 1, Rect{22, 0, 767, 1024}, std::nullopt, {64, 699, 727, 1024}},
      {"tall, odd width: square one pixel smaller", 2, Rect{22, 0, 1024, 769}, std::nullopt, {64, 2, 830, 768}},
      {"tall, odd width: text window", 1, Rect{22, 0, 1024, 769}, std::nullopt, {855, 2, 1029, 728}},
      {"negative odd square is not adjusted", 2, Rect{0, 0, 45, 2000}, std::nullopt, {42, 2, 35, -5}},
      // Further plot windows near the edges.
      {"moved top exactly at bottom - 40 stays, bottom pulled in", 2, kWideScreen, Rect{688, 2, 750, 100},
       {728, 42, 763, 140}},
      {"moved top below bottom - 40 starts again at the square", 2, kWideScreen, Rect{689, 2, 750, 100},
       {64, 2, 758, 696}},
      {"moved right exactly at right - 40 stays", 2, kWideScreen, Rect{64, 400, 200, 944}, {104, 440, 240, 984}},
      {"moved right beyond right - 40 starts again at the square", 2, kWideScreen, Rect{64, 401, 200, 945},
       {64, 2, 758, 696}},
  };
  for (const PlacementCase& c : cases) {
    const Rect* front = c.frontPlot ? &*c.frontPlot : nullptr;
    expectRect(c.expected, idealWindowRect(c.code, c.screen, 22, front), c.name);
  }
}

TEST(IdealWindowRect, MenuBarHeightMovesTheSquareDown) {
  // top = screen top + menu bar + 20; on a wide screen the square is 10
  // pixels shorter than what remains below top.
  const std::vector<std::pair<short, Rect>> cases = {
      {0, {20, 2, 590, 572}},
      {40, {60, 2, 590, 532}},
  };
  for (const auto& [menuBar, expected] : cases) {
    expectRect(expected, idealWindowRect(2, Rect{0, 0, 600, 1000}, menuBar, nullptr),
               "first plot window with a menu bar of " + std::to_string(menuBar));
  }
}

// The live placement on the test desktop (1024 x 768, menu bar 22), which is
// the wide example above.
TEST(GetIdealWindowRect, UsesTheDesktopBelowTheMenuBar) {
  expectRect(Rect{22, 0, 768, 1024}, ScreenBounds(), "usable area of the 1024 x 768 desktop");
  expectRect(Rect{64, 699, 728, 1024}, GetIdealWindowRect(1), "text window on the test desktop");
  expectRect(Rect{64, 2, 768, 1024}, GetIdealWindowRect(0), "whole usable area on the test desktop");
}

// A plain document window (no plot), disposed at the end of each test.
class PlainWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    const Rect content{100, 50, 300, 350};
    ASSERT_EQ(noErr, CreateNewWindow(kDocumentWindowClass, kWindowStandardDocumentAttributes, &content, &window))
        << "creating a document window";
    ShowWindow(window);
    SelectWindow(window);
    FlushEvents(everyEvent, 0);
  }
  void TearDown() override {
    DisposeWindow(window);
    FlushEvents(everyEvent, 0);
  }
  WindowPtr window = nullptr;
};

struct ConversionCase {
  const char* name;
  Rect local;
  Rect global;
};

TEST_F(PlainWindow, RectanglesConvertBetweenWindowAndGlobal) {
  // The content's top-left corner is at (h 50, v 100) on the desktop.
  const std::vector<ConversionCase> cases = {
      {"origin square", {0, 0, 10, 10}, {100, 50, 110, 60}},
      {"whole content", {0, 0, 200, 300}, {100, 50, 300, 350}},
      {"above and left of the content", {-20, -30, -10, -5}, {80, 20, 90, 45}},
  };
  for (const ConversionCase& c : cases) {
    Rect r = c.local;
    LocalToGlobalRect(window, r);
    expectRect(c.global, r, std::string(c.name) + ", local to global");
    GlobalToLocalRect(window, r);
    expectRect(c.local, r, std::string(c.name) + ", back to local");
  }
  GrafPtr current;
  GetPort(&current);
  EXPECT_EQ(GetWindowPort(window), current) << "the converted window's port stays current";
}

TEST_F(PlainWindow, LocalBoundsStartAtTheOrigin) {
  Rect bounds;
  GetLocalWindowBounds(window, bounds);
  expectRect(Rect{0, 0, 200, 300}, bounds, "local bounds of a 300 x 200 content");
}

TEST_F(PlainWindow, RequestUpdateInvalidatesTheWholeContent) {
  window->updateRgn = QRegion();
  requestUpdate(window);
  EXPECT_EQ(QRegion(0, 0, 300, 200), window->updateRgn) << "update region after requestUpdate";
  requestUpdate(nullptr);  // ignored; must not crash
}

TEST_F(PlainWindow, ShowBringsAHiddenWindowToTheFront) {
  const Rect other{120, 80, 220, 180};
  WindowPtr front = nullptr;
  ASSERT_EQ(noErr, CreateNewWindow(kDocumentWindowClass, kWindowStandardDocumentAttributes, &other, &front));
  ShowWindow(front);
  HideWindow(window);
  show(window);
  EXPECT_TRUE(IsWindowVisible(window)) << "show makes a hidden window visible";
  EXPECT_EQ(window, FrontWindow()) << "show makes the window frontmost";
  DisposeWindow(front);
}

// Drags the grow box of the window by (dh, dv) through posted mouse input.
void growBy(WindowPtr window, int dh, int dv) {
  const Point start{short(window->content.bottom - 5), short(window->content.right - 5)};
  tb::RawInput move;
  move.kind = tb::InputKind::MouseMove;
  move.where = Point{short(start.v + dv), short(start.h + dh)};
  tb::postInput(move);
  tb::RawInput up = move;
  up.kind = tb::InputKind::MouseUp;
  tb::postInput(up);
  growTheWindow(window, start);
}

struct GrowCase {
  const char* name;
  int dh;
  int dv;
  int expectedWidth;
  int expectedHeight;
};

TEST_F(PlainWindow, GrowStaysWithinItsLimits) {
  // The window starts at 300 x 200 with its content at (50, 100).
  const std::vector<GrowCase> cases = {
      {"grow by 40 x 30", 40, 30, 340, 230},
      {"shrink below the minimum stops at 40 x 40", -1000, -1000, 40, 40},
      {"release at the start changes nothing", 0, 0, 40, 40},
      {"beyond the desktop stops at its right and bottom edges", 3000, 3000, 1024, 768},
  };
  for (const GrowCase& c : cases) {
    growBy(window, c.dh, c.dv);
    const int width = window->content.right - window->content.left;
    const int height = window->content.bottom - window->content.top;
    EXPECT_EQ(c.expectedWidth, width) << c.name << ": width";
    EXPECT_EQ(c.expectedHeight, height) << c.name << ": height";
  }
}

TEST(WindowUtilities, NullAndNonPlotWindowsAreIgnored) {
  // None of these may touch a window that is not there or not a plot.
  disposePlot(nullptr);
  eraseWindow(nullptr);
  upDatePlot(nullptr);
  show(nullptr);
  SUCCEED() << "no crash on null windows";
}

}  // namespace
