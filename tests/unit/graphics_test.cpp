// Rubber-band zoom: the zoom arithmetic, Constrain, and drags in a live plot
// window through the layer's input queue, with the band checked pixel by
// pixel while the drag runs.
#include "Sources/graphics.h"

#include <gtest/gtest.h>

#include <QImage>
#include <cmath>
#include <limits>
#include <ostream>
#include <string>
#include <vector>

#include "Sources/events.h"
#include "Sources/text.h"
#include "Sources/windows.h"
#include "toolbox/internal/EventQueue.h"
#include "toolbox/internal/WindowRecord.h"
#include "while_waiting.h"

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
// The expected views are decimal values; the arithmetic may round in
// the last bits.
constexpr double kTolerance = 1e-12;

std::string describe(const ViewBounds& b) {
  return "(" + std::to_string(b.xmn) + ", " + std::to_string(b.xmx) + ", " + std::to_string(b.ymn) + ", " +
         std::to_string(b.ymx) + ")";
}

const char* describe(ZoomOutcome o) {
  switch (o) {
    case ZoomOutcome::applied: return "applied";
    case ZoomOutcome::noExtent: return "no extent";
    case ZoomOutcome::outOfRange: return "out of range";
  }
  return "?";
}

bool near(const ViewBounds& a, const ViewBounds& b, double tolerance) {
  return std::fabs(a.xmn - b.xmn) <= tolerance && std::fabs(a.xmx - b.xmx) <= tolerance &&
         std::fabs(a.ymn - b.ymn) <= tolerance && std::fabs(a.ymx - b.ymx) <= tolerance;
}

// ---- the arithmetic ----

struct ZoomCase {
  const char* name;
  int type;
  vect v;
  vect w;
  ViewBounds view;
  ZoomOutcome outcome;
  ViewBounds expected;  // the view afterwards, also when it must not change
};

TEST(ZoomBounds, FollowsTheZoomArithmetic) {
  const ViewBounds unit{0, 1, 0, 1};
  const std::vector<ZoomCase> cases = {
      {"zoom in: the rectangle becomes the view", 1, {0.2, 0.8}, {0.6, 0.6}, unit, ZoomOutcome::applied,
       {0.2, 0.6, 0.6, 0.8}},
      {"zoom in: the reversed drag gives the same view", 1, {0.6, 0.6}, {0.2, 0.8}, unit, ZoomOutcome::applied,
       {0.2, 0.6, 0.6, 0.8}},
      {"zoom in: the other diagonal gives the same view", 1, {0.2, 0.6}, {0.6, 0.8}, unit, ZoomOutcome::applied,
       {0.2, 0.6, 0.6, 0.8}},
      {"zoom out: a centred half-size rectangle doubles the view", 2, {0.25, 0.25}, {0.75, 0.75}, unit,
       ZoomOutcome::applied, {-0.5, 1.5, -0.5, 1.5}},
      {"zoom out: the reversed drag gives the same view", 2, {0.75, 0.75}, {0.25, 0.25}, unit, ZoomOutcome::applied,
       {-0.5, 1.5, -0.5, 1.5}},
      {"zoom out: each axis scales about the rectangle's centre", 2, {0.5, 0}, {1, 0.5}, {0, 2, -1, 1},
       ZoomOutcome::applied, {-2.25, 5.75, -4.75, 3.25}},
      {"zoom out: a rectangle as large as the view keeps it", 2, {0, 0}, {1, 1}, unit, ZoomOutcome::applied, unit},
      {"type 7 zooms out", 7, {0.25, 0.25}, {0.75, 0.75}, unit, ZoomOutcome::applied, {-0.5, 1.5, -0.5, 1.5}},
      {"type 0 zooms out", 0, {0.25, 0.25}, {0.75, 0.75}, unit, ZoomOutcome::applied, {-0.5, 1.5, -0.5, 1.5}},
      {"flat along x: nothing to zoom to", 1, {0.3, 0.2}, {0.3, 0.9}, unit, ZoomOutcome::noExtent, unit},
      {"flat along y: nothing to zoom out by", 2, {0.1, 0.4}, {0.9, 0.4}, unit, ZoomOutcome::noExtent, unit},
      {"a click: no extent at all", 1, {0.5, 0.5}, {0.5, 0.5}, unit, ZoomOutcome::noExtent, unit},
      {"a corner that is not a number", 1, {kNaN, 0.2}, {0.5, 0.9}, unit, ZoomOutcome::noExtent, unit},
      {"zoom in to an infinite corner", 1, {0, 0}, {kInf, 1}, unit, ZoomOutcome::outOfRange, unit},
      {"zoom in below the smallest scale a double holds", 1, {0, 0}, {1e-310, 1e-310}, unit,
       ZoomOutcome::outOfRange, unit},
      {"zoom out until the bounds overflow", 2, {0, 0}, {1e-10, 1e-10}, {-1e300, 1e300, -1e300, 1e300},
       ZoomOutcome::outOfRange, {-1e300, 1e300, -1e300, 1e300}},
      {"zoom out to finite bounds whose extent overflows", 2, {-0.25e308, -1}, {0.25e308, 1},
       {-0.6e308, 0.6e308, -1, 1}, ZoomOutcome::outOfRange, {-0.6e308, 0.6e308, -1, 1}},
  };
  for (const ZoomCase& c : cases) {
    ViewBounds view = c.view;
    const ZoomOutcome outcome = zoomBounds(c.type, c.v, c.w, 500, 500, view);
    EXPECT_EQ(c.outcome, outcome) << c.name << ": expected outcome " << describe(c.outcome) << ", found "
                                  << describe(outcome);
    const double tolerance = outcome == ZoomOutcome::applied ? kTolerance : 0;
    EXPECT_TRUE(near(c.expected, view, tolerance))
        << c.name << ": expected view " << describe(c.expected) << ", found " << describe(view);
  }
}

