#include "Appearance.h"

namespace {
ThemeCursor lastCursor = kThemeArrowCursor;
UInt32 lastStep = 0;
}  // namespace

OSStatus SetAnimatedThemeCursor(ThemeCursor cursor, UInt32 animationStep) {
  lastCursor = cursor;
  lastStep = animationStep;
  return SetThemeCursor(cursor);
}

namespace tb {
ThemeCursor lastAnimatedCursor() { return lastCursor; }
UInt32 lastAnimationStep() { return lastStep; }
}  // namespace tb
