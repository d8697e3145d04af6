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
// The button went up where the layer could not see it (inside a Qt menu).
void forgetButton();
// Like waitForInput; mainLoopIdle is true when the event loop has nothing
// left to do (no input, no update), which is when a script takes its next
// step.
void waitForInputWhen(bool mainLoopIdle, int timeoutMs);
// Called whenever the layer waits for input; the script driver posts input
// from here.
void setIdleHook(std::function<void(bool mainLoopIdle)> hook);
// Waits while a dialog of the front end (the colour picker) is open. Input
// that arrives stays queued for after the dialog, so unlike waitForInput this
// does not return early on pending input: the idle hook runs every time, and
// a script can answer the dialog whatever the queue holds.
void waitForDialog(int timeoutMs);

}  // namespace tb
