// Plot window management: placement, creation, closing, grow and zoom,
// erasing, update events, and the small window utilities the other modules
// share.
#include "windows.h"

#include "../common/utilities.h"
#include "../maps.h"
#include "events.h"
#include "text.h"

// All arithmetic in 16-bit integers, as window rectangles are.
Rect idealWindowRect(int code, Rect screen, short menuBarHeight, const Rect* frontPlotGlobal) {
  short right = screen.right;
  short bottom = screen.bottom;
  short top = short(screen.top + menuBarHeight + 20);
  short left = short(screen.left + 2);
  short topT = top;
  short leftT = left;
  short square, h, w;

  if (right - left > bottom - top) {
    // Wide: the plot is a square on the left, the text window to its right.
    square = short(bottom - top - 10);
    if (square % 2 == 1) square = short(square + 1);
    leftT = short(left + square + 3);
    h = short(bottom - top - 40);
    w = short(right - leftT);
  } else {
    // Tall: the plot is a square on top, the text window below it.
    square = short(right - left);
    if (square % 2 == 1) square = short(square - 1);
    topT = short(top + square + 25);
    h = short(bottom - topT + 5);
    w = short(square - 40);
  }

  const Rect theSquare{top, left, short(top + square), short(left + square)};
  switch (code) {
    case 1:
      return Rect{topT, leftT, short(topT + h), short(leftT + w)};
    case 2: {
      if (frontPlotGlobal == nullptr) return theSquare;
      Rect r = *frontPlotGlobal;
      r.top = short(r.top + 40);
      r.bottom = short(r.bottom + 40);
      r.left = short(r.left + 40);
      r.right = short(r.right + 40);
      // Too close to the bottom or the right: start again at the top left.
      if (r.top > bottom - 40 || r.right > right - 40) r = theSquare;
      if (r.bottom > bottom) r.bottom = short(bottom - 5);
      if (r.right > right) r.right = short(right - 5);
      return r;
    }
    default:
      return Rect{top, left, bottom, right};
  }
}

Rect GetIdealWindowRect(int code) {
  Rect frontRect{0, 0, 0, 0};
  WindowPtr front = code == 2 ? FrontPlotWindow() : nullptr;
  if (front != nullptr) {
    // Placement should not change the caller's port.
    GrafPtr savedPort;
    GetPort(&savedPort);
    GetLocalWindowBounds(front, frontRect);
    LocalToGlobalRect(front, frontRect);
    SetPort(savedPort);
  }
  return idealWindowRect(code, ScreenBounds(), GetMBarHeight(), front != nullptr ? &frontRect : nullptr);
}

WindowPtr createPlot() {
  Rect windRect = GetIdealWindowRect(2);
  WindowPtr window = nullptr;
  if (CreateNewWindow(kDocumentWindowClass, kWindowStandardDocumentAttributes, &windRect, &window) != noErr ||
      window == nullptr) {
    return nullptr;
  }
  SetPortWindowPort(window);
  // The window owns its plot through its reference constant; disposePlot
  // deletes it.
  new PlotData(window);
  glClearColor(1, 1, 1, 1);
  glShadeModel(GL_FLAT);
  return window;
}

void disposePlot(WindowPtr theW) { delete GetPlotData(theW); }

// After a size change a plot recomputes its scales and the text window
// re-wraps its lines.
static void followNewSize(WindowPtr theW) {
  if (PlotData* data = GetPlotData(theW)) {
    data->setCoordinates();
  } else if (theW != nullptr && theW == output) {
    reSizeText();
  }
}

void zoomTheWindow(WindowPtr whichWindow, Point where, short zoomcode) {
  if (!TrackBox(whichWindow, where, zoomcode)) return;
  ZoomWindow(whichWindow, zoomcode, false);
  followNewSize(whichWindow);
}

void growTheWindow(WindowPtr whichWindow, Point where) {
  Rect desktop;
  GetRegionBounds(GetGrayRgn(), &desktop);
  // Minimum 40 x 40, maximum the desktop's right edge by its bottom edge.
  Rect limits;
  SetRect(&limits, 40, 40, desktop.right, desktop.bottom);
  long newSize = GrowWindow(whichWindow, where, &limits);
  if (newSize == 0) return;
  SizeWindow(whichWindow, short(newSize & 0xFFFF), short((newSize >> 16) & 0xFFFF), false);
  followNewSize(whichWindow);
}

void eraseWindow(WindowPtr theW) {
  if (theW == nullptr) return;
  if (theW == output) {
    eraseOutput();
  } else if (PlotData* data = GetPlotData(theW)) {
    data->setDrawable();
    glClear(GL_COLOR_BUFFER_BIT);
    display();
  }
}

void show(WindowPtr theW) {
  if (theW == nullptr) return;
  ShowWindow(theW);
  SelectWindow(theW);
}

void GetLocalWindowBounds(WindowPtr theW, Rect& aRect) { GetPortBounds(GetWindowPort(theW), &aRect); }

void requestUpdate(WindowPtr theW) {
  if (theW == nullptr) return;
  Rect bounds;
  GetLocalWindowBounds(theW, bounds);
  InvalWindowRect(theW, &bounds);
}

void upDatePlot(WindowPtr theW) {
  PlotData* data = GetPlotData(theW);
  if (data == nullptr) return;
  SetThemeCursor(kThemeWatchCursor);
  Rect bounds;
  GetLocalWindowBounds(theW, bounds);
  data->draw(bounds);
  isglError();
  // The watch stays until the cursor is chosen again for where the mouse is.
  SetPortWindowPort(theW);
  Point mouse;
  GetMouse(&mouse);
  LocalToGlobal(&mouse);
  MaintainCursor(mouse);
}

void display() {
  glFlush();
  aglSwapBuffers(aglGetCurrentContext());
}

void ForceBufferFlush(WindowPtr theW) {
  if (theW == nullptr) theW = FrontPlotWindow();
  if (theW != nullptr) QDFlushPortBuffer(GetWindowPort(theW), nullptr);
}

void GlobalToLocalRect(WindowPtr theW, Rect& aRect) {
  SetPortWindowPort(theW);
  Point origin{0, 0};
  GlobalToLocal(&origin);
  OffsetRect(&aRect, origin.h, origin.v);
}

void LocalToGlobalRect(WindowPtr theW, Rect& aRect) {
  SetPortWindowPort(theW);
  Point origin{0, 0};
  LocalToGlobal(&origin);
  OffsetRect(&aRect, origin.h, origin.v);
}

void isglError() {
  GLenum err = aglGetError();
  if (err != 0) printToText("GL error = %d", int(err));
}
