// The event loop, the cursor, the cancel poll, mouse and keyboard handling.
#pragma once

#include "../toolbox/Carbon.h"

extern RgnHandle cursorRgn;
extern int gScaleOn;
extern double gDelta;

[[noreturn]] void eventLoop();
// Hands one event record to its handler; the loop's body.
void dispatchEvent(EventRecord& theEvent);
void DoOSEvent(EventRecord& theEvent);
void MaintainCursor(Point where);
void MakeGlobalRegion(RgnHandle theR, WindowPtr theW);
Boolean userCancel();
void mouseDownEvent(EventRecord& theEvent);
void keyDownEvent(char key);
