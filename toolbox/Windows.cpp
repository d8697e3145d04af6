// The Window Manager: the window list, frames, update regions and the
// tracking of title bar, grow box, zoom box and close box.
#include "Windows.h"

#include <algorithm>
#include <cstring>

#include "Controls.h"
#include "Events.h"
#include "Frontend.h"
#include "internal/Hooks.h"
#include "internal/Tracking.h"
#include "internal/WindowRecord.h"

namespace tb {

WindowManager& windowManager() {
  static WindowManager wm;
  return wm;
}

bool isAlive(WindowRecord* w) {
  auto& list = windowManager().windows;
  return std::find(list.begin(), list.end(), w) != list.end();
}

// Movable modal dialogs have a title bar to be moved by, without boxes.
static bool hasTitleBar(const WindowRecord& w) {
  return w.windowClass == kDocumentWindowClass || w.windowClass == kMovableModalWindowClass;
}

Rect structureRect(const WindowRecord& w) {
  Rect r = w.content;
  int title = hasTitleBar(w) ? kTitleBarHeight : 0;
  return Rect{short(r.top - title - kFrameWidth), short(r.left - kFrameWidth), short(r.bottom + kFrameWidth),
              short(r.right + kFrameWidth)};
}

Rect titleBarRect(const WindowRecord& w) {
  if (!hasTitleBar(w)) return Rect{0, 0, 0, 0};
  return Rect{short(w.content.top - kTitleBarHeight), w.content.left, w.content.top, w.content.right};
}

static Rect titleBox(const WindowRecord& w, bool left) {
  Rect bar = titleBarRect(w);
  short top = short(bar.top + (kTitleBarHeight - kTitleBoxSize) / 2);
  short h = left ? short(bar.left + 8) : short(bar.right - 8 - kTitleBoxSize);
  return Rect{top, h, short(top + kTitleBoxSize), short(h + kTitleBoxSize)};
}

Rect closeBoxRect(const WindowRecord& w) {
  return hasTitleBar(w) && (w.attributes & kWindowCloseBoxAttribute) ? titleBox(w, true) : Rect{0, 0, 0, 0};
}

Rect zoomBoxRect(const WindowRecord& w) {
  return hasTitleBar(w) && (w.attributes & kWindowFullZoomAttribute) ? titleBox(w, false) : Rect{0, 0, 0, 0};
}

Rect growBoxRect(const WindowRecord& w) {
  if (!(w.attributes & kWindowResizableAttribute)) return Rect{0, 0, 0, 0};
  return Rect{short(w.content.bottom - kGrowBoxSize), short(w.content.right - kGrowBoxSize), w.content.bottom,
              w.content.right};
}

void setContent(WindowRecord& w, const Rect& content) {
  int oldW = w.content.right - w.content.left, oldH = w.content.bottom - w.content.top;
  w.content = content;
  int newW = content.right - content.left, newH = content.bottom - content.top;
  if (newW != oldW || newH != oldH) resizePort(w.port, newW, newH);
  frontend().desktopChanged();
}

}  // namespace tb

using tb::windowManager;

OSStatus CreateNewWindow(WindowClass windowClass, WindowAttributes attributes, const Rect* contentBounds,
                         WindowRef* outWindow) {
  auto* w = new WindowRecord;
  w->windowClass = windowClass;
  w->attributes = attributes;
  w->port.window = w;
  w->content = *contentBounds;
  tb::resizePort(w->port, contentBounds->right - contentBounds->left, contentBounds->bottom - contentBounds->top);
  windowManager().windows.insert(windowManager().windows.begin(), w);
  *outWindow = w;
  return noErr;
}

void DisposeWindow(WindowRef window) {
  if (!tb::isAlive(window)) return;
  auto& list = windowManager().windows;
  list.erase(std::find(list.begin(), list.end(), window));
  if (windowManager().lastActive == window) windowManager().lastActive = nullptr;
  for (ControlRecord* c : std::vector<ControlRecord*>(window->controls)) DisposeControl(c);
  GrafPtr current;
  GetPort(&current);
  if (current == &window->port) SetPort(nullptr);
  delete window;
  tb::frontend().desktopChanged();
}

void ShowWindow(WindowRef window) {
  if (window == nullptr || window->visible) return;
  window->visible = true;
  Rect all{0, 0, short(window->port.image.height()), short(window->port.image.width())};
  InvalWindowRect(window, &all);
  tb::frontend().desktopChanged();
}

void HideWindow(WindowRef window) {
  if (window == nullptr || !window->visible) return;
  window->visible = false;
  tb::frontend().desktopChanged();
}

