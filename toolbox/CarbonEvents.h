// Carbon Event Manager: handlers installed on windows, the control-hit
// event, and application-modal loops.
//
// Implemented: InstallWindowEventHandler/InstallEventHandler on a window's
// target, RemoveEventHandler, the control-hit event (class kEventClassControl,
// kind kEventControlHit) with its direct object and part parameters,
// delivered to the handlers of the control's window, newest first, until
// one returns anything but eventNotHandledErr. RunAppModalLoopForWindow
// runs until QuitAppModalLoopForWindow, taking the layer's input itself:
// the window (and a sheet on it) can be dragged by its title bar, keys go
// to its fields and buttons (Return, Escape, Tab), anything else beeps.
// Left out: other event classes, event queues and timers of their own,
// CallNextEventHandler.
#pragma once

#include "MacTypes.h"
#include "QuickDraw.h"

struct EventRecordOpaque;
typedef EventRecordOpaque* EventRef;
struct EventHandlerRecord;
typedef EventHandlerRecord* EventHandlerRef;
struct EventHandlerCallRecord;
typedef EventHandlerCallRecord* EventHandlerCallRef;
struct EventTargetOpaque;
typedef EventTargetOpaque* EventTargetRef;

typedef OSStatus (*EventHandlerProcPtr)(EventHandlerCallRef inHandlerCallRef, EventRef inEvent, void* inUserData);
typedef EventHandlerProcPtr EventHandlerUPP;
inline EventHandlerUPP NewEventHandlerUPP(EventHandlerProcPtr p) { return p; }
inline void DisposeEventHandlerUPP(EventHandlerUPP) {}

typedef UInt32 EventParamName;
typedef UInt32 EventParamType;

struct EventTypeSpec {
  UInt32 eventClass;
  UInt32 eventKind;
};

enum : UInt32 { kEventClassControl = FOUR_CHAR_CODE("cntl") };
enum : UInt32 { kEventControlHit = 1 };
enum : EventParamName {
  kEventParamDirectObject = FOUR_CHAR_CODE("----"),
  kEventParamControlPart = FOUR_CHAR_CODE("cprt"),
};
enum : EventParamType { typeControlRef = FOUR_CHAR_CODE("ctrl"), typeControlPartCode = FOUR_CHAR_CODE("cprt") };
enum { eventNotHandledErr = -9874, eventParameterNotFoundErr = -9870, eventHandlerNotFoundErr = -9876 };

EventTargetRef GetWindowEventTarget(WindowRef window);
OSStatus InstallEventHandler(EventTargetRef target, EventHandlerUPP handler, UInt32 numTypes,
                             const EventTypeSpec* list, void* userData, EventHandlerRef* outRef);
OSStatus InstallWindowEventHandler(WindowRef window, EventHandlerUPP handler, UInt32 numTypes,
                                   const EventTypeSpec* list, void* userData, EventHandlerRef* outRef);
OSStatus RemoveEventHandler(EventHandlerRef handler);

UInt32 GetEventClass(EventRef event);
UInt32 GetEventKind(EventRef event);
OSStatus GetEventParameter(EventRef event, EventParamName name, EventParamType desiredType,
                           EventParamType* actualType, UInt32 bufferSize, UInt32* actualSize, void* data);

// Runs until QuitAppModalLoopForWindow is called for the window (by a
// handler) or the window is hidden or disposed of.
OSStatus RunAppModalLoopForWindow(WindowRef window);
OSStatus QuitAppModalLoopForWindow(WindowRef window);
// Marks a window as application-modal while the caller runs a wait of its
// own (TrackMouseLocation, say), until EndAppModalStateForWindow.
OSStatus BeginAppModalStateForWindow(WindowRef window);
OSStatus EndAppModalStateForWindow(WindowRef window);