// ---- Constrain ----

struct ConstrainCase {
  const char* name;
  Point moving;
  Point fixed;
  Point expected;
};

TEST(Constrain, SquaresTheRectangleVertically) {
  // Point fields in their declaration order: v, h.
  const std::vector<ConstrainCase> cases = {
      {"30 right of and 10 below: moves to 30 below", {110, 130}, {100, 100}, {130, 130}},
      {"level with the fixed corner: moves |dx| above", {100, 130}, {100, 100}, {70, 130}},
      {"30 left of and 10 above: moves to 30 above", {90, 70}, {100, 100}, {70, 70}},
      {"30 left of and 10 below: moves to 30 below", {110, 70}, {100, 100}, {130, 70}},
      {"100 above, 5 right: moves to 5 above", {0, 105}, {100, 100}, {95, 105}},
      {"straight below: comes level", {150, 100}, {100, 100}, {100, 100}},
      {"a result beyond 16 bits wraps as a short does", {30001, 0}, {30000, 10000}, {-25536, 0}},
  };
  for (const ConstrainCase& c : cases) {
    Point p = c.moving;
    Constrain(&p, c.fixed);
    EXPECT_TRUE(p.v == c.expected.v && p.h == c.expected.h)
        << c.name << ": expected (h " << c.expected.h << ", v " << c.expected.v << "), found (h " << p.h << ", v "
        << p.v << ")";
  }
}

// ---- drags in a live plot window ----

struct Px {
  int h;
  int v;
};

// How a picture differs from the one before: the band is a rectangle outline
// of inverted pixels.
struct Difference {
  int changed = 0;
  int notInverted = 0;  // changed pixels that are not the inverse of the old ones
  int offOutline = 0;   // changed pixels more than one pixel away from the box's edges
  int left = 0, top = 0, right = -1, bottom = -1;  // bounding box of the changed pixels
};

Difference compare(const QImage& before, const QImage& after) {
  Difference d;
  d.left = after.width();
  d.top = after.height();
  for (int y = 0; y < after.height(); ++y) {
    for (int x = 0; x < after.width(); ++x) {
      const QRgb a = before.pixel(x, y) & 0xFFFFFF;
      const QRgb b = after.pixel(x, y) & 0xFFFFFF;
      if (a == b) continue;
      ++d.changed;
      if (b != (~a & 0xFFFFFF)) ++d.notInverted;
      d.left = std::min(d.left, x);
      d.right = std::max(d.right, x);
      d.top = std::min(d.top, y);
      d.bottom = std::max(d.bottom, y);
    }
  }
  for (int y = 0; y < after.height(); ++y) {
    for (int x = 0; x < after.width(); ++x) {
      if ((before.pixel(x, y) & 0xFFFFFF) == (after.pixel(x, y) & 0xFFFFFF)) continue;
      const bool onOutline = std::abs(x - d.left) <= 1 || std::abs(x - d.right) <= 1 || std::abs(y - d.top) <= 1 ||
                             std::abs(y - d.bottom) <= 1;
      if (!onOutline) ++d.offOutline;
    }
  }
  return d;
}

