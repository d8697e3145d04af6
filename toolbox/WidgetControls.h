// Control Manager, widget-backed controls: push buttons, edit-text fields,
// static texts and little arrows shown by real Qt widgets placed over their
// window's content, found by control ID, with their text, selection and the
// keyboard focus.
//
// Implemented: the Create...Control calls for these four kinds, control IDs
// and command IDs, SetControlData/GetControlData/GetControlDataSize with
// the edit-text and static-text tags (text as Mac Roman bytes, CFString,
// selection), the keyboard focus of a window and its advance, a window's
// default and cancel buttons. The record of every such control is the
// Control Manager's (Controls.h: value, bounds, show and hide work as for
// any control); its widget follows the record, the window's place and
// visibility, and is clipped by the windows in front. A click on a button,
// a change of the little arrows' value, is a control hit delivered to the
// window's handlers (CarbonEvents.h) from the event loop.
// Left out: embedding, other control kinds, data tags beyond those listed.
#pragma once

#include "Controls.h"
#include "CoreFoundation.h"
#include "MacTypes.h"
#include "Memory.h"

struct ControlID {
  OSType signature;
  SInt32 id;
};

typedef FourCharCode ResType;
typedef SInt16 ControlFocusPart;

enum { kControlEntireControl = 0, kControlButtonPart = 10, kControlEditTextPart = 5 };
enum { kControlFocusNoPart = 0, kControlFocusNextPart = -1, kControlFocusPrevPart = -2 };

enum : ResType {
  kControlEditTextTextTag = FOUR_CHAR_CODE("text"),
  kControlEditTextCFStringTag = FOUR_CHAR_CODE("cfst"),
  kControlEditTextSelectionTag = FOUR_CHAR_CODE("sele"),
  kControlStaticTextTextTag = FOUR_CHAR_CODE("text"),
  kControlStaticTextCFStringTag = FOUR_CHAR_CODE("cfst"),
};

struct ControlEditTextSelectionRec {
  SInt16 selStart;
  SInt16 selEnd;
};

enum : UInt32 { kHICommandOK = FOUR_CHAR_CODE("ok  "), kHICommandCancel = FOUR_CHAR_CODE("not!") };

enum {
  errDataNotSupported = -30583,
  errUnknownControl = -30584,
  errCouldntSetFocus = -30585,
  errDataSizeMismatch = -30565,
};

OSStatus CreatePushButtonControl(WindowRef window, const Rect* bounds, CFStringRef title, ControlRef* outControl);
OSStatus CreateEditUnicodeTextControl(WindowRef window, const Rect* bounds, CFStringRef text, Boolean isPassword,
                                      const void* style, ControlRef* outControl);
OSStatus CreateStaticTextControl(WindowRef window, const Rect* bounds, CFStringRef text, const void* style,
                                 ControlRef* outControl);
// A number with up and down arrows; its value is the control's value.
OSStatus CreateLittleArrowsControl(WindowRef window, const Rect* bounds, SInt32 value, SInt32 minimum,
                                   SInt32 maximum, SInt32 increment, ControlRef* outControl);

OSStatus SetControlID(ControlRef control, const ControlID* id);
OSStatus GetControlID(ControlRef control, ControlID* id);
// The last made control of the window with that ID; errUnknownControl when none.
OSStatus GetControlByID(WindowRef window, const ControlID* id, ControlRef* outControl);
OSStatus SetControlCommandID(ControlRef control, UInt32 commandID);
OSStatus GetControlCommandID(ControlRef control, UInt32* commandID);
WindowRef GetControlOwner(ControlRef control);

// Text tags take Mac Roman bytes (any length), CFString tags a CFStringRef
// (GetControlData hands out a new reference), the selection tag a
// ControlEditTextSelectionRec in bytes from the start.
OSStatus SetControlData(ControlRef control, ControlPartCode part, ResType tag, Size size, const void* data);
OSStatus GetControlData(ControlRef control, ControlPartCode part, ResType tag, Size bufferSize, void* buffer,
                        Size* actualSize);
OSStatus GetControlDataSize(ControlRef control, ControlPartCode part, ResType tag, Size* size);

// The edit field that takes typing in a window. kControlFocusNoPart takes
// the focus away from the window, kControlFocusNextPart gives it to the
// control, or with a null control to the first field.
OSStatus SetKeyboardFocus(WindowRef window, ControlRef control, ControlFocusPart part);
OSStatus GetKeyboardFocus(WindowRef window, ControlRef* outControl);
// Moves the focus to the next (previous) visible field, wrapping around.
OSStatus AdvanceKeyboardFocus(WindowRef window);
OSStatus ReverseKeyboardFocus(WindowRef window);

// Return and Enter press the default button, Escape and Command-period the
// cancel button.
OSStatus SetWindowDefaultButton(WindowRef window, ControlRef control);
OSStatus SetWindowCancelButton(WindowRef window, ControlRef control);
OSStatus GetWindowDefaultButton(WindowRef window, ControlRef* outControl);
OSStatus GetWindowCancelButton(WindowRef window, ControlRef* outControl);
