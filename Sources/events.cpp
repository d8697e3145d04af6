// The event loop and its dispatch, the cursor and its region, the cancel
// poll, and the handling of mouse-downs and key presses.
#include "events.h"

#include "../common/utilities.h"
#include "../maps.h"
#include "appleEvents.h"
#include "graphics.h"
#include "menu.h"
#include "text.h"
#include "windows.h"

RgnHandle cursorRgn = nullptr;
int gScaleOn = 0;
double gDelta = 0.1;

static WindowPtr eventWindow(const EventRecord& theEvent) { return reinterpret_cast<WindowPtr>(theEvent.message); }

void dispatchEvent(EventRecord& theEvent) {
  switch (theEvent.what) {
    case osEvt:
      DoOSEvent(theEvent);
      break;
    case mouseDown:
      mouseDownEvent(theEvent);
      break;
    case keyDown:
    case autoKey: {
      char theChar = char(theEvent.message & charCodeMask);
      if (theEvent.modifiers & cmdKey) {
        doCommand(MenuKey(theChar));
      } else {
        keyDownEvent(theChar);
      }
      break;
    }
    case updateEvt: {
      WindowPtr window = eventWindow(theEvent);
      BeginUpdate(window);
      if (window == output) {
        upDateText();
      } else {
        upDatePlot(window);
      }
      EndUpdate(window);
      break;
    }
    case activateEvt:
      MaintainCursor(theEvent.where);
      if (eventWindow(theEvent) == output) activateOutput(theEvent.modifiers & activeFlag);
      break;
    case kHighLevelEvent:
      AEProcessAppleEvent(&theEvent);
      break;
    default:
      break;
  }
}

// The layer's WaitNextEvent sleeps until input, a timer or the next caret
// blink, so a sleep of 0 does not spin.
void eventLoop() {
  EventRecord myEvent;
  for (;;) {
    if (output != nullptr && hTE != nullptr && FrontWindow() == output) TEIdle(hTE);
    if (WaitNextEvent(everyEvent, &myEvent, 0, cursorRgn)) dispatchEvent(myEvent);
  }
}

void DoOSEvent(EventRecord& theEvent) {
  switch ((theEvent.message & osEvtMessageMask) >> 24) {
    case suspendResumeMessage:
      activateOutput(theEvent.message & resumeFlag);
      break;
    case mouseMovedMessage:
      MaintainCursor(theEvent.where);
      break;
    default:
      break;
  }
}

// Rebuilds cursorRgn, in global coordinates, as the part of the front
// window where its own cursor holds; false when the front window has none.
static bool rebuildCursorRegion(WindowPtr front) {
  Rect area;
  if (isPlot(front)) {
    GetLocalWindowBounds(front, area);
    RectRgn(cursorRgn, &area);
    // The grow box keeps the arrow.
    Rect growBox{short(area.bottom - 15), short(area.right - 15), area.bottom, area.right};
    RgnHandle growRgn = NewRgn();
    RectRgn(growRgn, &growBox);
    DiffRgn(cursorRgn, growRgn, cursorRgn);
    DisposeRgn(growRgn);
  } else if (front == output && hTE != nullptr) {
    area = (*hTE)->viewRect;
    RectRgn(cursorRgn, &area);
  } else {
    return false;
  }
  MakeGlobalRegion(cursorRgn, front);
  return true;
}

void MaintainCursor(Point where) {
  Rect desktop;
  GetRegionBounds(GetGrayRgn(), &desktop);
  if (cursorRgn == nullptr) {
    cursorRgn = NewRgn();
    RectRgn(cursorRgn, &desktop);
  }

  WindowPtr front = FrontWindow();
  if (front == nullptr) {
    RectRgn(cursorRgn, &desktop);
    SetThemeCursor(kThemeArrowCursor);
    return;
  }

  GrafPtr savedPort;
  GetPort(&savedPort);
  SetPortWindowPort(front);
  bool frontIsPlot = isPlot(front);
  // Any other window keeps the region it had.
  rebuildCursorRegion(front);

  if (PtInRgn(where, cursorRgn)) {
    if (frontIsPlot) {
      if (gScaleOn == 1) {
        SetCCursor(GetCCursor(128));
      } else if (gScaleOn == 2) {
        SetCCursor(GetCCursor(129));
      } else {
        SetThemeCursor(kThemeCrossCursor);
      }
    } else if (front == output) {
      SetThemeCursor(kThemeIBeamCursor);
    }
  } else {
    // Outside: the arrow, and a region whose exit means the mouse came back.
    SetThemeCursor(kThemeArrowCursor);
    DiffRgn(GetGrayRgn(), cursorRgn, cursorRgn);
  }
  SetPort(savedPort);
}

void MakeGlobalRegion(RgnHandle theR, WindowPtr theW) {
  SetPortWindowPort(theW);
  Point origin{0, 0};
  LocalToGlobal(&origin);
  OffsetRgn(theR, origin.h, origin.v);
}

// Command-period, read from the key map so that no event is taken.
Boolean userCancel() { return isPressed(kVK_ANSI_Period) && isPressed(kVK_Command); }

static void clickInContent(WindowPtr whichWindow, EventRecord& theEvent) {
  bool isAPlot = isPlot(whichWindow);
  if (whichWindow != FrontWindow()) {
    // A click in a background window only brings it to the front.
    show(whichWindow);
  } else if (gScaleOn != 0 && isAPlot) {
    dragCoordinates(gScaleOn);
    gScaleOn = 0;
  } else if (isAPlot) {
    GetPlotData(whichWindow)->getInitialPoint(theEvent.where);
  } else if (whichWindow == output) {
    doScroll(&theEvent);
  }
}

void mouseDownEvent(EventRecord& theEvent) {
  WindowPtr whichWindow = nullptr;
  WindowPartCode part = FindWindow(theEvent.where, &whichWindow);
  switch (part) {
    case inMenuBar:
      updateMenus();
      doCommand(MenuSelect(theEvent.where));
      break;
    case inContent:
      clickInContent(whichWindow, theEvent);
      break;
    case inDrag:
      DragWindow(whichWindow, theEvent.where, nullptr);
      // The context follows its moved window.
      if (PlotData* data = GetPlotData(whichWindow)) aglUpdateContext(data->context());
      break;
    case inGrow:
      growTheWindow(whichWindow, theEvent.where);
      break;
    case inGoAway:
      if (TrackGoAway(whichWindow, theEvent.where)) {
        // The text window is only hidden; a plot window goes with its plot.
        HideWindow(whichWindow);
        if (isPlot(whichWindow)) disposePlot(whichWindow);
      }
      break;
    case inZoomIn:
    case inZoomOut:
      zoomTheWindow(whichWindow, theEvent.where, part);
      break;
    default:
      break;
  }
}

void keyDownEvent(char key) {
  PlotData* theData = GetPlotData();
  if (theData == nullptr) return;
  switch (key) {
    case 0x1C:  // left arrow
      theData->map()->setParameter(-1);
      break;
    case 0x1D:  // right arrow
      theData->map()->setParameter(1);
      break;
    case 0x1E:  // up arrow
      theData->map()->setParameter(gDelta);
      break;
    case 0x1F:  // down arrow
      theData->map()->setParameter(-gDelta);
      break;
    case ' ':
      theData->setDrawable();
      if (theData->getPlotType() == cobWebPlot) theData->map()->iterate(theData->window());
      break;
    case 'R':
    case 'r':
      theData->setStdScale();
      break;
    default:
      break;
  }
}