// Checks that `after` is `before` with a band from corner a to corner b.
void expectBand(const QImage& before, const QImage& after, Px a, Px b, const std::string& what) {
  const Difference d = compare(before, after);
  const int left = std::min(a.h, b.h), right = std::max(a.h, b.h);
  const int top = std::min(a.v, b.v), bottom = std::max(a.v, b.v);
  EXPECT_EQ(0, d.notInverted) << what << ": expected every changed pixel inverted, found " << d.notInverted
                              << " otherwise changed";
  EXPECT_EQ(0, d.offOutline) << what << ": expected changes only on the band's outline, found " << d.offOutline
                             << " elsewhere";
  EXPECT_TRUE(std::abs(d.left - left) <= 1 && std::abs(d.right - right) <= 1 && std::abs(d.top - top) <= 1 &&
              std::abs(d.bottom - bottom) <= 1)
      << what << ": expected the band's box h " << left << ".." << right << ", v " << top << ".." << bottom
      << " (within a pixel), found h " << d.left << ".." << d.right << ", v " << d.top << ".." << d.bottom;
  const int perimeter = 2 * (right - left) + 2 * (bottom - top);
  EXPECT_NEAR(perimeter, d.changed, 8) << what << ": expected about the outline's " << perimeter
                                       << " pixels inverted, found " << d.changed;
}

class ZoomDrag : public ::testing::Test {
 protected:
  static constexpr int kSide = 500;

  void SetUp() override {
    if (output == nullptr) createOutput();
    FlushEvents(everyEvent, 0);
    window = createPlot();
    ASSERT_NE(nullptr, window) << "createPlot made no window";
    show(window);
    SizeWindow(window, kSide, kSide, false);
    data = GetPlotData(window);
    data->setCoordinates(0, 1, 0, 1);
    gScaleOn = 0;
    runEvents();  // the update draws the picture
    picture = image();
    linesBefore = boundsLines();
  }

  void TearDown() override {
    gScaleOn = 0;
    tb::RawInput up;  // no key stays down for the next test
    up.kind = tb::InputKind::KeyUp;
    up.keyCode = kVK_Shift;
    tb::postInput(up);
    FlushEvents(everyEvent, 0);
    if (window != nullptr) {
      HideWindow(window);
      disposePlot(window);
    }
  }

  static void runEvents() {
    EventRecord e;
    while (GetNextEvent(everyEvent, &e)) dispatchEvent(e);
  }
  QImage image() const { return window->port.image.copy(); }

  void postMouse(tb::InputKind kind, Px p, EventModifiers modifiers = 0) const {
    tb::RawInput in;
    in.kind = kind;
    in.where = Point{short(window->content.top + p.v), short(window->content.left + p.h)};
    in.modifiers = modifiers;
    tb::postInput(in);
  }
  static void postShift(bool down) {
    tb::RawInput in;
    in.kind = down ? tb::InputKind::KeyDown : tb::InputKind::KeyUp;
    in.keyCode = kVK_Shift;
    in.modifiers = down ? shiftKey : 0;
    tb::postInput(in);
  }
  // A whole drag posted at once and run through the event loop's dispatch.
  void drag(int mode, const std::vector<Px>& path, EventModifiers modifiers = 0) {
    gScaleOn = mode;
    postMouse(tb::InputKind::MouseDown, path.front(), modifiers);
    for (size_t i = 1; i < path.size(); ++i) postMouse(tb::InputKind::MouseMove, path[i], modifiers);
    postMouse(tb::InputKind::MouseUp, path.back(), modifiers);
    runEvents();
  }

  ViewBounds bounds() const {
    ViewBounds b;
    data->getCoordinates(&b.xmn, &b.xmx, &b.ymn, &b.ymx);
    return b;
  }
  void expectBounds(const ViewBounds& expected, double tolerance, const std::string& what) const {
    EXPECT_TRUE(near(expected, bounds(), tolerance))
        << what << ": expected view " << describe(expected) << ", found " << describe(bounds());
  }
  static size_t countOf(const std::string& needle) {
    const std::string text(*(*hTE)->hText, size_t((*hTE)->teLength));
    size_t count = 0;
    for (size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1)) ++count;
    return count;
  }
  static size_t boundsLines() { return countOf("Window Bounds:"); }

  WindowPtr window = nullptr;
  PlotData* data = nullptr;
  QImage picture;
  size_t linesBefore = 0;
};

