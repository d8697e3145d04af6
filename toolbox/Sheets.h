// Sheets: standard alerts attached to the top of a parent window's content,
// modal for that window only.
//
// Implemented: CreateStandardSheet (stop, note, caution and plain alerts
// with the message, an informative text, an OK button and an optional
// Cancel button), ShowSheetWindow, HideSheetWindow, GetSheetWindowParent.
// While a sheet is shown it stays on its parent (it follows moves and stays
// just in front of it), the parent's controls take no input, and Return
// (Escape, when it has one) presses its default (cancel) button. A press
// is a control hit for the handlers installed on the sheet window
// (CarbonEvents.h); the OK button's command is kHICommandOK, the Cancel
// button's kHICommandCancel.
// Departure from the platform: CreateStandardSheet gives the sheet's window
// itself rather than a dialog (there are no dialog records here), and the
// notify target is not used; handlers go on the sheet window.
#pragma once

#include "CarbonEvents.h"
#include "Dialogs.h"
#include "MacTypes.h"

enum { kSheetWindowClass = 11 };
// Button texts that stand for the platform's own OK and Cancel.
#define kAlertDefaultOKText (reinterpret_cast<CFStringRef>(-1L))
#define kAlertDefaultCancelText (reinterpret_cast<CFStringRef>(-1L))

OSStatus CreateStandardSheet(AlertType type, CFStringRef error, CFStringRef explanation,
                             const AlertStdCFStringAlertParamRec* param, EventTargetRef notifyTarget,
                             WindowRef* outSheet);
OSStatus ShowSheetWindow(WindowRef sheet, WindowRef parent);
OSStatus HideSheetWindow(WindowRef sheet);
OSStatus GetSheetWindowParent(WindowRef sheet, WindowRef* outParent);
