// The layer's raw input queue. Front ends and the script driver post what a
// person does; the Event Manager turns it into event records.
#pragma once

#include <deque>
#include <functional>

#include "../Events.h"

namespace tb {

enum class InputKind { MouseDown, MouseUp, MouseMove, KeyDown, KeyUp, AutoKey, Quit, Suspend, Resume };

struct RawInput {
  InputKind kind = InputKind::MouseMove;
  Point where{0, 0};         // global (desktop) coordinates, for mouse input
  unsigned char charCode = 0;  // Mac Roman, for keys
  unsigned char keyCode = 0;   // Mac virtual key code, for keys
  EventModifiers modifiers = 0;  // cmdKey, shiftKey, ... (btnState is kept by the layer)
};

// Appends input. Key and button state follow the input as it is posted, so
// that GetKeys sees a key while the application is busy.
void postInput(const RawInput& input);

// Pumps the front end (and the script driver) for at most timeoutMs; returns
// when input arrived, a timer fired or the time ran out.
void waitForInput(int timeoutMs);

// Takes the oldest raw input, if any.
bool takeInput(RawInput& out);
bool hasInput();

// The modifier keys held now.
EventModifiers currentModifiers();

// Mouse position and button as of the last input the application took.
Point lastMouse();
bool buttonDown();

// Quit requests from outside (window close, SIGTERM, SIGINT).
void requestQuit();

// Clock: real time, or virtual time that advances only when the program
// waits (for tests).
void useVirtualClock(bool on);
bool virtualClock();
UInt32 nowTicks();
void advanceVirtualTicks(UInt32 ticks);

}  // namespace tb