TEST_F(ZoomDrag, ZoomsInToTheDraggedRectangle) {
  drag(1, {{100, 100}, {200, 150}, {300, 200}});
  expectBounds({0.2, 0.6, 0.6, 0.8}, kTolerance, "drag from (100, 100) to (300, 200) on (0, 1, 0, 1)");
  EXPECT_EQ(0, gScaleOn) << "the zoom mode is used up by the drag";
  EXPECT_EQ(linesBefore + 1, boundsLines()) << "one new Window Bounds line";
  EXPECT_EQ(1u, countOf("Window Bounds: (0.2,0.6,0.6,0.8)")) << "the line names the new view";
}

TEST_F(ZoomDrag, TheReversedDragGivesTheSameView) {
  drag(1, {{300, 200}, {200, 150}, {100, 100}});
  expectBounds({0.2, 0.6, 0.6, 0.8}, kTolerance, "drag from (300, 200) back to (100, 100)");
}

TEST_F(ZoomDrag, ZoomsOutByTheDraggedRectangle) {
  // (h 125..375, v 125..375) is (0.25..0.75) x (0.25..0.75) in map coordinates.
  drag(2, {{125, 125}, {375, 375}});
  expectBounds({-0.5, 1.5, -0.5, 1.5}, kTolerance, "zoom out by the centred half-size rectangle");
  EXPECT_EQ(0, gScaleOn) << "the zoom mode is used up by the drag";
}

TEST_F(ZoomDrag, AClickWithoutMovementChangesNothing) {
  drag(1, {{200, 200}});
  expectBounds({0, 1, 0, 1}, 0, "a click in zoom-in mode");
  EXPECT_EQ(0, gScaleOn) << "the mode is used up by the click all the same";
  EXPECT_EQ(linesBefore, boundsLines()) << "no Window Bounds line";
  EXPECT_TRUE(window->updateRgn.isEmpty()) << "no redraw is requested";
  EXPECT_EQ(0, compare(picture, image()).changed) << "the picture is as it was";
}

TEST_F(ZoomDrag, AFlatDragChangesNothingAndTakesItsBandAway) {
  drag(1, {{100, 200}, {250, 200}, {300, 200}});
  expectBounds({0, 1, 0, 1}, 0, "a horizontal drag");
  EXPECT_TRUE(window->updateRgn.isEmpty()) << "no redraw is requested";
  EXPECT_EQ(0, compare(picture, image()).changed) << "the band is gone, the picture as it was";
}

TEST_F(ZoomDrag, TheBandFollowsTheMouseByInvertingPixels) {
  const Px start{100, 100};
  WhileWaiting person;
  person.then([&] {
          postMouse(tb::InputKind::MouseMove, {300, 200});
          return true;
        })
      .then([&] {
        expectBand(picture, image(), start, {300, 200}, "after the first movement");
        EXPECT_EQ(linesBefore, boundsLines()) << "the view does not change while dragging";
        postMouse(tb::InputKind::MouseMove, {150, 400});
        return true;
      })
      .then([&] {
        expectBand(picture, image(), start, {150, 400}, "after the second movement the first band is gone");
        postMouse(tb::InputKind::MouseMove, {50, 30});
        return true;
      })
      .then([&] {
        expectBand(picture, image(), start, {50, 30}, "dragged above and left of the start");
        postMouse(tb::InputKind::MouseUp, {50, 30});
        return true;
      });
  gScaleOn = 1;
  postMouse(tb::InputKind::MouseDown, start);
  runEvents();
  EXPECT_TRUE(person.finished()) << "every movement was taken";
  expectBounds({0.1, 0.2, 0.8, 0.94}, kTolerance, "zoomed to the last band");
}

