// Rubber-band zoom: the drag, the band drawn by inverting pixels, squaring
// with Shift, and the arithmetic of zooming in and out.
#include "graphics.h"

#include <GL/gl.h>

#include <cmath>
#include <cstdlib>
#include <tuple>
#include <utility>

#include "../common/utilities.h"
#include "text.h"
#include "windows.h"

namespace {

// The band on screen. Inverting makes drawing it a second time remove it, so
// a movement costs two outlines and one present and the picture under the
// band is never redrawn.
struct RubberBand {
  PlotData* plot = nullptr;
  vect start{0, 0};
  vect end{0, 0};
  bool shown = false;

  static void invert(bool on) {
    if (on) {
      glLogicOp(GL_INVERT);
      glEnable(GL_COLOR_LOGIC_OP);
    } else {
      glDisable(GL_COLOR_LOGIC_OP);
    }
  }
  // Expects the inverting logic operation to be on.
  void moveTo(vect newEnd) {
    if (shown) plot->drawRect(start, end);
    plot->drawRect(start, newEnd);
    display();
    end = newEnd;
    shown = true;
  }
  void remove() {
    if (!shown) return;
    invert(true);
    plot->drawRect(start, end);
    invert(false);
    display();
    shown = false;
  }
};

RubberBand& band() {
  static RubberBand theBand;
  return theBand;
}

bool shiftIsDown() { return isPressed(kVK_Shift) != 0; }

// A view that a window can show: finite bounds in order whose extents and
// pixel scales are finite and not zero.
bool isShowable(const ViewBounds& b, int width, int height) {
  if (!boundsAreValid(b.xmn, b.xmx, b.ymn, b.ymx)) return false;
  if (!std::isfinite(b.xmn) || !std::isfinite(b.ymn)) return false;
  const double dh = width / (b.xmx - b.xmn);
  const double dv = height / (b.ymx - b.ymn);
  return std::isfinite(dh) && std::isfinite(dv) && dh > 0 && dv > 0;
}

// One axis of zooming out: the view scaled about the rectangle's centre.
std::pair<double, double> zoomOutAxis(double low, double high, double from, double to) {
  const double origin = (from + to) * 0.5;
  const double scale = (high - low) / (to - from);
  return {(low - origin) * scale + origin, (high - origin) * scale + origin};
}

}  // namespace

ZoomOutcome zoomBounds(int type, vect v, vect w, int width, int height, ViewBounds& view) {
  if (w.x < v.x) std::swap(v.x, w.x);
  if (w.y < v.y) std::swap(v.y, w.y);
  // Written so that not-a-number counts as no extent.
  if (!(v.x < w.x) || !(v.y < w.y)) return ZoomOutcome::noExtent;
  ViewBounds next;
  if (type == 1) {
    next = ViewBounds{v.x, w.x, v.y, w.y};
  } else {
    std::tie(next.xmn, next.xmx) = zoomOutAxis(view.xmn, view.xmx, v.x, w.x);
    std::tie(next.ymn, next.ymx) = zoomOutAxis(view.ymn, view.ymx, v.y, w.y);
  }
  if (!isShowable(next, width, height)) return ZoomOutcome::outOfRange;
  view = next;
  return ZoomOutcome::applied;
}

void Constrain(Point* apt, Point bpt) {
  const int dx = apt->h - bpt.h;
  const int dy = bpt.v - apt->v;
  const int s = dy >= 0 ? 1 : -1;
  apt->v = static_cast<short>(bpt.v - s * std::abs(dx));
}

Boolean dragRect(Point& stPt, Point& endPt) {
  WindowPtr plot = FrontPlotWindow();
  PlotData* data = GetPlotData(plot);
  if (data == nullptr) return false;
  GrafPtr port;
  GetPort(&port);
  GetMouse(&stPt);
  endPt = stPt;

  RubberBand& theBand = band();
  theBand = RubberBand{data, data->physicalCoordinates(stPt), data->physicalCoordinates(stPt), false};
  RubberBand::invert(true);
  isglError();
  bool shiftdown = shiftIsDown();
  bool cancelled = false;
  for (bool finished = false; !finished;) {
    MouseTrackingResult result = 0;
    TrackMouseLocation(port, &endPt, &result);
    switch (result) {
      case kMouseTrackingMouseDown:
      case kMouseTrackingMouseDragged:
        if (shiftdown) Constrain(&endPt, stPt);
        theBand.moveTo(data->physicalCoordinates(endPt));
        break;
      case kMouseTrackingKeyModifiersChanged:
        // Takes effect at the next movement; the band stays as it is.
        shiftdown = shiftIsDown();
        break;
      case kMouseTrackingMouseUp: {
        // The view zooms to the rectangle the band shows: the release
        // point squared as a movement there would square it.
        if (shiftdown) Constrain(&endPt, stPt);
        const vect last = data->physicalCoordinates(endPt);
        if (theBand.shown && (last.x != theBand.end.x || last.y != theBand.end.y)) theBand.moveTo(last);
        finished = true;
        break;
      }
      case kMouseTrackingUserCancelled:
        cancelled = true;
        finished = true;
        break;
      default:
        break;
    }
  }
  RubberBand::invert(false);
  if (cancelled) theBand.remove();
  return !cancelled;
}

void dragCoordinates(int type) {
  PlotData* data = GetPlotData(FrontWindow());
  if (data == nullptr) return;
  data->setDrawable();
  Point stPt, endPt;
  if (!dragRect(stPt, endPt)) return;

  ViewBounds view;
  data->getCoordinates(&view.xmn, &view.xmx, &view.ymn, &view.ymx);
  Rect bounds;
  GetLocalWindowBounds(data->window(), bounds);
  ZoomOutcome outcome = zoomBounds(type, data->physicalCoordinates(stPt), data->physicalCoordinates(endPt),
                                   bounds.right - bounds.left, bounds.bottom - bounds.top, view);
  // A rectangle with pixels along both axes but no extent in map
  // coordinates: the doubles between the view's bounds have run out.
  if (outcome == ZoomOutcome::noExtent && stPt.h != endPt.h && stPt.v != endPt.v) outcome = ZoomOutcome::outOfRange;

  if (outcome == ZoomOutcome::applied) {
    band().shown = false;  // the redraw that setCoordinates requests takes it away
    data->setCoordinates(view.xmn, view.xmx, view.ymn, view.ymx);
    return;
  }
  band().remove();
  if (outcome == ZoomOutcome::outOfRange) printToText("Zoom ignored: the view would be too small or too large to show");
}
