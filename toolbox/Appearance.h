// Appearance Manager: animated theme cursors.
//
// Implemented: SetAnimatedThemeCursor for the watch and the other theme
// cursors; the desktop's own busy cursor stands for every frame, and the
// frame last asked for is kept.
#pragma once

#include "QuickDraw.h"

OSStatus SetAnimatedThemeCursor(ThemeCursor cursor, UInt32 animationStep);

namespace tb {
// The cursor and frame of the last SetAnimatedThemeCursor, for tests.
ThemeCursor lastAnimatedCursor();
UInt32 lastAnimationStep();
}  // namespace tb
