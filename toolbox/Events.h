// Event Manager: the event queue, the keyboard map, the mouse and time.
//
// Implemented: mouse down/up, key down/up and auto-key with character code
// and Mac virtual key code, update and activate events made from the window
// list, suspend/resume and mouse-moved OS events, high-level events for the
// quit request; WaitNextEvent that sleeps until input arrives (never spins),
// FlushEvents, GetKeys, GetMouse, Button, StillDown, TrackMouseLocation,
// TickCount and Delay (on a real or a virtual clock).
// Left out: disk events, event hooks, journaling.
#pragma once

#include "MacTypes.h"
#include "QuickDraw.h"

typedef UInt16 EventKind;
typedef UInt16 EventMask;
typedef UInt16 EventModifiers;

enum {
  nullEvent = 0,
  mouseDown = 1,
  mouseUp = 2,
  keyDown = 3,
  keyUp = 4,
  autoKey = 5,
  updateEvt = 6,
  diskEvt = 7,
  activateEvt = 8,
  osEvt = 15,
  kHighLevelEvent = 23,
};

enum { everyEvent = 0xFFFF };

enum {
  activeFlag = 0x0001,
  btnState = 0x0080,
  cmdKey = 0x0100,
  shiftKey = 0x0200,
  alphaLock = 0x0400,
  optionKey = 0x0800,
  controlKey = 0x1000,
};

enum {
  charCodeMask = 0x000000FF,
  keyCodeMask = 0x0000FF00,
  osEvtMessageMask = 0xFF000000,
  suspendResumeMessage = 0x01,
  mouseMovedMessage = 0xFA,
  resumeFlag = 1,
};

// Mac virtual key codes the program and the layer use.
enum {
  kVK_ANSI_R = 0x0F,
  kVK_ANSI_Period = 0x2F,
  kVK_Return = 0x24,
  kVK_Tab = 0x30,
  kVK_Space = 0x31,
  kVK_Delete = 0x33,
  kVK_Escape = 0x35,
  kVK_Command = 0x37,
  kVK_Shift = 0x38,
  kVK_CapsLock = 0x39,
  kVK_Option = 0x3A,
  kVK_Control = 0x3B,
  kVK_LeftArrow = 0x7B,
  kVK_RightArrow = 0x7C,
  kVK_DownArrow = 0x7D,
  kVK_UpArrow = 0x7E,
};

struct EventRecord {
  EventKind what;
  uintptr_t message;  // wide enough for a window reference
  UInt32 when;
  Point where;
  EventModifiers modifiers;
};

// 128 key bits in 16 bytes: key code k is bit (k mod 8) of byte (k div 8).
typedef unsigned char KeyMap[16];

Boolean WaitNextEvent(EventMask mask, EventRecord* event, UInt32 sleepTicks, RgnHandle mouseRgn);
Boolean GetNextEvent(EventMask mask, EventRecord* event);
void FlushEvents(EventMask whichMask, EventMask stopMask);
void GetKeys(KeyMap keys);
void GetMouse(Point* mouseLoc);
Boolean Button();
Boolean StillDown();
UInt32 TickCount();
void Delay(UInt32 ticks, UInt32* finalTicks);
UInt32 GetDblTime();
UInt32 GetCaretTime();

typedef UInt16 MouseTrackingResult;
enum {
  kMouseTrackingMouseDown = 1,
  kMouseTrackingMouseUp = 2,
  kMouseTrackingMouseExited = 3,
  kMouseTrackingMouseEntered = 4,
  kMouseTrackingMouseDragged = 5,
  kMouseTrackingKeyModifiersChanged = 6,
  kMouseTrackingUserCancelled = 7,
  kMouseTrackingTimedOut = 8,
  kMouseTrackingMouseMoved = 9,
};
// Waits for the next mouse event and gives its location in the port's
// window coordinates.
OSStatus TrackMouseLocation(GrafPtr port, Point* outPt, MouseTrackingResult* result);