TEST_F(ZoomDrag, ShiftSquaresTheBandAndTheZoom) {
  WhileWaiting person;
  person.then([&] {
          postMouse(tb::InputKind::MouseMove, {300, 200}, shiftKey);
          return true;
        })
      .then([&] {
        expectBand(picture, image(), {100, 100}, {300, 300}, "with Shift down the band is 200 x 200");
        postMouse(tb::InputKind::MouseUp, {300, 200}, shiftKey);
        return true;
      });
  postShift(true);
  gScaleOn = 1;
  postMouse(tb::InputKind::MouseDown, {100, 100}, shiftKey);
  runEvents();
  // The view is the square the band showed: v 100..300 is y 0.8..0.4.
  expectBounds({0.2, 0.6, 0.4, 0.8}, kTolerance, "zoom in with Shift held");
  postShift(false);
}

TEST_F(ZoomDrag, PressingShiftTakesEffectAtTheNextMovement) {
  const Px start{100, 100};
  QImage unsquared;
  WhileWaiting person;
  person.then([&] {
          postMouse(tb::InputKind::MouseMove, {300, 200});
          return true;
        })
      .then([&] {
        unsquared = image();
        expectBand(picture, unsquared, start, {300, 200}, "before Shift, the band follows the mouse");
        postShift(true);
        return true;
      })
      .then([&] {
        EXPECT_EQ(0, compare(unsquared, image()).changed) << "pressing Shift alone leaves the band as it was";
        postMouse(tb::InputKind::MouseMove, {320, 210}, shiftKey);
        return true;
      })
      .then([&] {
        expectBand(picture, image(), start, {320, 320}, "the next movement squares the band");
        postShift(false);
        return true;
      })
      .then([&] {
        postMouse(tb::InputKind::MouseMove, {330, 150});
        return true;
      })
      .then([&] {
        expectBand(picture, image(), start, {330, 150}, "after Shift is released the band follows the mouse again");
        postMouse(tb::InputKind::MouseUp, {330, 150});
        return true;
      });
  gScaleOn = 1;
  postMouse(tb::InputKind::MouseDown, start);
  runEvents();
  EXPECT_TRUE(person.finished()) << "every step was taken";
  expectBounds({0.2, 0.66, 0.7, 0.8}, kTolerance, "zoomed to the last, unsquared band");
}

TEST_F(ZoomDrag, CancellingTheDragKeepsTheView) {
  WhileWaiting person;
  person.then([&] {
          postMouse(tb::InputKind::MouseMove, {300, 200});
          return true;
        })
      .then([&] {
        tb::RawInput escape;
        escape.kind = tb::InputKind::KeyDown;
        escape.keyCode = kVK_Escape;
        escape.charCode = 0x1B;
        tb::postInput(escape);
        escape.kind = tb::InputKind::KeyUp;
        tb::postInput(escape);
        return true;
      });
  gScaleOn = 1;
  postMouse(tb::InputKind::MouseDown, {100, 100});
  runEvents();
  postMouse(tb::InputKind::MouseUp, {300, 200});
  runEvents();
  expectBounds({0, 1, 0, 1}, 0, "a drag cancelled with Escape");
  EXPECT_EQ(0, gScaleOn) << "the mode is used up all the same";
  EXPECT_EQ(0, compare(picture, image()).changed) << "the band is gone, the picture as it was";
}

TEST_F(ZoomDrag, AZoomOutThatOverflowsKeepsTheView) {
  const ViewBounds huge{-1e307, 1e307, -1e307, 1e307};
  data->setCoordinates(huge.xmn, huge.xmx, huge.ymn, huge.ymx);
  runEvents();
  picture = image();
  drag(2, {{240, 240}, {260, 260}});
  expectBounds(huge, 0, "zooming out by a small rectangle beyond the largest double");
  EXPECT_EQ(1u, countOf("Zoom ignored: the view would be too small or too large to show"))
      << "the text window says why nothing happened";
  EXPECT_EQ(0, compare(picture, image()).changed) << "the band is gone, the picture as it was";
}

TEST_F(ZoomDrag, AZoomInBeyondTheDoublesKeepsTheView) {
  // One unit in the last place of 1 across 500 pixels: pixels 100 and 200
  // both read as x = 1.
  const ViewBounds tiny{1, std::nextafter(1.0, 2.0), 0, 1};
  data->setCoordinates(tiny.xmn, tiny.xmx, tiny.ymn, tiny.ymx);
  runEvents();
  const size_t refusals = countOf("Zoom ignored:");
  drag(1, {{100, 100}, {200, 200}});
  expectBounds(tiny, 0, "zooming in where the doubles have run out");
  EXPECT_EQ(refusals + 1, countOf("Zoom ignored:")) << "the text window says why nothing happened";
}

}  // namespace
