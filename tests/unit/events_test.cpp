// The cancel poll, the cursor without plot windows, and mouse-downs in the
// parts of ordinary windows.
#include "Sources/events.h"

#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "Sources/windows.h"
#include "toolbox/Frontend.h"
#include "toolbox/internal/EventQueue.h"
#include "toolbox/internal/WindowRecord.h"
#include "unit/app_desktop.h"
#include "unit/keys.h"

namespace {

struct KeyStep {
  bool down;
  unsigned char code;
  EventModifiers modifiers;
};

struct CancelCase {
  const char* name;
  std::vector<KeyStep> steps;
  bool expected;
};

TEST(UserCancel, NeedsCommandAndPeriodTogether) {
  const std::vector<CancelCase> cases = {
      {"nothing held", {}, false},
      {"period alone", {{true, kVK_ANSI_Period, 0}}, false},
      {"Command alone", {{true, kVK_Command, cmdKey}}, false},
      {"Command, then period", {{true, kVK_Command, cmdKey}, {true, kVK_ANSI_Period, cmdKey}}, true},
      {"period, then Command", {{true, kVK_ANSI_Period, 0}, {true, kVK_Command, cmdKey}}, true},
      {"Command with another key", {{true, kVK_Command, cmdKey}, {true, kVK_ANSI_R, cmdKey}}, false},
      {"Command-period, period released",
       {{true, kVK_Command, cmdKey}, {true, kVK_ANSI_Period, cmdKey}, {false, kVK_ANSI_Period, cmdKey}},
       false},
  };
  for (const CancelCase& c : cases) {
    HeldKeys keys;
    for (const KeyStep& step : c.steps) {
      if (step.down) {
        keys.press(step.code, step.modifiers);
      } else {
        keys.release(step.code, step.modifiers);
      }
    }
    EXPECT_EQ(c.expected, bool(userCancel())) << c.name;
  }
}

TEST(UserCancel, TakesNoEventFromTheQueue) {
  HeldKeys keys;
  keys.press(kVK_Command, cmdKey);
  keys.press(kVK_ANSI_Period, cmdKey);
  ASSERT_TRUE(userCancel()) << "Command-period held";
  EXPECT_TRUE(tb::hasInput()) << "the two key presses are still queued for the event loop";
}

// Hides every visible window for one test and shows them again afterwards.
class EmptyDesktop : public ::testing::Test {
 protected:
  void SetUp() override {
    for (WindowRecord* w : tb::windowManager().windows) {
      if (w->visible) hidden.push_back(w);
    }
    for (WindowRecord* w : hidden) HideWindow(w);
  }
  void TearDown() override {
    for (WindowRecord* w : hidden) ShowWindow(w);
  }
  std::vector<WindowRecord*> hidden;
};

TEST_F(EmptyDesktop, NoFrontWindowGivesTheArrowAndTheWholeDesktop) {
  SetThemeCursor(kThemeWatchCursor);
  MaintainCursor(Point{300, 300});
  EXPECT_EQ(tb::CursorShape::Arrow, tb::frontend().cursor()) << "cursor with no window in front";
  ASSERT_NE(nullptr, cursorRgn) << "the cursor region exists after the first call";
  Rect bounds;
  GetRegionBounds(cursorRgn, &bounds);
  EXPECT_TRUE(bounds.top == 0 && bounds.left == 0 && bounds.bottom == 768 && bounds.right == 1024)
      << "cursor region: expected the desktop {0, 0, 768, 1024}, found {" << bounds.top << ", " << bounds.left
      << ", " << bounds.bottom << ", " << bounds.right << "}";
}

// Two ordinary (non-plot) windows; `back` lies partly under `front`.
class TwoWindows : public EmptyDesktop {
 protected:
  void SetUp() override {
    EmptyDesktop::SetUp();
    const Rect backRect{100, 100, 300, 400}, frontRect{200, 300, 400, 600};
    ASSERT_EQ(noErr, CreateNewWindow(kDocumentWindowClass, kWindowStandardDocumentAttributes, &backRect, &back));
    ASSERT_EQ(noErr, CreateNewWindow(kDocumentWindowClass, kWindowStandardDocumentAttributes, &frontRect, &front));
    ShowWindow(back);
    ShowWindow(front);
    SelectWindow(front);
    FlushEvents(everyEvent, 0);
    gScaleOn = 0;
  }
  void TearDown() override {
    gScaleOn = 0;
    DisposeWindow(front);
    DisposeWindow(back);
    FlushEvents(everyEvent, 0);
    EmptyDesktop::TearDown();
  }

