// What the Window Manager's tracking loops show while they run: a pressed
// title-bar box and the outline of a window being resized.
#pragma once

#include "WindowRecord.h"

namespace tb {

struct TrackingState {
  WindowRecord* pressedWindow = nullptr;
  Rect pressedBox{0, 0, 0, 0};
  bool pressedInside = false;
  WindowRecord* outlineWindow = nullptr;
  Rect outline{0, 0, 0, 0};
};
TrackingState& tracking();

void setContent(WindowRecord& w, const Rect& content);

}  // namespace tb
