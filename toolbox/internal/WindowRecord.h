// The layer's window record and the Window Manager's state. Toolbox only.
#pragma once

#include <QRegion>
#include <string>
#include <vector>

#include "../Windows.h"
#include "Port.h"

struct ControlRecord;

struct WindowRecord {
  GrafPortRecord port;
  WindowClass windowClass = kDocumentWindowClass;
  WindowAttributes attributes = 0;
  Rect content{0, 0, 0, 0};  // global coordinates
  bool visible = false;
  SRefCon refCon = 0;
  std::string title;  // Mac Roman bytes
  QRegion updateRgn;  // local coordinates
  QRegion savedClip;  // the update region while between BeginUpdate and EndUpdate
  bool inUpdate = false;
  Rect userState{0, 0, 0, 0};  // content before a zoom out, global
  bool zoomedOut = false;
  std::vector<ControlRecord*> controls;  // owned by the Control Manager
};

namespace tb {

// Frame metrics of document windows, in pixels.
constexpr int kTitleBarHeight = 22;
constexpr int kFrameWidth = 1;
constexpr int kGrowBoxSize = 15;
constexpr int kTitleBoxSize = 12;

struct WindowManager {
  std::vector<WindowRecord*> windows;  // front to back
  WindowRecord* lastActive = nullptr;  // the window that had the last activate event
};
WindowManager& windowManager();

// Structure (frame) rectangle, title bar and its boxes, in global coordinates.
Rect structureRect(const WindowRecord& w);
Rect titleBarRect(const WindowRecord& w);
Rect closeBoxRect(const WindowRecord& w);
Rect zoomBoxRect(const WindowRecord& w);
Rect growBoxRect(const WindowRecord& w);

bool isAlive(WindowRecord* w);

}  // namespace tb
