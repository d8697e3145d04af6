// The scroll bar: its range, its parts as the mouse finds them, and the
// tracking of arrows, page areas and the thumb through the input queue.
#include "toolbox/Controls.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "toolbox/Carbon.h"
#include "toolbox/internal/EventQueue.h"
#include "toolbox/internal/WindowRecord.h"

namespace {

Rect boundsOf(ControlRef c) {
  Rect r;
  GetControlBounds(c, &r);
  return r;
}

const char* partName(ControlPartCode part) {
  switch (part) {
    case kControlUpButtonPart: return "up arrow";
    case kControlDownButtonPart: return "down arrow";
    case kControlPageUpPart: return "page up";
    case kControlPageDownPart: return "page down";
    case kControlIndicatorPart: return "thumb";
    default: return "none";
  }
}

class ScrollBarTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FlushEvents(everyEvent, 0);
    GetPort(&savedPort_);
    Rect content{100, 100, 400, 400};
    CreateNewWindow(kDocumentWindowClass, kWindowStandardDocumentAttributes, &content, &window_);
    SetPortWindowPort(window_);
    Rect bounds{-1, 285, 285, 301};  // 16 wide, one pixel past the top and right edges
    bar_ = NewControl(window_, &bounds, noTitle, true, 0, 0, 100, scrollBarProc, 0);
    recorded_.clear();
    current_ = this;
  }

  void TearDown() override {
    tb::useVirtualClock(false);
    FlushEvents(everyEvent, 0);
    current_ = nullptr;
    DisposeWindow(window_);
    SetPort(savedPort_);
  }

  // The part at each pixel down the bar's middle column, as runs.
  std::vector<ControlPartCode> partsTopToBottom() {
    std::vector<ControlPartCode> runs;
    const Rect r = boundsOf(bar_);
    for (short v = r.top; v < r.bottom; ++v) {
      ControlRef hit = nullptr;
      ControlPartCode part = FindControl(Point{v, 293}, window_, &hit);
      if (runs.empty() || runs.back() != part) runs.push_back(part);
    }
    return runs;
  }
  // The middle pixel of a part.
  Point centreOf(ControlPartCode wanted) {
    int first = -1, last = -1;
    const Rect r = boundsOf(bar_);
    for (short v = r.top; v < r.bottom; ++v) {
      ControlRef hit = nullptr;
      if (FindControl(Point{v, 293}, window_, &hit) == wanted) {
        if (first < 0) first = v;
        last = v;
      }
    }
    EXPECT_GE(first, 0) << "expected the bar to have a " << partName(wanted);
    return Point{short((first + last) / 2), 293};
  }

  void post(tb::InputKind kind, Point local) {
    tb::RawInput in;
    in.kind = kind;
    in.where = Point{short(local.v + window_->content.top), short(local.h + window_->content.left)};
    tb::postInput(in);
  }
  // Leaves only the press taken: the release of an earlier drag may still wait.
  void press(Point local) {
    FlushEvents(everyEvent, 0);
    post(tb::InputKind::MouseDown, local);
    tb::RawInput down;
    ASSERT_TRUE(tb::takeInput(down)) << "expected the posted mouse-down";
  }

  static void record(ControlRef control, ControlPartCode part) {
    current_->recorded_.push_back(part);
    if (current_->onAction) current_->onAction(control, part);
  }

  static inline const unsigned char noTitle[1] = {0};
  static inline ScrollBarTest* current_ = nullptr;
  GrafPtr savedPort_ = nullptr;
  WindowPtr window_ = nullptr;
  ControlRef bar_ = nullptr;
  std::vector<ControlPartCode> recorded_;
  std::function<void(ControlRef, ControlPartCode)> onAction;
};

TEST_F(ScrollBarTest, ValueStaysWithinTheRange) {
  const struct {
    const char* name;
    SInt16 min, max, value;
    SInt16 expected;
  } cases[] = {
      {"inside", 0, 100, 40, 40},      {"below the minimum", 0, 100, -5, 0}, {"above the maximum", 0, 100, 120, 100},
      {"a range of one value", 0, 0, 7, 0}, {"a shifted range", 10, 20, 5, 10},
  };
  for (const auto& c : cases) {
    SetControlMinimum(bar_, c.min);
    SetControlMaximum(bar_, c.max);
    SetControlValue(bar_, c.value);
    EXPECT_EQ(c.expected, GetControlValue(bar_)) << c.name;
  }
}