Boolean IsWindowVisible(WindowRef window) { return window != nullptr && window->visible; }

void BringToFront(WindowRef window) {
  if (!tb::isAlive(window)) return;
  auto& list = windowManager().windows;
  list.erase(std::find(list.begin(), list.end(), window));
  list.insert(list.begin(), window);
  tb::frontend().desktopChanged();
}

void SelectWindow(WindowRef window) { BringToFront(window); }

void SendBehind(WindowRef window, WindowRef behindWindow) {
  if (!tb::isAlive(window)) return;
  auto& list = windowManager().windows;
  list.erase(std::find(list.begin(), list.end(), window));
  auto at = behindWindow == nullptr ? list.end() : std::find(list.begin(), list.end(), behindWindow);
  if (at != list.end()) ++at;
  list.insert(at, window);
  tb::frontend().desktopChanged();
}

WindowRef FrontWindow() {
  for (WindowRecord* w : windowManager().windows) {
    if (w->visible) return w;
  }
  return nullptr;
}

WindowRef GetNextWindow(WindowRef window) {
  auto& list = windowManager().windows;
  auto it = std::find(list.begin(), list.end(), window);
  if (it == list.end() || ++it == list.end()) return nullptr;
  return *it;
}

WindowRef GetWindowList() { return windowManager().windows.empty() ? nullptr : windowManager().windows.front(); }

SRefCon GetWRefCon(WindowRef window) { return window != nullptr ? window->refCon : 0; }
void SetWRefCon(WindowRef window, SRefCon data) {
  if (window != nullptr) window->refCon = data;
}

void SetWTitle(WindowRef window, ConstStr255Param title) {
  if (window == nullptr) return;
  window->title.assign(reinterpret_cast<const char*>(title + 1), title[0]);
  tb::frontend().desktopChanged();
}

void GetWTitle(WindowRef window, Str255 title) {
  size_t n = std::min<size_t>(window->title.size(), 255);
  title[0] = static_cast<unsigned char>(n);
  std::memcpy(title + 1, window->title.data(), n);
}

WindowPartCode FindWindow(Point where, WindowRef* window) {
  *window = nullptr;
  if (where.v >= 0 && where.v < GetMBarHeight()) return inMenuBar;
  for (WindowRecord* w : windowManager().windows) {
    if (!w->visible) continue;
    Rect frame = tb::structureRect(*w);
    if (!PtInRect(where, &frame)) continue;
    *window = w;
    Rect close = tb::closeBoxRect(*w), zoom = tb::zoomBoxRect(*w), grow = tb::growBoxRect(*w);
    if (PtInRect(where, &close)) return inGoAway;
    if (PtInRect(where, &zoom)) return w->zoomedOut ? inZoomIn : inZoomOut;
    if (PtInRect(where, &w->content)) return PtInRect(where, &grow) ? inGrow : inContent;
    return inDrag;
  }
  return inDesk;
}

namespace {

// Waits for the next mouse movement or release while the button is held.
bool nextDrag(Point& where) {
  for (;;) {
    tb::RawInput in;
    if (!tb::takeInput(in)) {
      tb::waitForInput(50);
      continue;
    }
    if (in.kind == tb::InputKind::MouseMove) {
      where = in.where;
      return true;
    }
    if (in.kind == tb::InputKind::MouseUp) {
      where = in.where;
      return false;
    }
  }
}

// Tracks a press in one of the title-bar boxes; true when released inside.
bool trackTitleBox(WindowRef window, Point start, const Rect& box) {
  auto& track = tb::tracking();
  track.pressedWindow = window;
  track.pressedBox = box;
  track.pressedInside = PtInRect(start, &box);
  tb::frontend().desktopChanged();
  Point where = start;
  while (nextDrag(where)) {
    bool inside = PtInRect(where, &box);
    if (inside != track.pressedInside) {
      track.pressedInside = inside;
      tb::frontend().desktopChanged();
    }
  }
  track.pressedWindow = nullptr;
  tb::frontend().desktopChanged();
  return PtInRect(where, &box);
}

}  // namespace

namespace tb {
TrackingState& tracking() {
  static TrackingState state;
  return state;
}
}  // namespace tb

void DragWindow(WindowRef window, Point startPt, const Rect*) {
  if (window == nullptr) return;
  if (!(tb::currentModifiers() & cmdKey)) SelectWindow(window);
  Rect start = window->content;
  short minTop = short(GetMBarHeight() + tb::kTitleBarHeight + tb::kFrameWidth);
  Point where = startPt;
  bool moving = true;
  while (moving) {
    moving = nextDrag(where);
    // Keep the title bar below the menu bar and a part of it on the desktop.
    int dh = where.h - startPt.h, dv = where.v - startPt.v;
    int top = std::max<int>(start.top + dv, minTop);
    int left = std::clamp<int>(start.left + dh, 40 - (start.right - start.left), tb::frontend().desktopWidth() - 40);
    top = std::min(top, tb::frontend().desktopHeight() - 10);
    MoveWindow(window, short(left), short(top), false);
  }
}

