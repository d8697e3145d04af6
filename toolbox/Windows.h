// Window Manager: the layer's own windows on the desktop.
//
// Implemented: document windows with title bar, close box, zoom box and grow
// box; the window list front to back; reference constants; titles; update
// regions with BeginUpdate/EndUpdate; FindWindow part codes; the tracking of
// drag, grow, zoom box and close box through the layer's event queue; zoom
// between the user state and the standard state (the usable desktop).
// Left out: floating and utility windows, collapse, window groups, drawers.
#pragma once

#include "MacTypes.h"
#include "QuickDraw.h"

typedef UInt32 WindowClass;
typedef UInt32 WindowAttributes;
enum { kAlertWindowClass = 1, kMovableModalWindowClass = 3, kDocumentWindowClass = 6 };
enum {
  kWindowNoAttributes = 0,
  kWindowCloseBoxAttribute = 1u << 0,
  kWindowHorizontalZoomAttribute = 1u << 1,
  kWindowVerticalZoomAttribute = 1u << 2,
  kWindowFullZoomAttribute = (1u << 1) | (1u << 2),
  kWindowCollapseBoxAttribute = 1u << 3,
  kWindowResizableAttribute = 1u << 4,
  kWindowStandardDocumentAttributes = 0x1F,
};

enum {
  inDesk = 0,
  inNoWindow = 0,
  inMenuBar = 1,
  inSysWindow = 2,
  inContent = 3,
  inDrag = 4,
  inGrow = 5,
  inGoAway = 6,
  inZoomIn = 7,
  inZoomOut = 8,
};

typedef UInt16 WindowRegionCode;
enum { kWindowStructureRgn = 32, kWindowContentRgn = 33 };

OSStatus CreateNewWindow(WindowClass windowClass, WindowAttributes attributes, const Rect* contentBounds,
                         WindowRef* outWindow);
void DisposeWindow(WindowRef window);

void ShowWindow(WindowRef window);
void HideWindow(WindowRef window);
Boolean IsWindowVisible(WindowRef window);
void SelectWindow(WindowRef window);
void BringToFront(WindowRef window);
void SendBehind(WindowRef window, WindowRef behindWindow);

// The frontmost visible window, and the next window of the list (visible or
// not) behind a given one.
WindowRef FrontWindow();
WindowRef GetNextWindow(WindowRef window);
WindowRef GetWindowList();

SRefCon GetWRefCon(WindowRef window);
void SetWRefCon(WindowRef window, SRefCon data);

void SetWTitle(WindowRef window, ConstStr255Param title);
void GetWTitle(WindowRef window, Str255 title);

WindowPartCode FindWindow(Point where, WindowRef* window);
void DragWindow(WindowRef window, Point startPt, const Rect* boundsRect);
// Returns 0 when the size did not change, else height << 16 | width.
long GrowWindow(WindowRef window, Point startPt, const Rect* sizeRect);
Boolean TrackBox(WindowRef window, Point thePt, WindowPartCode partCode);
Boolean TrackGoAway(WindowRef window, Point thePt);
void ZoomWindow(WindowRef window, WindowPartCode partCode, Boolean front);

void MoveWindow(WindowRef window, short hGlobal, short vGlobal, Boolean front);
void SizeWindow(WindowRef window, short w, short h, Boolean fUpdate);
OSStatus GetWindowBounds(WindowRef window, WindowRegionCode regionCode, Rect* globalBounds);

void InvalWindowRect(WindowRef window, const Rect* bounds);
void ValidWindowRect(WindowRef window, const Rect* bounds);
void BeginUpdate(WindowRef window);
void EndUpdate(WindowRef window);