TEST_F(ScrollBarTest, RangeChangesPullTheValueIn) {
  SetControlValue(bar_, 80);
  SetControlMaximum(bar_, 30);
  EXPECT_EQ(30, GetControlValue(bar_)) << "a lower maximum lowers the value";
  SetControlMinimum(bar_, 50);
  EXPECT_EQ(50, GetControlMinimum(bar_));
  EXPECT_EQ(50, GetControlMaximum(bar_)) << "a minimum above the maximum raises the maximum";
  EXPECT_EQ(50, GetControlValue(bar_)) << "and the value";
  SetControlMaximum(bar_, 10);
  EXPECT_EQ(50, GetControlMaximum(bar_)) << "a maximum below the minimum is taken as the minimum";
}

TEST_F(ScrollBarTest, PartsLieInOrderDownTheBar) {
  const struct {
    const char* name;
    SInt16 value;
    std::vector<ControlPartCode> parts;
  } cases[] = {
      {"value in the middle", 50,
       {kControlUpButtonPart, kControlPageUpPart, kControlIndicatorPart, kControlPageDownPart, kControlDownButtonPart}},
      {"value at the minimum", 0,
       {kControlUpButtonPart, kControlIndicatorPart, kControlPageDownPart, kControlDownButtonPart}},
      {"value at the maximum", 100,
       {kControlUpButtonPart, kControlPageUpPart, kControlIndicatorPart, kControlDownButtonPart}},
  };
  for (const auto& c : cases) {
    SetControlValue(bar_, c.value);
    std::vector<ControlPartCode> found = partsTopToBottom();
    std::string names;
    for (ControlPartCode p : found) names += std::string(partName(p)) + " ";
    EXPECT_EQ(c.parts, found) << c.name << ": found " << names;
  }
}

TEST_F(ScrollBarTest, FindControlMissesHiddenBarsAndOtherPoints) {
  ControlRef hit = bar_;
  EXPECT_EQ(kControlNoPart, FindControl(Point{100, 100}, window_, &hit)) << "a point away from the bar";
  EXPECT_EQ(nullptr, hit) << "no control under a point away from the bar";
  Point arrow = centreOf(kControlUpButtonPart);
  EXPECT_EQ(kControlUpButtonPart, FindControl(arrow, window_, &hit));
  EXPECT_EQ(bar_, hit) << "the bar under its up arrow";
  HideControl(bar_);
  EXPECT_FALSE(IsControlVisible(bar_));
  EXPECT_EQ(kControlNoPart, FindControl(arrow, window_, &hit)) << "a hidden bar is not found";
  EXPECT_EQ(nullptr, hit);
  ShowControl(bar_);
  EXPECT_EQ(kControlUpButtonPart, FindControl(arrow, window_, &hit)) << "shown again";
}

TEST_F(ScrollBarTest, HidingErasesAndDrawingPaints) {
  const QRect area = tb::toQRect(boundsOf(bar_)).intersected(window_->port.image.rect());
  auto nonBackground = [&] {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
      for (int x = area.left(); x <= area.right(); ++x) n += window_->port.image.pixel(x, y) != qRgb(255, 255, 255);
    return n;
  };
  HideControl(bar_);
  EXPECT_EQ(0, nonBackground()) << "a hidden bar leaves the background";
  ShowControl(bar_);
  EXPECT_GT(nonBackground(), area.width() * 4) << "a shown bar is drawn";
}

TEST_F(ScrollBarTest, MoveAndSizeSetTheBounds) {
  MoveControl(bar_, 100, 20);
  SizeControl(bar_, 16, 120);
  Rect r = boundsOf(bar_);
  EXPECT_TRUE(r.left == 100 && r.top == 20 && r.right == 116 && r.bottom == 140)
      << "expected {top 20, left 100, bottom 140, right 116}, found {top " << r.top << ", left " << r.left
      << ", bottom " << r.bottom << ", right " << r.right << "}";
}