long GrowWindow(WindowRef window, Point startPt, const Rect* sizeRect) {
  if (window == nullptr) return 0;
  int width0 = window->content.right - window->content.left, height0 = window->content.bottom - window->content.top;
  auto sizeAt = [&](Point where, int& width, int& height) {
    width = width0 + where.h - startPt.h;
    height = height0 + where.v - startPt.v;
    if (sizeRect != nullptr) {
      width = std::clamp<int>(width, sizeRect->left, std::max(sizeRect->left, sizeRect->right));
      height = std::clamp<int>(height, sizeRect->top, std::max(sizeRect->top, sizeRect->bottom));
    }
  };
  auto& track = tb::tracking();
  Point where = startPt;
  int width = width0, height = height0;
  track.outlineWindow = window;
  for (bool moving = true; moving;) {
    moving = nextDrag(where);
    sizeAt(where, width, height);
    track.outline = Rect{window->content.top, window->content.left, short(window->content.top + height),
                         short(window->content.left + width)};
    tb::frontend().desktopChanged();
  }
  track.outlineWindow = nullptr;
  tb::frontend().desktopChanged();
  if (width == width0 && height == height0) return 0;
  return (long(height) << 16) | long(width);
}

Boolean TrackBox(WindowRef window, Point thePt, WindowPartCode) {
  return window != nullptr && trackTitleBox(window, thePt, tb::zoomBoxRect(*window));
}

Boolean TrackGoAway(WindowRef window, Point thePt) {
  return window != nullptr && trackTitleBox(window, thePt, tb::closeBoxRect(*window));
}

void ZoomWindow(WindowRef window, WindowPartCode partCode, Boolean front) {
  if (window == nullptr) return;
  if (partCode == inZoomOut) {
    // The standard state: the whole usable desktop below the menu bar.
    window->userState = window->content;
    short top = short(GetMBarHeight() + tb::kTitleBarHeight + tb::kFrameWidth + 2);
    Rect standard{top, 3, short(tb::frontend().desktopHeight() - 3), short(tb::frontend().desktopWidth() - 3)};
    tb::setContent(*window, standard);
    window->zoomedOut = true;
  } else {
    tb::setContent(*window, window->userState);
    window->zoomedOut = false;
  }
  Rect all{0, 0, short(window->port.image.height()), short(window->port.image.width())};
  InvalWindowRect(window, &all);
  if (front) SelectWindow(window);
}

void MoveWindow(WindowRef window, short hGlobal, short vGlobal, Boolean front) {
  if (window == nullptr) return;
  Rect r = window->content;
  OffsetRect(&r, short(hGlobal - r.left), short(vGlobal - r.top));
  tb::setContent(*window, r);
  if (front) SelectWindow(window);
}

void SizeWindow(WindowRef window, short w, short h, Boolean fUpdate) {
  if (window == nullptr) return;
  Rect r = window->content;
  r.right = short(r.left + std::max<short>(w, 0));
  r.bottom = short(r.top + std::max<short>(h, 0));
  tb::setContent(*window, r);
  window->zoomedOut = false;
  if (fUpdate) {
    Rect all{0, 0, h, w};
    InvalWindowRect(window, &all);
  }
}

OSStatus GetWindowBounds(WindowRef window, WindowRegionCode regionCode, Rect* globalBounds) {
  if (window == nullptr) return paramErr;
  *globalBounds = regionCode == kWindowStructureRgn ? tb::structureRect(*window) : window->content;
  return noErr;
}

void InvalWindowRect(WindowRef window, const Rect* bounds) {
  if (window == nullptr || EmptyRect(bounds)) return;
  window->updateRgn += tb::toQRect(*bounds);
}

void ValidWindowRect(WindowRef window, const Rect* bounds) {
  if (window == nullptr || EmptyRect(bounds)) return;
  window->updateRgn -= tb::toQRect(*bounds);
}

void BeginUpdate(WindowRef window) {
  if (window == nullptr) return;
  window->savedClip = window->updateRgn;
  window->updateRgn = QRegion();
  window->inUpdate = true;
}

void EndUpdate(WindowRef window) {
  if (window == nullptr) return;
  window->inUpdate = false;
  tb::frontend().desktopChanged();
}
