// Layer-internal entry points shared by the Event Manager, the tracking
// loops of other managers, and the script driver.
#pragma once

#include <functional>

#include "EventQueue.h"

namespace tb {

// The oldest raw input without taking it, or null.
const RawInput* peekInput();
// Takes a pending quit request (window close, SIGTERM, SIGINT, a script).
bool takeQuitRequest();
// Drops all raw input (FlushEvents).
void flushAllInput();
// Whether the button is down as the input was posted (ahead of the program).
bool buttonPosted();
// Like waitForInput; mainLoopIdle is true when the event loop has nothing
// left to do (no input, no update), which is when a script takes its next
// step.
void waitForInputWhen(bool mainLoopIdle, int timeoutMs);
// Called whenever the layer waits for input; the script driver posts input
// from here.
void setIdleHook(std::function<void(bool mainLoopIdle)> hook);

}  // namespace tb