  // A mouse-down at a global point, with the release (and a move before it)
  // already posted for the tracking that follows.
  static void clickAt(Point down, Point up) {
    tb::RawInput move;
    move.kind = tb::InputKind::MouseMove;
    move.where = up;
    tb::postInput(move);
    tb::RawInput release = move;
    release.kind = tb::InputKind::MouseUp;
    tb::postInput(release);
    EventRecord ev{};
    ev.what = mouseDown;
    ev.where = down;
    mouseDownEvent(ev);
    FlushEvents(everyEvent, 0);
  }
  static Point centre(const Rect& r) { return Point{short((r.top + r.bottom) / 2), short((r.left + r.right) / 2)}; }

  WindowPtr back = nullptr;
  WindowPtr front = nullptr;
};

TEST_F(TwoWindows, ClickInABackgroundWindowOnlyBringsItForward) {
  gScaleOn = 1;
  const Point inBack{150, 150};
  clickAt(inBack, inBack);
  EXPECT_EQ(back, FrontWindow()) << "front window after a click in the background window";
  EXPECT_EQ(1, gScaleOn) << "a pending zoom mode after a click that only brought a window forward";
}

TEST_F(TwoWindows, ClickInAFrontNonPlotWindowLeavesZoomModePending) {
  gScaleOn = 2;
  const Point inFront{300, 450};
  clickAt(inFront, inFront);
  EXPECT_EQ(front, FrontWindow()) << "front window after a click in its content";
  EXPECT_EQ(2, gScaleOn) << "zoom mode after a click in a window that is no plot";
}

TEST_F(TwoWindows, CloseBoxHidesAWindowThatIsNoPlot) {
  const Point box = centre(tb::closeBoxRect(*front));
  clickAt(box, box);
  EXPECT_FALSE(IsWindowVisible(front)) << "a window closed with its close box";
  EXPECT_TRUE(tb::isAlive(front)) << "a window that is no plot is only hidden";
}

TEST_F(TwoWindows, CloseBoxReleasedOutsideDoesNothing) {
  const Point box = centre(tb::closeBoxRect(*front));
  clickAt(box, Point{300, 450});
  EXPECT_TRUE(IsWindowVisible(front)) << "a window whose close box was left before the release";
}

TEST_F(TwoWindows, TitleBarDragMovesTheWindow) {
  const Point start = centre(tb::titleBarRect(*front));
  clickAt(start, Point{short(start.v + 30), short(start.h - 50)});
  EXPECT_EQ(230, front->content.top) << "content top after dragging the title bar 30 down";
  EXPECT_EQ(250, front->content.left) << "content left after dragging the title bar 50 left";
  EXPECT_EQ(200, front->content.bottom - front->content.top) << "height after a drag";
}

TEST_F(TwoWindows, ZoomBoxTogglesBetweenTwoSizes) {
  const Rect before = front->content;
  Point box = centre(tb::zoomBoxRect(*front));
  clickAt(box, box);
  EXPECT_FALSE(EqualRect(&before, &front->content)) << "content after zooming out: expected a new rectangle";
  box = centre(tb::zoomBoxRect(*front));
  clickAt(box, box);
  EXPECT_TRUE(EqualRect(&before, &front->content)) << "content after zooming back: expected the first rectangle";
}

TEST_F(TwoWindows, CursorStaysOverAWindowThatIsNoPlot) {
  MaintainCursor(Point{300, 450});  // builds the region for this front window
  SetThemeCursor(kThemeWatchCursor);
  MaintainCursor(Point{300, 450});
  EXPECT_EQ(tb::CursorShape::Watch, tb::frontend().cursor())
      << "the cursor over a front window that is neither a plot nor the text window";
}

using AppEvents = AppDesktop;

struct KeyCase {
  const char* name;
  char key;
  double muChange;
  int nChange;
};

TEST_F(AppEvents, KeysChangeMuAndNOfTheFrontPlot) {
  const std::vector<KeyCase> cases = {
      {"up arrow adds gDelta to mu", 0x1E, 0.1, 0},
      {"down arrow takes gDelta from mu", 0x1F, -0.1, 0},
      {"right arrow adds one to n", 0x1D, 0, 1},
      {"left arrow takes one from n", 0x1C, 0, -1},
      {"a letter other than R does nothing", 'x', 0, 0},
      {"a Mac Roman character above 0x7F does nothing", char(0xB5), 0, 0},
  };
  for (const KeyCase& c : cases) {
    WindowPtr plot = newPlot();
    Map* map = GetPlotData(plot)->map();
    map->setParameter(map->mu, 2);  // n = 2, so that the left arrow may step down
    const double mu = map->mu;
    const int n = map->n;
    keyDownEvent(c.key);
    EXPECT_NEAR(mu + c.muChange, map->mu, 1e-12) << c.name << ": mu";
    EXPECT_EQ(n + c.nChange, map->n) << c.name << ": n";
    HideWindow(plot);
    disposePlot(plot);
  }
}

TEST_F(AppEvents, LeftArrowStopsAtNEqualOne) {
  WindowPtr plot = newPlot();
  Map* map = GetPlotData(plot)->map();
  ASSERT_EQ(1, map->n) << "n of a new plot";
  keyDownEvent(0x1C);
  EXPECT_EQ(1, map->n) << "n after the left arrow at n = 1";
}

TEST_F(AppEvents, ArrowStepFollowsGDelta) {
  WindowPtr plot = newPlot();
  Map* map = GetPlotData(plot)->map();
  gDelta = 0.25;
  const double mu = map->mu;
  keyDownEvent(0x1E);
  EXPECT_NEAR(mu + 0.25, map->mu, 1e-12) << "mu after the up arrow with gDelta = 0.25";
}

TEST_F(AppEvents, SpaceBarStepsOnlyACobweb) {
  WindowPtr plot = newPlot();
  Map* map = GetPlotData(plot)->map();
  map->setTime(10);
  keyDownEvent(' ');
  EXPECT_EQ(11, map->t) << "iterations after the space bar in a cobweb plot";
  GetPlotData(plot)->toggleShow(bifurcationPlot);
  keyDownEvent(' ');
  EXPECT_EQ(11, map->t) << "iterations after the space bar in a bifurcation plot";
}

TEST_F(AppEvents, RRestoresTheStandardViewInEitherCase) {
  WindowPtr plot = newPlot();
  PlotData* data = GetPlotData(plot);
  std::array<double, 4> standard, found;
  data->getCoordinates(&standard[0], &standard[1], &standard[2], &standard[3]);
  for (char key : {'R', 'r'}) {
    data->setCoordinates(0.25, 0.5, 0.25, 0.5);
    keyDownEvent(key);
    data->getCoordinates(&found[0], &found[1], &found[2], &found[3]);
    EXPECT_EQ(standard, found) << "bounds after the key " << key;
  }
}

TEST_F(AppEvents, KeysActOnThePlotBehindTheTextWindow) {
  WindowPtr plot = newPlot();
  show(output);
  Map* map = GetPlotData(plot)->map();
  const int n = map->n;
  keyDownEvent(0x1D);
  EXPECT_EQ(n + 1, map->n) << "n of the plot behind the text window after the right arrow";
}

TEST_F(AppEvents, CommandKeysGoToTheMenusOtherKeysToThePlot) {
  WindowPtr plot = newPlot();
  Map* map = GetPlotData(plot)->map();
  const double mu = map->mu;

  EventRecord plain{};
  plain.what = keyDown;
  plain.message = 0x1E;
  dispatchEvent(plain);
  EXPECT_NEAR(mu + 0.1, map->mu, 1e-12) << "mu after an up arrow key event";

  EventRecord repeat = plain;
  repeat.what = autoKey;
  dispatchEvent(repeat);
  EXPECT_NEAR(mu + 0.2, map->mu, 1e-12) << "mu after an auto-key repeat of the up arrow";

  EventRecord newPlotKey{};
  newPlotKey.what = keyDown;
  newPlotKey.message = 'n';
  newPlotKey.modifiers = cmdKey;
  dispatchEvent(newPlotKey);
  EXPECT_EQ(2, plotWindowCount()) << "plot windows after Command-N";
  EXPECT_NE(plot, FrontWindow()) << "Command-N puts the new plot window in front";

  EventRecord noShortcut = newPlotKey;
  noShortcut.message = 'h';
  dispatchEvent(noShortcut);
  EXPECT_EQ(2, plotWindowCount()) << "plot windows after Command-H, which is no shortcut";
}

TEST_F(AppEvents, UpdateEventRedrawsAPlotAndRestoresTheCursor) {
  WindowPtr plot = newPlot();
  requestUpdate(plot);
  EventRecord update{};
  update.what = updateEvt;
  update.message = reinterpret_cast<uintptr_t>(plot);
  dispatchEvent(update);
  EXPECT_TRUE(plot->updateRgn.isEmpty()) << "update region after the update event";
  EXPECT_NE(tb::CursorShape::Watch, tb::frontend().cursor()) << "the watch is gone after the redraw";
}

struct CursorCase {
  const char* name;
  int scaleOn;
  bool overText;   // the text window in front instead of the plot
  Point where;
  tb::CursorShape expected;
};

TEST_F(AppEvents, CursorFollowsTheFrontWindowAndTheZoomMode) {
  // The plot is the square {64, 2, 758, 696}; its grow box is the 15 x 15
  // corner, the text window lies at {64, 699, 728, 1024}.
  const std::vector<CursorCase> cases = {
      {"plot content", 0, false, {300, 300}, tb::CursorShape::Cross},
      {"plot content in zoom-in mode", 1, false, {300, 300}, tb::CursorShape::ZoomIn},
      {"plot content in zoom-out mode", 2, false, {300, 300}, tb::CursorShape::ZoomOut},
      {"plot grow box in zoom-in mode", 1, false, {750, 690}, tb::CursorShape::Arrow},
      {"just left of the grow box", 0, false, {750, 678}, tb::CursorShape::Cross},
      {"outside the plot", 0, false, {300, 900}, tb::CursorShape::Arrow},
      {"text window's view", 0, true, {200, 800}, tb::CursorShape::IBeam},
      {"text window's scroll bar", 0, true, {200, 1015}, tb::CursorShape::Arrow},
      {"plot content behind the text window", 0, true, {300, 300}, tb::CursorShape::Arrow},
  };
  WindowPtr plot = newPlot();
  for (const CursorCase& c : cases) {
    show(c.overText ? output : plot);
    gScaleOn = c.scaleOn;
    SetThemeCursor(kThemeWatchCursor);
    MaintainCursor(c.where);
    EXPECT_EQ(int(c.expected), int(tb::frontend().cursor())) << c.name;
    // Inside or outside the window's area, the new region holds the mouse,
    // so that the next mouse-moved event comes when the shape must change.
    EXPECT_TRUE(PtInRgn(c.where, cursorRgn)) << c.name << ": expected the mouse inside the cursor region";
  }
}

TEST_F(AppEvents, CursorRegionIsThePlotsAreaOrItsComplement) {
  newPlot();  // content {64, 2, 758, 696}
  const Point content{300, 300}, growBox{750, 690}, outside{300, 900};

  MaintainCursor(content);
  EXPECT_TRUE(PtInRgn(content, cursorRgn)) << "mouse over the content: the content is in the region";
  EXPECT_FALSE(PtInRgn(growBox, cursorRgn)) << "mouse over the content: the grow box is not in the region";
  EXPECT_FALSE(PtInRgn(outside, cursorRgn)) << "mouse over the content: the desktop outside is not in the region";

  MaintainCursor(outside);
  EXPECT_TRUE(PtInRgn(outside, cursorRgn)) << "mouse outside: the desktop outside is in the region";
  EXPECT_TRUE(PtInRgn(growBox, cursorRgn)) << "mouse outside: the grow box is in the region";
  EXPECT_FALSE(PtInRgn(content, cursorRgn)) << "mouse outside: the content is not in the region";
}

TEST_F(AppEvents, ClickInTheFrontPlotSetsTheInitialPointOfACobweb) {
  WindowPtr plot = newPlot();
  PlotData* data = GetPlotData(plot);
  Map* map = data->map();
  // Window point (h 347, v 300) of the front plot, in global coordinates.
  const Point where{short(plot->content.top + 300), short(plot->content.left + 347)};
  Point local{300, 347};
  const double clickedX = data->physicalCoordinates(local).x;

  const short linesBefore = (*hTE)->nLines;
  EventRecord click{};
  click.what = mouseDown;
  click.where = where;
  mouseDownEvent(click);
  EXPECT_NEAR(clickedX, map->x0, 1e-12) << "initial condition after a click in a cobweb plot";
  EXPECT_GT((*hTE)->nLines, linesBefore) << "the clicked point is logged";

  data->toggleShow(bifurcationPlot);
  const double x0 = map->x0;
  mouseDownEvent(click);
  EXPECT_EQ(x0, map->x0) << "initial condition after a click in a bifurcation plot";
}

}  // namespace