TEST_F(ScrollBarTest, ClickOnAnArrowRunsTheActionOnce) {
  SetControlValue(bar_, 50);
  Point arrow = centreOf(kControlDownButtonPart);
  press(arrow);
  post(tb::InputKind::MouseUp, arrow);
  EXPECT_EQ(kControlDownButtonPart, TrackControl(bar_, arrow, record)) << "released inside the down arrow";
  EXPECT_EQ(std::vector<ControlPartCode>{kControlDownButtonPart}, recorded_) << "one action for a quick click";
  EXPECT_EQ(50, GetControlValue(bar_)) << "the action, not the tracking, changes the value";
}

TEST_F(ScrollBarTest, HeldArrowRepeatsAndReportsLeavingThePart) {
  tb::useVirtualClock(true);
  Point arrow = centreOf(kControlUpButtonPart);
  Point away{150, 150};
  // Each action lets time pass; the third moves the mouse off the arrow and
  // the fifth lets go.
  onAction = [&](ControlRef, ControlPartCode) {
    tb::advanceVirtualTicks(25);
    if (recorded_.size() == 3) post(tb::InputKind::MouseMove, away);
    if (recorded_.size() == 5) post(tb::InputKind::MouseUp, away);
  };
  press(arrow);
  ControlPartCode result = TrackControl(bar_, arrow, record);
  std::vector<ControlPartCode> expected = {kControlUpButtonPart, kControlUpButtonPart, kControlUpButtonPart,
                                           kControlNoPart, kControlNoPart};
  EXPECT_EQ(expected, recorded_) << "the part while on it, 0 after leaving it";
  EXPECT_EQ(kControlNoPart, result) << "released away from the arrow";
}

TEST_F(ScrollBarTest, NoActionBeforeTheFirstRepeatDelay) {
  tb::useVirtualClock(true);
  Point page = centreOf(kControlPageDownPart);
  press(page);
  post(tb::InputKind::MouseMove, Point{short(page.v + 1), page.h});
  post(tb::InputKind::MouseMove, Point{short(page.v + 2), page.h});
  post(tb::InputKind::MouseUp, Point{short(page.v + 2), page.h});
  EXPECT_EQ(kControlPageDownPart, TrackControl(bar_, page, record));
  EXPECT_EQ(std::vector<ControlPartCode>{kControlPageDownPart}, recorded_)
      << "moves within the part before the delay add no action";
}

TEST_F(ScrollBarTest, ThumbFollowsTheMouse) {
  SetControlValue(bar_, 100);
  const short bottomCentre = centreOf(kControlIndicatorPart).v;
  SetControlValue(bar_, 0);
  const short topCentre = centreOf(kControlIndicatorPart).v;
  ASSERT_GT(bottomCentre, topCentre) << "the thumb must travel down as the value grows";
  const Rect r = boundsOf(bar_);
  const struct {
    const char* name;
    short to;
    int expected;
    int tolerance;
  } cases[] = {
      {"dragged past the bottom", short(r.bottom + 50), 100, 0},
      {"dragged past the top", short(r.top - 50), 0, 0},
      {"dragged half the thumb's travel", short((topCentre + bottomCentre) / 2), 50, 3},
  };
  for (const auto& c : cases) {
    Point thumb = centreOf(kControlIndicatorPart);
    press(thumb);
    post(tb::InputKind::MouseMove, Point{short((thumb.v + c.to) / 2), thumb.h});
    post(tb::InputKind::MouseMove, Point{c.to, thumb.h});
    post(tb::InputKind::MouseUp, Point{c.to, thumb.h});
    EXPECT_EQ(kControlIndicatorPart, TrackControl(bar_, thumb, nullptr)) << c.name;
    EXPECT_NEAR(c.expected, GetControlValue(bar_), c.tolerance) << c.name;
  }
}

TEST_F(ScrollBarTest, DisposingRemovesTheBarFromItsWindow) {
  ASSERT_EQ(1u, window_->controls.size()) << "the bar belongs to its window";
  DisposeControl(bar_);
  EXPECT_TRUE(window_->controls.empty()) << "expected no controls left, found " << window_->controls.size();
}

}  // namespace
